// Complex scalars of the numeric core.
#pragma once

#include <complex>

namespace zel {

// A complex number of two doubles (real, imaginary). std::complex<double> is layout-compatible with an
// array of two doubles, which lets complex vectors keep (re, im) pairs in a plain double buffer.
using TCplx = std::complex<double>;

}  // namespace zel
