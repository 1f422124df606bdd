// Plain assignment x = y, and the source readers shared by the indexed assignments.
//
// A variable keeps the type of its first value: an undefined x takes y's type, a defined x accepts only
// the sources of its row in kAssignTable, converting them into its own type. Vectors and matrices are
// written into x's existing object (resized by the core's Copy, which copies a source that is a view of
// x's own storage correctly), so host-owned objects stay in place and re-running an assignment of
// equal-sized values allocates nothing.
#include <initializer_list>

#include "lang/operators/assign.h"

namespace zel {

namespace assign {

TRealScalar ReadRealScalar(const TValueRec& src) {
  switch (src.ValueType()) {
    case vtComplexValue:
      return {src.ComplexValue(), true};
    case vtIntegerValue:
      return {TCplx(static_cast<double>(src.IntegerValue()), 0.0), false};
    case vtBoolValue:
      return {TCplx(src.BoolValue() ? 1.0 : 0.0, 0.0), false};
    default:
      return {TCplx(src.DoubleValue(), 0.0), false};
  }
}

std::int32_t ReadIntScalar(const TValueRec& src, bool toBool) {
  if (src.ValueType() == vtBoolValue) return src.BoolValue() ? 1 : 0;
  const auto v = static_cast<std::int32_t>(src.IntegerValue());
  return toBool ? (v != 0) : v;
}

TNubraVec& RealVectorSource(TValueRec& src) { return src.getVectorValue(); }

TNubraInt& IntVectorSource(TValueRec& src, TIntPrecision p) {
  switch (src.ValueType()) {
    case vtBoolVectorValue:
      return src.BoolVectorValue();
    case vtRangeValue:
      src.SetRangeIntPrecision(p);
      return src.GetIntVectorValue();
    default:
      return src.IntVectorValue();
  }
}

void DefineResultOn(TValueRec& res, TValueRec& dst) {
  if (&res == &dst) return;
  const TValueType t = dst.ValueType();
  // The destination's type may differ from the last run's (it was undefined and defined again).
  if (res.ValueType() != t) res.Undefine();
  switch (t) {
    case vtVectorValue:
      res.DefineVector(&dst.VectorValue(), false);
      break;
    case vtMatrixValue:
      res.DefineMatrix(&dst.MatrixValue(), false);
      break;
    case vtIntVectorValue:
      res.DefineIntVector(&dst.IntVectorValue(), false);
      break;
    case vtIntMatrixValue:
      res.DefineIntMatrix(&dst.IntMatrixValue(), false);
      break;
    case vtBoolVectorValue:
      res.DefineBoolVector(&dst.BoolVectorValue(), false);
      break;
    case vtBoolMatrixValue:
      res.DefineBoolMatrix(&dst.BoolMatrixValue(), false);
      break;
    default:
      break;
  }
}

}  // namespace assign

namespace {

using namespace assign;

TValueRec& Dst(TExprRec& e) { return *e.Args[0]; }
TValueRec& Src(TExprRec& e) { return *e.Args[1]; }

[[noreturn]] void RaiseCombination(const TExprRec& e, TValueType dst, TValueType src) {
  if (src == vtUndefined) throw EZelParseError(UnknownExprWord);
  throw EZelParseError(Fmt("Unsupported type combination for assignment: ( %s ) %s ( %s )", ValTypeName(dst),
                           e.ExprWord ? e.ExprWord->Name().c_str() : "=", ValTypeName(src)));
}

// True when the source is the argument node's own intermediate result, which nothing else refers to:
// its expanded storage can be handed to the destination. A variable's or constant's record is never
// robbed, since it would be left referring to storage the destination may free.
bool SourceIsTemporary(const TExprRec& e) {
  return e.ArgList.size() > 1 && e.ArgList[1] && e.ArgList[1]->tmpRes &&
         e.Args[1] == e.ArgList[1]->tmpRes.get();
}

// ---- typed routines ----------------------------------------------------------------------------------

using TBody = void (*)(TExprRec&);

// The typed routine of one (destination, source) cell. When the types under the compiled node changed
// (the variable was undefined and defined again, or a range source has been expanded in place) the
// generic routine dispatches afresh.
template <TValueType D, TValueType S, TBody Body>
void Cell(TExprRec& e) {
  if (Dst(e).ValueType() != D || Src(e).ValueType() != S) [[unlikely]] {
    e.Oper = _Assign;
    return _Assign(e);
  }
  Body(e);
  e.Res = e.Args[0];
}

// ---- scalars

void ToDouble(TExprRec& e) { Dst(e).SetDoubleValue(ReadRealScalar(Src(e)).z.real()); }
void ToInteger(TExprRec& e) {
  Dst(e).SetIntegerValue(Src(e).ValueType() == vtBoolValue ? Src(e).BoolValue() : Src(e).IntegerValue());
}
void ToBool(TExprRec& e) { Dst(e).SetBoolValue(Src(e).BoolValue()); }
void ToComplex(TExprRec& e) { Dst(e).SetComplexValue(ReadRealScalar(Src(e)).z); }
void ToString(TExprRec& e) {
  if (&Dst(e) != &Src(e)) Dst(e).SetStringValue(Src(e).StringValue());
}

// ---- ranges

void ToRange(TExprRec& e) {
  TValueRec& dst = Dst(e);
  const TValueRec& src = Src(e);
  if (src.ExtRange() && !dst.ExtRange())
    throw EZelParseError("Cannot assign a real valued range to an integer range!");
  if (!src.ExtRange() && dst.ExtRange())
    throw EZelParseError("Cannot assign an integer valued range to a real range!");
  if (&dst == &src) return;
  if (!dst.ExtRange()) {
    dst.Range() = src.Range();  // reuses the destination's capacity
  } else if (src.ExtRangeValue()) {
    if (!dst.ExtRangeValue()) dst.DefineExtRange();
    dst.ExtRangeValue()->Copy(*src.ExtRangeValue());
  }
}

// ---- real vectors and matrices

void FillReal(TNubraVec& dst, const TValueRec& src) {
  WithValue(ReadRealScalar(src), [&](auto v) { dst.SetVal(v); });
}

void VecFromVec(TExprRec& e) { Dst(e).VectorValue().Copy(Src(e).VectorValue()); }
void VecFill(TExprRec& e) { FillReal(Dst(e).VectorValue(), Src(e)); }

// A range source is expanded; an owned destination takes the storage of an expanded intermediate
// result over, otherwise the elements are copied (host objects are never replaced).
void VecFromRange(TExprRec& e) {
  TValueRec& dst = Dst(e);
  TVec& expanded = Src(e).getVectorValue();
  if (dst.IsOwned() && SourceIsTemporary(e)) {
    dst.InternalDefineOwned(Src(e));
  } else {
    dst.VectorValue().Copy(expanded);
  }
}

void MatFromMat(TExprRec& e) { Dst(e).MatrixValue().Copy(Src(e).MatrixValue()); }
void MatFromVec(TExprRec& e) { Dst(e).MatrixValue().Copy(Src(e).getVectorValue()); }
void MatFill(TExprRec& e) { FillReal(Dst(e).MatrixValue(), Src(e)); }

// ---- integer and boolean vectors and matrices

void IntVecFromIntVec(TExprRec& e) { Dst(e).IntVectorValue().Copy(Src(e).IntVectorValue()); }
void IntVecFill(TExprRec& e) { Dst(e).IntVectorValue().SetVal(ReadIntScalar(Src(e), false)); }

// Only an integer range; it is expanded in the destination's precision (see VecFromRange).
void IntVecFromRange(TExprRec& e) {
  TValueRec& dst = Dst(e);
  TValueRec& src = Src(e);
  if (src.ExtRange()) RaiseCombination(e, dst.ValueType(), src.ValueType());
  TNubraInt& expanded = IntVectorSource(src, dst.IntVectorValue().IntPrecision());
  if (dst.IsOwned() && SourceIsTemporary(e)) {
    dst.InternalDefineOwned(src);
  } else {
    dst.IntVectorValue().Copy(expanded);
  }
}

void IntMatFromIntMat(TExprRec& e) { Dst(e).IntMatrixValue().Copy(Src(e).IntMatrixValue()); }
void IntMatFromIntVec(TExprRec& e) {
  TZelInt& dst = Dst(e).IntMatrixValue();
  dst.Copy(IntVectorSource(Src(e), dst.IntPrecision()));
}
void IntMatFill(TExprRec& e) { Dst(e).IntMatrixValue().SetVal(ReadIntScalar(Src(e), false)); }

void BoolVecFromBoolVec(TExprRec& e) { Dst(e).BoolVectorValue().Copy(Src(e).BoolVectorValue()); }
void BoolVecFill(TExprRec& e) { Dst(e).BoolVectorValue().SetVal(ReadIntScalar(Src(e), true)); }
void BoolMatFromBoolMat(TExprRec& e) { Dst(e).BoolMatrixValue().Copy(Src(e).BoolMatrixValue()); }
void BoolMatFromBoolVec(TExprRec& e) { Dst(e).BoolMatrixValue().Copy(Src(e).BoolVectorValue()); }
void BoolMatFill(TExprRec& e) { Dst(e).BoolMatrixValue().SetVal(ReadIntScalar(Src(e), true)); }

// ---- the table -----------------------------------------------------------------------------------------

// Puts the routine Body into the cells (D, S) for every listed source type S.
template <TValueType D, TBody Body, TValueType... S>
constexpr void Put(TOperMatrix& t) {
  ((t[OperCell(D, S)] = Cell<D, S, Body>), ...);
}

constexpr TValueType Dbl = vtDoubleValue, R = vtRangeValue, Str = vtString, C = vtComplexValue,
                     V = vtVectorValue, I = vtIntegerValue, IV = vtIntVectorValue, IM = vtIntMatrixValue,
                     B = vtBoolValue, BV = vtBoolVectorValue, BM = vtBoolMatrixValue, M = vtMatrixValue;

constexpr TOperMatrix kAssignTable = [] {
  TOperMatrix t{};
  Put<Dbl, ToDouble, Dbl, I, B>(t);
  Put<I, ToInteger, I, B>(t);
  Put<B, ToBool, B>(t);
  Put<C, ToComplex, C, Dbl, I, B>(t);
  Put<Str, ToString, Str>(t);
  Put<R, ToRange, R>(t);
  Put<V, VecFromVec, V>(t);
  Put<V, VecFromRange, R>(t);
  Put<V, VecFill, Dbl, I, C, B>(t);
  Put<IV, IntVecFromIntVec, IV>(t);
  Put<IV, IntVecFromRange, R>(t);
  Put<IV, IntVecFill, I, B>(t);
  Put<IM, IntMatFromIntMat, IM>(t);
  Put<IM, IntMatFromIntVec, IV, R>(t);
  Put<IM, IntMatFill, I, B>(t);
  Put<BV, BoolVecFromBoolVec, BV>(t);
  Put<BV, BoolVecFill, B>(t);
  Put<BM, BoolMatFromBoolMat, BM>(t);
  Put<BM, BoolMatFromBoolVec, BV>(t);
  Put<BM, BoolMatFill, B>(t);
  Put<M, MatFromMat, M>(t);
  Put<M, MatFromVec, V, R>(t);
  Put<M, MatFill, Dbl, I, C, B>(t);
  return t;
}();

// Gives an undefined destination the source's type (a range keeps its integer or extended form).
void DefineLike(TValueRec& dst, const TValueRec& src) {
  if (src.ValueType() == vtRangeValue && src.ExtRange()) {
    dst.DefineExtRange();
  } else {
    DefineResultType(dst, src.ValueType());
  }
}

}  // namespace

void _Assign(TExprRec& e) {
  if (e.Args.size() < 2 || !e.Args[0] || !e.Args[1]) throw EZelParseError("Assignment needs two operands!");
  TValueRec& dst = Dst(e);
  TValueRec& src = Src(e);
  const TValueType s = src.ValueType();
  TValueType d = dst.ValueType();
  if (s == vtUndefined) throw EZelParseError(UnknownExprWord);
  if (d == vtUndefined) {
    // Only types that can be assigned to themselves define a variable; the check comes first so a
    // rejected assignment leaves the variable undefined.
    if (!kAssignTable[OperCell(s, s)]) RaiseCombination(e, s, s);
    DefineLike(dst, src);
    d = s;
  }
  const TExprFunc typed = kAssignTable[OperCell(d, s)];
  if (!typed) RaiseCombination(e, d, s);
  e.Oper = typed;
  typed(e);
}

}  // namespace zel
