// Dense linear algebra: products through CBLAS, least-squares solves through LAPACK's SVD-based driver
// (gelsd), transposition and conjugation.
//
// LAPACK works on column-major data while our matrices are row-major. The solves copy their operands into
// per-thread column-major working storage (LAPACK overwrites its inputs anyway), choosing the copy so that
// transposed operations and right division need no extra pass. The working storage only grows, so
// repeated solves of one size allocate nothing.
#include "core/linalg.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <type_traits>
#include <vector>

#define lapack_complex_float std::complex<float>
#define lapack_complex_double std::complex<double>
#include <cblas.h>
#include <lapacke.h>

#include "core/decompositions.h"
#include "core/dense_detail.h"
#include "core/errors.h"
#include "core/nubra_detail.h"

namespace zel {

namespace {

// A row-major real or complex block of data (a matrix, or a vector seen as one row or one column).
struct MatRef {
  const double* data;
  int rows;
  int cols;
  bool complex;

  // Element (r, c) as a real (only for real data) or as a complex.
  template <class T>
  T At(int r, int c) const {
    const std::size_t i = static_cast<std::size_t>(r) * cols + c;
    if constexpr (std::is_same_v<T, double>) {
      return data[i];
    } else {
      return complex ? reinterpret_cast<const TCplx*>(data)[i] : TCplx(data[i], 0.0);
    }
  }
};

MatRef Ref(const TZel& m) { return {m.PValues(), m.Rows(), m.Cols(), m.Complex()}; }
MatRef RowRef(const TVec& v) { return {v.PValues(), 1, v.Length(), v.Complex()}; }
MatRef ColRef(const TVec& v) { return {v.PValues(), v.Length(), 1, v.Complex()}; }

std::size_t Bytes(const TNubraVec& v) { return static_cast<std::size_t>(v.ScalarCount()) * sizeof(double); }

// Raises when the destination shares storage with an operand (the kernels read operands while writing).
void CheckNoAlias(const char* who, const TNubraVec& dst, const TNubraVec& src) {
  if (&dst == &src || detail::Overlaps(dst.PValues(), Bytes(dst), src.PValues(), Bytes(src)))
    ERaise(Fmt("%s: the result may not share storage with an operand", who));
}

// ---- least squares ---------------------------------------------------------------------------------

// Working storage of the solves, one per thread.
thread_local detail::LapackWork tScratch;
using detail::Room;

// Copies src, or its transpose, into the column-major block dst with leading dimension ld.
template <class T>
void ToColMajor(const MatRef& src, bool transpose, T* dst, int ld) {
  for (int r = 0; r < src.rows; ++r)
    for (int c = 0; c < src.cols; ++c) {
      const T x = src.At<T>(r, c);
      if (transpose) {
        dst[static_cast<std::size_t>(r) * ld + c] = x;  // element (c, r) of the transposed block
      } else {
        dst[static_cast<std::size_t>(c) * ld + r] = x;
      }
    }
}

bool AllFinite(const MatRef& m) {
  const std::size_t n = static_cast<std::size_t>(m.rows) * m.cols * (m.complex ? 2 : 1);
  for (std::size_t i = 0; i < n; ++i)
    if (!std::isfinite(m.data[i])) return false;
  return true;
}

// gelsd on column-major data: A is m × n (lda = m), B is ldb × nrhs; the solution lands in B's first n
// rows. Singular values below tol · the largest count as zero.
lapack_int Gelsd(int m, int n, int nrhs, double* a, double* b, int ldb, double tol) {
  detail::LapackWork& w = tScratch;
  double* s = Room(w.s, std::max(1, std::min(m, n)));
  lapack_int rank = 0;
  double lwork = 0;
  lapack_int liwork = 0;
  lapack_int info = LAPACKE_dgelsd_work(LAPACK_COL_MAJOR, m, n, nrhs, a, std::max(1, m), b, ldb, s, tol,
                                        &rank, &lwork, -1, &liwork);
  if (info != 0) return info;
  double* work = Room(w.real.work, static_cast<std::size_t>(lwork) + 1);
  lapack_int* iwork = Room(w.iwork, static_cast<std::size_t>(std::max<lapack_int>(liwork, 1)));
  return LAPACKE_dgelsd_work(LAPACK_COL_MAJOR, m, n, nrhs, a, std::max(1, m), b, ldb, s, tol, &rank, work,
                             static_cast<lapack_int>(lwork), iwork);
}

lapack_int Gelsd(int m, int n, int nrhs, TCplx* a, TCplx* b, int ldb, double tol) {
  detail::LapackWork& w = tScratch;
  double* s = Room(w.s, std::max(1, std::min(m, n)));
  lapack_int rank = 0;
  TCplx lwork = 0;
  double lrwork = 0;
  lapack_int liwork = 0;
  lapack_int info = LAPACKE_zgelsd_work(LAPACK_COL_MAJOR, m, n, nrhs, a, std::max(1, m), b, ldb, s, tol,
                                        &rank, &lwork, -1, &lrwork, &liwork);
  if (info != 0) return info;
  TCplx* work = Room(w.complex.work, static_cast<std::size_t>(lwork.real()) + 1);
  double* rwork = Room(w.rwork, static_cast<std::size_t>(lrwork) + 1);
  lapack_int* iwork = Room(w.iwork, static_cast<std::size_t>(std::max<lapack_int>(liwork, 1)));
  return LAPACKE_zgelsd_work(LAPACK_COL_MAJOR, m, n, nrhs, a, std::max(1, m), b, ldb, s, tol, &rank, work,
                             static_cast<lapack_int>(lwork.real()), rwork, iwork);
}

void SizeMatrix(TNubraVec& dst, int rows, int cols, bool complex) {
  static_cast<TZel&>(dst).Size(rows, cols, complex);
}
void SizeVector(TNubraVec& dst, int rows, int cols, bool complex) {
  static_cast<TVec&>(dst).Size(rows * cols, complex);
}

// Where a solution goes: the destination, how to size it (matrix or vector), and whether it receives
// X or Xᵀ.
struct SolveOut {
  TNubraVec& dst;
  void (*size)(TNubraVec& dst, int rows, int cols, bool complex);
  bool transposed;
};

// Solves op(A)·X = B for X (n × nrhs) in the least-squares, minimum-norm sense. op(A) is A or Aᵀ; B is
// given as `b` or, with bTransposed, as bᵀ. The result is written as X, or as Xᵀ with out.transposed.
template <class T>
void SolveTyped(const MatRef& a, bool transA, const MatRef& b, bool bTransposed, SolveOut out, double tol) {
  const int m = transA ? a.cols : a.rows;
  const int n = transA ? a.rows : a.cols;
  const int nrhs = bTransposed ? b.rows : b.cols;
  const int ldb = std::max({1, m, n});
  detail::LapackBuffers<T>& w = tScratch.For<T>();
  T* ab = Room(w.a, static_cast<std::size_t>(std::max(1, m)) * std::max(1, n));
  T* bb = Room(w.b, static_cast<std::size_t>(ldb) * std::max(1, nrhs));
  const bool finite = AllFinite(a);
  const bool empty = m == 0 || n == 0 || nrhs == 0;
  if (finite && !empty) {
    ToColMajor(a, transA, ab, m);
    ToColMajor(b, bTransposed, bb, ldb);
    const lapack_int info = Gelsd(m, n, nrhs, ab, bb, ldb, tol);
    if (info < 0) ERaise(Fmt("Least-squares solve: invalid argument %d to the solver", -info));
    if (info > 0) ERaise("Least-squares solve: the singular value decomposition did not converge");
  } else {
    // No usable system: a zero-sized one has the zero solution, a non-finite matrix no solution (NaN).
    std::fill_n(bb, static_cast<std::size_t>(ldb) * std::max(1, nrhs), T(empty ? 0.0 : NAN));
  }
  // Operands are fully copied: the destination may be one of them.
  if (out.transposed) {
    out.size(out.dst, nrhs, n, std::is_same_v<T, TCplx>);
  } else {
    out.size(out.dst, n, nrhs, std::is_same_v<T, TCplx>);
  }
  T* x = reinterpret_cast<T*>(out.dst.PValues());
  for (int k = 0; k < nrhs; ++k)
    for (int i = 0; i < n; ++i) {
      const T v = bb[static_cast<std::size_t>(k) * ldb + i];
      if (out.transposed) {
        x[static_cast<std::size_t>(k) * n + i] = v;
      } else {
        x[static_cast<std::size_t>(i) * nrhs + k] = v;
      }
    }
}

void Solve(const char* who, const MatRef& a, bool transA, const MatRef& b, bool bTransposed, SolveOut out,
           double tol) {
  const int m = transA ? a.cols : a.rows;
  const int bRows = bTransposed ? b.cols : b.rows;
  if (bRows != m) {
    if (bTransposed)
      ERaise(Fmt("%s: the right-hand side has %d columns but the matrix has %d", who, bRows, m));
    ERaise(Fmt("%s: the right-hand side has %d rows but the system needs %d", who, bRows, m));
  }
  if (a.complex || b.complex) {
    SolveTyped<TCplx>(a, transA, b, bTransposed, out, tol);
  } else {
    SolveTyped<double>(a, transA, b, bTransposed, out, tol);
  }
}

// ---- transposition ---------------------------------------------------------------------------------

thread_local std::vector<std::byte> tTransposeScratch;

// d (cols × rows) = sᵀ for a row-major rows × cols block s; tiled so both sides stay in cache.
template <class T>
void TransposeBlock(const T* s, T* d, int rows, int cols) {
  constexpr int kTile = 32;
  for (int r0 = 0; r0 < rows; r0 += kTile)
    for (int c0 = 0; c0 < cols; c0 += kTile) {
      const int r1 = std::min(rows, r0 + kTile);
      const int c1 = std::min(cols, c0 + kTile);
      for (int r = r0; r < r1; ++r)
        for (int c = c0; c < c1; ++c)
          d[static_cast<std::size_t>(c) * rows + r] = s[static_cast<std::size_t>(r) * cols + c];
    }
}

// Negates the imaginary parts of n complex values.
void ConjugateInPlace(TCplx* p, int n) {
  double* d = reinterpret_cast<double*>(p);
  for (int i = 1; i < 2 * n; i += 2) d[i] = -d[i];
}

// The source's bytes, copied to per-thread working storage when they share storage with the destination
// (sizing the destination may move or overwrite them).
const void* Detach(const void* src, std::size_t bytes, const void* dst, std::size_t dstBytes, bool same) {
  if (bytes == 0 || !(same || detail::Overlaps(src, bytes, dst, dstBytes))) return src;
  std::byte* tmp = Room(tTransposeScratch, bytes);
  std::memcpy(tmp, src, bytes);
  return tmp;
}

void TranspReal(const TZel& src, TZel& dst, bool conjugate) {
  const int rows = src.Rows();
  const int cols = src.Cols();
  const bool complex = src.Complex();
  const TNubraPrecision p = src.FloatPrecision();
  const void* s = Detach(src.PValues(), Bytes(src), dst.PValues(), Bytes(dst), &src == &dst);
  dst.Size(cols, rows, complex);
  dst.SetFloatPrecision(p);
  if (complex) {
    TransposeBlock(static_cast<const TCplx*>(s), dst.PCValues(), rows, cols);
    if (conjugate) ConjugateInPlace(dst.PCValues(), dst.Length());
  } else {
    TransposeBlock(static_cast<const double*>(s), dst.PValues(), rows, cols);
  }
}

}  // namespace

// ---- products --------------------------------------------------------------------------------------

void MatMul(const TZel& a, const TZel& b, TZel& dst) {
  if (a.Cols() != b.Rows())
    ERaise(Fmt("MatMul: inner dimensions differ (%d x %d times %d x %d)", a.Rows(), a.Cols(), b.Rows(),
               b.Cols()));
  CheckNoAlias("MatMul", dst, a);
  CheckNoAlias("MatMul", dst, b);
  const int m = a.Rows();
  const int n = b.Cols();
  const int k = a.Cols();
  dst.Size(m, n, a.Complex() || b.Complex());
  if (m == 0 || n == 0) return;
  if (k == 0) {
    dst.SetZero();
    return;
  }
  const double* pa = a.PValues();
  const double* pb = b.PValues();
  double* pd = dst.PValues();
  if (a.Complex() && b.Complex()) {
    const TCplx one(1.0, 0.0), zero(0.0, 0.0);
    cblas_zgemm(CblasRowMajor, CblasNoTrans, CblasNoTrans, m, n, k, &one, pa, k, pb, n, &zero, pd, n);
  } else if (b.Complex()) {
    // Real a times complex b: b's (re, im) pairs form a real k × 2n matrix, and so do the result's.
    cblas_dgemm(CblasRowMajor, CblasNoTrans, CblasNoTrans, m, 2 * n, k, 1.0, pa, k, pb, 2 * n, 0.0, pd,
                2 * n);
  } else if (a.Complex()) {
    // Complex a times real b, row by row: result row i seen as n × 2 (re, im) equals bᵀ · (row i as k × 2).
    for (int i = 0; i < m; ++i)
      cblas_dgemm(CblasRowMajor, CblasTrans, CblasNoTrans, n, 2, k, 1.0, pb, n, pa + 2 * std::size_t(i) * k,
                  2, 0.0, pd + 2 * std::size_t(i) * n, 2);
  } else {
    cblas_dgemm(CblasRowMajor, CblasNoTrans, CblasNoTrans, m, n, k, 1.0, pa, k, pb, n, 0.0, pd, n);
  }
}

bool FitsProduct(const TZel& dst, const TZel& a, const TZel& b) {
  if (dst.IsView() || dst.Complex() || dst.FloatPrecision() != npDouble || a.Complex() || b.Complex())
    return false;
  if (dst.Rows() != a.Rows() || dst.Cols() != b.Cols() || &dst == &a || &dst == &b) return false;
  return !detail::Overlaps(dst.PValues(), Bytes(dst), a.PValues(), Bytes(a)) &&
         !detail::Overlaps(dst.PValues(), Bytes(dst), b.PValues(), Bytes(b));
}

void TensorProd(const TVec& v, const TZel& m, TVec& dst) {
  if (v.Length() != m.Rows())
    ERaise(Fmt("TensorProd: vector length %d differs from the matrix row count %d", v.Length(), m.Rows()));
  CheckNoAlias("TensorProd", dst, v);
  CheckNoAlias("TensorProd", dst, m);
  const int rows = m.Rows();
  const int cols = m.Cols();
  dst.Size(cols, v.Complex() || m.Complex());
  if (cols == 0) return;
  if (rows == 0) {
    dst.SetZero();
    return;
  }
  const double* pv = v.PValues();
  const double* pm = m.PValues();
  double* pd = dst.PValues();
  if (v.Complex() && m.Complex()) {
    const TCplx one(1.0, 0.0), zero(0.0, 0.0);
    cblas_zgemv(CblasRowMajor, CblasTrans, rows, cols, &one, pm, cols, pv, 1, &zero, pd, 1);
  } else if (m.Complex()) {
    // The complex matrix as a real rows × 2·cols matrix gives the (re, im) pairs of the result.
    cblas_dgemv(CblasRowMajor, CblasTrans, rows, 2 * cols, 1.0, pm, 2 * cols, pv, 1, 0.0, pd, 1);
  } else if (v.Complex()) {
    // The result as cols × 2 (re, im) equals mᵀ · (v as rows × 2).
    cblas_dgemm(CblasRowMajor, CblasTrans, CblasNoTrans, cols, 2, rows, 1.0, pm, cols, pv, 2, 0.0, pd, 2);
  } else {
    cblas_dgemv(CblasRowMajor, CblasTrans, rows, cols, 1.0, pm, cols, pv, 1, 0.0, pd, 1);
  }
}

void TensorProd(const TVec& col, const TVec& row, TZel& dst) {
  CheckNoAlias("TensorProd", dst, col);
  CheckNoAlias("TensorProd", dst, row);
  const int m = col.Length();
  const int n = row.Length();
  dst.Size(m, n, col.Complex() || row.Complex());
  const auto outer = [m, n](const auto* c, const auto* r, auto* d) {
    for (int i = 0; i < m; ++i)
      for (int j = 0; j < n; ++j) d[static_cast<std::size_t>(i) * n + j] = c[i] * r[j];
  };
  if (col.Complex() && row.Complex()) {
    outer(col.PCValues(), row.PCValues(), dst.PCValues());
  } else if (col.Complex()) {
    outer(col.PCValues(), row.PValues(), dst.PCValues());
  } else if (row.Complex()) {
    outer(col.PValues(), row.PCValues(), dst.PCValues());
  } else {
    outer(col.PValues(), row.PValues(), dst.PValues());
  }
}

// ---- solves ----------------------------------------------------------------------------------------

void LQRSolve(const TZel& a, const TZel& b, TZel& x, TMatrixForm op, double tol) {
  Solve("LQRSolve", Ref(a), op == TMatrixForm::mfTransposed, Ref(b), false, {x, SizeMatrix, false}, tol);
}

void LQRSolve(const TZel& a, const TVec& b, TVec& x, TMatrixForm op, double tol) {
  Solve("LQRSolve", Ref(a), op == TMatrixForm::mfTransposed, ColRef(b), false, {x, SizeVector, false}, tol);
}

// x·a = b is aᵀ·xᵀ = bᵀ: a enters transposed, b and the solution as their transposes.
void RightSolve(const TZel& a, const TZel& b, TZel& x, double tol) {
  Solve("RightSolve", Ref(a), true, Ref(b), true, {x, SizeMatrix, true}, tol);
}

void RightSolve(const TVec& aRow, const TZel& b, TZel& x, double tol) {
  Solve("RightSolve", RowRef(aRow), true, Ref(b), true, {x, SizeMatrix, true}, tol);
}

void RightSolve(const TZel& a, const TVec& bRow, TVec& x, double tol) {
  Solve("RightSolve", Ref(a), true, RowRef(bRow), true, {x, SizeVector, true}, tol);
}

// ---- transposition and conjugation -----------------------------------------------------------------

void Transp(const TZel& src, TZel& dst) { TranspReal(src, dst, false); }

void Adjung(const TZel& src, TZel& dst) { TranspReal(src, dst, src.Complex()); }

void Transp(const TZelInt& src, TZelInt& dst) {
  const int rows = src.Rows();
  const int cols = src.Cols();
  const auto bytes = [](const TZelInt& m) {
    return static_cast<std::size_t>(m.Length()) * IntPrecisionBytes(m.IntPrecision());
  };
  const auto data = [](const TZelInt& m) {
    return m.Visit([](const auto* p) { return static_cast<const void*>(p); });
  };
  const void* s = Detach(data(src), bytes(src), data(dst), bytes(dst), &src == &dst);
  dst.Size(cols, rows, src.IntPrecision());
  dst.Visit([&](auto* d) {
    using T = std::remove_reference_t<decltype(*d)>;
    TransposeBlock(static_cast<const T*>(s), d, rows, cols);
  });
}

void Conj(const TNubraVec& src, TNubraVec& dst) {
  dst.Copy(src);
  if (dst.Complex()) ConjugateInPlace(dst.PCValues(), dst.Length());
}

}  // namespace zel

// ---- SVD solves (construction, rearrangement and linear-algebra functions) -------------------------

namespace zel {

namespace {

// The singular values gelsd left in the working storage, or (when the solve had no usable system) those
// of the SVD itself.
void SingularValuesOfSolve(const TZel& a, int nrhs, TVec& s) {
  const int k = std::min(a.Rows(), a.Cols());
  if (k > 0 && nrhs == 0) return SVD(a, s);
  s.Size(k, false);
  if (k > 0 && !AllFinite(Ref(a))) {
    s.SetVal(NAN);
  } else if (k > 0) {
    std::copy_n(tScratch.s.data(), k, s.PValues());
  }
}

}  // namespace

void SVDSolve(const TZel& a, const TVec& b, TVec& x, TVec& s, double tol) {
  Solve("SVDSolve", Ref(a), false, ColRef(b), false, {x, SizeVector, false}, tol);
  SingularValuesOfSolve(a, 1, s);
}

void SVDSolve(const TZel& a, const TZel& b, TZel& x, TVec& s, double tol) {
  Solve("SVDSolve", Ref(a), false, Ref(b), false, {x, SizeMatrix, false}, tol);
  SingularValuesOfSolve(a, b.Cols(), s);
}

}  // namespace zel
