// The reference rows of the two-argument, two-output, integer and threshold functions, computed with NumPy
// by reference/binary_functions.py, which also writes the row types (reference/binary_functions.inc).
#pragma once

#include <cstdint>
#include <limits>

#include "core/cplx.h"

namespace zel::test::refs {
#include "reference/binary_functions.inc"
}  // namespace zel::test::refs
