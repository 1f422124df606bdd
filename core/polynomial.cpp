// Polynomials (see polynomial.h): Horner evaluation, roots as companion-matrix eigenvalues through LAPACK
// (dgeev for real, zgeev for complex coefficients, as numpy.roots does), coefficients from roots by
// repeated multiplication with (x - r), and long division.
//
// LAPACK's working storage and the sorted copies of PolyCoeff's conjugate-pair test are per-thread vectors
// that only grow, so repeated calls of one size allocate nothing.
#include "core/polynomial.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

#define lapack_complex_float std::complex<float>
#define lapack_complex_double std::complex<double>
#include <lapacke.h>

#include "core/errors.h"
#include "core/kernel_detail.h"
#include "core/mixed_data.h"

namespace zel {

namespace {

using detail::DataAs;
using detail::VisitData;

// Per-thread working storage.
struct Scratch {
  std::vector<double> a, wr, wi, work, rwork, monic;
  std::vector<TCplx> za, zwork, zmonic, roots, sorted, conjugates, product;

  // The monic coefficients of PolyRoots, of element type T.
  template <class T>
  std::vector<T>& Monic() {
    if constexpr (std::is_same_v<T, double>) {
      return monic;
    } else {
      return zmonic;
    }
  }
};
thread_local Scratch tScratch;

// Grows v to at least n elements (never shrinks).
template <class T>
T* Room(std::vector<T>& v, std::size_t n) {
  if (v.size() < n) v.resize(n);
  return v.data();
}

// p(x) by Horner's rule over typed coefficients.
template <class X, class C>
auto Horner(X x, const C* c, int n) {
  detail::ProductOf<X, C> y{};
  for (int i = 0; i < n; ++i) y = y * x + c[i];
  return y;
}

// Eigenvalues of the m × m companion matrix of the monic polynomial x^m + k[0]·x^(m-1) + ... + k[m-1]:
// first row -k, ones below the diagonal (numpy.roots' matrix). Writes m eigenvalues to `roots`; returns
// true when all are real.
bool CompanionEigenvalues(const double* k, int m, TCplx* roots) {
  Scratch& w = tScratch;
  double* a = Room(w.a, static_cast<std::size_t>(m) * m);
  std::fill_n(a, static_cast<std::size_t>(m) * m, 0.0);
  for (int j = 0; j < m; ++j) a[static_cast<std::size_t>(j) * m] = -k[j];  // column-major (0, j)
  for (int i = 1; i < m; ++i) a[static_cast<std::size_t>(i - 1) * m + i] = 1.0;
  double* wr = Room(w.wr, m);
  double* wi = Room(w.wi, m);
  double size = 0;
  LAPACKE_dgeev_work(LAPACK_COL_MAJOR, 'N', 'N', m, a, m, wr, wi, nullptr, 1, nullptr, 1, &size, -1);
  double* work = Room(w.work, static_cast<std::size_t>(size) + 1);
  const lapack_int info = LAPACKE_dgeev_work(LAPACK_COL_MAJOR, 'N', 'N', m, a, m, wr, wi, nullptr, 1, nullptr,
                                             1, work, static_cast<lapack_int>(size));
  if (info != 0) ERaise("PolyRoots: the eigenvalue iteration did not converge");
  bool real = true;
  for (int i = 0; i < m; ++i) {
    roots[i] = TCplx(wr[i], wi[i]);
    real = real && wi[i] == 0.0;
  }
  return real;
}

bool CompanionEigenvalues(const TCplx* k, int m, TCplx* roots) {
  Scratch& w = tScratch;
  TCplx* a = Room(w.za, static_cast<std::size_t>(m) * m);
  std::fill_n(a, static_cast<std::size_t>(m) * m, TCplx());
  for (int j = 0; j < m; ++j) a[static_cast<std::size_t>(j) * m] = -k[j];
  for (int i = 1; i < m; ++i) a[static_cast<std::size_t>(i - 1) * m + i] = 1.0;
  double* rwork = Room(w.rwork, 2 * static_cast<std::size_t>(m));
  TCplx size = 0;
  LAPACKE_zgeev_work(LAPACK_COL_MAJOR, 'N', 'N', m, a, m, roots, nullptr, 1, nullptr, 1, &size, -1, rwork);
  TCplx* work = Room(w.zwork, static_cast<std::size_t>(size.real()) + 1);
  const lapack_int info = LAPACKE_zgeev_work(LAPACK_COL_MAJOR, 'N', 'N', m, a, m, roots, nullptr, 1, nullptr,
                                             1, work, static_cast<lapack_int>(size.real()), rwork);
  if (info != 0) ERaise("PolyRoots: the eigenvalue iteration did not converge");
  return false;
}

// Roots of the typed coefficients c[0 .. n): see PolyRoots.
template <class T>
void Roots(const T* c, int n, TNubraVec& dst) {
  int first = 0, last = n;
  while (first < last && c[first] == T{}) ++first;
  while (last > first && c[last - 1] == T{}) --last;
  const int trailing = last > first ? n - last : 0;
  const int m = std::max(0, last - first - 1);  // degree without the zero roots
  T* kk = Room(tScratch.Monic<T>(), m);
  for (int j = 0; j < m; ++j) {
    kk[j] = c[first + 1 + j] / c[first];
    if (!std::isfinite(std::abs(kk[j]))) ERaise("PolyRoots: the coefficients must be finite");
  }
  TCplx* roots = Room(tScratch.roots, m + trailing);
  const bool real = m == 0 || CompanionEigenvalues(kk, m, roots);
  std::fill_n(roots + m, trailing, TCplx());
  const int count = m + trailing;
  dst.SizeShape(1, count, !real);
  if (real) {
    for (int i = 0; i < count; ++i) dst.Values(i) = roots[i].real();
  } else {
    std::copy(roots, roots + count, dst.PCValues());
  }
}

// Lexicographic order of complex numbers (real part, then imaginary part), as NumPy sorts them.
bool Before(const TCplx& a, const TCplx& b) {
  return a.real() < b.real() || (a.real() == b.real() && a.imag() < b.imag());
}

// True when the roots are closed under conjugation: sorted, they equal their sorted conjugates.
bool ConjugatePairs(const TCplx* r, int n) {
  TCplx* sorted = Room(tScratch.sorted, n);
  TCplx* conjugates = Room(tScratch.conjugates, n);
  for (int i = 0; i < n; ++i) {
    sorted[i] = r[i];
    conjugates[i] = std::conj(r[i]);
  }
  std::sort(sorted, sorted + n, Before);
  std::sort(conjugates, conjugates + n, Before);
  return std::equal(sorted, sorted + n, conjugates);
}

// Element i of v as T (a real element widens to a complex one).
template <class T>
T At(const TNubraVec& v, int i) {
  if constexpr (std::is_same_v<T, TCplx>) {
    if (v.Complex()) return v.CValues(i);
  }
  return v.Values(i);
}

// b = a·q + r by long division in element type T (see DeConv); the leading zeros of r are exact.
template <class T>
void LongDivision(const TNubraVec& b, const TNubraVec& a, int nq, TNubraVec& quotient, TNubraVec& remainder) {
  const int nb = b.Length(), na = a.Length();
  const bool complex = std::is_same_v<T, TCplx>;
  quotient.SizeShape(1, nq, complex);
  remainder.SizeShape(1, nb, complex);
  T* q = DataAs<T>(quotient);
  T* r = DataAs<T>(remainder);
  for (int i = 0; i < nb; ++i) r[i] = At<T>(b, i);
  q[0] = 0.0;
  const T lead = At<T>(a, 0);
  for (int i = 0; i + na <= nb; ++i) {
    q[i] = r[i] / lead;
    for (int j = 1; j < na; ++j) r[i + j] -= q[i] * At<T>(a, j);
    r[i] = 0.0;
  }
}

}  // namespace

double PolyEval(double x, const TNubraVec& coeff) {
  if (coeff.Complex()) ERaise("PolyEval: complex coefficients need a complex argument");
  return Horner(x, coeff.PValues(), coeff.Length());
}

TCplx PolyEval(TCplx x, const TNubraVec& coeff) {
  TCplx y;
  VisitData(coeff, [&](auto c) { y = Horner(x, c, coeff.Length()); });
  return y;
}

void PolyEval(const TNubraVec& x, const TNubraVec& coeff, TNubraVec& dst) {
  const bool complex = x.Complex() || coeff.Complex();
  if (detail::MustBuffer(dst, &coeff, false) || detail::MustBuffer(dst, &x, x.Complex() == complex)) {
    detail::ThroughTemporary(dst, [&](TNubraVec& t) { PolyEval(x, coeff, t); });
    return;
  }
  const int n = x.Length();
  dst.SizeShape(x.Rows(), x.Cols(), complex);
  VisitData(x, [&](auto px) {
    VisitData(coeff, [&](auto c) {
      using R = decltype(Horner(px[0], c, 0));
      R* d = DataAs<R>(dst);
      for (int i = 0; i < n; ++i) d[i] = Horner(px[i], c, coeff.Length());
    });
  });
}

void PolyRoots(const TNubraVec& coeff, TNubraVec& dst) {
  if (detail::MustBuffer(dst, &coeff, false)) {
    detail::ThroughTemporary(dst, [&](TNubraVec& t) { PolyRoots(coeff, t); });
    return;
  }
  VisitData(coeff, [&](auto c) { Roots(c, coeff.Length(), dst); });
}

void PolyCoeff(const TNubraVec& roots, TNubraVec& dst) {
  if (detail::MustBuffer(dst, &roots, false)) {
    detail::ThroughTemporary(dst, [&](TNubraVec& t) { PolyCoeff(roots, t); });
    return;
  }
  const int n = roots.Length();
  const bool complex = roots.Complex() && !ConjugatePairs(roots.PCValues(), roots.Complex() ? n : 0);
  const auto expand = [&](auto* c, auto root) {
    c[0] = 1.0;
    for (int k = 0; k < n; ++k) {
      const auto r = root(k);
      c[k + 1] = -r * c[k];
      for (int i = k; i > 0; --i) c[i] -= r * c[i - 1];
    }
  };
  if (!roots.Complex()) {
    dst.SizeShape(1, n + 1, false);
    expand(dst.PValues(), [&](int k) { return roots.Values(k); });
    return;
  }
  // Complex roots: the product in complex arithmetic, kept real when the roots pair up.
  TCplx* c = Room(tScratch.product, n + 1);
  expand(c, [&](int k) { return roots.CValues(k); });
  dst.SizeShape(1, n + 1, complex);
  for (int i = 0; i <= n; ++i) {
    if (complex) {
      dst.CValues(i) = c[i];
    } else {
      dst.Values(i) = c[i].real();
    }
  }
}

void DeConv(const TNubraVec& b, const TNubraVec& a, TNubraVec& quotient, TNubraVec& remainder) {
  const int nb = b.Length(), na = a.Length();
  const bool zeroLead = na == 0 || (a.Complex() ? a.CValues(0) == TCplx() : a.Values(0) == 0.0);
  if (zeroLead) ERaise("DeConv: the divisor's first coefficient must not be zero");
  const bool shared = detail::MustBuffer(quotient, &a, false) || detail::MustBuffer(quotient, &b, false) ||
                      detail::MustBuffer(remainder, &a, false) || detail::MustBuffer(remainder, &b, false) ||
                      detail::MustBuffer(quotient, &remainder, false);
  if (shared) {
    TVec q, r;
    DeConv(b, a, q, r);
    quotient.Copy(q);
    remainder.Copy(r);
    return;
  }
  const int nq = nb >= na ? nb - na + 1 : 1;
  if (a.Complex() || b.Complex()) {
    LongDivision<TCplx>(b, a, nq, quotient, remainder);
  } else {
    LongDivision<double>(b, a, nq, quotient, remainder);
  }
}

}  // namespace zel
