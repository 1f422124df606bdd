// Determinant, Cholesky, eigen decompositions, SVD and LQ/QR through LAPACK (see decompositions.h).
//
// LAPACK wants column-major data; our matrices are row-major, so a plain copy of a matrix's buffer is its
// transpose to LAPACK. Where a routine's answer for aᵀ gives ours directly (det aᵀ = det a; the Cholesky,
// symmetric eigen, SVD and LQ/QR factors of aᵀ are the transposes of a's), the plain copy is factored and
// the factors are read back without another pass; only the general eigen solver gets a true
// column-major copy, so that its eigenvalue order is LAPACK's order for a itself. Working storage is per
// thread and only grows, so repeated calls of one size allocate nothing. Each real/complex LAPACK pair is
// wrapped in one overloaded name, and the routines are written once over the element type.
#include "core/decompositions.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <type_traits>
#include <vector>

#define lapack_complex_float std::complex<float>
#define lapack_complex_double std::complex<double>
#include <lapacke.h>

#include "core/dense_detail.h"
#include "core/errors.h"

namespace zel {

namespace {

using detail::Room;
constexpr int kCol = LAPACK_COL_MAJOR;

// ---- working storage ---------------------------------------------------------------------------------

thread_local detail::LapackWork tWork;

// The workspace size LAPACK asked for (a query answers in the first work element).
std::size_t Asked(double w) { return static_cast<std::size_t>(w) + 1; }
std::size_t Asked(TCplx w) { return static_cast<std::size_t>(w.real()) + 1; }

// Raises for an argument LAPACK refused (a fault of ours) or an iteration that did not converge.
void Check(const char* who, lapack_int info) {
  if (info < 0) ERaise(Fmt("%s: invalid argument %d to LAPACK", who, static_cast<int>(-info)));
  if (info > 0) ERaise(Fmt("%s: the iteration did not converge", who));
}

// ---- real/complex LAPACK pairs under one name --------------------------------------------------------

// (LAPACK wants a leading dimension of at least 1, also for a 0 × 0 matrix.)
lapack_int Getrf(int n, double* a, lapack_int* ipiv) {
  return LAPACKE_dgetrf_work(kCol, n, n, a, std::max(n, 1), ipiv);
}
lapack_int Getrf(int n, TCplx* a, lapack_int* ipiv) {
  return LAPACKE_zgetrf_work(kCol, n, n, a, std::max(n, 1), ipiv);
}
lapack_int Potrf(int n, double* a) { return LAPACKE_dpotrf_work(kCol, 'U', n, a, std::max(n, 1)); }
lapack_int Potrf(int n, TCplx* a) { return LAPACKE_zpotrf_work(kCol, 'U', n, a, std::max(n, 1)); }

// Symmetric/Hermitian eigen decomposition of the upper triangle of a (n × n); z gets the eigenvectors.
template <class T>
lapack_int Syevr(char jobz, int n, T* a, double* w, T* z) {
  detail::LapackWork& k = tWork;
  lapack_int found = 0, liwork = 0;
  lapack_int* isuppz = Room(k.ipiv, 2 * static_cast<std::size_t>(std::max(n, 1)));
  T lwork{};
  lapack_int info;
  if constexpr (std::is_same_v<T, double>) {
    info = LAPACKE_dsyevr_work(kCol, jobz, 'A', 'U', n, a, n, 0, 0, 0, 0, 0, &found, w, z, n, isuppz, &lwork,
                               -1, &liwork, -1);
    if (info != 0) return info;
    T* work = Room(k.real.work, Asked(lwork));
    lapack_int* iwork = Room(k.iwork, static_cast<std::size_t>(liwork));
    return LAPACKE_dsyevr_work(kCol, jobz, 'A', 'U', n, a, n, 0, 0, 0, 0, 0, &found, w, z, n, isuppz, work,
                               static_cast<lapack_int>(Asked(lwork)), iwork, liwork);
  } else {
    double lrwork = 0;
    info = LAPACKE_zheevr_work(kCol, jobz, 'A', 'U', n, a, n, 0, 0, 0, 0, 0, &found, w, z, n, isuppz, &lwork,
                               -1, &lrwork, -1, &liwork, -1);
    if (info != 0) return info;
    T* work = Room(k.complex.work, Asked(lwork));
    double* rwork = Room(k.rwork, Asked(lrwork));
    lapack_int* iwork = Room(k.iwork, static_cast<std::size_t>(liwork));
    return LAPACKE_zheevr_work(kCol, jobz, 'A', 'U', n, a, n, 0, 0, 0, 0, 0, &found, w, z, n, isuppz, work,
                               static_cast<lapack_int>(Asked(lwork)), rwork,
                               static_cast<lapack_int>(Asked(lrwork)), iwork, liwork);
  }
}

// General eigen decomposition: eigenvalues as (wr, wi) pairs (real) or in w (complex); vl, vr the left
// and right eigenvectors when asked for.
lapack_int Geev(char jobvl, char jobvr, int n, double* a, double* wr, double* wi, double* vl, double* vr) {
  const int ld = std::max(n, 1);
  double lwork = 0;
  lapack_int info = LAPACKE_dgeev_work(kCol, jobvl, jobvr, n, a, ld, wr, wi, vl, ld, vr, ld, &lwork, -1);
  if (info != 0) return info;
  double* work = Room(tWork.real.work, Asked(lwork));
  return LAPACKE_dgeev_work(kCol, jobvl, jobvr, n, a, ld, wr, wi, vl, ld, vr, ld, work,
                            static_cast<lapack_int>(Asked(lwork)));
}
lapack_int Geev(char jobvl, char jobvr, int n, TCplx* a, TCplx* w, TCplx* vl, TCplx* vr) {
  const int ld = std::max(n, 1);
  TCplx lwork = 0;
  double* rwork = Room(tWork.rwork, 2 * static_cast<std::size_t>(ld));
  lapack_int info = LAPACKE_zgeev_work(kCol, jobvl, jobvr, n, a, ld, w, vl, ld, vr, ld, &lwork, -1, rwork);
  if (info != 0) return info;
  TCplx* work = Room(tWork.complex.work, Asked(lwork));
  return LAPACKE_zgeev_work(kCol, jobvl, jobvr, n, a, ld, w, vl, ld, vr, ld, work,
                            static_cast<lapack_int>(Asked(lwork)), rwork);
}

// Divide-and-conquer SVD of the m × n column-major a (lda m): u m × k (ldu m), vt k × n (ldvt k).
template <class T>
lapack_int Gesdd(char jobz, int m, int n, T* a, double* s, T* u, T* vt) {
  const int k = std::min(m, n), big = std::max(m, n);
  lapack_int* iwork = Room(tWork.iwork, 8 * static_cast<std::size_t>(std::max(k, 1)));
  T lwork{};
  if constexpr (std::is_same_v<T, double>) {
    lapack_int info =
        LAPACKE_dgesdd_work(kCol, jobz, m, n, a, m, s, u, m, vt, std::max(k, 1), &lwork, -1, iwork);
    if (info != 0) return info;
    double* work = Room(tWork.real.work, Asked(lwork));
    return LAPACKE_dgesdd_work(kCol, jobz, m, n, a, m, s, u, m, vt, std::max(k, 1), work,
                               static_cast<lapack_int>(Asked(lwork)), iwork);
  } else {
    // rwork as zgesdd documents it: 7·k without vectors, else k·max(5k + 7, 2·max(m, n) + 2k + 1).
    const std::size_t lrwork =
        jobz == 'N' ? 7 * static_cast<std::size_t>(k) + 1
                    : static_cast<std::size_t>(k) * std::max(5 * k + 7, 2 * big + 2 * k + 1) + 1;
    double* rwork = Room(tWork.rwork, lrwork);
    lapack_int info =
        LAPACKE_zgesdd_work(kCol, jobz, m, n, a, m, s, u, m, vt, std::max(k, 1), &lwork, -1, rwork, iwork);
    if (info != 0) return info;
    TCplx* work = Room(tWork.complex.work, Asked(lwork));
    return LAPACKE_zgesdd_work(kCol, jobz, m, n, a, m, s, u, m, vt, std::max(k, 1), work,
                               static_cast<lapack_int>(Asked(lwork)), rwork, iwork);
  }
}

// Householder LQ (lq) or QR factorisation of the m × n column-major a (lda m), then the explicit
// orthonormal factor in a (its first min(m, n) rows or columns). `saveTriangle` runs in between, while a
// holds the triangular factor.
template <class T, class Save>
void Householder(bool lq, int m, int n, T* a, Save saveTriangle) {
  const int k = std::min(m, n);
  T* tau = Room(tWork.For<T>().tau, static_cast<std::size_t>(std::max(k, 1)));
  std::vector<T>& workBuf = tWork.For<T>().work;
  T lwork{};
  lapack_int info;
  // One query covers both steps: the generation of q never needs more than the factorisation's block size.
  if constexpr (std::is_same_v<T, double>) {
    info = lq ? LAPACKE_dgelqf_work(kCol, m, n, a, m, tau, &lwork, -1)
              : LAPACKE_dgeqrf_work(kCol, m, n, a, m, tau, &lwork, -1);
  } else {
    info = lq ? LAPACKE_zgelqf_work(kCol, m, n, a, m, tau, &lwork, -1)
              : LAPACKE_zgeqrf_work(kCol, m, n, a, m, tau, &lwork, -1);
  }
  Check("LQR", info);
  const lapack_int lw = static_cast<lapack_int>(std::max<std::size_t>(Asked(lwork), 64 * std::max(m, n)));
  T* work = Room(workBuf, static_cast<std::size_t>(lw));
  if constexpr (std::is_same_v<T, double>) {
    info = lq ? LAPACKE_dgelqf_work(kCol, m, n, a, m, tau, work, lw)
              : LAPACKE_dgeqrf_work(kCol, m, n, a, m, tau, work, lw);
    Check("LQR", info);
    saveTriangle();
    info = lq ? LAPACKE_dorglq_work(kCol, k, n, k, a, m, tau, work, lw)
              : LAPACKE_dorgqr_work(kCol, m, k, k, a, m, tau, work, lw);
  } else {
    info = lq ? LAPACKE_zgelqf_work(kCol, m, n, a, m, tau, work, lw)
              : LAPACKE_zgeqrf_work(kCol, m, n, a, m, tau, work, lw);
    Check("LQR", info);
    saveTriangle();
    info = lq ? LAPACKE_zunglq_work(kCol, k, n, k, a, m, tau, work, lw)
              : LAPACKE_zungqr_work(kCol, m, k, k, a, m, tau, work, lw);
  }
  Check("LQR", info);
}

// ---- the routines over the element type --------------------------------------------------------------

template <class T>
TCplx DeterminantOf(const TZel& a) {
  const int n = a.Rows();
  T* p = detail::RawCopy(a, tWork.For<T>().a);
  lapack_int* ipiv = Room(tWork.ipiv, static_cast<std::size_t>(std::max(n, 1)));
  Check("Determinant", std::min<lapack_int>(Getrf(n, p, ipiv), 0));  // a zero pivot gives det 0
  T det = 1.0;
  for (int i = 0; i < n; ++i) {
    det *= p[static_cast<std::size_t>(i) * n + i];
    if (ipiv[i] != i + 1) det = -det;
  }
  return TCplx(det);
}

// Potrf on the plain copy (aᵀ = conj(a) = uᴴ·u) leaves u in its upper part; read row-major that is
// uᵀ = l with a = l·lᴴ. The rest of the buffer still holds a's elements and is cleared.
template <class T>
bool CholeskyOf(const TZel& a, TZel* l) {
  const int n = a.Rows();
  T* p = detail::RawCopy(a, tWork.For<T>().a);
  const lapack_int info = Potrf(n, p);
  if (info < 0) Check("Cholesky", info);
  if (info > 0) return false;
  if (l) {
    for (int i = 0; i < n; ++i)
      for (int j = i + 1; j < n; ++j) p[static_cast<std::size_t>(i) * n + j] = T{};
    detail::FromRaw(p, n, n, *l);
  }
  return true;
}

// The plain copy is aᵀ = conj(a): its eigenvectors z are the conjugates of a's, so z read row-major (row j
// is zⱼᵀ = vⱼᴴ) is l, and r = lᴴ.
template <class T>
void EigSymOf(const TZel& a, TVec& d, TZel* l, TZel* r) {
  const int n = a.Rows();
  detail::LapackBuffers<T>& b = tWork.For<T>();
  T* p = detail::RawCopy(a, b.a);
  double* w = Room(tWork.w, static_cast<std::size_t>(std::max(n, 1)));
  const bool vectors = l || r;
  T* z = Room(b.b, std::max<std::size_t>(static_cast<std::size_t>(n) * n, 1));
  if (n > 0) Check("EigSym", Syevr(vectors ? 'V' : 'N', n, p, w, z));
  d.Size(n, false);
  std::copy_n(w, n, d.PValues());
  if (l) detail::FromRaw(z, n, n, *l);
  if (r) {
    r->Size(n, n, std::is_same_v<T, TCplx>);
    T* out = reinterpret_cast<T*>(r->PValues());
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) {
        const T v = z[static_cast<std::size_t>(j) * n + i];
        if constexpr (std::is_same_v<T, TCplx>) {
          out[static_cast<std::size_t>(i) * n + j] = std::conj(v);
        } else {
          out[static_cast<std::size_t>(i) * n + j] = v;
        }
      }
  }
}

// Element i of eigenvector j from dgeev's packed form: a complex pair (wi > 0, then wi < 0) keeps the real
// part in column j and the imaginary part in column j+1.
TCplx PackedElement(const double* v, const double* wi, int n, int i, int j) {
  const auto at = [&](int col) { return v[static_cast<std::size_t>(col) * n + i]; };
  if (wi[j] == 0) return at(j);
  if (wi[j] > 0) return {at(j), at(j + 1)};
  return {at(j - 1), -at(j)};
}

// Writes the eigenvectors: r(i, j) = vⱼ(i), l(j, i) = conj(uⱼ(i)); real matrices when `real`.
template <class Left, class Right>
void StoreEigenvectors(int n, bool real, TZel* l, TZel* r, Left left, Right right) {
  for (TZel* m : {l, r}) {
    if (!m) continue;
    m->Size(n, n, !real);
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) {
        const TCplx v = m == r ? right(i, j) : std::conj(left(j, i));
        if (real) {
          m->Values(i, j) = v.real();
        } else {
          m->CValues(i, j) = v;
        }
      }
  }
}

