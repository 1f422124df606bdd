// Comparison operators: ">", "<", ">=", "<=" (RedirectOperComp) and "==", "<>" (RedirectOperEqComp).
// Scalars give a bool; a vector or matrix on either side gives a 0/1 mask (bool vector or matrix of
// 32-bit elements) shaped like the container operand, which selection and assignment accept as index
// masks. Each operator's typed routines are instantiated for its comparison at compile time.
#include <cstdint>
#include <type_traits>

#include "core/compare.h"
#include "lang/operators/mask.h"
#include "lang/operators/operators.h"

namespace zel {

namespace {

using opermask::BoolScalar;
using opermask::CplxScalar;
using opermask::Fill;
using opermask::IntScalar;
using opermask::PairShape;
using opermask::RealScalar;
using opermask::ShapeOf;
using opermask::SizeIntResult;

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

// Two scalars read with Get.
template <TCompare Op, auto Get>
void CompareScalars(TExprRec& e) {
  e.Res->SetBoolValue(Compare(Get(*e.Args[0]), Op, Get(*e.Args[1])));
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

// The typed routines of one comparison. Ranges and bools only meet "==" and "<>"; the other comparisons
// leave those cells empty, so a combination their rules reject can never reach a routine.
template <TCompare Op>
constexpr TOperMatrix kCompareTable = [] {
  constexpr TValueType D = vtDoubleValue, I = vtIntegerValue, C = vtComplexValue, V = vtVectorValue,
                       M = vtMatrixValue, IV = vtIntVectorValue, IM = vtIntMatrixValue, B = vtBoolValue,
                       BV = vtBoolVectorValue, BM = vtBoolMatrixValue;
  TOperMatrix t{};
  Fill(t, {D, I}, {D, I}, CompareScalars<Op, RealScalar>);
  Fill(t, {I}, {I}, CompareScalars<Op, IntScalar>);
  Fill(t, {D, I, C}, {C}, CompareScalars<Op, CplxScalar>);
  Fill(t, {C}, {D, I}, CompareScalars<Op, CplxScalar>);
  Fill(t, {V, M}, {D, I}, CompareWithScalar<Op, 0, RealScalar>);
  Fill(t, {V, M}, {C}, CompareWithScalar<Op, 0, CplxScalar>);
  Fill(t, {D, I}, {V, M}, CompareWithScalar<Op, 1, RealScalar>);
  Fill(t, {C}, {V, M}, CompareWithScalar<Op, 1, CplxScalar>);
  Fill(t, {V, M}, {V, M}, CompareContainers<Op, true>);
  Fill(t, {IV, IM}, {I}, CompareWithScalar<Op, 0, IntScalar>);
  Fill(t, {I}, {IV, IM}, CompareWithScalar<Op, 1, IntScalar>);
  Fill(t, {IV, IM}, {IV, IM}, CompareContainers<Op, false>);
  if (Op == TCompare::Equal || Op == TCompare::NotEqual) {
    Fill(t, {vtRangeValue}, {vtRangeValue}, CompareRanges<Op>);
    Fill(t, {B}, {B}, CompareScalars<Op, BoolScalar>);
    Fill(t, {BV, BM}, {B}, CompareWithScalar<Op, 0, BoolScalar>);
    Fill(t, {B}, {BV, BM}, CompareWithScalar<Op, 1, BoolScalar>);
    Fill(t, {BV, BM}, {BV, BM}, CompareContainers<Op, false>);
  }
  return t;
}();

}  // namespace

void _GT(TExprRec& expr) { RedirectOperComp(expr, kCompareTable<TCompare::Greater>); }
void _LT(TExprRec& expr) { RedirectOperComp(expr, kCompareTable<TCompare::Less>); }
void _GE(TExprRec& expr) { RedirectOperComp(expr, kCompareTable<TCompare::GreaterOrEqual>); }
void _LE(TExprRec& expr) { RedirectOperComp(expr, kCompareTable<TCompare::LessOrEqual>); }
void _EQ(TExprRec& expr) { RedirectOperEqComp(expr, kCompareTable<TCompare::Equal>); }
void _NE(TExprRec& expr) { RedirectOperEqComp(expr, kCompareTable<TCompare::NotEqual>); }

}  // namespace zel
