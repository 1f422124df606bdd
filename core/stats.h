// Reductions and statistics of the numeric core: sums, products, extremes, means, moments, medians and
// vector norms over all elements of a vector or matrix (a matrix counts as its rows·cols elements), and
// the medians and norms of each row of a matrix.
//
// Sums that feed a mean or a variance are pairwise (core/summation.h); the variance is the corrected
// two-pass form. Functions named for real data (Sum, Mean, Min, ...) raise ENubraException when the data
// is complex; their ...Cplx forms take either kind and treat real data as complex with zero imaginary
// parts. Integer forms compute exactly in 64 bits. The definitions (N - 1 in the variance, excess
// kurtosis, the order of complex numbers, the median of an even count) are written out in the Choices
// section of docs/functions.md.
#pragma once

#include <cstdint>

#include "core/cplx.h"
#include "core/nubra.h"

namespace zel {

// ---- sums, products, means -------------------------------------------------------------------------

// Σ x (0 when empty).
double Sum(const TNubraVec& x);
TCplx SumCplx(const TNubraVec& x);
std::int64_t Sum(const TNubraInt& x);
// Π x (1 when empty).
double Product(const TNubraVec& x);
TCplx ProductCplx(const TNubraVec& x);
// Σ x / n (NaN when empty).
double Mean(const TNubraVec& x);
TCplx MeanCplx(const TNubraVec& x);
double Mean(const TNubraInt& x);

// ---- extremes --------------------------------------------------------------------------------------

// The order of complex numbers: by modulus, equal moduli by argument in (-π, π].
bool LessByModulus(TCplx a, TCplx b);

// The smallest and largest element: of real or integer data in the order of real numbers, and with the
// ...Cplx forms of any data in the order of complex numbers (LessByModulus). A NaN element makes the
// result NaN (complex: the first element with a NaN part). No elements raise ENubraException
// "Min: no elements" or "Max: no elements".
double Min(const TNubraVec& x);
double Max(const TNubraVec& x);
std::int32_t Min(const TNubraInt& x);
std::int32_t Max(const TNubraInt& x);
TCplx MinCplx(const TNubraVec& x);
TCplx MaxCplx(const TNubraVec& x);
TCplx MinCplx(const TNubraInt& x);
TCplx MaxCplx(const TNubraInt& x);

// ---- moments (real data) ---------------------------------------------------------------------------

// sqrt(Σ x² / n), without overflow for large elements.
double RMS(const TNubraVec& x);
// Σ |x - mean|² / (n - 1) by the corrected two-pass form; real or complex data; NaN below two elements.
double Variance(const TNubraVec& x);
// sqrt(Variance(x)).
double StdDev(const TNubraVec& x);
// Σ ((x - mean) / stddev)³ / n with the caller's mean and standard deviation.
double Skewness(const TNubraVec& x, double mean, double stddev);
// Σ ((x - mean) / stddev)⁴ / n - 3 with the caller's mean and standard deviation.
double Kurtosis(const TNubraVec& x, double mean, double stddev);
// The population standard deviation sqrt(Σ (x - mean)² / n), which the one-argument moments use.
double PopulationStdDev(const TNubraVec& x);

// ---- medians ---------------------------------------------------------------------------------------

// The middle element of the sorted data, the mean of the two middle ones for an even count. Real data:
// NaN when empty or when an element is NaN. Integer data: the mean rounded to the nearest integer,
// halves to even; no elements raise ENubraException.
double Median(const TNubraVec& x);
std::int32_t Median(const TNubraInt& x);
// The median of each row into a rows x 1 matrix (same floating precision, or integer precision).
void MedianRows(const TZel& x, TZel& dst);
void MedianRows(const TZelInt& x, TZelInt& dst);

// ---- vector norms ----------------------------------------------------------------------------------

enum class TVecNorm : std::uint8_t {
  vnC,            // max |x| (0 when empty)
  vnL1,           // Σ |x|
  vnL2,           // sqrt(Σ |x|²), without overflow or underflow for large or tiny elements
  vnSumOfSquares  // Σ |x|²
};

// The norm of all elements (real or complex data).
double Norm(const TNubraVec& x, TVecNorm kind);
// The norm of each row into a rows x 1 real matrix.
void RowNorms(const TZel& x, TVecNorm kind, TZel& dst);

}  // namespace zel
