// Matrix powers and square roots (see matfunc.h).
//
// Whole powers multiply (repeated squaring through MatMul). Other powers of symmetric/Hermitian matrices
// come from the eigen decomposition; of general matrices from the complex Schur form a = Z·T·Zᴴ (zgees),
// where the function is taken of the triangular T:
//   - the square root R of T by the recurrence of Björck and Hammarling ("A Schur method for the square
//     root of a matrix", Linear Algebra Appl. 52/53, 1983), column by column:
//       r(j,j) = √t(j,j),  r(i,j) = (t(i,j) − Σ_{k=i+1..j-1} r(i,k)·r(k,j)) / (r(i,i) + r(j,j)), i < j;
//   - T^f for 0 < f < 1 as the product of the repeated square roots T^(1/2^k) over the binary digits of f,
//     and T^p = T^⌊p⌋ · T^f (T⁻¹ first for p < 0).
// The working copy is the plain buffer of a, which LAPACK reads as aᵀ; f(aᵀ) = f(a)ᵀ, so the result
// buffer read row-major is f(a) itself. Working storage is per thread and only grows.
#include "core/matfunc.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <type_traits>
#include <vector>

#define lapack_complex_float std::complex<float>
#define lapack_complex_double std::complex<double>
#include <cblas.h>
#include <lapacke.h>

#include "core/decompositions.h"
#include "core/dense_detail.h"
#include "core/errors.h"
#include "core/linalg.h"

namespace zel {

namespace {

using detail::Identity;
using detail::Room;
using std::size_t;

// ---- working storage ---------------------------------------------------------------------------------

struct Work {
  TZel base, acc, tmp, vecs;
  TVec values;
  std::vector<TCplx> t, z, f, s, u, eig, work;
  std::vector<double> rwork, realWork;
  std::vector<lapack_int> ipiv;

