// The element-wise map's out-of-line part (when to go through a temporary) and the converting block
// copies (see elemmath.h).
#include "core/elemmath.h"

#include <cstddef>
#include <cstdint>

#include "core/errors.h"
#include "core/kernel_detail.h"

namespace zel {

namespace {

using detail::SharesStorage;

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

bool MapNeedsTemporary(const TNubraVec& src, const TNubraVec& dst, bool outComplex) {
  return &dst == &src ? src.Complex() != outComplex : SharesStorage(dst, src);
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
