// Checked 64-bit and 32-bit integer arithmetic: overflow raises EIntOverflow ("Integer overflow"),
// division or remainder by zero raises EDivByZero ("Division by zero").
#pragma once

#include <cstdint>

#include "core/errors.h"

namespace zel {

inline std::int64_t CheckedAdd(std::int64_t a, std::int64_t b) {
  std::int64_t r;
  if (__builtin_add_overflow(a, b, &r)) throw EIntOverflow();
  return r;
}

inline std::int64_t CheckedSub(std::int64_t a, std::int64_t b) {
  std::int64_t r;
  if (__builtin_sub_overflow(a, b, &r)) throw EIntOverflow();
  return r;
}

inline std::int64_t CheckedMul(std::int64_t a, std::int64_t b) {
  std::int64_t r;
  if (__builtin_mul_overflow(a, b, &r)) throw EIntOverflow();
  return r;
}

inline std::int64_t CheckedNeg(std::int64_t a) { return CheckedSub(0, a); }

// Quotient truncated toward zero.
inline std::int64_t CheckedDiv(std::int64_t a, std::int64_t b) {
  if (b == 0) throw EDivByZero();
  if (a == INT64_MIN && b == -1) throw EIntOverflow();
  return a / b;
}

// Remainder with the sign of the dividend.
inline std::int64_t CheckedRem(std::int64_t a, std::int64_t b) {
  if (b == 0) throw EDivByZero();
  if (b == -1) return 0;
  return a % b;
}

inline std::int32_t CheckedAdd32(std::int32_t a, std::int32_t b) {
  std::int32_t r;
  if (__builtin_add_overflow(a, b, &r)) throw EIntOverflow();
  return r;
}

inline std::int32_t CheckedSub32(std::int32_t a, std::int32_t b) {
  std::int32_t r;
  if (__builtin_sub_overflow(a, b, &r)) throw EIntOverflow();
  return r;
}

}  // namespace zel