  // The buffer for a copy of real or complex data.
  template <class T>
  std::vector<T>& CopyOf() {
    if constexpr (std::is_same_v<T, double>) {
      return realWork;
    } else {
      return work;
    }
  }
};
thread_local Work tWork;

// ---- whole powers ------------------------------------------------------------------------------------

// dst = a⁻¹ from the LU factorisation: the plain copy is aᵀ, and solving aᵀ·X = I gives X = a⁻ᵀ, whose
// buffer read row-major is a⁻¹.
template <class T>
void InverseOf(const TZel& a, TZel& dst, const char* who) {
  const int n = a.Rows();
  T* p = detail::RawCopy(a, tWork.CopyOf<T>());
  Identity(dst, n, std::is_same_v<T, TCplx>);
  if (n == 0) return;
  lapack_int* ipiv = Room(tWork.ipiv, static_cast<size_t>(n));
  T* x = reinterpret_cast<T*>(dst.PValues());
  lapack_int info;
  if constexpr (std::is_same_v<T, double>) {
    info = LAPACKE_dgesv_work(LAPACK_COL_MAJOR, n, n, p, n, ipiv, x, n);
  } else {
    info = LAPACKE_zgesv_work(LAPACK_COL_MAJOR, n, n, p, n, ipiv, x, n);
  }
  if (info > 0) ERaise(Fmt("%s: the matrix is singular", who));
  if (info < 0) ERaise(Fmt("%s: invalid argument %d to LAPACK", who, static_cast<int>(-info)));
}

// Exponent arithmetic of repeated squaring: an unsigned 64-bit integer, or a whole double of any size.
bool Odd(std::uint64_t e) { return e & 1; }
bool Odd(double e) { return std::fmod(e, 2.0) == 1.0; }
std::uint64_t Half(std::uint64_t e) { return e >> 1; }
double Half(double e) { return std::floor(e / 2); }

// dst = a^e for a whole e >= 0: square and multiply.
template <class E>
void PowerBySquaring(const TZel& a, E e, TZel& dst) {
  Work& w = tWork;
  w.base.Copy(a);
  Identity(w.acc, a.Rows(), a.Complex());
  bool any = false;
  while (e > 0) {
    if (Odd(e)) {
      if (any) {
        MatMul(w.acc, w.base, w.tmp);
        w.acc.Copy(w.tmp);
      } else {
        w.acc.Copy(w.base);
        any = true;
      }
    }
    e = Half(e);
    if (e > 0) {
      MatMul(w.base, w.base, w.tmp);
      w.base.Copy(w.tmp);
    }
  }
  dst.Copy(w.acc);
}

// a^e for a whole e of either sign; `magnitude` is |e|.
template <class E>
void WholePower(const TZel& a, bool negative, E magnitude, TZel& dst, const char* who) {
  detail::CheckSquare(who, a);
  if (!negative) return PowerBySquaring(a, magnitude, dst);
  if (a.Complex()) {
    InverseOf<TCplx>(a, tWork.vecs, who);
  } else {
    InverseOf<double>(a, tWork.vecs, who);
  }
  PowerBySquaring(tWork.vecs, magnitude, dst);
}

// ---- symmetric and Hermitian matrices ----------------------------------------------------------------

// λ^p on the principal branch: a negative λ gives a complex value.
TCplx PrincipalPower(double lambda, double p) {
  if (lambda >= 0) return std::pow(lambda, p);
  return std::pow(TCplx(lambda, 0.0), p);
}

// dst = lᴴ·diag(λ^p)·l, with l = Vᴴ from EigSym.
void SymmetricPower(const TZel& a, double p, TZel& dst) {
  Work& w = tWork;
  EigSym(a, w.values, &w.vecs, nullptr);
  const int n = a.Rows();
  bool complex = a.Complex();
  for (int j = 0; j < n; ++j) complex = complex || w.values.Values(j) < 0;
  // base = diag(λ^p)·l (row j of l scaled), acc = lᴴ.
  w.base.Copy(w.vecs);
  if (complex) w.base.ExtendToComplex();
  for (int j = 0; j < n; ++j) {
    const TCplx f = PrincipalPower(w.values.Values(j), p);
    for (int i = 0; i < n; ++i) {
      if (complex) {
        w.base.CValues(j, i) *= f;
      } else {
        w.base.Values(j, i) *= f.real();
      }
    }
  }
  Adjung(w.vecs, w.acc);
  MatMul(w.acc, w.base, dst);
}

// ---- the Schur method --------------------------------------------------------------------------------

// Index of (i, j) in a column-major n × n buffer.
size_t At(int i, int j, int n) { return static_cast<size_t>(j) * n + i; }

// r = √t for an upper triangular t (column-major, n × n) by the Björck–Hammarling recurrence. A zero
// numerator gives zero even over a zero denominator (so a zero or diagonal singular t has its root).
void TriangularSqrt(const TCplx* t, TCplx* r, int n) {
  std::fill_n(r, static_cast<size_t>(n) * n, TCplx{});
  for (int j = 0; j < n; ++j) {
    r[At(j, j, n)] = std::sqrt(t[At(j, j, n)]);
    for (int i = j - 1; i >= 0; --i) {
      TCplx s = t[At(i, j, n)];
      for (int k = i + 1; k < j; ++k) s -= r[At(i, k, n)] * r[At(k, j, n)];
      r[At(i, j, n)] = s == TCplx{} ? TCplx{} : s / (r[At(i, i, n)] + r[At(j, j, n)]);
    }
  }
}

// b := b·t for upper triangular t (column-major n × n).
void TimesTriangular(TCplx* b, const TCplx* t, int n) {
  const TCplx one(1.0, 0.0);
  cblas_ztrmm(CblasColMajor, CblasRight, CblasUpper, CblasNoTrans, CblasNonUnit, n, n, &one, t, n, b, n);
}

// f = t^p for an upper triangular t and p > 0 (see the file comment).
void TriangularPower(const TCplx* t, double p, TCplx* f, int n) {
  Work& w = tWork;
  const size_t nn = static_cast<size_t>(n) * n;
  TCplx* s = Room(w.s, nn);
  TCplx* u = Room(w.u, nn);
  // f = identity; then the whole part by squaring t in place.
  std::fill_n(f, nn, TCplx{});
  for (int i = 0; i < n; ++i) f[At(i, i, n)] = 1.0;
  double whole = std::floor(p), frac = p - whole;
  std::copy_n(t, nn, s);
  while (whole > 0) {
    if (std::fmod(whole, 2.0) == 1.0) TimesTriangular(f, s, n);
    whole = std::floor(whole / 2);
    if (whole > 0) {
      std::copy_n(s, nn, u);
      TimesTriangular(s, u, n);
    }
  }
  // The fraction, one binary digit per square root: t^(1/2), t^(1/4), ...
  std::copy_n(t, nn, s);
  while (frac > 0) {
    TriangularSqrt(s, u, n);
    std::copy_n(u, nn, s);
    frac *= 2;
    if (frac >= 1) {
      TimesTriangular(f, s, n);
      frac -= 1;
    }
  }
}

// Whether a real matrix with these Schur eigenvalues has a real principal power: none lies on the
// closed negative real axis (a negative real part with an imaginary part within rounding of zero).
bool RealPrincipal(const TCplx* t, int n) {
  double largest = 0;
  for (int i = 0; i < n; ++i) largest = std::max(largest, std::abs(t[At(i, i, n)]));
  const double tol = 100.0 * n * std::numeric_limits<double>::epsilon() * largest;
  for (int i = 0; i < n; ++i) {
    const TCplx l = t[At(i, i, n)];
    if (l.real() < 0 && std::abs(l.imag()) <= tol) return false;
  }
  return true;
}

// dst = a^p (p not whole; p = ½ is the square root) through the complex Schur form.
void SchurPower(const TZel& a, double p, TZel& dst, const char* who) {
  Work& w = tWork;
  const int n = a.Rows();
  const size_t nn = std::max<size_t>(static_cast<size_t>(n) * n, 1);
  TCplx* t = detail::RawCopy(a, w.t);
  TCplx* z = Room(w.z, nn);
  TCplx* f = Room(w.f, nn);
  TCplx* eig = Room(w.eig, static_cast<size_t>(std::max(n, 1)));
  double* rwork = Room(w.rwork, static_cast<size_t>(std::max(n, 1)));
  lapack_int sdim = 0;
  TCplx lwork = 0;
  const int ld = std::max(n, 1);
  lapack_int info = LAPACKE_zgees_work(LAPACK_COL_MAJOR, 'V', 'N', nullptr, n, t, ld, &sdim, eig, z, ld,
                                       &lwork, -1, rwork, nullptr);
  if (info == 0) {
    TCplx* work = Room(w.work, static_cast<size_t>(lwork.real()) + 1);
    info = LAPACKE_zgees_work(LAPACK_COL_MAJOR, 'V', 'N', nullptr, n, t, ld, &sdim, eig, z, ld, work,
                              static_cast<lapack_int>(lwork.real()) + 1, rwork, nullptr);
  }
  if (info < 0) ERaise(Fmt("%s: invalid argument %d to LAPACK", who, static_cast<int>(-info)));
  if (info > 0) ERaise(Fmt("%s: the Schur decomposition did not converge", who));
  const bool real = !a.Complex() && RealPrincipal(t, n);
  if (p < 0) {
    if (LAPACKE_ztrtri_work(LAPACK_COL_MAJOR, 'U', 'N', n, t, ld) > 0)
      ERaise(Fmt("%s: the matrix is singular", who));
    p = -p;
  }
  TriangularPower(t, p, f, n);
  // result = z·f·zᴴ: t := z·f, then f := t·zᴴ.
  std::copy_n(z, nn, t);
  TimesTriangular(t, f, n);
  const TCplx one(1.0, 0.0), zero(0.0, 0.0);
  cblas_zgemm(CblasColMajor, CblasNoTrans, CblasConjTrans, n, n, n, &one, t, ld, z, ld, &zero, f, ld);
  dst.Size(n, n, !real);
  for (size_t i = 0; i < static_cast<size_t>(n) * n; ++i) {
    if (real) {
      dst.PValues()[i] = f[i].real();
    } else {
      dst.PCValues()[i] = f[i];
    }
  }
}

// a^p for a p that is not whole, by the matrix's type.
void FractionalPower(const TZel& a, double p, TZel& dst, const char* who) {
  detail::CheckSquare(who, a);
  if (!detail::AllFinite(a) || !std::isfinite(p))
    return detail::NaNMatrix(dst, a.Rows(), a.Cols(), a.Complex());
  if (DetectZelType(a) == TMatrixType::mtSymmetric) return SymmetricPower(a, p, dst);
  SchurPower(a, p, dst, who);
}

}  // namespace

void ZelIntPower(const TZel& a, std::int64_t n, TZel& dst, const char* who) {
  // |n| as unsigned, so that the most negative n has a magnitude too.
  const std::uint64_t magnitude = n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
  WholePower(a, n < 0, magnitude, dst, who);
}

void ZelPower(const TZel& a, double p, TZel& dst) {
  if (std::isfinite(p) && p == std::floor(p)) return WholePower(a, p < 0, std::fabs(p), dst, "ZelPower");
  FractionalPower(a, p, dst, "ZelPower");
}

void ZelSqrt(const TZel& a, TZel& dst) { FractionalPower(a, 0.5, dst, "ZelSqrt"); }

}  // namespace zel
