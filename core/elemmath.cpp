// Element-wise functions and converting block copies (see elemmath.h). Every array form is one generic
// loop over the flat buffer, instantiated for real and complex elements; the choice between them is made
// once per call, outside the loop.
#include "core/elemmath.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

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

// Gives dst the size of src (the shape when both are matrices) with the given complexity.
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

template <class R, class A, class F>
void Loop(R* d, const A* s, int n, F f) {
  for (int i = 0; i < n; ++i) d[i] = f(s[i]);
}

// Whether f gives complex values for elements of type A.
template <class A, class F>
constexpr bool ComplexOut = std::is_same_v<std::invoke_result_t<F, A>, TCplx>;

// dst = f(src) element by element; the element type f returns decides dst's complexity.
template <class F>
void Map(const TNubraVec& src, TNubraVec& dst, F f) {
  const bool inComplex = src.Complex();
  const bool outComplex = inComplex ? ComplexOut<TCplx, F> : ComplexOut<double, F>;
  const bool alias = &dst == &src ? inComplex != outComplex : SharesStorage(dst, src);
  if (alias) {
    if (auto* m = dynamic_cast<TZel*>(&dst)) {
      TZel t;
      Map(src, t, f);
      m->Copy(t);
    } else {
      TVec t;
      Map(src, t, f);
      dst.Copy(t);
    }
    return;
  }
  SizeLike(dst, src, outComplex);
  const int n = src.Length();
  const auto run = [&](const auto* s) {
    using A = std::remove_cv_t<std::remove_pointer_t<decltype(s)>>;
    if constexpr (ComplexOut<A, F>) {
      Loop(dst.PCValues(), s, n, f);
    } else {
      Loop(dst.PValues(), s, n, f);
    }
  };
  if (inComplex) {
    run(src.PCValues());
  } else {
    run(src.PValues());
  }
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

void Exp(const TNubraVec& src, TNubraVec& dst) { Map(src, dst, elem::Exp); }
void Ln(const TNubraVec& src, TNubraVec& dst) { Map(src, dst, elem::Ln); }
void Sqrt(const TNubraVec& src, TNubraVec& dst) { Map(src, dst, elem::Sqrt); }
void Sqr(const TNubraVec& src, TNubraVec& dst) { Map(src, dst, elem::Sqr); }
void Abs(const TNubraVec& src, TNubraVec& dst) { Map(src, dst, elem::Abs); }
void Sin(const TNubraVec& src, TNubraVec& dst) { Map(src, dst, elem::Sin); }
void Cos(const TNubraVec& src, TNubraVec& dst) { Map(src, dst, elem::Cos); }
void Tan(const TNubraVec& src, TNubraVec& dst) { Map(src, dst, elem::Tan); }

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