void EigGeneralReal(const TZel& a, TVec& d, TZel* l, TZel* r) {
  const int n = a.Rows();
  detail::LapackBuffers<double>& b = tWork.real;
  double* p = detail::ColMajorCopy(a, b.a);
  double* wr = Room(tWork.w, 2 * static_cast<std::size_t>(std::max(n, 1)));
  double* wi = wr + n;
  const std::size_t nn = std::max<std::size_t>(static_cast<std::size_t>(n) * n, 1);
  double* vl = Room(b.b, nn);
  double* vr = Room(b.c, nn);
  if (n > 0) Check("Eig", Geev(l ? 'V' : 'N', r ? 'V' : 'N', n, p, wr, wi, vl, vr));
  const bool real = std::all_of(wi, wi + n, [](double x) { return x == 0; });
  d.Size(n, !real);
  for (int j = 0; j < n; ++j) {
    if (real) {
      d.Values(j) = wr[j];
    } else {
      d.CValues(j) = TCplx(wr[j], wi[j]);
    }
  }
  StoreEigenvectors(
      n, real, l, r, [&](int i, int j) { return PackedElement(vl, wi, n, i, j); },
      [&](int i, int j) { return PackedElement(vr, wi, n, i, j); });
}

void EigGeneralComplex(const TZel& a, TVec& d, TZel* l, TZel* r) {
  const int n = a.Rows();
  detail::LapackBuffers<TCplx>& b = tWork.complex;
  TCplx* p = detail::ColMajorCopy(a, b.a);
  const std::size_t nn = std::max<std::size_t>(static_cast<std::size_t>(n) * n, 1);
  TCplx* vl = Room(b.b, nn);
  TCplx* vr = Room(b.c, nn);
  d.Size(n, true);
  if (n > 0) Check("Eig", Geev(l ? 'V' : 'N', r ? 'V' : 'N', n, p, d.PCValues(), vl, vr));
  const auto at = [n](const TCplx* v) {
    return [v, n](int i, int j) { return v[static_cast<std::size_t>(j) * n + i]; };
  };
  StoreEigenvectors(n, false, l, r, at(vl), at(vr));
}

