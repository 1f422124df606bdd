// Integer vectors and matrices (32-bit, 16-bit, unsigned 8-bit): sizing, precision changes, copies,
// ramps and conversion from reals.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>
#include <vector>

#include "core/errors.h"
#include "core/nubra.h"
#include "core/nubra_detail.h"

namespace zel {

namespace {

// Reads element i of a buffer of T through memcpy: used where one buffer is read and written as two
// element types during an in-place precision change.
template <class T>
std::int32_t LoadAs(const std::byte* p, int i) {
  T v;
  std::memcpy(&v, p + static_cast<std::size_t>(i) * sizeof(T), sizeof(T));
  return static_cast<std::int32_t>(v);
}

// Stores v as element i of a buffer of T keeping its low bits.
template <class T>
void StoreAs(std::byte* p, int i, std::int32_t v) {
  const T t = static_cast<T>(v);
  std::memcpy(p + static_cast<std::size_t>(i) * sizeof(T), &t, sizeof(T));
}

std::int32_t Load(TIntPrecision p, const std::byte* data, int i) {
  switch (p) {
    case prInt16:
      return LoadAs<std::int16_t>(data, i);
    case prUInt8:
      return LoadAs<std::uint8_t>(data, i);
    default:
      return LoadAs<std::int32_t>(data, i);
  }
}

void Store(TIntPrecision p, std::byte* data, int i, std::int32_t v) {
  switch (p) {
    case prInt16:
      StoreAs<std::int16_t>(data, i, v);
      break;
    case prUInt8:
      StoreAs<std::uint8_t>(data, i, v);
      break;
    default:
      StoreAs<std::int32_t>(data, i, v);
      break;
  }
}

// x rounded to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4), as the default
// floating-point rounding does, independent of the current rounding mode.
double RoundHalfEven(double x) {
  const double r = std::round(x);
  return std::fabs(x - std::trunc(x)) == 0.5 ? 2.0 * std::round(x / 2.0) : r;
}

// Rounds or truncates x and saturates it to T's range; NaN gives 0.
template <class T>
T RealToInt(double x, TRounding rounding) {
  if (std::isnan(x)) return 0;
  x = rounding == TRounding::rnRound ? RoundHalfEven(x) : std::trunc(x);
  constexpr double lo = static_cast<double>(std::numeric_limits<T>::min());
  constexpr double hi = static_cast<double>(std::numeric_limits<T>::max());
  if (x <= lo) return std::numeric_limits<T>::min();
  if (x >= hi) return std::numeric_limits<T>::max();
  return static_cast<T>(x);
}

}  // namespace

// ---- TNubraInt ----

void TNubraInt::SizeElements(int len, TIntPrecision p, bool zeroNew) {
  detail::CheckLength("Size", len);
  const std::size_t oldBytes = static_cast<std::size_t>(fLength) * IntPrecisionBytes(fPrecision);
  const std::size_t newBytes = static_cast<std::size_t>(len) * IntPrecisionBytes(p);
  const std::size_t keep = std::min(oldBytes, newBytes);
  if (!fView || newBytes > oldBytes) Reserve(newBytes, keep);
  if (zeroNew && newBytes > keep) std::memset(static_cast<std::byte*>(fData) + keep, 0, newBytes - keep);
  fLength = len;
  fPrecision = p;
}

void TNubraInt::SetIntPrecision(TIntPrecision p) {
  const std::size_t newSize = IntPrecisionBytes(p);
  const std::size_t oldSize = IntPrecisionBytes(fPrecision);
  if (newSize == oldSize) return;
  const TIntPrecision old = fPrecision;
  const int n = fLength;
  const std::size_t oldBytes = static_cast<std::size_t>(n) * oldSize;
  const std::size_t newBytes = static_cast<std::size_t>(n) * newSize;
  // A view detaches first: its elements change type, which must not scribble over the source.
  if (fView || newBytes > oldBytes) Reserve(std::max(oldBytes, newBytes), oldBytes);
  std::byte* d = static_cast<std::byte*>(fData);
  if (newSize < oldSize) {
    // Narrowing: element i moves to a lower address, so a forward pass reads each before it is hit.
    for (int i = 0; i < n; ++i) Store(p, d, i, Load(old, d, i));
  } else {
    // Widening: element i moves to a higher address, so walk backwards.
    for (int i = n - 1; i >= 0; --i) Store(p, d, i, Load(old, d, i));
  }
  fPrecision = p;
}

std::int32_t TNubraInt::Get(int i) const {
  if (i < 0 || i >= fLength) throw ENubraRangeError(Fmt("Index %d out of range (Length = %d)", i, fLength));
  return Visit([i](const auto* v) { return static_cast<std::int32_t>(v[i]); });
}

void TNubraInt::Set(int i, std::int32_t v) {
  if (i < 0 || i >= fLength) throw ENubraRangeError(Fmt("Index %d out of range (Length = %d)", i, fLength));
  Visit([i, v](auto* p) { p[i] = static_cast<std::remove_reference_t<decltype(*p)>>(v); });
}

void TNubraInt::SetZero() {
  if (fLength > 0) std::memset(fData, 0, static_cast<std::size_t>(fLength) * IntPrecisionBytes(fPrecision));
}

void TNubraInt::SetVal(std::int32_t v) {
  const int n = fLength;
  Visit([n, v](auto* p) { std::fill_n(p, n, static_cast<std::remove_reference_t<decltype(*p)>>(v)); });
}

void TNubraInt::Copy(const TNubraInt& src) {
  if (&src == this) return;
  const std::size_t bytes = static_cast<std::size_t>(src.fLength) * IntPrecisionBytes(src.fPrecision);
  const std::byte* from = static_cast<const std::byte*>(src.fData);
  // The source may live in this object's storage (a view of it), which sizing may move or free.
  std::vector<std::byte> temp;
  if (detail::Overlaps(from, bytes, fOwn.get(), fCapacity) ||
      detail::Overlaps(from, bytes, fData,
                       static_cast<std::size_t>(fLength) * IntPrecisionBytes(fPrecision))) {
    if (!fView && bytes <= fCapacity) {
      // The buffer stays where it is: move the values within it, no temporary (no allocation).
      SizeElements(src.fLength, src.fPrecision, false);
      if (bytes > 0 && from != fData) std::memmove(fData, from, bytes);
      return;
    }
    temp.assign(from, from + bytes);
    from = temp.data();
  }
  SizeElements(src.fLength, src.fPrecision, false);
  if (bytes > 0) std::memcpy(fData, from, bytes);
}

void TNubraInt::Copy(const TNubraInt& src, int srcIndex, int index, int len) {
  detail::CheckBlock("Copy", srcIndex, index, len, src.fLength, fLength);
  if (len == 0) return;
  const std::size_t sb = IntPrecisionBytes(src.fPrecision);
  const std::size_t db = IntPrecisionBytes(fPrecision);
  const std::byte* s = static_cast<const std::byte*>(src.fData) + srcIndex * sb;
  std::byte* d = static_cast<std::byte*>(fData) + index * db;
  if (sb == db) {
    std::memmove(d, s, len * db);
    return;
  }
  // Different widths: convert element by element, through a copy when both ranges share memory.
  std::vector<std::byte> temp;
  if (detail::Overlaps(s, len * sb, d, len * db)) {
    temp.assign(s, s + len * sb);
    s = temp.data();
  }
  for (int i = 0; i < len; ++i) Store(fPrecision, d, i, Load(src.fPrecision, s, i));
}

void TNubraInt::Ramp(std::int32_t start, std::int32_t step) {
  const int n = fLength;
  Visit([n, start, step](auto* p) {
    using T = std::remove_reference_t<decltype(*p)>;
    for (int i = 0; i < n; ++i)
      p[i] = static_cast<T>(static_cast<std::int64_t>(start) + std::int64_t{i} * step);
  });
}

void TNubraInt::CopyFromReal(const TNubraVec& src, TRounding rounding) {
  if (src.Complex()) ERaise("CopyFromReal: complex data cannot be converted to integers");
  SizeElements(src.Length(), fPrecision, false);
  const double* s = src.PValues();
  const int n = fLength;
  Visit([s, n, rounding](auto* p) {
    using T = std::remove_reference_t<decltype(*p)>;
    for (int i = 0; i < n; ++i) p[i] = RealToInt<T>(s[i], rounding);
  });
}

// ---- TVecInt ----

void TVecInt::SetSubRange(TNubraInt& src, int index, int len) {
  if (index < 0 || len < 0 || static_cast<long long>(index) + len > src.Length())
    throw ENubraRangeError(
        Fmt("SetSubRange: index = %d, len = %d out of range (src.Length = %d)", index, len, src.Length()));
  const TIntPrecision p = src.IntPrecision();
  std::byte* base = src.Visit([](auto* v) { return reinterpret_cast<std::byte*>(v); });
  PointInto(src, base == nullptr ? nullptr : base + static_cast<std::size_t>(index) * IntPrecisionBytes(p));
  fLength = len;
  fPrecision = p;
}

void TVecInt::SetFullRange() { LeaveView(); }

// ---- TZelInt ----

void TNubraInt::SizeShape(int rows, int cols, TIntPrecision p) {
  if (fMatrix) return static_cast<TZelInt*>(this)->Size(rows, cols, p);
  SizeElements(detail::ShapeLength("Size", rows, cols), p, false);
}

void TZelInt::Size(int rows, int cols, TIntPrecision p) {
  SizeElements(detail::ShapeLength("Size", rows, cols), p, false);
  fRows = rows;
  fCols = cols;
}

void TZelInt::Resize(int rows, int cols) {
  detail::ShapeLength("Resize", rows, cols);
  ReshapeMatrix(fRows, fCols, rows, cols, IntPrecisionBytes(fPrecision));
  fRows = rows;
  fCols = cols;
}

void TZelInt::Copy(const TNubraInt& src) {
  if (&src == this) return;
  const int rows = src.Rows();
  const int cols = src.Cols();
  TNubraInt::Copy(src);
  fRows = rows;
  fCols = cols;
}

void TZelInt::Copy(const TZelInt& src, int srcRow, int srcCol, int row, int col, int rows, int cols) {
  detail::CheckBlock2D(srcRow, srcCol, row, col, rows, cols, src.fRows, src.fCols, fRows, fCols);
  if (rows == 0 || cols == 0) return;
  if (src.fPrecision == fPrecision) {
    const std::size_t es = IntPrecisionBytes(fPrecision);
    detail::CopyBlock(static_cast<std::byte*>(fData) + (static_cast<std::size_t>(row) * fCols + col) * es,
                      fCols,
                      static_cast<const std::byte*>(src.fData) +
                          (static_cast<std::size_t>(srcRow) * src.fCols + srcCol) * es,
                      src.fCols, rows, cols, es);
    return;
  }
  // Different precisions mean different objects, so the rows cannot overlap.
  for (int r = 0; r < rows; ++r)
    TNubraInt::Copy(src, (srcRow + r) * src.fCols + srcCol, (row + r) * fCols + col, cols);
}

void TZelInt::CopyFromReal(const TNubraVec& src, TRounding rounding) {
  const int rows = src.Rows();
  const int cols = src.Cols();
  TNubraInt::CopyFromReal(src, rounding);
  fRows = rows;
  fCols = cols;
}

}  // namespace zel
