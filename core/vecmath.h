// Element-wise arithmetic of the numeric core: sums, differences, products and quotients of vectors and
// matrices with each other or with a scalar, written into a destination object.
//
// All kernels work on the flat element sequences: a matrix counts as its rows·cols elements in row-major
// order, so a vector and a matrix of equal length combine element by element. Two array operands must
// have the same length, else ENubraException names both lengths.
//
// The destination takes the result's size; its buffer is reused (no allocation) when it is large
// enough. A TZel destination takes the shape of the first matrix operand (left before right), or 1 × n
// when no operand is a matrix; a TVec destination takes the length only. The destination may be one of
// the operands (in place); a destination that overlaps an operand in any other way is handled through a
// temporary.
//
// Real and complex: a complex operand makes the result complex; a real and a complex operand combine as
// if the real one had zero imaginary parts. Real division by zero follows IEEE (±INF, NAN).
//
// Integer objects: the result has the precision of the wider operand (32-bit > 16-bit > unsigned 8-bit;
// an integer scalar keeps the array's precision). Every element is computed exactly and then SATURATED
// to the precision's range (an int32 sum above 2147483647 gives 2147483647, an 8-bit difference below
// 0 gives 0), as real-to-integer conversion does. Quotients truncate toward zero; an element or scalar
// divisor of zero raises EDivByZero ("Division by zero").
#pragma once

#include <cstdint>

#include "core/nubra.h"

namespace zel {

// ---- real and complex ----------------------------------------------------------------------------

// dst = a + b
void Add(const TNubraVec& a, const TNubraVec& b, TNubraVec& dst);
void Add(const TNubraVec& a, double b, TNubraVec& dst);
void Add(const TNubraVec& a, TCplx b, TNubraVec& dst);

// dst = a − b
void Sub(const TNubraVec& a, const TNubraVec& b, TNubraVec& dst);
void Sub(const TNubraVec& a, double b, TNubraVec& dst);
void Sub(const TNubraVec& a, TCplx b, TNubraVec& dst);
// dst = a − b with a scalar minuend (scalar minus each element).
void SubFrom(double a, const TNubraVec& b, TNubraVec& dst);
void SubFrom(TCplx a, const TNubraVec& b, TNubraVec& dst);

// dst = a · b (element by element, never a matrix product)
void Mul(const TNubraVec& a, const TNubraVec& b, TNubraVec& dst);
void Mul(const TNubraVec& a, double b, TNubraVec& dst);
void Mul(const TNubraVec& a, TCplx b, TNubraVec& dst);

// dst = a / b
void Divide(const TNubraVec& a, const TNubraVec& b, TNubraVec& dst);
void Divide(const TNubraVec& a, double b, TNubraVec& dst);
void Divide(const TNubraVec& a, TCplx b, TNubraVec& dst);
// dst = a / b with a scalar dividend (scalar divided by each element).
void DivideBy(double a, const TNubraVec& b, TNubraVec& dst);
void DivideBy(TCplx a, const TNubraVec& b, TNubraVec& dst);

// True when a real element-wise result of a and b (b null for a scalar operand) can be written into dst
// as dst stands, leaving it as a copy of that result would: a and b real, dst real, double precision, no
// view, already of the result's shape (see above), and sharing no storage with an operand unless it is
// that operand itself. Writing there then neither resizes nor allocates.
bool FitsElementwise(const TNubraVec& dst, const TNubraVec& a, const TNubraVec* b);

// ---- integer (saturating, see above) -------------------------------------------------------------

void Add(const TNubraInt& a, const TNubraInt& b, TNubraInt& dst);
void Add(const TNubraInt& a, std::int64_t b, TNubraInt& dst);

void Sub(const TNubraInt& a, const TNubraInt& b, TNubraInt& dst);
void Sub(const TNubraInt& a, std::int64_t b, TNubraInt& dst);
void SubFrom(std::int64_t a, const TNubraInt& b, TNubraInt& dst);

void Mul(const TNubraInt& a, const TNubraInt& b, TNubraInt& dst);
void Mul(const TNubraInt& a, std::int64_t b, TNubraInt& dst);

void Divide(const TNubraInt& a, const TNubraInt& b, TNubraInt& dst);
void Divide(const TNubraInt& a, std::int64_t b, TNubraInt& dst);
void DivideBy(std::int64_t a, const TNubraInt& b, TNubraInt& dst);

}  // namespace zel
