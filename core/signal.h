// Convolution, correlation, dot products and normalisation of the numeric core.
//
// Real and complex data mix freely: a complex operand makes the result complex. Vectors count as one row
// of Length elements. Destinations take the result's size; they may be an operand or share its storage
// (then the result is computed through a temporary).
//
//   Convolve:  dst[k] = Σ_i a[i]·b[k-i], k = 0 .. na+nb-2 (the full convolution, numpy.convolve); empty
//              when either operand is empty
//   Filter2D:  dst[r][c] = Σ_{i,j} a[i][j]·b[r-i][c-j], (ra+rb-1) × (ca+cb-1) (scipy.signal.convolve2d,
//              mode "full")
//   CrossCorr: dst holds lags k = -loLag .. hiLag in that order, r(k) = Σ_n a[n+k]·conj(b[n]) over the n
//              where both indices exist (numpy.correlate(a, b, "full") at lag k); divided by N (biased) or
//              N - |k| (unbiased, 0 where N - |k| <= 0), N = max(na, nb)
//   AutoCorr:  CrossCorr(x, x) at lags 0 .. lag
//   DotProd:   Σ a[i]·b[i], or Σ a[i]·conj(b[i]) when conjugating
//   Normalize: dst = (a - x) / y element by element
#pragma once

#include <cstdint>

#include "core/nubra.h"

namespace zel {

// How correlations are scaled.
enum class TCorrNorm : std::uint8_t { cnNone, cnBiased, cnUnbiased };

void Convolve(const TNubraVec& a, const TNubraVec& b, TNubraVec& dst);
void Filter2D(const TZel& a, const TZel& b, TZel& dst);

// More than 2^31 - 1 lags raise ENubraException; fewer than one give an empty result.
void CrossCorr(const TNubraVec& a, const TNubraVec& b, std::int64_t hiLag, std::int64_t loLag, TCorrNorm norm,
               TNubraVec& dst);
void AutoCorr(const TNubraVec& x, std::int64_t lag, TCorrNorm norm, TNubraVec& dst);

// Lengths must be equal, else ENubraException "DotProd: operand lengths differ (na and nb)".
TCplx DotProd(const TNubraVec& a, const TNubraVec& b, bool conjugate = false);

void Normalize(const TNubraVec& a, double x, double y, TNubraVec& dst);
void Normalize(const TNubraVec& a, TCplx x, double y, TNubraVec& dst);
void Normalize(const TNubraVec& a, double x, TCplx y, TNubraVec& dst);
void Normalize(const TNubraVec& a, TCplx x, TCplx y, TNubraVec& dst);

}  // namespace zel