// The plain copy is aᵀ (n × m) = u'·s·vt': then u = vt' read row-major and v = conj(u') (see the header).
template <class T>
void SVDOf(const TZel& a, TVec& s, TZel* u, TZel* v) {
  const int m = a.Rows(), n = a.Cols(), k = std::min(m, n);
  detail::LapackBuffers<T>& b = tWork.For<T>();
  T* p = detail::RawCopy(a, b.a);
  T* up = Room(b.b, std::max<std::size_t>(static_cast<std::size_t>(n) * k, 1));
  T* vtp = Room(b.c, std::max<std::size_t>(static_cast<std::size_t>(k) * m, 1));
  s.Size(k, false);
  const bool vectors = u || v;
  if (k > 0) Check("SVD", Gesdd(vectors ? 'S' : 'N', n, m, p, s.PValues(), up, vtp));
  if (u) detail::FromRaw(vtp, m, k, *u);
  if (v) {
    v->Size(n, k, std::is_same_v<T, TCplx>);
    T* out = reinterpret_cast<T*>(v->PValues());
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < k; ++j) {
        const T x = up[static_cast<std::size_t>(j) * n + i];
        if constexpr (std::is_same_v<T, TCplx>) {
          out[static_cast<std::size_t>(i) * k + j] = std::conj(x);
        } else {
          out[static_cast<std::size_t>(i) * k + j] = x;
        }
      }
  }
}

