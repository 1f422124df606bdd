// Comparisons and bit operations of the numeric core: the ordering of complex numbers, element-wise
// comparison masks of real, complex and integer objects, equality of vectors within a tolerance, and the
// bitwise operations and shifts of integer objects.
//
// A mask is an integer object of 32-bit elements holding 1 where the comparison holds and 0 elsewhere.
// Comparisons with NaN are false, except "<>" (not equal), which is the negation of "=" and so true.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/cplx.h"
#include "core/nubra.h"

namespace zel {

// Element-wise comparison operators; the texts are ">", "<", "=", ">=", "<=", "<>".
enum class TCompare : std::uint8_t { Greater, Less, Equal, GreaterOrEqual, LessOrEqual, NotEqual };

// The operator of a text (">", "<", "=", ">=", "<=", "<>"); anything else raises ENubraException.
TCompare CompareFromText(std::string_view op);
const char* CompareText(TCompare op);

// The operator that gives the same answer with the operands swapped: a > b is b < a, a >= b is b <= a;
// "=" and "<>" are their own mirrors.
constexpr TCompare Mirrored(TCompare op) {
  switch (op) {
    case TCompare::Greater:
      return TCompare::Less;
    case TCompare::Less:
      return TCompare::Greater;
    case TCompare::GreaterOrEqual:
      return TCompare::LessOrEqual;
    case TCompare::LessOrEqual:
      return TCompare::GreaterOrEqual;
    default:
      return op;
  }
}

// ---- complex ordering ---------------------------------------------------------------------------
// Complex numbers are ordered by their real parts, and by their imaginary parts when the real parts are
// equal. Reals (imaginary part 0) keep their usual order. A NaN in any part of either operand makes
// every ordering comparison and Equal false.
bool Bigger(const TCplx& a, const TCplx& b);
bool Smaller(const TCplx& a, const TCplx& b);
bool BiggerOrEqual(const TCplx& a, const TCplx& b);
bool SmallerOrEqual(const TCplx& a, const TCplx& b);
// Both parts exactly equal.
bool Equal(const TCplx& a, const TCplx& b);

// a op b for ordered scalars, the operator known at compile time (IEEE rules for doubles: NaN compares
// false except with "<>"). Compare below is the same with the operator given at run time.
template <TCompare Op, class T>
constexpr bool Ordered(T a, T b) {
  if constexpr (Op == TCompare::Greater) return a > b;
  if constexpr (Op == TCompare::Less) return a < b;
  if constexpr (Op == TCompare::Equal) return a == b;
  if constexpr (Op == TCompare::GreaterOrEqual) return a >= b;
  if constexpr (Op == TCompare::LessOrEqual) return a <= b;
  if constexpr (Op == TCompare::NotEqual) return a != b;
}

// Scalar comparisons by operator (the complex form uses the ordering above).
bool Compare(double a, TCompare op, double b);
bool Compare(std::int64_t a, TCompare op, std::int64_t b);
bool Compare(const TCplx& a, TCompare op, const TCplx& b);

// True when a and b have the same length and every pair of elements is equal or differs by at most
// `tolerance` (the magnitude of the difference; a real element meeting a complex one counts as complex
// with imaginary part 0). NaN elements are never equal; equal infinities are.
bool Equal(const TNubraVec& a, const TNubraVec& b, double tolerance);

// ---- masks --------------------------------------------------------------------------------------
// mask[i] = a[i] op b[i] (or a[i] op the scalar) over the flat element sequences. The mask must already
// hold a.Length() 32-bit elements (the caller gives it its shape); b must be as long as a. Either
// mismatch raises ENubraException. Real and complex objects mix freely (complex ordering applies as
// soon as either side is complex).
void FindMask(TNubraInt& mask, const TNubraVec& a, TCompare op, const TNubraVec& b);
void FindMask(TNubraInt& mask, const TNubraVec& a, TCompare op, double b);
void FindMask(TNubraInt& mask, const TNubraVec& a, TCompare op, const TCplx& b);
// Integer objects of any precision; the scalar is compared as a 64-bit integer with every element.
void FindMask(TNubraInt& mask, const TNubraInt& a, TCompare op, const TNubraInt& b);
void FindMask(TNubraInt& mask, const TNubraInt& a, TCompare op, std::int64_t b);

// ---- bit operations -----------------------------------------------------------------------------
// In place on x, at x's precision: results keep the low bits that fit an element, as a C cast does
// (an 8-bit element is unsigned, so BinaryNot of 0 is 255 there). The element-wise forms need y as long
// as x (else ENubraException); y may have another precision.
void BinaryAnd(TNubraInt& x, std::int64_t s);
void BinaryOr(TNubraInt& x, std::int64_t s);
void BinaryXor(TNubraInt& x, std::int64_t s);
void BinaryAnd(TNubraInt& x, const TNubraInt& y);
void BinaryOr(TNubraInt& x, const TNubraInt& y);
void BinaryXor(TNubraInt& x, const TNubraInt& y);
// Bitwise complement of every element.
void BinaryNot(TNubraInt& x);

// Logical shifts of every element within its width: zeros come in from either side, also for negative
// values. A count at least the element's width in bits gives 0.
void BitShiftLeft(TNubraInt& x, std::uint32_t count);
void BitShiftRight(TNubraInt& x, std::uint32_t count);

// The same for one 64-bit integer: a count of 64 or more gives 0.
std::int64_t BitShiftLeft(std::int64_t x, std::uint32_t count);
std::int64_t BitShiftRight(std::int64_t x, std::uint32_t count);

}  // namespace zel
