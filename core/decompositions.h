// Matrix decompositions of the numeric core through LAPACK: determinant (LU), Cholesky, eigenvalues and
// eigenvectors (symmetric/Hermitian and general), singular values and vectors, and the LQ/QR
// factorisation. Real and complex matrices; results are written into the given objects, which are sized
// here.
//
// Square matrices are required where the mathematics needs them (ENubraException naming the routine
// otherwise). A matrix with a NaN or infinite element gives NaN results (Cholesky: false) instead of
// entering LAPACK. Failures of LAPACK's iterations raise ENubraException.
#pragma once

#include "core/nubra.h"

namespace zel {

// The kinds of matrices the solvers tell apart.
enum class TMatrixType { mtGeneral, mtSymmetric };

// mtSymmetric for a square matrix equal to its conjugate transpose (real symmetric, complex Hermitian)
// within rounding: |a(i,j) - conj(a(j,i))| <= 16·n·eps·max|a| for every i, j; else mtGeneral.
TMatrixType DetectZelType(const TZel& a);

// det(a) from the LU factorisation P·a = L·U (dgetrf/zgetrf): the product of U's diagonal, negated once
// per row interchange. Real data gives a zero imaginary part; a 0 × 0 matrix gives 1.
TCplx Determinant(const TZel& a);

// True when a is symmetric (Hermitian, as DetectZelType) and positive definite; then l (when given)
// receives the lower triangular factor with a = l·lᴴ (dpotrf/zpotrf). a is not changed.
bool Cholesky(const TZel& a, TZel* l = nullptr);

// Eigenvalues d and eigenvectors of a. l receives the left eigenvectors as rows (row j is uⱼᴴ where
// uⱼᴴ·a = dⱼ·uⱼᴴ, so l·a = diag(d)·l), r the right eigenvectors as columns (a·r = r·diag(d)); each
// eigenvector has unit 2-norm. Either may be null.
// EigSym treats a as symmetric/Hermitian (reads its lower triangle; dsyevr/zheevr): d real, ascending,
// r = lᴴ. EigGeneral: LAPACK's dgeev/zgeev order; d is real when a is real and every eigenvalue is, else
// complex, and so are l and r; each eigenvector's largest component is real. Eig picks by DetectZelType.
void EigSym(const TZel& a, TVec& d, TZel* l = nullptr, TZel* r = nullptr);
void EigGeneral(const TZel& a, TVec& d, TZel* l = nullptr, TZel* r = nullptr);
void Eig(const TZel& a, TVec& d, TZel* l = nullptr, TZel* r = nullptr);

// Singular values s (descending, real) of an m × n matrix; with u and v the economy factors
// a = u·diag(s)·vᴴ, u m × k and v n × k with orthonormal columns, k = min(m, n) (dgesdd/zgesdd).
void SVD(const TZel& a, TVec& s, TZel* u = nullptr, TZel* v = nullptr);

// a = l·q·r for an m × n matrix: when m >= n the QR factorisation (l the m × m identity, q m × n with
// orthonormal columns, r n × n upper triangular); when m < n the LQ factorisation (l m × m lower
// triangular, q m × n with orthonormal rows, r the n × n identity). Householder reflections (LAPACK's
// gelqf/geqrf with unglq/ungqr).
void LQR(const TZel& a, TZel& l, TZel& q, TZel& r);

}  // namespace zel