// The plain copy is aᵀ (n × m). For m >= n its LQ factors aᵀ = l'·q' give a = q'ᵀ·l'ᵀ, a QR
// factorisation; for m < n its QR factors aᵀ = q'·r' give a = r'ᵀ·q'ᵀ, an LQ factorisation. Read
// row-major, the buffers hold those transposes already.
template <class T>
void LQROf(const TZel& a, TZel& l, TZel& q, TZel& r) {
  const int m = a.Rows(), n = a.Cols();
  const bool complex = std::is_same_v<T, TCplx>;
  const bool qr = m >= n;
  const int k = std::min(m, n);
  T* p = detail::RawCopy(a, tWork.For<T>().a);  // first: a may be one of the factors
  TZel& tri = qr ? r : l;
  tri.Size(k, k, complex);
  tri.SetZero();
  if (k > 0) {
    Householder<T>(qr, n, m, p, [&] {
      T* t = reinterpret_cast<T*>(tri.PValues());
      for (int i = 0; i < k; ++i)
        for (int j = 0; j < k; ++j)
          if (qr ? j >= i : j <= i)
            t[static_cast<std::size_t>(i) * k + j] = p[static_cast<std::size_t>(i) * n + j];
    });
  }
  q.Size(m, n, complex);
  if (k > 0) {
    std::copy_n(p, static_cast<std::size_t>(m) * n, reinterpret_cast<T*>(q.PValues()));
  } else {
    q.SetZero();
  }
  detail::Identity(qr ? l : r, qr ? m : n, complex);
}

