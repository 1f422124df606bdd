// Comparisons and bit operations of the numeric core. Every kernel is one loop over the flat element
// buffers; the operator and the element types are fixed before the loop starts (template parameters),
// so the loop body is a plain compare or bit operation the compiler can vectorise.
#include "core/compare.h"

#include <climits>
#include <complex>
#include <string>
#include <type_traits>

#include "core/errors.h"

namespace zel {

namespace {

template <TCompare Op>
using OpTag = std::integral_constant<TCompare, Op>;

// Calls f with the operator as a compile-time constant.
template <class F>
void WithCompare(TCompare op, F&& f) {
  switch (op) {
    case TCompare::Greater:
      return f(OpTag<TCompare::Greater>{});
    case TCompare::Less:
      return f(OpTag<TCompare::Less>{});
    case TCompare::Equal:
      return f(OpTag<TCompare::Equal>{});
    case TCompare::GreaterOrEqual:
      return f(OpTag<TCompare::GreaterOrEqual>{});
    case TCompare::LessOrEqual:
      return f(OpTag<TCompare::LessOrEqual>{});
    case TCompare::NotEqual:
      return f(OpTag<TCompare::NotEqual>{});
  }
  ERaise(Fmt("Invalid comparison operator %d", static_cast<int>(op)));
}

// a op b for complex numbers: lexicographic on (real, imaginary), false when any part is NaN.
template <TCompare Op>
inline bool CplxHolds(const TCplx& a, const TCplx& b) {
  const bool equal = a.real() == b.real() && a.imag() == b.imag();
  if constexpr (Op == TCompare::Equal) return equal;
  if constexpr (Op == TCompare::NotEqual) return !equal;
  if constexpr (Op != TCompare::Equal && Op != TCompare::NotEqual) {
    const bool nan =
        a.real() != a.real() || a.imag() != a.imag() || b.real() != b.real() || b.imag() != b.imag();
    const bool tie = a.real() == b.real();
    return !nan && (tie ? Ordered<Op>(a.imag(), b.imag()) : Ordered<Op>(a.real(), b.real()));
  }
}

template <class T>
constexpr bool kIsComplex = std::is_same_v<T, TCplx>;

// a op b for any pair of element types: complex ordering when either is complex, else the values are
// compared in a common arithmetic type (so a 64-bit scalar meets narrow integer elements exactly).
template <TCompare Op, class A, class B>
inline bool Holds(const A& a, const B& b) {
  if constexpr (kIsComplex<A> || kIsComplex<B>) {
    return CplxHolds<Op>(TCplx(a), TCplx(b));
  } else {
    using C = std::common_type_t<A, B, int>;
    return Ordered<Op>(static_cast<C>(a), static_cast<C>(b));
  }
}

// A scalar read like an element array, so one loop serves vector-vector and vector-scalar forms.
template <class T>
struct Broadcast {
  T value;
  const T& operator[](int) const { return value; }
};

// Calls f with the typed element pointer of a real (double*) or complex (TCplx*) object.
template <class F>
void VisitReal(const TNubraVec& v, F&& f) {
  if (v.Complex()) {
    f(v.PCValues());
  } else {
    f(v.PValues());
  }
}

void CheckSameLength(const char* who, int a, int b) {
  if (a != b) ERaise(Fmt("%s: operand lengths differ (%d and %d)", who, a, b));
}

// The mask's element pointer, after checking it is a 32-bit mask of n elements.
std::int32_t* MaskValues(TNubraInt& mask, int n) {
  if (mask.IntPrecision() != prInt32 || mask.Length() != n)
    ERaise(Fmt("FindMask: the mask must hold %d 32-bit elements (it holds %d of %d bytes)", n, mask.Length(),
               IntPrecisionBytes(mask.IntPrecision())));
  return mask.PIValues();
}

// mask[i] = a[i] op b[i] over n elements; b may be an array or a Broadcast scalar.
template <class A, class B>
void FillMask(std::int32_t* m, int n, TCompare op, const A* a, const B& b) {
  WithCompare(op, [&](auto tag) {
    constexpr TCompare Op = decltype(tag)::value;
    for (int i = 0; i < n; ++i) m[i] = Holds<Op>(a[i], b[i]);
  });
}

// A real or complex object against a scalar of type S (double or TCplx).
template <class S>
void RealMaskScalar(TNubraInt& mask, const TNubraVec& a, TCompare op, const S& b) {
  std::int32_t* m = MaskValues(mask, a.Length());
  VisitReal(a, [&](const auto* pa) { FillMask(m, a.Length(), op, pa, Broadcast<S>{b}); });
}

enum class BitOp { And, Or, Xor };

template <BitOp Op, class A, class B>
constexpr auto BitOf(A a, B b) {
  using C = std::common_type_t<A, B, int>;
  if constexpr (Op == BitOp::And) return static_cast<C>(a) & static_cast<C>(b);
  if constexpr (Op == BitOp::Or) return static_cast<C>(a) | static_cast<C>(b);
  if constexpr (Op == BitOp::Xor) return static_cast<C>(a) ^ static_cast<C>(b);
}

// x[i] = x[i] op y[i] at x's precision; y is an integer object or a Broadcast scalar.
template <BitOp Op>
void BitOpScalar(TNubraInt& x, std::int64_t s) {
  const int n = x.Length();
  x.Visit([n, s](auto* p) {
    using T = std::remove_reference_t<decltype(*p)>;
    for (int i = 0; i < n; ++i) p[i] = static_cast<T>(BitOf<Op>(p[i], s));
  });
}

template <BitOp Op>
void BitOpElements(const char* who, TNubraInt& x, const TNubraInt& y) {
  CheckSameLength(who, x.Length(), y.Length());
  const int n = x.Length();
  x.Visit([n, &y](auto* p) {
    using T = std::remove_reference_t<decltype(*p)>;
    y.Visit([n, p](const auto* q) {
      for (int i = 0; i < n; ++i) p[i] = static_cast<T>(BitOf<Op>(p[i], q[i]));
    });
  });
}

// Logical shift of every element within its width; Left chooses the direction.
template <bool Left>
void ShiftElements(TNubraInt& x, std::uint32_t count) {
  const int n = x.Length();
  x.Visit([n, count](auto* p) {
    using T = std::remove_reference_t<decltype(*p)>;
    using U = std::make_unsigned_t<T>;
    if (count >= sizeof(T) * CHAR_BIT) {
      for (int i = 0; i < n; ++i) p[i] = 0;
      return;
    }
    for (int i = 0; i < n; ++i) {
      const auto u = static_cast<std::uint32_t>(static_cast<U>(p[i]));
      p[i] = static_cast<T>(static_cast<U>(Left ? u << count : u >> count));
    }
  });
}

}  // namespace

// ---- operator texts ------------------------------------------------------------------------------

TCompare CompareFromText(std::string_view op) {
  static constexpr TCompare kAll[] = {TCompare::Greater,        TCompare::Less,        TCompare::Equal,
                                      TCompare::GreaterOrEqual, TCompare::LessOrEqual, TCompare::NotEqual};
  for (TCompare c : kAll)
    if (op == CompareText(c)) return c;
  ERaise("Unknown comparison operator \"" + std::string(op) + "\"");
}

const char* CompareText(TCompare op) {
  switch (op) {
    case TCompare::Greater:
      return ">";
    case TCompare::Less:
      return "<";
    case TCompare::Equal:
      return "=";
    case TCompare::GreaterOrEqual:
      return ">=";
    case TCompare::LessOrEqual:
      return "<=";
    case TCompare::NotEqual:
      return "<>";
  }
  return "?";
}

// ---- scalars -------------------------------------------------------------------------------------

bool Bigger(const TCplx& a, const TCplx& b) { return CplxHolds<TCompare::Greater>(a, b); }
bool Smaller(const TCplx& a, const TCplx& b) { return CplxHolds<TCompare::Less>(a, b); }
bool BiggerOrEqual(const TCplx& a, const TCplx& b) { return CplxHolds<TCompare::GreaterOrEqual>(a, b); }
bool SmallerOrEqual(const TCplx& a, const TCplx& b) { return CplxHolds<TCompare::LessOrEqual>(a, b); }
bool Equal(const TCplx& a, const TCplx& b) { return CplxHolds<TCompare::Equal>(a, b); }

bool Compare(double a, TCompare op, double b) {
  bool r = false;
  WithCompare(op, [&](auto tag) { r = Ordered<decltype(tag)::value>(a, b); });
  return r;
}

bool Compare(std::int64_t a, TCompare op, std::int64_t b) {
  bool r = false;
  WithCompare(op, [&](auto tag) { r = Ordered<decltype(tag)::value>(a, b); });
  return r;
}

bool Compare(const TCplx& a, TCompare op, const TCplx& b) {
  bool r = false;
  WithCompare(op, [&](auto tag) { r = CplxHolds<decltype(tag)::value>(a, b); });
  return r;
}

bool Equal(const TNubraVec& a, const TNubraVec& b, double tolerance) {
  if (a.Length() != b.Length()) return false;
  const int n = a.Length();
  bool equal = true;
  VisitReal(a, [&](const auto* pa) {
    VisitReal(b, [&](const auto* pb) {
      for (int i = 0; i < n && equal; ++i) {
        const TCplx x(pa[i]), y(pb[i]);
        equal = x == y || std::abs(x - y) <= tolerance;
      }
    });
  });
  return equal;
}

// ---- masks ---------------------------------------------------------------------------------------

void FindMask(TNubraInt& mask, const TNubraVec& a, TCompare op, const TNubraVec& b) {
  CheckSameLength("FindMask", a.Length(), b.Length());
  std::int32_t* m = MaskValues(mask, a.Length());
  VisitReal(
      a, [&](const auto* pa) { VisitReal(b, [&](const auto* pb) { FillMask(m, a.Length(), op, pa, pb); }); });
}

void FindMask(TNubraInt& mask, const TNubraVec& a, TCompare op, double b) { RealMaskScalar(mask, a, op, b); }

void FindMask(TNubraInt& mask, const TNubraVec& a, TCompare op, const TCplx& b) {
  RealMaskScalar(mask, a, op, b);
}

void FindMask(TNubraInt& mask, const TNubraInt& a, TCompare op, const TNubraInt& b) {
  CheckSameLength("FindMask", a.Length(), b.Length());
  std::int32_t* m = MaskValues(mask, a.Length());
  a.Visit([&](const auto* pa) { b.Visit([&](const auto* pb) { FillMask(m, a.Length(), op, pa, pb); }); });
}

void FindMask(TNubraInt& mask, const TNubraInt& a, TCompare op, std::int64_t b) {
  std::int32_t* m = MaskValues(mask, a.Length());
  a.Visit([&](const auto* pa) { FillMask(m, a.Length(), op, pa, Broadcast<std::int64_t>{b}); });
}

// ---- bit operations ------------------------------------------------------------------------------

void BinaryAnd(TNubraInt& x, std::int64_t s) { BitOpScalar<BitOp::And>(x, s); }
void BinaryOr(TNubraInt& x, std::int64_t s) { BitOpScalar<BitOp::Or>(x, s); }
void BinaryXor(TNubraInt& x, std::int64_t s) { BitOpScalar<BitOp::Xor>(x, s); }
void BinaryAnd(TNubraInt& x, const TNubraInt& y) { BitOpElements<BitOp::And>("BinaryAnd", x, y); }
void BinaryOr(TNubraInt& x, const TNubraInt& y) { BitOpElements<BitOp::Or>("BinaryOr", x, y); }
void BinaryXor(TNubraInt& x, const TNubraInt& y) { BitOpElements<BitOp::Xor>("BinaryXor", x, y); }
void BinaryNot(TNubraInt& x) { BitOpScalar<BitOp::Xor>(x, -1); }

void BitShiftLeft(TNubraInt& x, std::uint32_t count) { ShiftElements<true>(x, count); }
void BitShiftRight(TNubraInt& x, std::uint32_t count) { ShiftElements<false>(x, count); }

std::int64_t BitShiftLeft(std::int64_t x, std::uint32_t count) {
  return count >= 64 ? 0 : static_cast<std::int64_t>(static_cast<std::uint64_t>(x) << count);
}

std::int64_t BitShiftRight(std::int64_t x, std::uint32_t count) {
  return count >= 64 ? 0 : static_cast<std::int64_t>(static_cast<std::uint64_t>(x) >> count);
}

}  // namespace zel
