// The storage every dense object shares: the aligned buffer, growth without needless allocation, and
// views into foreign storage. Also the small helpers of nubra_detail.h.
#include "core/nubra.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>
#include <new>

#include "core/errors.h"
#include "core/nubra_detail.h"

namespace zel {

namespace {

constexpr std::size_t kAlignment = 64;

// Rounds a byte count up to whole cache lines, so kernels may touch the last line without care.
std::size_t RoundToLine(std::size_t bytes) { return (bytes + kAlignment - 1) / kAlignment * kAlignment; }

std::size_t gMaxObjectBytes = SIZE_MAX;

}  // namespace

void SetMaxObjectBytes(std::size_t bytes) { gMaxObjectBytes = bytes; }
std::size_t MaxObjectBytes() { return gMaxObjectBytes; }

int IntPrecisionBytes(TIntPrecision p) {
  switch (p) {
    case prInt32:
      return 4;
    case prInt16:
      return 2;
    case prUInt8:
      return 1;
  }
  ERaise(Fmt("Invalid integer precision %d", static_cast<int>(p)));
}

TNubra::~TNubra() = default;

void TNubra::AlignedDelete::operator()(std::byte* p) const {
  ::operator delete[](p, std::align_val_t(kAlignment));
}

void TNubra::Reserve(std::size_t bytes, std::size_t keep) {
  keep = std::min(keep, bytes);
  if (!fView && bytes <= fCapacity) return;  // the common case: the buffer already fits
  if (bytes <= fCapacity) {
    // A view returning to its own storage, which is large enough. memmove: the view may point into it.
    if (keep > 0) std::memmove(fOwn.get(), fData, keep);
  } else {
    const std::size_t capacity = RoundToLine(bytes);
    if (capacity > gMaxObjectBytes)
      ERaise(Fmt("Not enough memory: %zu bytes exceed the limit of %zu bytes for one object", capacity,
                 gMaxObjectBytes));
    std::byte* raw = nullptr;
    try {
      raw = static_cast<std::byte*>(::operator new[](capacity, std::align_val_t(kAlignment)));
    } catch (const std::bad_alloc&) {
      ERaise(Fmt("Not enough memory to allocate %zu bytes", capacity));
    }
    std::unique_ptr<std::byte[], AlignedDelete> fresh(raw);
    if (keep > 0) std::memcpy(fresh.get(), fData, keep);
    fOwn = std::move(fresh);
    fCapacity = capacity;
  }
  fData = fOwn.get();
  fView = false;
}

void TNubra::PointInto(const TNubra& source, void* data) {
  fData = data;
  fView = true;
  fViewSource = &source;
  fViewSourceData = source.fData;
}

bool TNubra::ViewIsCurrent() const {
  if (!fView) return true;
  return fViewSource && fViewSource->fData == fViewSourceData && fViewSource->ViewIsCurrent();
}

void TNubra::ReshapeMatrix(int oldRows, int oldCols, int rows, int cols, std::size_t es) {
  const std::size_t oldBytes = static_cast<std::size_t>(oldRows) * oldCols * es;
  const std::size_t newBytes = static_cast<std::size_t>(rows) * cols * es;
  if (cols == oldCols || oldBytes == 0) {
    // Same row width (or nothing to keep): row-major data keeps its place.
    Reserve(newBytes, std::min(oldBytes, newBytes));
    if (newBytes > oldBytes) std::memset(static_cast<std::byte*>(fData) + oldBytes, 0, newBytes - oldBytes);
  } else {
    Reserve(std::max(oldBytes, newBytes), oldBytes);
    detail::ReshapeRows(static_cast<std::byte*>(fData), oldRows, oldCols, rows, cols, es);
  }
  fLength = rows * cols;
}

void TNubra::LeaveView() {
  if (!fView) return;
  fData = fOwn.get();
  fView = false;
  fLength = 0;
}

namespace detail {

void CheckBlock2D(int srcRow, int srcCol, int row, int col, int rows, int cols, int srcRows, int srcCols,
                  int dstRows, int dstCols) {
  const auto outside = [](long long at, long long n, long long size) {
    return at < 0 || n < 0 || at + n > size;
  };
  if (outside(srcRow, rows, srcRows) || outside(srcCol, cols, srcCols) || outside(row, rows, dstRows) ||
      outside(col, cols, dstCols))
    throw ENubraRangeError(Fmt(
        "Copy: block of %d x %d from (%d,%d) to (%d,%d) out of range (source %d x %d, destination %d x %d)",
        rows, cols, srcRow, srcCol, row, col, srcRows, srcCols, dstRows, dstCols));
}

bool Overlaps(const void* a, std::size_t na, const void* b, std::size_t nb) {
  if (na == 0 || nb == 0 || a == nullptr || b == nullptr) return false;
  const auto pa = reinterpret_cast<std::uintptr_t>(a);
  const auto pb = reinterpret_cast<std::uintptr_t>(b);
  return pa < pb + nb && pb < pa + na;
}

int ShapeLength(const char* who, int rows, int cols) {
  if (rows < 0 || cols < 0) throw ENubraRangeError(Fmt("%s: negative size %d x %d", who, rows, cols));
  const long long n = static_cast<long long>(rows) * cols;
  if (n > INT_MAX / 2) throw ENubraRangeError(Fmt("%s: size %d x %d is too large", who, rows, cols));
  return static_cast<int>(n);
}

void CheckLength(const char* who, int len) {
  if (len < 0) throw ENubraRangeError(Fmt("%s: negative length %d", who, len));
  if (len > INT_MAX / 2) throw ENubraRangeError(Fmt("%s: length %d is too large", who, len));
}

void CheckBlock(const char* who, int srcIndex, int index, int len, int srcLength, int length) {
  if (srcIndex < 0 || index < 0 || len < 0 || static_cast<long long>(srcIndex) + len > srcLength ||
      static_cast<long long>(index) + len > length)
    throw ENubraRangeError(
        Fmt("%s: srcIndex = %d, index = %d, len = %d out of range (src.Length = %d, Length = %d)", who,
            srcIndex, index, len, srcLength, length));
}

void ReshapeRows(std::byte* p, int oldRows, int oldCols, int rows, int cols, std::size_t es) {
  const int keepRows = std::min(oldRows, rows);
  const int keepCols = std::min(oldCols, cols);
  const std::size_t newRow = static_cast<std::size_t>(cols) * es;
  const std::size_t oldRow = static_cast<std::size_t>(oldCols) * es;
  const std::size_t tail = static_cast<std::size_t>(cols - keepCols) * es;
  if (cols > oldCols) {
    // Rows move towards the end: walk backwards so no row is overwritten before it moved.
    for (int r = keepRows - 1; r >= 0; --r) {
      std::memmove(p + r * newRow, p + r * oldRow, keepCols * es);
      std::memset(p + r * newRow + keepCols * es, 0, tail);
    }
  } else if (cols < oldCols) {
    for (int r = 0; r < keepRows; ++r) std::memmove(p + r * newRow, p + r * oldRow, newRow);
  }
  if (rows > keepRows) std::memset(p + keepRows * newRow, 0, (rows - keepRows) * newRow);
}

void CopyBlock(std::byte* dst, int dstStride, const std::byte* src, int srcStride, int rows, int cols,
               std::size_t es) {
  if (rows <= 0 || cols <= 0) return;
  const std::size_t rowBytes = static_cast<std::size_t>(cols) * es;
  const std::size_t dStep = static_cast<std::size_t>(dstStride) * es;
  const std::size_t sStep = static_cast<std::size_t>(srcStride) * es;
  // Within one buffer a block moving towards the end is copied bottom-up, so each source row is read
  // before a destination row lands on it.
  if (std::less<const std::byte*>()(src, dst)) {
    for (int r = rows - 1; r >= 0; --r) std::memmove(dst + r * dStep, src + r * sStep, rowBytes);
  } else {
    for (int r = 0; r < rows; ++r) std::memmove(dst + r * dStep, src + r * sStep, rowBytes);
  }
}

}  // namespace detail

}  // namespace zel
