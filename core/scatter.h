// Scatters of the numeric core: write the elements of a source (or one value) into selected elements of
// an existing real/complex or integer object, by constant increment, as a block of rows, by a list of
// zero-based indices or by a mask. The destination keeps its size, complexity and precision: nothing is
// resized and nothing grows. Matrices are addressed as their flat row-major element sequence.
//
// Every position is checked before any element is written; violations raise ENubraRangeError. A complex
// source or value into a real destination raises ENubraException; a real one into a complex destination
// is stored with a zero imaginary part. Integer sources of another precision keep the low bits that fit.
// A source, index list or mask that shares storage with the destination is read through a temporary, so
// the result is always the scatter of the source as it was before the call.
#pragma once

#include <cstdint>

#include "core/cplx.h"
#include "core/nubra.h"

namespace zel {

// dst[offset + r·rowStride + c] = src[r·cols + c], 0 <= r < rows, 0 <= c < cols. src.Length() must be
// rows·cols. rowStride may be negative.
void ScatterBlock(TNubraVec& dst, int offset, int rowStride, int rows, int cols, const TNubraVec& src);
void ScatterBlock(TNubraInt& dst, int offset, int rowStride, int rows, int cols, const TNubraInt& src);

// dst[offset + k·incr] = src[k], 0 <= k < src.Length(). incr may be negative (a descending write).
inline void ScatterByIncr(TNubraVec& dst, int offset, int incr, const TNubraVec& src) {
  ScatterBlock(dst, offset, incr, src.Length(), 1, src);
}
inline void ScatterByIncr(TNubraInt& dst, int offset, int incr, const TNubraInt& src) {
  ScatterBlock(dst, offset, incr, src.Length(), 1, src);
}

// dst[index[k]] = src[k] for every element of index (any integer precision); index.Length() must equal
// src.Length().
void ScatterByIndex(TNubraVec& dst, const TNubraInt& index, const TNubraVec& src);
void ScatterByIndex(TNubraInt& dst, const TNubraInt& index, const TNubraInt& src);

// The k-th element of dst whose mask element is non-zero receives src[k]. mask.Length() must equal
// dst.Length() and the number of set mask elements src.Length().
void ScatterByMask(TNubraVec& dst, const TNubraInt& mask, const TNubraVec& src);
void ScatterByMask(TNubraInt& dst, const TNubraInt& mask, const TNubraInt& src);

// Sets dst[offset + r·rowStride + c] = value, 0 <= r < rows, 0 <= c < cols (FillBlock(dst, offset, incr,
// count, 1, value) sets every incr-th element from offset).
void FillBlock(TNubraVec& dst, int offset, int rowStride, int rows, int cols, double value);
void FillBlock(TNubraVec& dst, int offset, int rowStride, int rows, int cols, TCplx value);
void FillBlock(TNubraInt& dst, int offset, int rowStride, int rows, int cols, std::int32_t value);

// Sets dst[index[k]] = value in index order and stops at the first index outside [0, dst.Length()):
// returns its position k in index (the elements before it are written), or -1 when all were written.
int FillByIndex(TNubraVec& dst, const TNubraInt& index, double value);
int FillByIndex(TNubraVec& dst, const TNubraInt& index, TCplx value);
int FillByIndex(TNubraInt& dst, const TNubraInt& index, std::int32_t value);

// Sets every element of dst whose mask element is non-zero. mask.Length() must equal dst.Length().
void FillByMask(TNubraVec& dst, const TNubraInt& mask, double value);
void FillByMask(TNubraVec& dst, const TNubraInt& mask, TCplx value);
void FillByMask(TNubraInt& dst, const TNubraInt& mask, std::int32_t value);

}  // namespace zel
