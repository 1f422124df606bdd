// Destination handling shared by the element-wise kernels (vecmath.cpp, powrem.cpp, elemmath.cpp): sizing a
// result like its operands, telling when a destination overlaps an operand, and computing through a temporary
// of the destination's kind. Internal to core/.
#pragma once

#include <algorithm>
#include <cstddef>
#include <type_traits>

#include "core/nubra.h"
#include "core/nubra_detail.h"

namespace zel::detail {

inline std::size_t UsedBytes(const TNubraVec& x) {
  return static_cast<std::size_t>(x.ScalarCount()) * sizeof(double);
}
inline std::size_t UsedBytes(const TNubraInt& x) {
  return static_cast<std::size_t>(x.Length()) * IntPrecisionBytes(x.IntPrecision());
}
inline const void* DataOf(const TNubraVec& x) { return x.PValues(); }
inline const void* DataOf(const TNubraInt& x) { return x.PBValues(); }

// True when src lies in storage that dst owns or shows, so writing (or resizing) dst could destroy it. An
// owned dst counts its whole buffer, which a view of it may point into anywhere.
template <class D, class S>
bool SharesStorage(const D& dst, const S& src) {
  const std::size_t dstBytes = dst.IsView() ? UsedBytes(dst) : std::max(UsedBytes(dst), dst.Capacity());
  return Overlaps(DataOf(dst), dstBytes, DataOf(src), UsedBytes(src));
}

// True when writing straight into dst could overwrite operand x before it is read: dst shares storage
// with x and is not x itself keeping its element layout. A null x (a scalar operand) never overlaps.
template <class N>
bool MustBuffer(const N& dst, const N* x, bool sameLayout) {
  if (!x) return false;
  if (&dst == x) return !sameLayout;
  return SharesStorage(dst, *x);
}

// Gives dst the size of an element-wise result of n elements: a matrix destination the shape of the first
// matrix operand (left before right; 1 x n when neither is one), a vector destination the length. `tag`
// is the complexity or the integer precision.
template <class N, class Tag>
void SizeResult(N& dst, const N* a, const N* b, int n, Tag tag) {
  const N* shape = a && a->IsMatrix() ? a : (b && b->IsMatrix() ? b : nullptr);
  dst.SizeShape(shape ? shape->Rows() : 1, shape ? shape->Cols() : n, tag);
}

// Runs compute(t) into a temporary t of dst's kind (vector or matrix) and copies the result into dst.
template <class N, class F>
void ThroughTemporary(N& dst, F&& compute) {
  using Vec = std::conditional_t<std::is_same_v<N, TNubraVec>, TVec, TVecInt>;
  using Mat = std::conditional_t<std::is_same_v<N, TNubraVec>, TZel, TZelInt>;
  if (dst.IsMatrix()) {
    Mat t;
    compute(static_cast<N&>(t));
    dst.Copy(t);
  } else {
    Vec t;
    compute(static_cast<N&>(t));
    dst.Copy(t);
  }
}

}  // namespace zel::detail
