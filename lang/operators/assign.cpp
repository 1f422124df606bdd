// Plain assignment x = y, and the source readers shared by the indexed assignments.
//
// A variable keeps the type of its first value: an undefined x takes y's type, a defined x accepts only
// the sources of its row in kAssign, converting them into its own type. Vectors and matrices are
// written into x's existing object (resized by the core's Copy, which copies a source that is a view of
// x's own storage correctly), so host-owned objects stay in place and re-running an assignment of
// equal-sized values allocates nothing. A vector or matrix source node may have written its result
// straight into x already (direct.h): the copy is then skipped.
#include "lang/operators/assign.h"
#include "lang/operators/scalar_ops.h"

#include "lang/operators/direct.h"

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
using namespace dispatch;

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

using BodyFunc = void (*)(TExprRec&);

// True while the kinds under a compiled node still select routine `self` of destination kind K.
template <Kind K>
bool Selects(const TExprRec& e, TExprFunc self);

// The typed routine of destination kind K whose assignment Body performs. When the kinds under the
// compiled node select another routine (the variable was undefined and defined again, or a range source
// has been expanded in place) the generic routine dispatches afresh.
template <Kind K, BodyFunc Body>
void Typed(TExprRec& e) {
  if (!Selects<K>(e, Typed<K, Body>)) [[unlikely]] {
    e.Oper = _Assign;
    return _Assign(e);
  }
  Body(e);
  e.Res = e.Args[0];
}

// ---- scalars

void ToDouble(TExprRec& e) { Dst(e).SetDoubleValue(ReadRealScalar(Src(e)).z.real()); }

// A double into a double variable: a direct store. Its guard is the two type tags, so it needs no
// table lookup; any other pair goes back to the generic routine.
void DoubleFromDouble(TExprRec& e) {
  TValueRec& dst = Dst(e);
  const TValueRec& src = Src(e);
  if (dst.ValueType() != vtDoubleValue || src.ValueType() != vtDoubleValue) [[unlikely]] {
    e.Oper = _Assign;
    return _Assign(e);
  }
  dst.SetDoubleValue(src.DoubleValue());
  e.Res = &dst;
}
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

// Vector into vector and matrix into matrix: nothing to copy when the source node has written straight
// into the destination (direct.h).
void VecFromVec(TExprRec& e) {
  if (e.Delivered) {
    e.Delivered = false;
    return;
  }
  Dst(e).VectorValue().Copy(Src(e).VectorValue());
}
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

void MatFromMat(TExprRec& e) {
  if (e.Delivered) {
    e.Delivered = false;
    return;
  }
  Dst(e).MatrixValue().Copy(Src(e).MatrixValue());
}
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

// Destination kind x source kind. The routines define no result: the node's result is the destination.
constexpr BinaryCells kAssign = [] {
  BinaryCells t{};
  Set(t, {D}, {I, B}, None, Typed<D, ToDouble>);
  Set(t, {D}, {D}, None, DoubleFromDouble);
  Set(t, {I}, {I, B}, None, Typed<I, ToInteger>);
  Set(t, {B}, {B}, None, Typed<B, ToBool>);
  Set(t, {C}, {C, D, I, B}, None, Typed<C, ToComplex>);
  Set(t, {S}, {S}, None, Typed<S, ToString>);
  Set(t, {R}, Ranges, None, Typed<R, ToRange>);
  Set(t, {Re}, Ranges, None, Typed<Re, ToRange>);
  Set(t, {V}, {V}, None, Typed<V, VecFromVec>);
  Set(t, {V}, Ranges, None, Typed<V, VecFromRange>);
  Set(t, {V}, {D, I, C, B}, None, Typed<V, VecFill>);
  Set(t, {IV}, {IV}, None, Typed<IV, IntVecFromIntVec>);
  Set(t, {IV}, Ranges, None, Typed<IV, IntVecFromRange>);
  Set(t, {IV}, {I, B}, None, Typed<IV, IntVecFill>);
  Set(t, {IM}, {IM}, None, Typed<IM, IntMatFromIntMat>);
  Set(t, {IM}, {IV, R, Re}, None, Typed<IM, IntMatFromIntVec>);
  Set(t, {IM}, {I, B}, None, Typed<IM, IntMatFill>);
  Set(t, {BV}, {BV}, None, Typed<BV, BoolVecFromBoolVec>);
  Set(t, {BV}, {B}, None, Typed<BV, BoolVecFill>);
  Set(t, {BM}, {BM}, None, Typed<BM, BoolMatFromBoolMat>);
  Set(t, {BM}, {BV}, None, Typed<BM, BoolMatFromBoolVec>);
  Set(t, {BM}, {B}, None, Typed<BM, BoolMatFill>);
  Set(t, {M}, {M}, None, Typed<M, MatFromMat>);
  Set(t, {M}, {V, R, Re}, None, Typed<M, MatFromVec>);
  Set(t, {M}, {D, I, C, B}, None, Typed<M, MatFill>);
  return t;
}();

template <Kind K>
bool Selects(const TExprRec& e, TExprFunc self) {
  return IsKind(*e.Args[0], K) && kAssign.cells[K][KindOf(*e.Args[1])].routine == self;
}

// Gives an undefined destination the source's type (a range keeps its integer or extended form).
void DefineLike(TValueRec& dst, const TValueRec& src) {
  if (src.ValueType() == vtRangeValue && src.ExtRange()) {
    dst.DefineExtRange();
  } else {
    DefineResultType(dst, src.ValueType());
  }
}

// The direct store and the integer store, for the scalar optimiser (scalar_ops.h): their type guards
// (the variable's type, and the source's, which selects the routine) become the optimiser's.
[[maybe_unused]] const bool kScalarOps = RegisterScalarOp(DoubleFromDouble, {TScalarOpKind::Store}) &&
                                         RegisterScalarOp(Typed<I, ToInteger>, {TScalarOpKind::IntStore});

}  // namespace

TNubraVec* direct::Target(const TExprRec& e) {
  const TExprRec* c = e.Consumer;
  if (!c) return nullptr;
  const TValueType t = e.Res->ValueType();
  if (c->Oper == Typed<V, VecFromVec>) {
    if (t != vtVectorValue) return nullptr;
  } else if (c->Oper == Typed<M, MatFromMat>) {
    if (t != vtMatrixValue) return nullptr;
  } else {
    return nullptr;
  }
  const TValueRec& dst = *c->Args[0];
  if (c->Args[1] != e.Res || dst.ValueType() != t) return nullptr;
  return t == vtVectorValue ? static_cast<TNubraVec*>(dst.VectorField()) : dst.MatrixField();
}

void _Assign(TExprRec& e) {
  if (e.Args.size() < 2 || !e.Args[0] || !e.Args[1]) throw EZelParseError("Assignment needs two operands!");
  e.Delivered = false;  // a source marks only the typed copies (direct.h); never let a mark outlive them
  TValueRec& dst = Dst(e);
  TValueRec& src = Src(e);
  const Kind s = KindOf(src);
  Kind d = KindOf(dst);
  if (s == U) throw EZelParseError(UnknownExprWord);
  if (d == U) {
    // Only types that can be assigned to themselves define a variable; the check comes first so a
    // rejected assignment leaves the variable undefined.
    if (!kAssign.cells[s][s].routine) RaiseCombination(e, src.ValueType(), src.ValueType());
    DefineLike(dst, src);
    d = s;
  }
  const Cell& cell = kAssign.cells[d][s];
  if (!cell.routine) RaiseCombination(e, dst.ValueType(), src.ValueType());
  Run(e, cell);
}

}  // namespace zel
