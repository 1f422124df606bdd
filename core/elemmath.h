// Element-wise functions of the numeric core (exp, ln, sqrt, sin, ...) over real and complex vectors and
// matrices, and the converting block copies that assemble one object out of several.
//
// Each function has a scalar form (a function object in namespace `elem`, callable with a double or a
// TCplx) and an array form that applies it to every element of `src` and writes into `dst`:
//   - dst takes src's size: a TZel destination the shape of a TZel source (1 × n for a TVec source), a
//     TVec destination the length. Its buffer is reused (no allocation) when it is large enough.
//   - complex elements use complex arithmetic; a real element stays real, so real functions outside
//     their domain give NaN (sqrt(-1), ln(-1)) or infinities (ln(0)) as IEEE arithmetic does.
//   - dst may be src (in place); any other sharing of storage goes through a temporary.
#pragma once

#include <cmath>

#include "core/cplx.h"
#include "core/nubra.h"

namespace zel {

// ---- scalar forms ----------------------------------------------------------------------------------

namespace elem {
inline constexpr auto Exp = [](auto x) { return std::exp(x); };
inline constexpr auto Ln = [](auto x) { return std::log(x); };
inline constexpr auto Sqrt = [](auto x) { return std::sqrt(x); };
inline constexpr auto Sqr = [](auto x) { return x * x; };
// The modulus: a double for complex arguments too.
inline constexpr auto Abs = [](auto x) { return std::abs(x); };
inline constexpr auto Sin = [](auto x) { return std::sin(x); };
inline constexpr auto Cos = [](auto x) { return std::cos(x); };
inline constexpr auto Tan = [](auto x) { return std::tan(x); };
}  // namespace elem

// ---- array forms: dst = f(src) ---------------------------------------------------------------------

void Exp(const TNubraVec& src, TNubraVec& dst);
void Ln(const TNubraVec& src, TNubraVec& dst);
void Sqrt(const TNubraVec& src, TNubraVec& dst);
void Sqr(const TNubraVec& src, TNubraVec& dst);
// Always a real result: the modulus of complex elements.
void Abs(const TNubraVec& src, TNubraVec& dst);
void Sin(const TNubraVec& src, TNubraVec& dst);
void Cos(const TNubraVec& src, TNubraVec& dst);
void Tan(const TNubraVec& src, TNubraVec& dst);

// ---- converting block copies -----------------------------------------------------------------------

// Copies every element of src into dst as a block of `rows` rows of src.Length() / rows elements (row
// major): row r starts at dst's flat element offset + r·stride. Real data widens to a complex dst (zero
// imaginary parts); integer data becomes real in a TNubraVec dst, or takes dst's precision (low bits) in a
// TNubraInt dst. dst keeps its size. Raises ENubraRangeError when the block does not fit (rows not dividing
// the length, a row longer than the stride, or elements past dst's end) and ENubraException for complex
// data into a real dst or src sharing storage with dst.
void CopyBlockInto(const TNubraVec& src, int rows, TNubraVec& dst, int offset, int stride);
void CopyBlockInto(const TNubraInt& src, int rows, TNubraVec& dst, int offset, int stride);
void CopyBlockInto(const TNubraInt& src, int rows, TNubraInt& dst, int offset, int stride);

}  // namespace zel
