// The kernels behind core/stats.h on raw element runs (n elements at p; complex data as interleaved
// doubles), so that the row measures (measures.cpp) apply them to each row of a matrix. Internal to core/.
#pragma once

#include <cstddef>

#include "core/cplx.h"
#include "core/stats.h"

namespace zel::detail {

// The mean and the sum of squared deviations Σ |x - mean|² (corrected two-pass form) of n elements.
struct TCentral {
  TCplx mean;
  double ssd = 0;
};
TCentral Central(const double* p, std::size_t n, bool complex);

// Σ x of n elements (complex: the sum of the interleaved pairs).
TCplx SumOf(const double* p, std::size_t n, bool complex);

// The norm of n elements.
double NormOf(const double* p, std::size_t n, bool complex, TVecNorm kind);

}  // namespace zel::detail
