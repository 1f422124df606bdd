// Running sums, differences and integration of the numeric core. Destinations take the result's size and
// may be the source itself or share its storage.
//
//   CumSum:     vector: y[i] = x[0] + ... + x[i]; matrix: the same down each column (Octave's cumsum,
//               numpy.cumsum(x, axis=0)). Integer data is summed exactly in 64 bits and each element
//               saturated to the precision's range.
//   Difference: y[i] = x[i+lag] - x[i], length n - lag (none when lag >= n); a matrix row by row, so the
//               result has lag fewer columns. A negative lag raises ENubraException.
//   Integrate:  the cumulative trapezoid rule with unit step from initial value c:
//               y[0] = c, y[i] = y[i-1] + (x[i-1] + x[i]) / 2 (scipy.integrate.cumulative_trapezoid with
//               initial=0, plus c); applied once per initial value, in order, each pass integrating the
//               previous pass's result.
#pragma once

#include <cstdint>

#include "core/nubra.h"

namespace zel {

void CumSum(const TNubraVec& src, TNubraVec& dst);
void CumSum(const TNubraInt& src, TNubraInt& dst);

void Difference(const TNubraVec& src, std::int64_t lag, TNubraVec& dst);

// Once, from 0.
void Integrate(const TNubraVec& x, TNubraVec& dst);
// Length(init) times, pass j starting from init[j].
void Integrate(const TNubraVec& x, const TNubraVec& init, TNubraVec& dst);

}  // namespace zel
