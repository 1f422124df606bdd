// Element-wise arithmetic kernels (see vecmath.h). Each operation is one generic loop over the flat
// buffers, instantiated per element type; the dispatch on complexity or integer precision happens once
// per call, outside the loop, so the loops stay simple enough for the compiler to vectorise.
#include "core/vecmath.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <type_traits>

#include "core/errors.h"
#include "core/kernel_detail.h"

namespace zel {

namespace {

using detail::MustBuffer;
using detail::SizeResult;
using detail::ThroughTemporary;

// ---- destinations ----------------------------------------------------------------------------------

void CheckLengths(const char* who, int a, int b) {
  if (a != b) ERaise(Fmt("%s: operand lengths differ (%d and %d)", who, a, b));
}

// ---- real and complex ------------------------------------------------------------------------------

constexpr auto kAdd = [](auto x, auto y) { return x + y; };
constexpr auto kSub = [](auto x, auto y) { return x - y; };
constexpr auto kMul = [](auto x, auto y) { return x * y; };
constexpr auto kDiv = [](auto x, auto y) { return x / y; };
// The same with the operands exchanged, for a scalar on the left: f(element, scalar) = scalar op element.
constexpr auto kSubFrom = [](auto x, auto s) { return s - x; };
constexpr auto kDivideBy = [](auto x, auto s) { return s / x; };

// The loops over the flat buffers. `omp simd` tells the compiler the iterations are independent, so it
// vectorises them without a run-time overlap test (which the -O2 cost model refuses to pay for): the
// callers guarantee it, since a destination is either an operand itself (element i is read before it is
// written, by the same iteration) or shares no storage with it (MustBuffer sends every other case
// through a temporary).
template <class R, class A, class B, class F>
void Loop(R* d, const A* a, const B* b, int n, F f) {
#pragma omp simd
  for (int i = 0; i < n; ++i) d[i] = f(a[i], b[i]);
}

template <class R, class A, class S, class F>
void ScalarLoop(R* d, const A* a, S s, int n, F f) {
#pragma omp simd
  for (int i = 0; i < n; ++i) d[i] = f(a[i], s);
}

// dst = f(a, b) element by element.
template <class F>
void Elementwise(const char* who, const TNubraVec& a, const TNubraVec& b, TNubraVec& dst, F f) {
  CheckLengths(who, a.Length(), b.Length());
  const bool complex = a.Complex() || b.Complex();
  if (MustBuffer(dst, &a, a.Complex() == complex) || MustBuffer(dst, &b, b.Complex() == complex)) {
    ThroughTemporary(dst, [&](TNubraVec& t) { Elementwise(who, a, b, t, f); });
    return;
  }
  const int n = a.Length();
  SizeResult(dst, &a, &b, n, complex);
  if (!complex) {
    Loop(dst.PValues(), a.PValues(), b.PValues(), n, f);
  } else if (!a.Complex()) {
    Loop(dst.PCValues(), a.PValues(), b.PCValues(), n, f);
  } else if (!b.Complex()) {
    Loop(dst.PCValues(), a.PCValues(), b.PValues(), n, f);
  } else {
    Loop(dst.PCValues(), a.PCValues(), b.PCValues(), n, f);
  }
}

// dst = f(a(i), s) for every element; s is a double or a TCplx.
template <class S, class F>
void WithScalar(const TNubraVec& a, S s, TNubraVec& dst, F f) {
  const bool complex = a.Complex() || std::is_same_v<S, TCplx>;
  if (MustBuffer(dst, &a, a.Complex() == complex)) {
    ThroughTemporary(dst, [&](TNubraVec& t) { WithScalar(a, s, t, f); });
    return;
  }
  const int n = a.Length();
  SizeResult<TNubraVec>(dst, &a, nullptr, n, complex);
  if (!complex) {
    if constexpr (std::is_same_v<S, double>) ScalarLoop(dst.PValues(), a.PValues(), s, n, f);
  } else if (a.Complex()) {
    ScalarLoop(dst.PCValues(), a.PCValues(), s, n, f);
  } else {
    ScalarLoop(dst.PCValues(), a.PValues(), s, n, f);
  }
}

// ---- integer ---------------------------------------------------------------------------------------

// The wider of two precisions (32-bit > 16-bit > unsigned 8-bit).
TIntPrecision Wider(TIntPrecision a, TIntPrecision b) {
  return IntPrecisionBytes(a) >= IntPrecisionBytes(b) ? a : b;
}

template <class T>
T Saturate(std::int64_t v) {
  constexpr std::int64_t lo = std::numeric_limits<T>::min();
  constexpr std::int64_t hi = std::numeric_limits<T>::max();
  return static_cast<T>(v < lo ? lo : (v > hi ? hi : v));
}

// The element pointer of an object whose precision stores T.
template <class T>
T* Elements(TNubraInt& x) {
  if constexpr (std::is_same_v<T, std::int32_t>) {
    return x.PIValues();
  } else if constexpr (std::is_same_v<T, std::int16_t>) {
    return x.PSValues();
  } else {
    return x.PBValues();
  }
}

// Integer scalars are limited before the loops so that every intermediate fits into 64 bits. A scalar
// beyond the limit gives a result beyond the 32-bit range for every 32-bit element, exactly as the
// limited scalar does, so the saturated results are unchanged. Sums and differences need a limit of at
// least 2^32 (2^31 + 2^31 still has to saturate); products one below 2^32 (2^32 · 2^31 would overflow).
constexpr std::int64_t kSumLimit = std::int64_t{1} << 40;
constexpr std::int64_t kProductLimit = (std::int64_t{1} << 32) - 1;

std::int64_t LimitScalar(std::int64_t s, std::int64_t limit) { return std::clamp(s, -limit, limit); }

void CheckNoZero(const TNubraInt& x) {
  const bool zero = x.Visit([n = x.Length()](const auto* p) { return std::find(p, p + n, 0) != p + n; });
  if (zero) throw EDivByZero();
}

// dst = saturate(f(a, b)) element by element, in the wider precision of a and b.
template <class F>
void IntElementwise(const char* who, const TNubraInt& a, const TNubraInt& b, TNubraInt& dst, F f) {
  CheckLengths(who, a.Length(), b.Length());
  const TIntPrecision p = Wider(a.IntPrecision(), b.IntPrecision());
  if (MustBuffer(dst, &a, a.IntPrecision() == p) || MustBuffer(dst, &b, b.IntPrecision() == p)) {
    ThroughTemporary(dst, [&](TNubraInt& t) { IntElementwise(who, a, b, t, f); });
    return;
  }
  const int n = a.Length();
  SizeResult(dst, &a, &b, n, p);
  a.Visit([&](const auto* pa) {
    b.Visit([&](const auto* pb) {
      using A = std::remove_cv_t<std::remove_pointer_t<decltype(pa)>>;
      using B = std::remove_cv_t<std::remove_pointer_t<decltype(pb)>>;
      using T = std::conditional_t<(sizeof(A) >= sizeof(B)), A, B>;
      T* d = Elements<T>(dst);
      for (int i = 0; i < n; ++i)
        d[i] = Saturate<T>(f(static_cast<std::int64_t>(pa[i]), static_cast<std::int64_t>(pb[i])));
    });
  });
}

// dst = saturate(f(a(i), s)) in a's precision.
template <class F>
void IntWithScalar(const TNubraInt& a, std::int64_t s, TNubraInt& dst, F f) {
  if (MustBuffer(dst, &a, true)) {
    ThroughTemporary(dst, [&](TNubraInt& t) { IntWithScalar(a, s, t, f); });
    return;
  }
  const int n = a.Length();
  SizeResult<TNubraInt>(dst, &a, nullptr, n, a.IntPrecision());
  a.Visit([&](const auto* pa) {
    using T = std::remove_cv_t<std::remove_pointer_t<decltype(pa)>>;
    T* d = Elements<T>(dst);
    for (int i = 0; i < n; ++i) d[i] = Saturate<T>(f(static_cast<std::int64_t>(pa[i]), s));
  });
}

}  // namespace

bool FitsElementwise(const TNubraVec& dst, const TNubraVec& a, const TNubraVec* b) {
  if (dst.IsView() || dst.Complex() || dst.FloatPrecision() != npDouble || a.Complex()) return false;
  if (b && (b->Complex() || b->Length() != a.Length())) return false;
  const TNubraVec* shape = a.IsMatrix() ? &a : (b && b->IsMatrix() ? b : nullptr);
  if (dst.IsMatrix()
          ? dst.Rows() != (shape ? shape->Rows() : 1) || dst.Cols() != (shape ? shape->Cols() : a.Length())
          : dst.Length() != a.Length())
    return false;
  return !MustBuffer(dst, &a, true) && !MustBuffer(dst, b, true);
}

// ---- real and complex ------------------------------------------------------------------------------

void Add(const TNubraVec& a, const TNubraVec& b, TNubraVec& dst) { Elementwise("Add", a, b, dst, kAdd); }
void Add(const TNubraVec& a, double b, TNubraVec& dst) { WithScalar(a, b, dst, kAdd); }
void Add(const TNubraVec& a, TCplx b, TNubraVec& dst) { WithScalar(a, b, dst, kAdd); }

void Sub(const TNubraVec& a, const TNubraVec& b, TNubraVec& dst) { Elementwise("Sub", a, b, dst, kSub); }
void Sub(const TNubraVec& a, double b, TNubraVec& dst) { WithScalar(a, b, dst, kSub); }
void Sub(const TNubraVec& a, TCplx b, TNubraVec& dst) { WithScalar(a, b, dst, kSub); }
void SubFrom(double a, const TNubraVec& b, TNubraVec& dst) { WithScalar(b, a, dst, kSubFrom); }
void SubFrom(TCplx a, const TNubraVec& b, TNubraVec& dst) { WithScalar(b, a, dst, kSubFrom); }

void Mul(const TNubraVec& a, const TNubraVec& b, TNubraVec& dst) { Elementwise("Mul", a, b, dst, kMul); }
void Mul(const TNubraVec& a, double b, TNubraVec& dst) { WithScalar(a, b, dst, kMul); }
void Mul(const TNubraVec& a, TCplx b, TNubraVec& dst) { WithScalar(a, b, dst, kMul); }

void Divide(const TNubraVec& a, const TNubraVec& b, TNubraVec& dst) {
  Elementwise("Divide", a, b, dst, kDiv);
}
void Divide(const TNubraVec& a, double b, TNubraVec& dst) { WithScalar(a, b, dst, kDiv); }
void Divide(const TNubraVec& a, TCplx b, TNubraVec& dst) { WithScalar(a, b, dst, kDiv); }
void DivideBy(double a, const TNubraVec& b, TNubraVec& dst) { WithScalar(b, a, dst, kDivideBy); }
void DivideBy(TCplx a, const TNubraVec& b, TNubraVec& dst) { WithScalar(b, a, dst, kDivideBy); }

// ---- integer ---------------------------------------------------------------------------------------

void Add(const TNubraInt& a, const TNubraInt& b, TNubraInt& dst) { IntElementwise("Add", a, b, dst, kAdd); }
void Add(const TNubraInt& a, std::int64_t b, TNubraInt& dst) {
  IntWithScalar(a, LimitScalar(b, kSumLimit), dst, kAdd);
}

void Sub(const TNubraInt& a, const TNubraInt& b, TNubraInt& dst) { IntElementwise("Sub", a, b, dst, kSub); }
void Sub(const TNubraInt& a, std::int64_t b, TNubraInt& dst) {
  IntWithScalar(a, LimitScalar(b, kSumLimit), dst, kSub);
}
void SubFrom(std::int64_t a, const TNubraInt& b, TNubraInt& dst) {
  IntWithScalar(b, LimitScalar(a, kSumLimit), dst, kSubFrom);
}

void Mul(const TNubraInt& a, const TNubraInt& b, TNubraInt& dst) { IntElementwise("Mul", a, b, dst, kMul); }
void Mul(const TNubraInt& a, std::int64_t b, TNubraInt& dst) {
  IntWithScalar(a, LimitScalar(b, kProductLimit), dst, kMul);
}

// Divisors are checked before anything is written. 64-bit quotients of 32-bit elements cannot overflow
// (INT32_MIN / −1 saturates); the one 64-bit overflow, INT64_MIN / −1, is avoided by moving the dividend
// one up, which changes no saturated result.
void Divide(const TNubraInt& a, const TNubraInt& b, TNubraInt& dst) {
  CheckLengths("Divide", a.Length(), b.Length());
  CheckNoZero(b);
  IntElementwise("Divide", a, b, dst, kDiv);
}
void Divide(const TNubraInt& a, std::int64_t b, TNubraInt& dst) {
  if (b == 0) throw EDivByZero();
  IntWithScalar(a, b, dst, kDiv);
}
void DivideBy(std::int64_t a, const TNubraInt& b, TNubraInt& dst) {
  CheckNoZero(b);
  IntWithScalar(b, std::max(a, -std::numeric_limits<std::int64_t>::max()), dst, kDivideBy);
}

}  // namespace zel
