// Powers and remainders (see powrem.h). The element-wise forms share one loop per operand combination:
// each operand is either an array or a scalar read the same at every index, so scalar-array,
// array-scalar and array-array cases compile from one template.
#include "core/powrem.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <type_traits>

#include "core/errors.h"
#include "core/intarith.h"
#include "core/kernel_detail.h"

namespace zel {

namespace {

using detail::MustBuffer;
using detail::SizeResult;
using detail::ThroughTemporary;

// ---- scalar helpers --------------------------------------------------------------------------------

// z^m by repeated squaring: exact for small Gaussian integers, about log2(m) roundings otherwise.
TCplx PowUnsigned(TCplx z, std::uint64_t m) {
  TCplx r(1.0, 0.0);
  while (m != 0) {
    if (m & 1) r *= z;
    m >>= 1;
    if (m != 0) z *= z;
  }
  return r;
}

// |x|^m for m >= 1 by binary powering: at most 2·log2(m) multiplications.
double PowUnsigned(double x, std::uint64_t m) {
  double r = 1.0;
  while (m != 0) {
    if (m & 1) r *= x;
    m >>= 1;
    if (m != 0) x *= x;
  }
  return r;
}

// Integer exponents up to this magnitude are multiplied out instead of going through pow.
constexpr std::int64_t kMaxMultipliedPower = 16;

bool IsFinite(TCplx z) { return std::isfinite(z.real()) && std::isfinite(z.imag()); }

// ---- operands of the element-wise kernels ----------------------------------------------------------

// A scalar operand: every index reads the same value.
template <class T>
struct Scalar {
  T v;
  T operator[](int) const { return v; }
};

// A real or complex operand: an array, or a scalar.
struct RealArg {
  const TNubraVec* array;
  TCplx value;
  bool complex;
};
RealArg Arg(const TNubraVec& a) { return {&a, {}, a.Complex()}; }
RealArg Arg(double x) { return {nullptr, TCplx(x, 0.0), false}; }
RealArg Arg(TCplx z) { return {nullptr, z, true}; }

// Calls k with the typed element accessor of x.
template <class K>
void Visit(const RealArg& x, K&& k) {
  if (x.array) {
    if (x.complex) {
      k(x.array->PCValues());
    } else {
      k(x.array->PValues());
    }
  } else if (x.complex) {
    k(Scalar<TCplx>{x.value});
  } else {
    k(Scalar<double>{x.value.real()});
  }
}

// An integer operand: an array, or a 64-bit scalar.
struct IntArg {
  const TNubraInt* array;
  std::int64_t value;
};

template <class K>
void Visit(const IntArg& x, K&& k) {
  if (x.array) {
    x.array->Visit(k);
  } else {
    k(Scalar<std::int64_t>{x.value});
  }
}

// The element type an integer operand contributes to the result's width: a scalar never widens it.
template <class P>
struct Width {
  using type = std::remove_cv_t<std::remove_pointer_t<P>>;
};
template <>
struct Width<Scalar<std::int64_t>> {
  using type = std::uint8_t;
};

template <class T>
constexpr TIntPrecision PrecisionOf() {
  if constexpr (std::is_same_v<T, std::int32_t>) {
    return prInt32;
  } else if constexpr (std::is_same_v<T, std::int16_t>) {
    return prInt16;
  } else {
    return prUInt8;
  }
}

template <class T>
T Saturate(std::int64_t v) {
  constexpr std::int64_t lo = std::numeric_limits<T>::min();
  constexpr std::int64_t hi = std::numeric_limits<T>::max();
  return static_cast<T>(std::clamp(v, lo, hi));
}

// ---- destinations ----------------------------------------------------------------------------------

// The common length of the array operands (at least one is an array).
template <class N>
int OperandLength(const char* who, const N* a, const N* b) {
  if (a && b && a->Length() != b->Length())
    ERaise(Fmt("%s: operand lengths differ (%d and %d)", who, a->Length(), b->Length()));
  return a ? a->Length() : b->Length();
}

// dst = f(a(i), b(i)) for every element; f's result type (double or TCplx) decides the complexity.
template <class F>
void Elementwise(const char* who, const RealArg& a, const RealArg& b, TNubraVec& dst, F f) {
  const int n = OperandLength<TNubraVec>(who, a.array, b.array);
  const bool complex = a.complex || b.complex;
  if (MustBuffer(dst, a.array, a.complex == complex) || MustBuffer(dst, b.array, b.complex == complex)) {
    ThroughTemporary(dst, [&](TNubraVec& t) { Elementwise(who, a, b, t, f); });
    return;
  }
  Visit(a, [&](auto pa) {
    Visit(b, [&](auto pb) {
      using R = decltype(f(pa[0], pb[0]));
      SizeResult(dst, a.array, b.array, n, std::is_same_v<R, TCplx>);
      R* d = reinterpret_cast<R*>(dst.PValues());
      for (int i = 0; i < n; ++i) d[i] = f(pa[i], pb[i]);
    });
  });
}

// dst = saturate(a(i) rem b(i)) in the wider precision of the array operands. Divisors are checked first.
void IntRem(const IntArg& a, const IntArg& b, TNubraInt& dst) {
  const int n = OperandLength<TNubraInt>("Rem", a.array, b.array);
  if (b.array) {
    const bool zero = b.array->Visit([n](const auto* p) { return std::find(p, p + n, 0) != p + n; });
    if (zero) throw EDivByZero();
  } else if (b.value == 0) {
    throw EDivByZero();
  }
  const auto precision = [](const IntArg& x) { return x.array ? x.array->IntPrecision() : prUInt8; };
  const TIntPrecision pa = precision(a), pb = precision(b);
  const TIntPrecision p = IntPrecisionBytes(pa) >= IntPrecisionBytes(pb) ? pa : pb;
  if (MustBuffer(dst, a.array, pa == p) || MustBuffer(dst, b.array, pb == p)) {
    ThroughTemporary(dst, [&](TNubraInt& t) { IntRem(a, b, t); });
    return;
  }
  Visit(a, [&](auto xa) {
    Visit(b, [&](auto xb) {
      using A = typename Width<decltype(xa)>::type;
      using B = typename Width<decltype(xb)>::type;
      using T = std::conditional_t<(sizeof(A) >= sizeof(B)), A, B>;
      SizeResult(dst, a.array, b.array, n, PrecisionOf<T>());
      T* d = static_cast<T*>(dst.Visit([](auto* q) { return static_cast<void*>(q); }));
      for (int i = 0; i < n; ++i)
        d[i] = Saturate<T>(CheckedRem(static_cast<std::int64_t>(xa[i]), static_cast<std::int64_t>(xb[i])));
    });
  });
}

constexpr auto kPower = [](auto x, auto y) { return Power(x, y); };
constexpr auto kRem = [](auto x, auto y) {
  if constexpr (std::is_same_v<decltype(x), double> && std::is_same_v<decltype(y), double>) {
    return Rem(x, y);
  } else {
    return Rem(TCplx(x), TCplx(y));
  }
};

}  // namespace

// ---- scalars ---------------------------------------------------------------------------------------

double Power(double x, double y) {
  // A small integral exponent, wherever it comes from, takes the multiplications of IntPower.
  if (y >= -kMaxMultipliedPower && y <= kMaxMultipliedPower) {
    const auto n = static_cast<std::int64_t>(y);  // in range, so the conversion is defined
    if (static_cast<double>(n) == y) return IntPower(x, n);
  }
  return std::pow(x, y);
}

double IntPower(double x, std::int64_t n) {
  if (std::isnan(x)) return n == 0 ? 1.0 : x;
  // The common small exponents are single correctly rounded operations, far cheaper than pow.
  if (n == 2) return x * x;
  if (n == 1) return x;
  if (n == 0) return 1.0;
  if (n >= -kMaxMultipliedPower && n <= kMaxMultipliedPower) {
    // |x|^m by squaring: relative error at most (m-1)·2^-53 (each of the at most m-1 roundings is
    // one half ulp, and binary powering uses each rounded intermediate at most m-1 times in total);
    // a negative exponent adds the one rounding of the reciprocal. Where the reciprocal's operand is
    // not a normal number (overflow, underflow, zero) pow below decides instead.
    const std::uint64_t m = n > 0 ? static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(-n);
    double r = PowUnsigned(std::fabs(x), m);
    if (n < 0) r = std::isnormal(r) ? 1.0 / r : NAN;
    if (!std::isnan(r)) return std::signbit(x) && (n & 1) ? -r : r;
  }
  // pow of the magnitude is accurate to an ulp; the sign comes from the exact parity of n (a double
  // exponent beyond 2^53 would lose it).
  const double r = std::pow(std::fabs(x), static_cast<double>(n));
  return std::signbit(x) && (n & 1) ? -r : r;
}

TCplx IntPower(TCplx z, std::int64_t n) {
  if (z.imag() == 0.0) return TCplx(IntPower(z.real(), n), 0.0);
  if (n >= 0) return PowUnsigned(z, static_cast<std::uint64_t>(n));
  const std::uint64_t m = 0 - static_cast<std::uint64_t>(n);
  // 1 / z^m is the more accurate; when z^m overflows or underflows, (1/z)^m still has a value.
  const TCplx p = PowUnsigned(z, m);
  if (IsFinite(p) && p != TCplx(0.0, 0.0)) return 1.0 / p;
  return PowUnsigned(1.0 / z, m);
}

TCplx Power(TCplx z, double y) {
  if (std::fabs(y) <= 9.0e18 && y == std::trunc(y)) return IntPower(z, static_cast<std::int64_t>(y));
  // The non-negative real axis (zero included) stays real: 0^y is 0 for y > 0 and INF for y < 0.
  if (z.imag() == 0.0 && !std::signbit(z.real())) return TCplx(std::pow(z.real(), y), 0.0);
  return std::pow(z, y);
}

TCplx Power(TCplx z, TCplx w) {
  if (w.imag() == 0.0) return Power(z, w.real());
  if (z == TCplx(0.0, 0.0)) return w.real() > 0 ? TCplx(0.0, 0.0) : TCplx(NAN, NAN);
  return std::pow(z, w);
}

TCplx Power(double x, TCplx w) { return Power(TCplx(x, 0.0), w); }

double Rem(double x, double y) { return std::fmod(x, y); }

TCplx Rem(TCplx z, TCplx w) {
  if (z.imag() == 0.0 && w.imag() == 0.0) return TCplx(std::fmod(z.real(), w.real()), 0.0);
  if (w == TCplx(0.0, 0.0)) return TCplx(NAN, NAN);
  const TCplx q = z / w;
  return z - w * TCplx(std::trunc(q.real()), std::trunc(q.imag()));
}

// ---- real and complex, element by element ----------------------------------------------------------

void Power(const TNubraVec& base, double exponent, TNubraVec& dst) {
  Elementwise("Power", Arg(base), Arg(exponent), dst, kPower);
}
void Power(const TNubraVec& base, TCplx exponent, TNubraVec& dst) {
  Elementwise("Power", Arg(base), Arg(exponent), dst, kPower);
}
void Power(double base, const TNubraVec& exponent, TNubraVec& dst) {
  Elementwise("Power", Arg(base), Arg(exponent), dst, kPower);
}
void Power(TCplx base, const TNubraVec& exponent, TNubraVec& dst) {
  Elementwise("Power", Arg(base), Arg(exponent), dst, kPower);
}
void Power(const TNubraVec& base, const TNubraVec& exponent, TNubraVec& dst) {
  Elementwise("Power", Arg(base), Arg(exponent), dst, kPower);
}
void IntPower(const TNubraVec& base, std::int64_t n, TNubraVec& dst) {
  // The second operand only fills the kernel's slot; the exponent is captured.
  Elementwise("IntPower", Arg(base), Arg(0.0), dst, [n](auto x, auto) { return IntPower(x, n); });
}

void Rem(const TNubraVec& a, double b, TNubraVec& dst) { Elementwise("Rem", Arg(a), Arg(b), dst, kRem); }
void Rem(const TNubraVec& a, TCplx b, TNubraVec& dst) { Elementwise("Rem", Arg(a), Arg(b), dst, kRem); }
void Rem(double a, const TNubraVec& b, TNubraVec& dst) { Elementwise("Rem", Arg(a), Arg(b), dst, kRem); }
void Rem(TCplx a, const TNubraVec& b, TNubraVec& dst) { Elementwise("Rem", Arg(a), Arg(b), dst, kRem); }
void Rem(const TNubraVec& a, const TNubraVec& b, TNubraVec& dst) {
  Elementwise("Rem", Arg(a), Arg(b), dst, kRem);
}

// ---- integer ---------------------------------------------------------------------------------------

void Rem(const TNubraInt& a, const TNubraInt& b, TNubraInt& dst) { IntRem({&a, 0}, {&b, 0}, dst); }
void Rem(const TNubraInt& a, std::int64_t b, TNubraInt& dst) { IntRem({&a, 0}, {nullptr, b}, dst); }
void Rem(std::int64_t a, const TNubraInt& b, TNubraInt& dst) { IntRem({nullptr, a}, {&b, 0}, dst); }

}  // namespace zel
