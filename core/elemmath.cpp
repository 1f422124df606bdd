// The element-wise map's out-of-line parts (destination kind, sharing, sizing) and the converting block
// copies (see elemmath.h).
#include "core/elemmath.h"

#include <cstddef>
#include <cstdint>

#include "core/errors.h"
#include "core/nubra_detail.h"

namespace zel {

namespace {

std::size_t UsedBytes(const TNubraVec& x) {
  return static_cast<std::size_t>(x.ScalarCount()) * sizeof(double);
}
std::size_t UsedBytes(const TNubraInt& x) {
  return static_cast<std::size_t>(x.Length()) * IntPrecisionBytes(x.IntPrecision());
}
const void* DataOf(const TNubraVec& x) { return x.PValues(); }
const void* DataOf(const TNubraInt& x) { return x.PBValues(); }

// True when src lies in storage that dst owns or shows: writing (or resizing) dst could destroy it.
template <class D, class S>
bool SharesStorage(const D& dst, const S& src) {
  const std::size_t used = UsedBytes(dst);
  const std::size_t dstBytes = dst.IsView() || used > dst.Capacity() ? used : dst.Capacity();
  return detail::Overlaps(DataOf(dst), dstBytes, DataOf(src), UsedBytes(src));
}

// ---- block copies ----------------------------------------------------------------------------------

// Validates a block placement and returns the elements per row.
int BlockCols(int srcLength, int rows, int dstLength, int offset, int stride) {
  if (rows < 0 || offset < 0 || (rows == 0 && srcLength != 0) || (rows > 0 && srcLength % rows != 0))
    throw ENubraRangeError(
        Fmt("CopyBlockInto: %d elements cannot form %d rows at offset %d", srcLength, rows, offset));
  const int cols = rows > 0 ? srcLength / rows : 0;
  const std::int64_t end = rows > 0 ? std::int64_t{offset} + std::int64_t{rows - 1} * stride + cols : offset;
  if ((rows > 1 && cols > stride) || end > dstLength)
    throw ENubraRangeError(Fmt("CopyBlockInto: %d x %d block with stride %d at offset %d exceeds %d elements",
                               rows, cols, stride, offset, dstLength));
  return cols;
}

template <class D, class S>
void CheckDistinct(const D& dst, const S& src) {
  if (src.Length() > 0 && SharesStorage(dst, src))
    ERaise("CopyBlockInto: source and destination share storage");
}

template <class T, class S>
void PlaceRows(T* d, const S* s, int rows, int cols, int offset, int stride) {
  for (int r = 0; r < rows; ++r) {
    T* row = d + offset + static_cast<std::ptrdiff_t>(r) * stride;
    const S* from = s + static_cast<std::ptrdiff_t>(r) * cols;
    for (int c = 0; c < cols; ++c) row[c] = static_cast<T>(from[c]);
  }
}

// Real or integer elements into a real or complex destination.
template <class S>
void PlaceIntoReal(const S* s, int rows, int cols, TNubraVec& dst, int offset, int stride) {
  if (dst.Complex()) {
    PlaceRows(dst.PCValues(), s, rows, cols, offset, stride);
  } else {
    PlaceRows(dst.PValues(), s, rows, cols, offset, stride);
  }
}

}  // namespace

namespace detail {

bool IsMatrix(const TNubraVec& x) { return dynamic_cast<const TZel*>(&x) != nullptr; }

bool MapNeedsTemporary(const TNubraVec& src, const TNubraVec& dst, bool outComplex) {
  return &dst == &src ? src.Complex() != outComplex : SharesStorage(dst, src);
}

void SizeLike(TNubraVec& dst, const TNubraVec& src, bool complex) {
  if (auto* m = dynamic_cast<TZel*>(&dst)) {
    const auto* s = dynamic_cast<const TZel*>(&src);
    m->Size(s ? s->Rows() : 1, s ? s->Cols() : src.Length(), complex);
  } else if (auto* v = dynamic_cast<TVec*>(&dst)) {
    v->Size(src.Length(), complex);
  } else {
    ERaise("Element-wise function: unsupported destination object");
  }
}

}  // namespace detail

void CopyBlockInto(const TNubraVec& src, int rows, TNubraVec& dst, int offset, int stride) {
  const int cols = BlockCols(src.Length(), rows, dst.Length(), offset, stride);
  CheckDistinct(dst, src);
  if (!src.Complex()) {
    PlaceIntoReal(src.PValues(), rows, cols, dst, offset, stride);
  } else if (dst.Complex()) {
    PlaceRows(dst.PCValues(), src.PCValues(), rows, cols, offset, stride);
  } else {
    ERaise("CopyBlockInto: complex data cannot be copied into a real destination");
  }
}

void CopyBlockInto(const TNubraInt& src, int rows, TNubraVec& dst, int offset, int stride) {
  const int cols = BlockCols(src.Length(), rows, dst.Length(), offset, stride);
  CheckDistinct(dst, src);
  src.Visit([&](const auto* s) { PlaceIntoReal(s, rows, cols, dst, offset, stride); });
}

void CopyBlockInto(const TNubraInt& src, int rows, TNubraInt& dst, int offset, int stride) {
  const int cols = BlockCols(src.Length(), rows, dst.Length(), offset, stride);
  CheckDistinct(dst, src);
  src.Visit([&](const auto* s) { dst.Visit([&](auto* d) { PlaceRows(d, s, rows, cols, offset, stride); }); });
}

}  // namespace zel
