// Row, column and whole-matrix measures of the numeric core: means, sums and standard deviations of each
// row or column, the matrix 1-, Frobenius and infinity norms, the trace and the column z-scores.
//
// "Rows" functions give one value per row (a vector of x.Rows() elements, like a reduction along each
// row), "Cols" functions one value per column (x.Cols() elements). Row sums are pairwise, column sums
// compensated, so both stay accurate for long rows and tall matrices; standard deviations divide by
// n - 1 (see core/stats.h). Complex data gives complex means and sums and real standard deviations and
// norms. Destinations are resized in place (no allocation once large enough).
#pragma once

#include "core/cplx.h"
#include "core/nubra.h"

namespace zel {

// Mean and sum of each row or column; complex data gives a complex vector.
void MeanRows(const TZel& x, TVec& dst);
void MeanCols(const TZel& x, TVec& dst);
void SumRows(const TZel& x, TVec& dst);
void SumCols(const TZel& x, TVec& dst);
// Integer sums, exact and then saturated to the 32-bit range; dst gets 32-bit precision.
void SumRows(const TZelInt& x, TVecInt& dst);
void SumCols(const TZelInt& x, TVecInt& dst);
// sqrt(Σ |x - mean|² / (n - 1)) of each row or column (NaN for fewer than two elements).
void StdDevRows(const TZel& x, TVec& dst);
void StdDevCols(const TZel& x, TVec& dst);

// max over columns of Σ |x(i, j)| (0 for an empty matrix).
double Norm1(const TZel& x);
// sqrt(Σ |x(i, j)|²).
double NormFro(const TZel& x);
// max over rows of Σ |x(i, j)| (0 for an empty matrix).
double NormInf(const TZel& x);
// Σ x(i, i) over i < min(rows, cols); the real form raises ENubraException for complex data.
double Trace(const TZel& x);
TCplx TraceCplx(const TZel& x);

// (x - mean) / stddev of each column, with the column's mean and standard deviation (n - 1); a column
// whose standard deviation is 0, or that has one row, is divided by 1 instead. dst may be x.
void ZScore(const TZel& x, TZel& dst);

}  // namespace zel
