// What a typed scalar routine computes, for the optimisers that evaluate whole sub-trees of real
// scalars at once. A routine registers here when it reads only the double values of its arguments
// (DoubleValue, or IntegerValue for an integer exponent) and writes only the double value of its result
// (or, for the store, of the variable it assigns; for a comparison, the bool value of its result): then
// any evaluation that performs the same IEEE operations in the same order gives the same bits, and the
// routine can be left out.
#pragma once

#include <cstdint>

#include "lang/words/words.h"

namespace zel {

enum class TScalarOpKind : std::uint8_t {
  Add,     // a + b
  Sub,     // a - b
  Mul,     // a * b
  Div,     // a / b
  Neg,     // -a
  Copy,    // a
  Sqr,     // a * a
  Sqrt,    // the correctly rounded square root (std::sqrt)
  Abs,     // |a|, the sign bit cleared (std::fabs)
  Floor,   // std::floor(a) (Fn), ...
  Ceil,    // std::ceil(a)
  Trunc,   // std::trunc(a)
  Round,   // std::nearbyint(a), in the current rounding mode
  Power,   // Power(a, b) of core/powrem.h: b a double
  IntPow,  // IntPower(a, n) of core/powrem.h: n the integer value of the second argument
  Call,    // Fn(a), a function of one double (that may raise unless `raises` is false)
  Store,   // the double variable Args[0] = a (Args[1]); the node's result is the variable
  // IEEE comparisons of a and b into the bool value of the result (false with a NaN, except "<>").
  Less,
  LessEq,
  Greater,
  GreaterEq,
  Equal,
  NotEqual,
  // 64-bit integers (the integer values of the arguments and of the result, whose double mirror is
  // written as SetIntegerValue writes it): checked sums, differences and products, and the store of an
  // integer into an integer variable. An integer tree holds integer terms only.
  IntAdd,
  IntSub,
  IntMul,
  IntStore,
};

// A comparison gives a bool: it can only be the root of a fused tree.
inline bool IsScalarComparison(TScalarOpKind k) {
  return k >= TScalarOpKind::Less && k <= TScalarOpKind::NotEqual;
}
inline bool IsScalarInteger(TScalarOpKind k) { return k >= TScalarOpKind::IntAdd; }
// A store: its first argument is the variable (a record, never a fused value) and its result.
inline bool IsScalarStore(TScalarOpKind k) {
  return k == TScalarOpKind::Store || k == TScalarOpKind::IntStore;
}

struct TScalarOp {
  TScalarOpKind kind = TScalarOpKind::Copy;
  double (*fn)(double) = nullptr;  // for Call
  bool raises = true;              // fn may throw
};

// Registers what `routine` computes (idempotent). Call from static initialisers or init code.
bool RegisterScalarOp(TExprFunc routine, TScalarOp op);
// What `routine` computes, or null when it is not a registered scalar routine.
const TScalarOp* FindScalarOp(TExprFunc routine);
// The number of arguments a kind reads.
inline int ScalarOpArity(TScalarOpKind k) {
  switch (k) {
    case TScalarOpKind::Add:
    case TScalarOpKind::Sub:
    case TScalarOpKind::Mul:
    case TScalarOpKind::Div:
    case TScalarOpKind::Power:
    case TScalarOpKind::IntPow:
    case TScalarOpKind::Store:
      return 2;
    default:
      return IsScalarComparison(k) || IsScalarInteger(k) ? 2 : 1;
  }
}

}  // namespace zel
