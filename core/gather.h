// Gathers of the numeric core: copy selected elements of a real/complex or integer object into another,
// by constant increment, by a list of zero-based indices or by a mask, and reverse an object in place.
// Every index is checked before any element is read; violations raise ENubraRangeError.
//
// Destinations that are sized here (TVec / TVecInt) take the source's complexity or precision and reuse
// their storage when it fits. A destination that shares storage with a source is filled through a
// temporary, so the result is always the gather of the source as it was before the call.
#pragma once

#include "core/nubra.h"

namespace zel {

// dst[dstIndex + k] = src[offset + k·incr], 0 <= k < count, into existing elements of dst. incr may be
// negative (a descending read) or zero (one element repeated). Real objects must agree in complexity;
// integer objects may differ in precision (values keep the low bits that fit).
void GatherByIncr(TNubraVec& dst, int dstIndex, const TNubraVec& src, int offset, int incr, int count);
void GatherByIncr(TNubraInt& dst, int dstIndex, const TNubraInt& src, int offset, int incr, int count);
// The same with dst sized to count elements.
void GatherByIncr(TVec& dst, const TNubraVec& src, int offset, int incr, int count);
void GatherByIncr(TVecInt& dst, const TNubraInt& src, int offset, int incr, int count);

// dst[k] = src[index[k]] for every element of index (zero-based positions, any integer precision).
void GatherByIndex(TVec& dst, const TNubraVec& src, const TNubraInt& index);
void GatherByIndex(TVecInt& dst, const TNubraInt& src, const TNubraInt& index);

// dst = the elements of src whose mask element is non-zero, in order. mask.Length() must equal
// src.Length().
void GatherByMask(TVec& dst, const TNubraVec& src, const TNubraInt& mask);
void GatherByMask(TVecInt& dst, const TNubraInt& src, const TNubraInt& mask);

// Reverses the order of the elements in place (matrices: their flat row-major sequence).
void Reverse(TNubraVec& v);
void Reverse(TNubraInt& v);

}  // namespace zel
