// Scatters and fills by block, increment, index list and mask, for real/complex and integer objects.
#include "core/scatter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "core/errors.h"
#include "core/nubra_detail.h"

namespace zel {

namespace {

// ---- aliasing -------------------------------------------------------------------------------------

std::size_t UsedBytes(const TNubraVec& v) {
  return static_cast<std::size_t>(v.ScalarCount()) * sizeof(double);
}
std::size_t UsedBytes(const TNubraInt& v) {
  return static_cast<std::size_t>(v.Length()) * IntPrecisionBytes(v.IntPrecision());
}
const void* Data(const TNubraVec& v) { return v.PValues(); }
const void* Data(const TNubraInt& v) {
  return v.Visit([](const auto* p) { return static_cast<const void*>(p); });
}

// True when writing elements of dst could change what is read from src.
template <class D, class S>
bool Shares(const D& dst, const S& src) {
  return detail::Overlaps(Data(dst), UsedBytes(dst), Data(src), UsedBytes(src));
}

// A private copy of an object that shares storage with the destination (the only allocating case).
template <class S>
using CopyOf = std::conditional_t<std::is_base_of_v<TNubraVec, S>, TVec, TVecInt>;

// ---- typed element access -------------------------------------------------------------------------

// Calls f(d, s) with the element pointers of a real destination and source. A real source into a
// complex destination is read as reals and stored as (x, 0).
template <class F>
void VisitPair(TNubraVec& dst, const TNubraVec& src, F&& f) {
  if (src.Complex() && !dst.Complex()) ERaise("Scatter: complex source into a real destination");
  if (!dst.Complex()) {
    f(dst.PValues(), src.PValues());
  } else if (src.Complex()) {
    f(dst.PCValues(), src.PCValues());
  } else {
    f(dst.PCValues(), src.PValues());
  }
}

template <class F>
void VisitPair(TNubraInt& dst, const TNubraInt& src, F&& f) {
  dst.Visit([&](auto* d) { src.Visit([&](const auto* s) { f(d, s); }); });
}

// Calls f(d, v) with the destination's element pointer and the value in its element type.
template <class F>
void VisitValue(TNubraVec& dst, double x, F&& f) {
  if (dst.Complex()) {
    f(dst.PCValues(), TCplx(x, 0.0));
  } else {
    f(dst.PValues(), x);
  }
}

template <class F>
void VisitValue(TNubraVec& dst, TCplx z, F&& f) {
  if (!dst.Complex()) ERaise("Scatter: complex value into a real destination");
  f(dst.PCValues(), z);
}

template <class F>
void VisitValue(TNubraInt& dst, std::int32_t v, F&& f) {
  dst.Visit([&](auto* d) { f(d, static_cast<std::remove_reference_t<decltype(*d)>>(v)); });
}

// ---- checks ---------------------------------------------------------------------------------------

// Raises unless every position offset + r·rowStride + c of the block lies in [0, length).
void CheckBlock(const char* who, int offset, int rowStride, int rows, int cols, int length) {
  if (rows < 0 || cols < 0) throw ENubraRangeError(Fmt("%s: negative block size %d x %d", who, rows, cols));
  if (rows == 0 || cols == 0) return;
  const long long span = static_cast<long long>(rows - 1) * rowStride;
  const long long first = offset + std::min(0LL, span);
  const long long last = offset + std::max(0LL, span) + cols - 1;
  if (first < 0 || last >= length)
    throw ENubraRangeError(
        Fmt("%s: positions %lld..%lld out of range 0 <= index < %d", who, first, last, length));
}

void CheckCount(const char* who, long long expected, int srcLength) {
  if (expected != srcLength)
    throw ENubraRangeError(
        Fmt("%s: %lld positions but the source has %d elements", who, expected, srcLength));
}

void CheckIndices(const TNubraInt& index, int length) {
  index.Visit([&](const auto* ix) {
    for (int k = 0; k < index.Length(); ++k)
      if (ix[k] < 0 || ix[k] >= length)
        throw ENubraRangeError(Fmt("ScatterByIndex: index[%d] = %d out of range 0 <= index < %d", k,
                                   static_cast<int>(ix[k]), length));
  });
}

// The number of set elements of a mask as long as the destination.
int CountSet(const TNubraInt& mask, int length) {
  if (mask.Length() != length)
    throw ENubraRangeError(
        Fmt("Scatter: mask length %d does not match destination length %d", mask.Length(), length));
  return mask.Visit([&](const auto* m) {
    int n = 0;
    for (int i = 0; i < length; ++i) n += m[i] != 0;
    return n;
  });
}

// ---- kernels --------------------------------------------------------------------------------------

// Row r of the block starts at offset + r·rowStride (positions are computed, never stepped past the
// buffer, since rowStride may be negative).
template <class D, class S>
void BlockWrite(D* d, int offset, int rowStride, int rows, int cols, const S* s) {
  using T = std::remove_reference_t<decltype(*d)>;
  for (int r = 0; r < rows; ++r) {
    D* row = d + (offset + static_cast<std::ptrdiff_t>(r) * rowStride);
    const S* from = s + static_cast<std::ptrdiff_t>(r) * cols;
    for (int c = 0; c < cols; ++c) row[c] = static_cast<T>(from[c]);
  }
}

template <class D, class S, class I>
void IndexWrite(D* d, const I* index, const S* s, int count) {
  using T = std::remove_reference_t<decltype(*d)>;
  for (int k = 0; k < count; ++k) d[index[k]] = static_cast<T>(s[k]);
}

template <class D, class S, class M>
void MaskWrite(D* d, const M* mask, const S* s, int n) {
  using T = std::remove_reference_t<decltype(*d)>;
  for (int i = 0; i < n; ++i)
    if (mask[i] != 0) d[i] = static_cast<T>(*s++);
}

// ---- the operations, once for both object families ------------------------------------------------

template <class Obj, class Src>
void ScatterBlockT(Obj& dst, int offset, int rowStride, int rows, int cols, const Src& src) {
  CheckBlock("ScatterBlock", offset, rowStride, rows, cols, dst.Length());
  CheckCount("ScatterBlock", static_cast<long long>(rows) * cols, src.Length());
  if (src.Length() == 0) return;
  if (Shares(dst, src)) {
    CopyOf<Src> tmp;
    tmp.Copy(src);
    return ScatterBlockT(dst, offset, rowStride, rows, cols, tmp);
  }
  VisitPair(dst, src, [&](auto* d, const auto* s) { BlockWrite(d, offset, rowStride, rows, cols, s); });
}

template <class Obj, class Src>
void ScatterByIndexT(Obj& dst, const TNubraInt& index, const Src& src) {
  CheckCount("ScatterByIndex", index.Length(), src.Length());
  CheckIndices(index, dst.Length());
  if (Shares(dst, src)) {
    CopyOf<Src> tmp;
    tmp.Copy(src);
    return ScatterByIndexT(dst, index, tmp);
  }
  if (Shares(dst, index)) {
    TVecInt tmp;
    tmp.Copy(index);
    return ScatterByIndexT(dst, tmp, src);
  }
  index.Visit([&](const auto* ix) {
    VisitPair(dst, src, [&](auto* d, const auto* s) { IndexWrite(d, ix, s, index.Length()); });
  });
}

template <class Obj, class Src>
void ScatterByMaskT(Obj& dst, const TNubraInt& mask, const Src& src) {
  CheckCount("ScatterByMask", CountSet(mask, dst.Length()), src.Length());
  if (Shares(dst, src)) {
    CopyOf<Src> tmp;
    tmp.Copy(src);
    return ScatterByMaskT(dst, mask, tmp);
  }
  if (Shares(dst, mask)) {
    TVecInt tmp;
    tmp.Copy(mask);
    return ScatterByMaskT(dst, tmp, src);
  }
  mask.Visit([&](const auto* m) {
    VisitPair(dst, src, [&](auto* d, const auto* s) { MaskWrite(d, m, s, dst.Length()); });
  });
}

template <class Obj, class V>
void FillBlockT(Obj& dst, int offset, int rowStride, int rows, int cols, V value) {
  CheckBlock("FillBlock", offset, rowStride, rows, cols, dst.Length());
  if (rows == 0 || cols == 0) return;
  VisitValue(dst, value, [&](auto* d, auto v) {
    for (int r = 0; r < rows; ++r)
      std::fill_n(d + (offset + static_cast<std::ptrdiff_t>(r) * rowStride), cols, v);
  });
}

template <class Obj, class V>
int FillByIndexT(Obj& dst, const TNubraInt& index, V value) {
  if (Shares(dst, index)) {
    TVecInt tmp;
    tmp.Copy(index);
    return FillByIndexT(dst, tmp, value);
  }
  int bad = -1;
  const int n = dst.Length();
  index.Visit([&](const auto* ix) {
    VisitValue(dst, value, [&](auto* d, auto v) {
      for (int k = 0; k < index.Length(); ++k) {
        if (ix[k] < 0 || ix[k] >= n) {
          bad = k;
          return;
        }
        d[ix[k]] = v;
      }
    });
  });
  return bad;
}

template <class Obj, class V>
void FillByMaskT(Obj& dst, const TNubraInt& mask, V value) {
  CountSet(mask, dst.Length());
  // Element i of the mask is read before element i of dst is written, so a mask that is the very
  // storage of dst (same place, same element width) still selects what it selected before the call.
  if (Shares(dst, mask) && !(Data(dst) == Data(mask) && UsedBytes(dst) == UsedBytes(mask))) {
    TVecInt tmp;
    tmp.Copy(mask);
    return FillByMaskT(dst, tmp, value);
  }
  mask.Visit([&](const auto* m) {
    VisitValue(dst, value, [&](auto* d, auto v) {
      for (int i = 0; i < dst.Length(); ++i)
        if (m[i] != 0) d[i] = v;
    });
  });
}

}  // namespace

void ScatterBlock(TNubraVec& dst, int offset, int rowStride, int rows, int cols, const TNubraVec& src) {
  ScatterBlockT(dst, offset, rowStride, rows, cols, src);
}
void ScatterBlock(TNubraInt& dst, int offset, int rowStride, int rows, int cols, const TNubraInt& src) {
  ScatterBlockT(dst, offset, rowStride, rows, cols, src);
}

void ScatterByIndex(TNubraVec& dst, const TNubraInt& index, const TNubraVec& src) {
  ScatterByIndexT(dst, index, src);
}
void ScatterByIndex(TNubraInt& dst, const TNubraInt& index, const TNubraInt& src) {
  ScatterByIndexT(dst, index, src);
}

void ScatterByMask(TNubraVec& dst, const TNubraInt& mask, const TNubraVec& src) {
  ScatterByMaskT(dst, mask, src);
}
void ScatterByMask(TNubraInt& dst, const TNubraInt& mask, const TNubraInt& src) {
  ScatterByMaskT(dst, mask, src);
}

void FillBlock(TNubraVec& dst, int offset, int rowStride, int rows, int cols, double value) {
  FillBlockT(dst, offset, rowStride, rows, cols, value);
}
void FillBlock(TNubraVec& dst, int offset, int rowStride, int rows, int cols, TCplx value) {
  FillBlockT(dst, offset, rowStride, rows, cols, value);
}
void FillBlock(TNubraInt& dst, int offset, int rowStride, int rows, int cols, std::int32_t value) {
  FillBlockT(dst, offset, rowStride, rows, cols, value);
}

int FillByIndex(TNubraVec& dst, const TNubraInt& index, double value) {
  return FillByIndexT(dst, index, value);
}
int FillByIndex(TNubraVec& dst, const TNubraInt& index, TCplx value) {
  return FillByIndexT(dst, index, value);
}
int FillByIndex(TNubraInt& dst, const TNubraInt& index, std::int32_t value) {
  return FillByIndexT(dst, index, value);
}

void FillByMask(TNubraVec& dst, const TNubraInt& mask, double value) { FillByMaskT(dst, mask, value); }
void FillByMask(TNubraVec& dst, const TNubraInt& mask, TCplx value) { FillByMaskT(dst, mask, value); }
void FillByMask(TNubraInt& dst, const TNubraInt& mask, std::int32_t value) { FillByMaskT(dst, mask, value); }

}  // namespace zel
