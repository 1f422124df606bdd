// Dense linear algebra of the numeric core (LAPACK and CBLAS stay inside the .cpp files).
#pragma once

#include "core/nubra.h"

namespace zel {

// How a matrix enters a solve: as it is, or transposed.
enum class TMatrixForm { mfAsIs, mfTransposed };

// Default tolerance of least-squares solves: singular values below tol · largest count as zero.
inline constexpr double LQRTolerance = 2.220446049250313e-13;

// Matrix product dst = a · b (real or complex; a real operand meeting a complex one is promoted).
// a.Cols must equal b.Rows, else ENubraException. dst may not alias a or b.
void MatMul(const TZel& a, const TZel& b, TZel& dst);
// True when a · b can be written into dst as dst stands, leaving it as a copy of the product would: a and
// b real, dst real, double precision, no view, already a.Rows × b.Cols, and sharing no storage with a or b.
bool FitsProduct(const TZel& dst, const TZel& a, const TZel& b);
// Row vector times matrix: dst(j) = Σᵢ v(i)·m(i, j); v.Length must equal m.Rows.
void TensorProd(const TVec& v, const TZel& m, TVec& dst);
// Outer product: dst(i, j) = col(i)·row(j), a col.Length × row.Length matrix.
void TensorProd(const TVec& col, const TVec& row, TZel& dst);

// Least-squares solution of op(a)·x = b (minimum norm when rank deficient). a is m × n; b has m rows
// (or m elements); x gets n rows (or n elements).
void LQRSolve(const TZel& a, const TZel& b, TZel& x, TMatrixForm op = TMatrixForm::mfAsIs,
              double tol = LQRTolerance);
void LQRSolve(const TZel& a, const TVec& b, TVec& x, TMatrixForm op = TMatrixForm::mfAsIs,
              double tol = LQRTolerance);
// Least-squares solution of the right division x·a = b (minimum norm when rank deficient), without
// transposing anything first. a is p × q and b is r × q; x gets r × p. The second form takes a as the
// 1 × q row `aRow` (x gets r × 1); the third takes b as the row `bRow` of q elements (x gets p elements).
void RightSolve(const TZel& a, const TZel& b, TZel& x, double tol = LQRTolerance);
void RightSolve(const TVec& aRow, const TZel& b, TZel& x, double tol = LQRTolerance);
void RightSolve(const TZel& a, const TVec& bRow, TVec& x, double tol = LQRTolerance);

// dst = srcᵀ; Adjung conjugates as well. dst may be src (in place).
void Transp(const TZel& src, TZel& dst);
void Adjung(const TZel& src, TZel& dst);
void Transp(const TZelInt& src, TZelInt& dst);
// Complex conjugate of every element (real data is copied unchanged). dst may be src.
void Conj(const TNubraVec& src, TNubraVec& dst);

}  // namespace zel

// ---- SVD solves (construction, rearrangement and linear-algebra functions) -------------------------

namespace zel {

// Least-squares, minimum-norm solution of a·x = b by the SVD (gelsd), as LQRSolve with tolerance `tol`:
// singular values below tol · the largest are treated as zero. s receives a's singular values
// (descending; NaN when a has a NaN or infinite element).
void SVDSolve(const TZel& a, const TVec& b, TVec& x, TVec& s, double tol);
void SVDSolve(const TZel& a, const TZel& b, TZel& x, TVec& s, double tol);

}  // namespace zel
