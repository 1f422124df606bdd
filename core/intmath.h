// Integer functions of the numeric core: greatest common divisor and least common multiple, quotient
// and remainder in one call, and thresholds of integer arrays.
//
// gcd and lcm are never negative: gcd(a, b) = gcd(|a|, |b|), gcd(0, 0) = 0, lcm(a, 0) = 0 and
// lcm(a, b) = |a| / gcd(a, b) · |b|. Scalars are 64-bit; a result beyond the 64-bit range raises
// EIntOverflow. Array results follow vecmath.h: computed exactly, then saturated to the precision of the
// result (a 32-bit lcm above 2147483647 gives 2147483647).
#pragma once

#include <cstdint>

#include "core/nubra.h"

namespace zel {

std::int64_t Gcd(std::int64_t a, std::int64_t b);
std::int64_t Lcm(std::int64_t a, std::int64_t b);

// Element by element. Two arrays must have equal precision and equal element counts, or, when both are
// matrices, equal rows and columns; otherwise ENubraException (with "Gcd: " or "Lcm: " in front):
//   "Source arguments have differ dimensions: Src1.Length = %d, Src2.Length = %d"
//   "Source arguments have differ dimensions: Src1.Rows = %d, Src2.Rows = %d, Src1.Cols = %d, Src2.Cols = %d"
//   "Source arguments have differ integer precision: Src1.IntPrecision = %s, Src2.IntPrecision = %s"
// dst takes the precision and the shape of the matrix operand (else of a), as in vecmath.h. With a
// scalar, the scalar meets every element and dst takes a's precision.
void Gcd(const TNubraInt& a, const TNubraInt& b, TNubraInt& dst);
void Gcd(const TNubraInt& a, std::int64_t b, TNubraInt& dst);
void Lcm(const TNubraInt& a, const TNubraInt& b, TNubraInt& dst);
void Lcm(const TNubraInt& a, std::int64_t b, TNubraInt& dst);

// quotient = a div b (truncated toward zero) and remainder = a rem b (the sign of a), element by element
// as vecmath.h's Divide and powrem.h's Rem: a zero divisor raises EDivByZero before anything is written.
// The outputs may be operands.
void RemDiv(const TNubraInt& a, const TNubraInt& b, TNubraInt& quotient, TNubraInt& remainder);
void RemDiv(const TNubraInt& a, std::int64_t b, TNubraInt& quotient, TNubraInt& remainder);
void RemDiv(std::int64_t a, const TNubraInt& b, TNubraInt& quotient, TNubraInt& remainder);

// dst = max(x(i), level) (ThreshBottom) or min(x(i), level) (ThreshTop) in x's precision, saturated.
void ThreshBottom(const TNubraInt& x, std::int64_t level, TNubraInt& dst);
void ThreshTop(const TNubraInt& x, std::int64_t level, TNubraInt& dst);

}  // namespace zel