// Runs the real or complex form of a routine by the matrix's data.
template <class F>
decltype(auto) ByData(const TZel& a, F&& f) {
  if (a.Complex()) return f(TCplx{});
  return f(double{});
}

}  // namespace

TMatrixType DetectZelType(const TZel& a) {
  const int n = a.Rows();
  if (n != a.Cols()) return TMatrixType::mtGeneral;
  double largest = 0;
  for (int i = 0; i < a.Length(); ++i) largest = std::max(largest, std::abs(detail::ElementAs<TCplx>(a, i)));
  const double tol = 16.0 * n * std::numeric_limits<double>::epsilon() * largest;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j <= i; ++j) {
      const TCplx x = detail::ElementAs<TCplx>(a, static_cast<std::size_t>(i) * n + j);
      const TCplx y = detail::ElementAs<TCplx>(a, static_cast<std::size_t>(j) * n + i);
      if (!(std::abs(x - std::conj(y)) <= tol)) return TMatrixType::mtGeneral;
    }
  return TMatrixType::mtSymmetric;
}

TCplx Determinant(const TZel& a) {
  detail::CheckSquare("Determinant", a);
  return ByData(a, [&](auto t) { return DeterminantOf<decltype(t)>(a); });
}

bool Cholesky(const TZel& a, TZel* l) {
  if (!detail::AllFinite(a) || DetectZelType(a) != TMatrixType::mtSymmetric) return false;
  return ByData(a, [&](auto t) { return CholeskyOf<decltype(t)>(a, l); });
}

