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
//   - a kernel without a complex form (callable with double only) raises ENubraException for complex src.
//   - a kernel that cannot raise is declared noexcept: machine code calls it without an exception guard.
#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>
#include <type_traits>

#include "core/cplx.h"
#include "core/errors.h"
#include "core/nubra.h"
#include "core/special.h"

namespace zel {

// ---- scalar kernels --------------------------------------------------------------------------------

namespace elem {
inline constexpr auto Exp = [](auto x) noexcept { return std::exp(x); };
inline constexpr auto Ln = [](auto x) noexcept { return std::log(x); };
inline constexpr auto Sqrt = [](auto x) noexcept { return std::sqrt(x); };
inline constexpr auto Sqr = [](auto x) { return x * x; };
// The modulus: a double for complex arguments too.
inline constexpr auto Abs = [](auto x) noexcept { return std::abs(x); };
inline constexpr auto Sin = [](auto x) noexcept { return std::sin(x); };
inline constexpr auto Cos = [](auto x) noexcept { return std::cos(x); };
inline constexpr auto Tan = [](auto x) noexcept { return std::tan(x); };
}  // namespace elem

// ---- one-argument library kernels: exponentials to special functions ---------------------------------
//
// Kernels written for `auto x` take doubles and TCplx; kernels written for `double x` have no complex
// form (MapElements refuses complex data for them, the library raises the function's own message).
// Inverse and reciprocal functions follow their standard identities (arcsec x = arccos(1/x), ...), so
// their complex branch cuts are those of the C library's complex functions.

namespace elem {

template <class T>
inline constexpr bool kIsCplx = std::is_same_v<T, TCplx>;

// f applied to the real and the imaginary part of a complex x, or to a real x.
template <class T, class F>
T PartWise(T x, F f) {
  if constexpr (kIsCplx<T>) {
    return {f(x.real()), f(x.imag())};
  } else {
    return f(x);
  }
}

inline constexpr auto Exp2 = [](auto x) noexcept {
  if constexpr (kIsCplx<decltype(x)>) {
    return std::exp(x * std::numbers::ln2);
  } else {
    return std::exp2(x);
  }
};
// 10^x by the power routine, exact for integral x.
inline constexpr auto Exp10 = [](auto x) noexcept {
  if constexpr (kIsCplx<decltype(x)>) {
    return std::exp(x * std::numbers::ln10);
  } else {
    return std::pow(10.0, x);
  }
};
inline constexpr auto Log10 = [](auto x) noexcept { return std::log10(x); };
inline constexpr auto Log2 = [](auto x) noexcept {
  if constexpr (kIsCplx<decltype(x)>) {
    return std::log(x) / std::numbers::ln2;
  } else {
    return std::log2(x);
  }
};
// The real cube root of a real x (negative for negative x); the principal root of a complex x.
inline constexpr auto Cbrt = [](auto x) noexcept {
  if constexpr (kIsCplx<decltype(x)>) {
    return std::exp(std::log(x) / 3.0);
  } else {
    return std::cbrt(x);
  }
};

inline constexpr auto Sec = [](auto x) noexcept { return 1.0 / std::cos(x); };
inline constexpr auto Csc = [](auto x) noexcept { return 1.0 / std::sin(x); };
inline constexpr auto Cot = [](auto x) noexcept { return 1.0 / std::tan(x); };
inline constexpr auto ArcSin = [](auto x) noexcept { return std::asin(x); };
inline constexpr auto ArcCos = [](auto x) noexcept { return std::acos(x); };
inline constexpr auto ArcTan = [](auto x) noexcept { return std::atan(x); };
inline constexpr auto ArcSec = [](auto x) noexcept { return std::acos(1.0 / x); };
inline constexpr auto ArcCsc = [](auto x) noexcept { return std::asin(1.0 / x); };
// arctan(1/x): values in (-π/2, π/2], jumping from -π/2 to π/2 at 0.
inline constexpr auto ArcCot = [](auto x) noexcept { return std::atan(1.0 / x); };

inline constexpr auto Sinh = [](auto x) noexcept { return std::sinh(x); };
inline constexpr auto Cosh = [](auto x) noexcept { return std::cosh(x); };
inline constexpr auto Tanh = [](auto x) noexcept { return std::tanh(x); };
inline constexpr auto Sech = [](auto x) noexcept { return 1.0 / std::cosh(x); };
inline constexpr auto Csch = [](auto x) noexcept { return 1.0 / std::sinh(x); };
inline constexpr auto Coth = [](auto x) noexcept { return 1.0 / std::tanh(x); };
inline constexpr auto ArcSinh = [](auto x) noexcept { return std::asinh(x); };
inline constexpr auto ArcCosh = [](auto x) noexcept { return std::acosh(x); };
inline constexpr auto ArcTanh = [](auto x) noexcept { return std::atanh(x); };
inline constexpr auto ArcSech = [](auto x) noexcept { return std::acosh(1.0 / x); };
inline constexpr auto ArcCsch = [](auto x) noexcept { return std::asinh(1.0 / x); };
inline constexpr auto ArcCoth = [](auto x) noexcept { return std::atanh(1.0 / x); };

// Angles: the conversion factors apply to complex elements as well.
inline constexpr auto DegToRad = [](auto x) noexcept { return x * (std::numbers::pi / 180); };
inline constexpr auto RadToDeg = [](auto x) noexcept { return x * (180 / std::numbers::pi); };
// x - 2πn for the integer n nearest to x/2π (halves to even): the exact IEEE remainder, in [-π, π].
inline constexpr auto FixAngle = [](double x) noexcept { return std::remainder(x, 2 * std::numbers::pi); };
// cos x + i·sin x.
inline constexpr auto Expj = [](double x) { return TCplx(std::cos(x), std::sin(x)); };

// Complex parts: std::real, std::imag, std::norm and std::arg take real arguments as x + 0i.
inline constexpr auto Real = [](auto x) noexcept { return std::real(x); };
inline constexpr auto Imag = [](auto x) noexcept { return std::imag(x); };
inline constexpr auto ToCplx = [](auto x) { return TCplx(x); };
inline constexpr auto Conj = [](auto x) {
  if constexpr (kIsCplx<decltype(x)>) {
    return std::conj(x);
  } else {
    return x;
  }
};
// re + i·im becomes im + i·re.
inline constexpr auto Flip = [](auto x) { return TCplx(std::imag(x), std::real(x)); };
// re² + im².
inline constexpr auto Norm = [](auto x) noexcept { return std::norm(x); };
inline constexpr auto Arg = [](auto x) noexcept { return std::arg(x); };
// -1, 0 or 1 of the argument's type (NaN stays NaN); x/|x| for a complex x other than 0.
inline constexpr auto Sgn = [](auto x) {
  using T = decltype(x);
  if constexpr (kIsCplx<T>) {
    return x == 0.0 ? x : x / std::abs(x);
  } else {
    return x > 0 ? T(1) : (x < 0 ? T(-1) : x);
  }
};

// Rounding, each part of a complex x on its own.
inline constexpr auto Ceil = [](auto x) noexcept {
  return PartWise(x, [](double v) { return std::ceil(v); });
};
inline constexpr auto Floor = [](auto x) noexcept {
  return PartWise(x, [](double v) { return std::floor(v); });
};
// Halves to the even neighbour (the default rounding mode).
inline constexpr auto Round = [](auto x) noexcept {
  return PartWise(x, [](double v) { return std::nearbyint(v); });
};
inline constexpr auto Trunc = [](auto x) noexcept {
  return PartWise(x, [](double v) { return std::trunc(v); });
};
// x - trunc(x): the sign of x is kept.
inline constexpr auto Frac = [](auto x) noexcept {
  return PartWise(x, [](double v) { return v - std::trunc(v); });
};

// Tests: a complex value is NaN (infinite) when either part is.
inline constexpr auto IsNaN = [](auto x) {
  if constexpr (kIsCplx<decltype(x)>) {
    return std::isnan(x.real()) || std::isnan(x.imag());
  } else {
    return std::isnan(x);
  }
};
inline constexpr auto IsInf = [](auto x) {
  if constexpr (kIsCplx<decltype(x)>) {
    return std::isinf(x.real()) || std::isinf(x.imag());
  } else {
    return std::isinf(x);
  }
};
inline constexpr auto IsInfNaN = [](auto x) {
  if constexpr (kIsCplx<decltype(x)>) {
    return !std::isfinite(x.real()) || !std::isfinite(x.imag());
  } else {
    return !std::isfinite(x);
  }
};

// Special functions (core/special.h).
inline constexpr auto Gamma = [](auto x) { return zel::Gamma(x); };
inline constexpr auto LnGamma = [](auto x) { return zel::LnGamma(x); };
inline constexpr auto Erf = [](double x) { return zel::Erf(x); };
inline constexpr auto Erfc = [](double x) { return zel::Erfc(x); };
inline constexpr auto ErfInv = [](double x) { return zel::ErfInv(x); };

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
  constexpr bool complexForm = std::is_invocable_v<F, TCplx>;
  const bool inComplex = src.Complex();
  bool outComplex = detail::ComplexOut<double, F>;
  if constexpr (complexForm) {
    if (inComplex) outComplex = detail::ComplexOut<TCplx, F>;
  } else {
    if (inComplex) ERaise("MapElements: the function has no complex form");
  }
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
  if constexpr (complexForm) {
    if (inComplex) return run(src.PCValues());
  }
  run(src.PValues());
}

// dst = 1 where test(src element) holds, else 0: an integer (bool) object of src's size (a matrix dst
// the shape of a matrix src) with 32-bit elements. The test takes doubles and, for complex src, TCplx.
template <class F>
void TestElements(const TNubraVec& src, TNubraInt& dst, F test) {
  dst.SizeShape(src.Rows(), src.Cols(), prInt32);
  std::int32_t* d = dst.PIValues();
  const int n = src.Length();
  if (src.Complex()) {
    detail::MapLoop(d, src.PCValues(), n, [test](TCplx z) { return std::int32_t{test(z)}; });
  } else {
    detail::MapLoop(d, src.PValues(), n, [test](double x) { return std::int32_t{test(x)}; });
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
