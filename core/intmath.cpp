// Integer functions (see intmath.h). gcd and lcm work on magnitudes in unsigned 64-bit arithmetic, so
// that |INT64_MIN| needs no special case until the result is stored.
#include "core/intmath.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>
#include <type_traits>

#include "core/errors.h"
#include "core/kernel_detail.h"
#include "core/powrem.h"
#include "core/text.h"
#include "core/vecmath.h"

namespace zel {

namespace {

constexpr std::uint64_t kInt64Max = std::numeric_limits<std::int64_t>::max();

// |a| as an unsigned value (exact for INT64_MIN).
std::uint64_t Magnitude(std::int64_t a) {
  return a < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(a) : static_cast<std::uint64_t>(a);
}

// gcd(|a|, |b|).
std::uint64_t GcdMagnitude(std::int64_t a, std::int64_t b) { return std::gcd(Magnitude(a), Magnitude(b)); }

// |lcm(a, b)|, or a value above kInt64Max when it does not fit into 64 bits.
std::uint64_t LcmMagnitude(std::int64_t a, std::int64_t b) {
  if (a == 0 || b == 0) return 0;
  std::uint64_t r;
  if (__builtin_mul_overflow(Magnitude(a) / GcdMagnitude(a, b), Magnitude(b), &r)) return kInt64Max + 1;
  return r;
}

// A magnitude as a signed 64-bit value, INT64_MAX when larger (array elements saturate anyway).
std::int64_t Clamped(std::uint64_t m) { return static_cast<std::int64_t>(std::min(m, kInt64Max)); }

// A magnitude as a signed 64-bit value; EIntOverflow when it does not fit.
std::int64_t Checked(std::uint64_t m) {
  if (m > kInt64Max) throw EIntOverflow();
  return static_cast<std::int64_t>(m);
}

// The element operations of the array forms.
constexpr auto kGcd = [](std::int64_t a, std::int64_t b) { return Clamped(GcdMagnitude(a, b)); };
constexpr auto kLcm = [](std::int64_t a, std::int64_t b) { return Clamped(LcmMagnitude(a, b)); };
constexpr auto kMax = [](std::int64_t a, std::int64_t b) { return std::max(a, b); };
constexpr auto kMin = [](std::int64_t a, std::int64_t b) { return std::min(a, b); };

// v clamped to the range of T.
template <class T>
T Saturate(std::int64_t v) {
  constexpr std::int64_t lo = std::numeric_limits<T>::min();
  constexpr std::int64_t hi = std::numeric_limits<T>::max();
  return static_cast<T>(std::clamp(v, lo, hi));
}

// The element pointer of dst for elements of type T (dst has the precision that stores T).
template <class T>
T* Elements(TNubraInt& dst) {
  return reinterpret_cast<T*>(dst.PBValues());
}

// dst = saturate(f(a(i), s)) in a's precision.
template <class F>
void WithScalar(const TNubraInt& a, std::int64_t s, TNubraInt& dst, F f) {
  if (detail::MustBuffer(dst, &a, true)) {
    detail::ThroughTemporary(dst, [&](TNubraInt& t) { WithScalar(a, s, t, f); });
    return;
  }
  const int n = a.Length();
  detail::SizeResult<TNubraInt>(dst, &a, nullptr, n, a.IntPrecision());
  a.Visit([&](const auto* pa) {
    using T = std::remove_cv_t<std::remove_pointer_t<decltype(pa)>>;
    T* d = Elements<T>(dst);
    for (int i = 0; i < n; ++i) d[i] = Saturate<T>(f(static_cast<std::int64_t>(pa[i]), s));
  });
}

// The checks of two array operands of gcd and lcm, with the function name in front.
void CheckSameSize(const char* who, const TNubraInt& a, const TNubraInt& b) {
  if (a.IsMatrix() && b.IsMatrix()) {
    if (a.Rows() != b.Rows() || a.Cols() != b.Cols())
      ERaise(
          Fmt("%s: Source arguments have differ dimensions: Src1.Rows = %d, Src2.Rows = %d, Src1.Cols = %d, "
              "Src2.Cols = %d",
              who, a.Rows(), b.Rows(), a.Cols(), b.Cols()));
  } else if (a.Length() != b.Length()) {
    ERaise(Fmt("%s: Source arguments have differ dimensions: Src1.Length = %d, Src2.Length = %d", who,
               a.Length(), b.Length()));
  }
  if (a.IntPrecision() != b.IntPrecision())
    ERaise(
        Fmt("%s: Source arguments have differ integer precision: Src1.IntPrecision = %s, "
            "Src2.IntPrecision = %s",
            who, IntPrecisionToStr(a.IntPrecision()).c_str(), IntPrecisionToStr(b.IntPrecision()).c_str()));
}

// dst = saturate(f(a(i), b(i))) for two checked arrays of one precision.
template <class F>
void Pairwise(const char* who, const TNubraInt& a, const TNubraInt& b, TNubraInt& dst, F f) {
  CheckSameSize(who, a, b);
  if (detail::MustBuffer(dst, &a, true) || detail::MustBuffer(dst, &b, true)) {
    detail::ThroughTemporary(dst, [&](TNubraInt& t) { Pairwise(who, a, b, t, f); });
    return;
  }
  const int n = a.Length();
  detail::SizeResult(dst, &a, &b, n, a.IntPrecision());
  a.Visit([&](const auto* pa) {
    using T = std::remove_cv_t<std::remove_pointer_t<decltype(pa)>>;
    const T* pb = reinterpret_cast<const T*>(b.PBValues());
    T* d = Elements<T>(dst);
    for (int i = 0; i < n; ++i)
      d[i] = Saturate<T>(f(static_cast<std::int64_t>(pa[i]), static_cast<std::int64_t>(pb[i])));
  });
}

// Whether writing `out` could change operand x before it is read.
bool Overwrites(const TNubraInt& out, const TNubraInt* x) {
  return x && (&out == x || detail::SharesStorage(out, *x));
}

// quotient = divide(), remainder = rem(), each writing its output from the operands a and b (a null
// operand is a scalar). An output that overwrites an operand is written last; when both do, the quotient
// goes through a temporary.
template <class Div, class Rem>
void Both(const TNubraInt* a, const TNubraInt* b, TNubraInt& quotient, TNubraInt& remainder, Div divide,
          Rem rem) {
  const bool qHits = Overwrites(quotient, a) || Overwrites(quotient, b);
  const bool rHits = Overwrites(remainder, a) || Overwrites(remainder, b);
  if (qHits && rHits) {
    detail::ThroughTemporary(quotient, [&](TNubraInt& t) {
      divide(t);
      rem(remainder);
    });
  } else if (qHits) {
    rem(remainder);
    divide(quotient);
  } else {
    divide(quotient);
    rem(remainder);
  }
}

}  // namespace

std::int64_t Gcd(std::int64_t a, std::int64_t b) { return Checked(GcdMagnitude(a, b)); }
std::int64_t Lcm(std::int64_t a, std::int64_t b) { return Checked(LcmMagnitude(a, b)); }

void Gcd(const TNubraInt& a, const TNubraInt& b, TNubraInt& dst) { Pairwise("Gcd", a, b, dst, kGcd); }
void Gcd(const TNubraInt& a, std::int64_t b, TNubraInt& dst) { WithScalar(a, b, dst, kGcd); }
void Lcm(const TNubraInt& a, const TNubraInt& b, TNubraInt& dst) { Pairwise("Lcm", a, b, dst, kLcm); }
void Lcm(const TNubraInt& a, std::int64_t b, TNubraInt& dst) { WithScalar(a, b, dst, kLcm); }

void RemDiv(const TNubraInt& a, const TNubraInt& b, TNubraInt& quotient, TNubraInt& remainder) {
  Both(
      &a, &b, quotient, remainder, [&](TNubraInt& q) { Divide(a, b, q); },
      [&](TNubraInt& r) { Rem(a, b, r); });
}

void RemDiv(const TNubraInt& a, std::int64_t b, TNubraInt& quotient, TNubraInt& remainder) {
  Both(
      &a, nullptr, quotient, remainder, [&](TNubraInt& q) { Divide(a, b, q); },
      [&](TNubraInt& r) { Rem(a, b, r); });
}

void RemDiv(std::int64_t a, const TNubraInt& b, TNubraInt& quotient, TNubraInt& remainder) {
  Both(
      nullptr, &b, quotient, remainder, [&](TNubraInt& q) { DivideBy(a, b, q); },
      [&](TNubraInt& r) { Rem(a, b, r); });
}

void ThreshBottom(const TNubraInt& x, std::int64_t level, TNubraInt& dst) { WithScalar(x, level, dst, kMax); }
void ThreshTop(const TNubraInt& x, std::int64_t level, TNubraInt& dst) { WithScalar(x, level, dst, kMin); }

}  // namespace zel