void EigSym(const TZel& a, TVec& d, TZel* l, TZel* r) {
  detail::CheckSquare("EigSym", a);
  const int n = a.Rows();
  if (!detail::AllFinite(a)) {
    d.Size(n, false);
    d.SetVal(NAN);
    for (TZel* m : {l, r})
      if (m) detail::NaNMatrix(*m, n, n, a.Complex());
    return;
  }
  ByData(a, [&](auto t) { EigSymOf<decltype(t)>(a, d, l, r); });
}

void EigGeneral(const TZel& a, TVec& d, TZel* l, TZel* r) {
  detail::CheckSquare("Eig", a);
  const int n = a.Rows();
  if (!detail::AllFinite(a)) {
    d.Size(n, a.Complex());
    if (a.Complex()) {
      d.SetVal(TCplx(NAN, NAN));
    } else {
      d.SetVal(NAN);
    }
    for (TZel* m : {l, r})
      if (m) detail::NaNMatrix(*m, n, n, a.Complex());
    return;
  }
  if (a.Complex()) {
    EigGeneralComplex(a, d, l, r);
  } else {
    EigGeneralReal(a, d, l, r);
  }
}

void Eig(const TZel& a, TVec& d, TZel* l, TZel* r) {
  detail::CheckSquare("Eig", a);
  if (DetectZelType(a) == TMatrixType::mtSymmetric) {
    EigSym(a, d, l, r);
  } else {
    EigGeneral(a, d, l, r);
  }
}

void SVD(const TZel& a, TVec& s, TZel* u, TZel* v) {
  const int m = a.Rows(), n = a.Cols(), k = std::min(m, n);
  if (!detail::AllFinite(a)) {
    s.Size(k, false);
    s.SetVal(NAN);
    if (u) detail::NaNMatrix(*u, m, k, a.Complex());
    if (v) detail::NaNMatrix(*v, n, k, a.Complex());
    return;
  }
  ByData(a, [&](auto t) { SVDOf<decltype(t)>(a, s, u, v); });
}

void LQR(const TZel& a, TZel& l, TZel& q, TZel& r) {
  if (&l == &q || &l == &r || &q == &r) ERaise("LQR: the three factors must be different objects");
  ByData(a, [&](auto t) { LQROf<decltype(t)>(a, l, q, r); });
}

}  // namespace zel
