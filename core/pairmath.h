// Two-argument and two-output element-wise functions of the numeric core: the scalar kernels of logN,
// arctan2, pythag, polartocart, cplx(re, im), root and the thresholds; MapPairs, which applies a
// two-argument kernel to two arrays or to an array and a scalar; and the functions that fill two outputs
// from one operand (SinCos, SinhCosh, CartToPolar).
//
// MapPairs follows the destination rules of elemmath.h's MapElements and vecmath.h: the operands are flat
// element sequences (two arrays must have equal lengths, else ENubraException "WHO: operand lengths
// differ (a and b)"), a TZel destination takes the shape of the first matrix operand (left before right,
// 1 x n when neither is one), a TVec destination the length, the buffer is reused when large enough, and
// the destination may be one of the operands. The kernel's return type for the element types decides the
// destination's complexity. A kernel that takes only doubles (arctan2, polartocart, cplx) raises
// ENubraException "WHO: Argument can not be complex" for complex data.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <type_traits>

#include "core/cplx.h"
#include "core/nubra.h"

namespace zel {

// ---- scalar kernels --------------------------------------------------------------------------------

namespace elem {
// Logarithm of x to base n: ln x / ln n (complex logarithms when either operand is complex).
inline constexpr auto LogN = [](auto x, auto n) { return std::log(x) / std::log(n); };
// The angle whose tangent is y/x, in (-pi, pi]: the quadrant follows the signs of y and x.
inline constexpr auto ArcTan2 = [](double y, double x) { return std::atan2(y, x); };
// sqrt(x^2 + y^2): without overflow for reals, the principal square root for complex operands.
inline constexpr auto Pythag = [](auto x, auto y) {
  if constexpr (std::is_same_v<decltype(x), double> && std::is_same_v<decltype(y), double>) {
    return std::hypot(x, y);
  } else {
    const TCplx a(x), b(y);
    return std::sqrt(a * a + b * b);
  }
};
// amplitude · (cos phase + i sin phase)
inline constexpr auto PolarToCart = [](double amplitude, double phase) {
  return TCplx(amplitude * std::cos(phase), amplitude * std::sin(phase));
};
// re + im·i
inline constexpr auto MakeComplex = [](double re, double im) { return TCplx(re, im); };
}  // namespace elem

// The k-th of the n complex n-th roots of z: |z|^(1/n) · e^(i(arg z + 2πk)/n); n = 0 gives NaN + NaN·i.
inline TCplx Root(TCplx z, std::int64_t k, std::int64_t n) {
  if (n == 0) return {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()};
  const double dn = static_cast<double>(n);
  const double angle = (std::arg(z) + 2 * std::numbers::pi * static_cast<double>(k)) / dn;
  return std::polar(1.0, angle) * std::pow(std::abs(z), 1 / dn);
}

// Thresholds: a real below (above) the level becomes the level; NaN stays NaN. A complex value is clipped
// on its modulus: scaled (same phase) to modulus `level` when below (above) it, 0 becomes level + 0i.
inline double ThreshBottom(double x, double level) { return x < level ? level : x; }
inline double ThreshTop(double x, double level) { return x > level ? level : x; }
inline TCplx ThreshBottom(TCplx z, double level) {
  const double m = std::abs(z);
  if (!(m < level)) return z;
  return m == 0 ? TCplx(level, 0) : z * (level / m);
}
inline TCplx ThreshTop(TCplx z, double level) {
  const double m = std::abs(z);
  return m > level ? z * (level / m) : z;
}

// dst = threshold(x(i), level) for every element, real or complex.
void ThreshBottom(const TNubraVec& x, double level, TNubraVec& dst);
void ThreshTop(const TNubraVec& x, double level, TNubraVec& dst);

// ---- two outputs from one operand --------------------------------------------------------------------

// sin and cos (sinh and cosh) of every element; each output takes x's size and complexity.
void SinCos(const TNubraVec& x, TNubraVec& sin, TNubraVec& cos);
void SinhCosh(const TNubraVec& x, TNubraVec& sinh, TNubraVec& cosh);
// Amplitude |x| and phase of every element (arg z; atan2(0, x) for reals); both outputs are real.
void CartToPolar(const TNubraVec& x, TNubraVec& amplitude, TNubraVec& phase);

// ---- the two-argument map --------------------------------------------------------------------------

namespace detail {

// Whether an operand type is an array (TVec, TZel) rather than a scalar.
template <class X>
constexpr bool kIsArray = std::is_base_of_v<TNubraVec, X>;

// The array of an operand, or nullptr for a scalar.
template <class X>
const TNubraVec* ArrayOf(const X& x) {
  if constexpr (kIsArray<X>) {
    return &x;
  } else {
    return nullptr;
  }
}

// Raises "WHO: Argument can not be complex".
[[noreturn]] void RaiseComplexArgument(const char* who);
// Raises "WHO: operand lengths differ (a and b)" unless a == b.
void CheckPairLengths(const char* who, int a, int b);
// Whether dst must be computed through a temporary: it is an operand changing complexity, or shares
// storage with an operand otherwise.
bool PairNeedsTemporary(const TNubraVec* a, const TNubraVec* b, const TNubraVec& dst, bool outComplex);
// Sizes dst for n elements of the given complexity (shape of the first matrix operand).
void SizePairResult(TNubraVec& dst, const TNubraVec* a, const TNubraVec* b, int n, bool complex);

// Calls f with a tag of the element type of x: double or TCplx, decided by the data for an array.
template <class X, class F>
void WithElementType(const X& x, F&& f) {
  if constexpr (kIsArray<X>) {
    if (x.Complex()) {
      f(std::type_identity<TCplx>{});
    } else {
      f(std::type_identity<double>{});
    }
  } else {
    f(std::type_identity<X>{});
  }
}

// An element reader: x(i) of an array as E, or the scalar itself.
template <class E, class X>
auto Reader(const X& x) {
  if constexpr (kIsArray<X>) {
    if constexpr (std::is_same_v<E, TCplx>) {
      return [p = x.PCValues()](int i) { return p[i]; };
    } else {
      return [p = x.PValues()](int i) { return p[i]; };
    }
  } else {
    return [s = x](int) { return s; };
  }
}

}  // namespace detail

// dst = f(a(i), b(i)) for every element; a and b are each an array (TVec, TZel) or a scalar (double,
// TCplx), at least one of them an array. `who` names the function in messages.
template <class A, class B, class F>
void MapPairs(const char* who, const A& a, const B& b, TNubraVec& dst, F f) {
  static_assert(detail::kIsArray<A> || detail::kIsArray<B>, "MapPairs needs an array operand");
  const TNubraVec* arrA = detail::ArrayOf(a);
  const TNubraVec* arrB = detail::ArrayOf(b);
  if (arrA && arrB) detail::CheckPairLengths(who, arrA->Length(), arrB->Length());
  const int n = arrA ? arrA->Length() : arrB->Length();
  detail::WithElementType(a, [&](auto ta) {
    detail::WithElementType(b, [&](auto tb) {
      using EA = typename decltype(ta)::type;
      using EB = typename decltype(tb)::type;
      if constexpr (!std::is_invocable_v<F, EA, EB>) {
        detail::RaiseComplexArgument(who);
      } else {
        using R = std::invoke_result_t<F, EA, EB>;
        constexpr bool outComplex = std::is_same_v<R, TCplx>;
        if (detail::PairNeedsTemporary(arrA, arrB, dst, outComplex)) {
          const auto through = [&](auto&& t) {
            MapPairs(who, a, b, t, f);
            dst.Copy(t);
          };
          if (dst.IsMatrix()) {
            through(TZel());
          } else {
            through(TVec());
          }
          return;
        }
        detail::SizePairResult(dst, arrA, arrB, n, outComplex);
        R* d;
        if constexpr (outComplex) {
          d = dst.PCValues();
        } else {
          d = dst.PValues();
        }
        const auto ra = detail::Reader<EA>(a);
        const auto rb = detail::Reader<EB>(b);
        for (int i = 0; i < n; ++i) d[i] = f(ra(i), rb(i));
      }
    });
  });
}

}  // namespace zel
