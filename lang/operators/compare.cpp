// Comparison operators: ">", "<", ">=", "<=" (RedirectOperComp) and "==", "<>" (RedirectOperEqComp), one
// cell table per operator; the two variants' rules are the results of those tables.
// Scalars give a bool; a vector or matrix on either side gives a 0/1 mask (bool vector or matrix of
// 32-bit elements) shaped like the container operand, which selection and assignment accept as index
// masks. Each operator's typed routines are instantiated for its comparison at compile time.
#include <cstdint>
#include <type_traits>

#include "core/compare.h"
#include "lang/operators/mask.h"
#include "lang/operators/scalar_ops.h"

namespace zel {

namespace {

using namespace dispatch;
using namespace opermask;

// The short name of a comparison in the length-mismatch messages ("gt: Arguments have differ length").
constexpr const char* ShortName(TCompare op) {
  switch (op) {
    case TCompare::Greater:
      return "gt";
    case TCompare::Less:
      return "lt";
    case TCompare::GreaterOrEqual:
      return "ge";
    case TCompare::LessOrEqual:
      return "le";
    case TCompare::Equal:
      return "eq";
    case TCompare::NotEqual:
      return "ne";
  }
  return "?";
}

// Two scalars read with Get: real and integer ones inline, complex ones by their ordering.
template <TCompare Op, auto Get>
void CompareScalars(TExprRec& e) {
  const auto a = Get(*e.Args[0]);
  const auto b = Get(*e.Args[1]);
  if constexpr (std::is_arithmetic_v<std::remove_cv_t<decltype(a)>>) {
    e.Res->SetBoolValue(Ordered<Op>(a, b));
  } else {
    e.Res->SetBoolValue(Compare(a, Op, b));
  }
}

// A vector or matrix (argument Arg) against a scalar read with Get. With the container on the right
// the operator is mirrored (x > v is v < x). The scalar's type picks the real or the integer mask.
template <TCompare Op, int Arg, auto Get>
void CompareWithScalar(TExprRec& e) {
  constexpr TCompare op = Arg == 0 ? Op : Mirrored(Op);
  TValueRec& c = *e.Args[Arg];
  TNubraInt& mask = SizeIntResult(*e.Res, ShapeOf(c), prInt32);
  const auto s = Get(*e.Args[1 - Arg]);
  if constexpr (std::is_same_v<std::remove_cv_t<decltype(s)>, std::int64_t>) {
    FindMask(mask, c.IntElements(), op, s);
  } else {
    FindMask(mask, c.RealElements(), op, s);
  }
}

// Two real (Real) or two integer/bool vectors or matrices, element by element over the flat sequences.
template <TCompare Op, bool Real>
void CompareContainers(TExprRec& e) {
  TValueRec& a = *e.Args[0];
  TValueRec& b = *e.Args[1];
  TNubraInt& mask = SizeIntResult(*e.Res, PairShape(a, b, ShortName(Op)), prInt32);
  if constexpr (Real) {
    FindMask(mask, a.RealElements(), Op, b.RealElements());
  } else {
    FindMask(mask, a.IntElements(), Op, b.IntElements());
  }
}

// Range equality without expanding either range: integer ranges compare their stored bounds (so 1:3
// differs from 1:1:3), extended ranges their bound vectors exactly; the two forms never compare equal.
bool RangesEqual(const TValueRec& a, const TValueRec& b) {
  if (a.ExtRange() != b.ExtRange()) return false;
  if (!a.ExtRange()) return a.Range() == b.Range();
  const TVec* x = a.ExtRangeValue();
  const TVec* y = b.ExtRangeValue();
  if (!x || !y) return x == y;
  return Equal(*x, *y, 0);
}

template <TCompare Op>
void CompareRanges(TExprRec& e) {
  const bool equal = RangesEqual(*e.Args[0], *e.Args[1]);
  e.Res->SetBoolValue(Op == TCompare::NotEqual ? !equal : equal);
}

// The cells of one comparison: scalars give a bool, a container on either side a mask shaped like it
// (a matrix's when one is). Ranges and bools only meet "==" and "<>", whose rules add those cells.
template <TCompare Op>
constexpr BinaryCells kCompareCells = [] {
  BinaryCells t{};
  Set(t, {D, I}, {D, I}, B, CompareScalars<Op, RealScalar>);
  Set(t, {I}, {I}, B, CompareScalars<Op, IntScalar>);
  Set(t, {D, I, C}, {C}, B, CompareScalars<Op, CplxScalar>);
  Set(t, {C}, {D, I}, B, CompareScalars<Op, CplxScalar>);
  Set(t, {V}, {D, I}, BV, CompareWithScalar<Op, 0, RealScalar>);
  Set(t, {M}, {D, I}, BM, CompareWithScalar<Op, 0, RealScalar>);
  Set(t, {V}, {C}, BV, CompareWithScalar<Op, 0, CplxScalar>);
  Set(t, {M}, {C}, BM, CompareWithScalar<Op, 0, CplxScalar>);
  Set(t, {D, I}, {V}, BV, CompareWithScalar<Op, 1, RealScalar>);
  Set(t, {D, I}, {M}, BM, CompareWithScalar<Op, 1, RealScalar>);
  Set(t, {C}, {V}, BV, CompareWithScalar<Op, 1, CplxScalar>);
  Set(t, {C}, {M}, BM, CompareWithScalar<Op, 1, CplxScalar>);
  Set(t, {V}, {V}, BV, CompareContainers<Op, true>);
  Set(t, {V, M}, {M}, BM, CompareContainers<Op, true>);
  Set(t, {M}, {V}, BM, CompareContainers<Op, true>);
  Set(t, {IV}, {I}, BV, CompareWithScalar<Op, 0, IntScalar>);
  Set(t, {IM}, {I}, BM, CompareWithScalar<Op, 0, IntScalar>);
  Set(t, {I}, {IV}, BV, CompareWithScalar<Op, 1, IntScalar>);
  Set(t, {I}, {IM}, BM, CompareWithScalar<Op, 1, IntScalar>);
  Set(t, {IV}, {IV}, BV, CompareContainers<Op, false>);
  Set(t, {IV, IM}, {IM}, BM, CompareContainers<Op, false>);
  Set(t, {IM}, {IV}, BM, CompareContainers<Op, false>);
  if (Op == TCompare::Equal || Op == TCompare::NotEqual) {
    Set(t, Ranges, Ranges, B, CompareRanges<Op>);
    Set(t, {B}, {B}, B, CompareScalars<Op, BoolScalar>);
    Set(t, {BV}, {B}, BV, CompareWithScalar<Op, 0, BoolScalar>);
    Set(t, {BM}, {B}, BM, CompareWithScalar<Op, 0, BoolScalar>);
    Set(t, {B}, {BV}, BV, CompareWithScalar<Op, 1, BoolScalar>);
    Set(t, {B}, {BM}, BM, CompareWithScalar<Op, 1, BoolScalar>);
    Set(t, {BV}, {BV}, BV, CompareContainers<Op, false>);
    Set(t, {BV, BM}, {BM}, BM, CompareContainers<Op, false>);
    Set(t, {BM}, {BV}, BM, CompareContainers<Op, false>);
  }
  return t;
}();

// Two real scalars compared read their double fields (RealScalar) and write a bool: machine code can
// do the same (lang/operators/scalar_ops.h).
[[maybe_unused]] const bool kScalarOps =
    RegisterScalarOp(CompareScalars<TCompare::Less, RealScalar>, {TScalarOpKind::Less}) &&
    RegisterScalarOp(CompareScalars<TCompare::LessOrEqual, RealScalar>, {TScalarOpKind::LessEq}) &&
    RegisterScalarOp(CompareScalars<TCompare::Greater, RealScalar>, {TScalarOpKind::Greater}) &&
    RegisterScalarOp(CompareScalars<TCompare::GreaterOrEqual, RealScalar>, {TScalarOpKind::GreaterEq}) &&
    RegisterScalarOp(CompareScalars<TCompare::Equal, RealScalar>, {TScalarOpKind::Equal}) &&
    RegisterScalarOp(CompareScalars<TCompare::NotEqual, RealScalar>, {TScalarOpKind::NotEqual});

constexpr BinaryCells kCompRules = Results(kCompareCells<TCompare::Greater>);
constexpr BinaryCells kEqCompRules = Results(kCompareCells<TCompare::Equal>);

}  // namespace

void _GT(TExprRec& expr) { Dispatch(expr, kCompareCells<TCompare::Greater>); }
void _LT(TExprRec& expr) { Dispatch(expr, kCompareCells<TCompare::Less>); }
void _GE(TExprRec& expr) { Dispatch(expr, kCompareCells<TCompare::GreaterOrEqual>); }
void _LE(TExprRec& expr) { Dispatch(expr, kCompareCells<TCompare::LessOrEqual>); }
void _EQ(TExprRec& expr) { Dispatch(expr, kCompareCells<TCompare::Equal>); }
void _NE(TExprRec& expr) { Dispatch(expr, kCompareCells<TCompare::NotEqual>); }

void RedirectOperComp(TExprRec& expr, const TOperMatrix& table) { Dispatch(expr, kCompRules, table); }
void RedirectOperEqComp(TExprRec& expr, const TOperMatrix& table) { Dispatch(expr, kEqCompRules, table); }

}  // namespace zel
