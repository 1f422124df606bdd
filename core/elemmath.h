// Element-wise functions of the numeric core and the converting block copies that assemble one object out
// of several.
//
// A function is a scalar kernel (a function object in namespace `elem`, callable with a double or a TCplx)
// that MapElements applies to every element of `src`, writing into `dst`:
//   - dst takes src's size: a TZel destination the shape of a TZel source (1 × n for a TVec source), a
//     TVec destination the length. Its buffer is reused (no allocation) when it is large enough.
//   - the kernel's return type for the element type decides dst's complexity: complex elements use
//     complex arithmetic, a real element stays real, so real functions outside their domain give NaN
//     (sqrt(-1), ln(-1)) or infinities (ln(0)) as IEEE arithmetic does; abs gives real results.
//   - dst may be src (in place); any other sharing of storage goes through a temporary.
#pragma once

#include <cmath>
#include <type_traits>

#include "core/cplx.h"
#include "core/nubra.h"

namespace zel {

// ---- scalar kernels --------------------------------------------------------------------------------

namespace elem {
inline constexpr auto Exp = [](auto x) { return std::exp(x); };
inline constexpr auto Ln = [](auto x) { return std::log(x); };
inline constexpr auto Sqrt = [](auto x) { return std::sqrt(x); };
inline constexpr auto Sqr = [](auto x) { return x * x; };
// The modulus: a double for complex arguments too.
inline constexpr auto Abs = [](auto x) { return std::abs(x); };
inline constexpr auto Sin = [](auto x) { return std::sin(x); };
inline constexpr auto Cos = [](auto x) { return std::cos(x); };
inline constexpr auto Tan = [](auto x) { return std::tan(x); };
}  // namespace elem

// ---- the element-wise map: dst = f(src) ------------------------------------------------------------

namespace detail {

// Whether f gives complex values for elements of type A.
template <class A, class F>
constexpr bool ComplexOut = std::is_same_v<std::invoke_result_t<F, A>, TCplx>;

// Whether dst = f(src) must be computed into a temporary: dst is src and changes complexity, or dst
// shares storage with src otherwise.
bool MapNeedsTemporary(const TNubraVec& src, const TNubraVec& dst, bool outComplex);

// The element loop: d[i] = f(s[i]) for i < n.
template <class R, class A, class F>
void MapLoop(R* d, const A* s, int n, F f) {
  for (int i = 0; i < n; ++i) d[i] = f(s[i]);
}

}  // namespace detail

// dst = f(src) element by element (see the file comment); the element type f returns decides dst's
// complexity. The choice between real and complex loops is made once per call, outside the loop.
template <class F>
void MapElements(const TNubraVec& src, TNubraVec& dst, F f) {
  const bool inComplex = src.Complex();
  const bool outComplex = inComplex ? detail::ComplexOut<TCplx, F> : detail::ComplexOut<double, F>;
  if (detail::MapNeedsTemporary(src, dst, outComplex)) {
    const auto through = [&](auto&& t) {
      MapElements(src, t, f);
      dst.Copy(t);
    };
    if (dst.IsMatrix()) {
      through(TZel());
    } else {
      through(TVec());
    }
    return;
  }
  dst.SizeShape(src.Rows(), src.Cols(), outComplex);  // a vector dst takes the element count
  const int n = src.Length();
  const auto run = [&](const auto* s) {
    using A = std::remove_cv_t<std::remove_pointer_t<decltype(s)>>;
    if constexpr (detail::ComplexOut<A, F>) {
      detail::MapLoop(dst.PCValues(), s, n, f);
    } else {
      detail::MapLoop(dst.PValues(), s, n, f);
    }
  };
  if (inComplex) {
    run(src.PCValues());
  } else {
    run(src.PValues());
  }
}

// ---- converting block copies -----------------------------------------------------------------------

// Copies every element of src into dst as a block of `rows` rows of src.Length() / rows elements (row
// major): row r starts at dst's flat element offset + r·stride. Real data widens to a complex dst (zero
// imaginary parts); integer data becomes real in a TNubraVec dst, or takes dst's precision (low bits) in a
// TNubraInt dst. dst keeps its size. Raises ENubraRangeError when the block does not fit (rows not dividing
// the length, a row longer than the stride, or elements past dst's end) and ENubraException for complex
// data into a real dst or src sharing storage with dst.
void CopyBlockInto(const TNubraVec& src, int rows, TNubraVec& dst, int offset, int stride);
void CopyBlockInto(const TNubraInt& src, int rows, TNubraVec& dst, int offset, int stride);
void CopyBlockInto(const TNubraInt& src, int rows, TNubraInt& dst, int offset, int stride);

}  // namespace zel
