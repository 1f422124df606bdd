// The reference tables of the two-argument, integer and threshold functions: the row types and the rows
// that reference/binary_functions.py computed with NumPy (reference/binary_functions.inc).
#pragma once

#include <cstdint>
#include <limits>

#include "core/cplx.h"

namespace zel::test::refs {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Scalar kinds of the operands: 'd' double, 'i' integer, 'c' complex.
struct PairRef {
  const char* name;
  char xKind;
  TCplx x;
  char yKind;
  TCplx y;
  TCplx expected;
};
struct RootRef {
  TCplx x;
  int k, n;
  TCplx expected;
};
struct OutputRef {
  const char* name;
  char xKind;
  TCplx x;
  double first, second;
};
struct DivisorRef {
  const char* name;
  std::int64_t x, y, expected;
};
struct RemDivRef {
  std::int64_t x, y, quotient, remainder;
};
struct ThresholdRef {
  const char* name;
  char xKind;
  TCplx x;
  double level;
  TCplx expected;
};

#include "reference/binary_functions.inc"

}  // namespace zel::test::refs
