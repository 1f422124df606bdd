// Gathers by increment, index list and mask, and in-place reversal, for real/complex and integer objects.
#include "core/gather.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "core/errors.h"
#include "core/nubra_detail.h"

namespace zel {

namespace {

// ---- storage regions, for aliasing tests ----------------------------------------------------------

struct Region {
  const void* data;
  std::size_t bytes;
};

Region Used(const TNubraVec& v) {
  return {v.PValues(), static_cast<std::size_t>(v.ScalarCount()) * sizeof(double)};
}
Region Used(const TNubraInt& v) {
  return {v.Visit([](const auto* p) { return static_cast<const void*>(p); }),
          static_cast<std::size_t>(v.Length()) * IntPrecisionBytes(v.IntPrecision())};
}
// Where a destination may write: its view, or its whole own buffer.
template <class T>
Region Writable(const T& dst) {
  Region r = Used(dst);
  if (!dst.IsView()) r.bytes = std::max(r.bytes, dst.Capacity());
  return r;
}
bool Overlap(Region a, Region b) { return detail::Overlaps(a.data, a.bytes, b.data, b.bytes); }

// True when writing dst could change what is read from src.
template <class D, class S>
bool Shares(const D& dst, const S& src) {
  return static_cast<const void*>(&dst) == static_cast<const void*>(&src) ||
         Overlap(Writable(dst), Used(src));
}

// ---- kernels --------------------------------------------------------------------------------------

template <class D, class S>
void StrideCopy(D* d, const S* s, std::ptrdiff_t incr, int count) {
  if (incr == 1) {
    for (int k = 0; k < count; ++k) d[k] = static_cast<D>(s[k]);
  } else {
    for (int k = 0; k < count; ++k) d[k] = static_cast<D>(s[k * incr]);
  }
}

template <class D, class S, class I>
void IndexCopy(D* d, const S* s, const I* index, int count) {
  for (int k = 0; k < count; ++k) d[k] = static_cast<D>(s[index[k]]);
}

template <class D, class S, class M>
void MaskCopy(D* d, const S* s, const M* mask, int n) {
  for (int i = 0; i < n; ++i)
    if (mask[i] != 0) *d++ = static_cast<D>(s[i]);
}

// Calls f with the typed element pointer of a real object: double* or TCplx*.
template <class V, class F>
void VisitReal(V& v, F&& f) {
  if (v.Complex()) {
    f(v.PCValues());
  } else {
    f(v.PValues());
  }
}

// Calls f(d, s) with the typed element pointers of two real objects of the same complexity.
template <class F>
void VisitReal(TNubraVec& dst, const TNubraVec& src, F&& f) {
  if (src.Complex()) {
    f(dst.PCValues(), src.PCValues());
  } else {
    f(dst.PValues(), src.PValues());
  }
}

// ---- checks ---------------------------------------------------------------------------------------

void CheckIncr(int dstIndex, int dstLength, int offset, int incr, int count, int srcLength) {
  if (count < 0) throw ENubraRangeError(Fmt("GatherByIncr: negative count %d", count));
  if (dstIndex < 0 || static_cast<long long>(dstIndex) + count > dstLength)
    throw ENubraRangeError(Fmt("GatherByIncr: destination block %d..%lld out of range 0 <= index < %d",
                               dstIndex, static_cast<long long>(dstIndex) + count - 1, dstLength));
  if (count == 0) return;
  const long long last = offset + static_cast<long long>(count - 1) * incr;
  for (long long i : {static_cast<long long>(offset), last})
    if (i < 0 || i >= srcLength)
      throw ENubraRangeError(Fmt("GatherByIncr: index %lld out of range 0 <= index < %d", i, srcLength));
}

void CheckIndices(const TNubraInt& index, int srcLength) {
  index.Visit([&](const auto* p) {
    for (int k = 0; k < index.Length(); ++k)
      if (p[k] < 0 || p[k] >= srcLength)
        throw ENubraRangeError(Fmt("GatherByIndex: index[%d] = %d out of range 0 <= index < %d", k,
                                   static_cast<int>(p[k]), srcLength));
  });
}

int CountSet(const TNubraInt& mask, int srcLength) {
  if (mask.Length() != srcLength)
    throw ENubraRangeError(
        Fmt("GatherByMask: mask length %d does not match source length %d", mask.Length(), srcLength));
  return mask.Visit([&](const auto* p) {
    int n = 0;
    for (int i = 0; i < srcLength; ++i) n += p[i] != 0;
    return n;
  });
}

}  // namespace

// ---- by increment ---------------------------------------------------------------------------------

void GatherByIncr(TNubraVec& dst, int dstIndex, const TNubraVec& src, int offset, int incr, int count) {
  CheckIncr(dstIndex, dst.Length(), offset, incr, count, src.Length());
  if (dst.Complex() != src.Complex())
    throw ENubraRangeError("GatherByIncr: source and destination differ in complexity");
  if (count == 0) return;
  if (Overlap(Used(dst), Used(src))) {
    TVec tmp;
    GatherByIncr(tmp, src, offset, incr, count);
    dst.Copy(tmp, 0, dstIndex, count);
    return;
  }
  VisitReal(dst, src, [&](auto* d, const auto* s) { StrideCopy(d + dstIndex, s + offset, incr, count); });
}

void GatherByIncr(TNubraInt& dst, int dstIndex, const TNubraInt& src, int offset, int incr, int count) {
  CheckIncr(dstIndex, dst.Length(), offset, incr, count, src.Length());
  if (count == 0) return;
  if (Overlap(Used(dst), Used(src))) {
    TVecInt tmp;
    GatherByIncr(tmp, src, offset, incr, count);
    dst.Copy(tmp, 0, dstIndex, count);
    return;
  }
  src.Visit(
      [&](const auto* s) { dst.Visit([&](auto* d) { StrideCopy(d + dstIndex, s + offset, incr, count); }); });
}

void GatherByIncr(TVec& dst, const TNubraVec& src, int offset, int incr, int count) {
  CheckIncr(0, count, offset, incr, count, src.Length());
  if (Shares(dst, src)) {
    TVec tmp;
    GatherByIncr(tmp, src, offset, incr, count);
    dst.Copy(tmp);
    return;
  }
  dst.Size(count, src.Complex());
  GatherByIncr(static_cast<TNubraVec&>(dst), 0, src, offset, incr, count);
}

void GatherByIncr(TVecInt& dst, const TNubraInt& src, int offset, int incr, int count) {
  CheckIncr(0, count, offset, incr, count, src.Length());
  if (Shares(dst, src)) {
    TVecInt tmp;
    GatherByIncr(tmp, src, offset, incr, count);
    dst.Copy(tmp);
    return;
  }
  dst.Size(count, src.IntPrecision());
  GatherByIncr(static_cast<TNubraInt&>(dst), 0, src, offset, incr, count);
}

// ---- by index list --------------------------------------------------------------------------------

void GatherByIndex(TVec& dst, const TNubraVec& src, const TNubraInt& index) {
  CheckIndices(index, src.Length());
  if (Shares(dst, src) || Shares(dst, index)) {
    TVec tmp;
    GatherByIndex(tmp, src, index);
    dst.Copy(tmp);
    return;
  }
  dst.Size(index.Length(), src.Complex());
  index.Visit([&](const auto* ix) {
    VisitReal(dst, src, [&](auto* d, const auto* s) { IndexCopy(d, s, ix, index.Length()); });
  });
}

void GatherByIndex(TVecInt& dst, const TNubraInt& src, const TNubraInt& index) {
  CheckIndices(index, src.Length());
  if (Shares(dst, src) || Shares(dst, index)) {
    TVecInt tmp;
    GatherByIndex(tmp, src, index);
    dst.Copy(tmp);
    return;
  }
  dst.Size(index.Length(), src.IntPrecision());
  index.Visit([&](const auto* ix) {
    src.Visit([&](const auto* s) { dst.Visit([&](auto* d) { IndexCopy(d, s, ix, index.Length()); }); });
  });
}

// ---- by mask --------------------------------------------------------------------------------------

void GatherByMask(TVec& dst, const TNubraVec& src, const TNubraInt& mask) {
  const int count = CountSet(mask, src.Length());
  if (Shares(dst, src) || Shares(dst, mask)) {
    TVec tmp;
    GatherByMask(tmp, src, mask);
    dst.Copy(tmp);
    return;
  }
  dst.Size(count, src.Complex());
  mask.Visit([&](const auto* m) {
    VisitReal(dst, src, [&](auto* d, const auto* s) { MaskCopy(d, s, m, src.Length()); });
  });
}

void GatherByMask(TVecInt& dst, const TNubraInt& src, const TNubraInt& mask) {
  const int count = CountSet(mask, src.Length());
  if (Shares(dst, src) || Shares(dst, mask)) {
    TVecInt tmp;
    GatherByMask(tmp, src, mask);
    dst.Copy(tmp);
    return;
  }
  dst.Size(count, src.IntPrecision());
  mask.Visit([&](const auto* m) {
    src.Visit([&](const auto* s) { dst.Visit([&](auto* d) { MaskCopy(d, s, m, src.Length()); }); });
  });
}

// ---- reversal -------------------------------------------------------------------------------------

void Reverse(TNubraVec& v) {
  VisitReal(v, [&](auto* p) { std::reverse(p, p + v.Length()); });
}

void Reverse(TNubraInt& v) {
  v.Visit([&](auto* p) { std::reverse(p, p + v.Length()); });
}

}  // namespace zel
