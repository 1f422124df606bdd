// Division ("/", "/.", "div", "\"), remainder ("mod", "%"), power ("^", "intpower") and transpose ("'"):
// the typed routines and the cell table of each operator, and the rules of the dispatch variants these
// operators define (RedirectOperDiv, RedirectOperStrictInt, RedirectOperBack, RedirectOperRem, binary
// RedirectOper, RedirectOperIntPower, RedirectOperZel). The arithmetic itself lives in the numeric core
// (vecmath, powrem, linalg); the routines pick the core operation, read the operands and write into the
// node's existing result.
#include <type_traits>

#include "core/intarith.h"
#include "core/linalg.h"
#include "core/powrem.h"
#include "core/vecmath.h"
#include "lang/operators/arith.h"
#include "lang/operators/direct.h"
#include "lang/operators/elementwise_chain.h"
#include "lang/operators/scalar_ops.h"

namespace zel {

namespace {

using namespace arith;
using namespace dispatch;

// ---- operands --------------------------------------------------------------------------------------

TValueRec& Left(TExprRec& e) { return *e.Args[0]; }
TValueRec& Right(TExprRec& e) { return *e.Args[1]; }

TNubraVec& ResArr(TExprRec& e) { return e.Res->RealElements(); }

// The result as a vector: cells whose dispatch rule names another result type make it a vector first.
TVec& VectorResult(TExprRec& e) {
  if (e.Res->ValueType() != vtVectorValue) {
    e.Res->Undefine();
    e.Res->DefineVector();
  }
  return e.Res->getVectorValue();
}

// Combinations the dispatch accepts but the operator does not compute.
[[noreturn]] void RaiseUnsupported(const TExprRec& e, const char* symbol) {
  throw EZelParseError(Fmt("Unsupported operand combination: (%s) %s (%s)",
                           ValTypeName(e.Args[0]->ValueType()), symbol, ValTypeName(e.Args[1]->ValueType())));
}
constexpr char kSlash[] = "/";
constexpr char kSlashDot[] = "/.";
template <const char* Symbol>
void Unsupported(TExprRec& e) {
  RaiseUnsupported(e, Symbol);
}

// ---- element-wise routines, one per operand shape, parameterised by the core operation ------------

template <class T>
constexpr bool kIsScalar =
    std::is_arithmetic_v<std::remove_cvref_t<T>> || std::is_same_v<std::remove_cvref_t<T>, TCplx>;

// Quotients: a scalar dividend divides by each element (DivideBy).
constexpr auto kDivide = [](auto&& x, auto&& y, auto& dst) {
  if constexpr (kIsScalar<decltype(x)>) {
    DivideBy(x, y, dst);
  } else {
    Divide(x, y, dst);
  }
};
constexpr auto kPower = [](auto&& x, auto&& y, auto& dst) { Power(x, y, dst); };
constexpr auto kRem = [](auto&& x, auto&& y, auto& dst) { Rem(x, y, dst); };

// Runs Op(x, y, dst) into an assigned variable where the real result fits it (direct.h), else into the
// node's result; a and b are the array operands (b null beside a scalar).
template <auto Op, class X, class Y>
void Compute(TExprRec& e, X&& x, Y&& y, const TNubraVec& a, const TNubraVec* b) {
  direct::Elementwise(e, a, b, [&](TNubraVec& d) { Op(x, y, d); });
}

template <auto Op>
void RealWithArray(TExprRec& e) {
  const TNubraVec& b = Right(e).RealElements();
  Compute<Op>(e, Left(e).DoubleValue(), b, b, nullptr);
}
template <auto Op>
void ComplexWithArray(TExprRec& e) {
  Op(Left(e).ComplexValue(), Right(e).RealElements(), ResArr(e));
}
template <auto Op>
void ArrayWithReal(TExprRec& e) {
  const TNubraVec& a = Left(e).RealElements();
  Compute<Op>(e, a, Right(e).DoubleValue(), a, nullptr);
}
template <auto Op>
void ArrayWithComplex(TExprRec& e) {
  Op(Left(e).RealElements(), Right(e).ComplexValue(), ResArr(e));
}
template <auto Op>
void ArrayWithArray(TExprRec& e) {
  const TNubraVec& a = Left(e).RealElements();
  const TNubraVec& b = Right(e).RealElements();
  Compute<Op>(e, a, b, a, &b);
}
template <auto Op>
void IntWithArray(TExprRec& e) {
  Op(Left(e).IntegerValue(), IntArray(Right(e), Left(e)), IntResult(*e.Res));
}
template <auto Op>
void ArrayWithInt(TExprRec& e) {
  Op(IntArray(Left(e), Right(e)), Right(e).IntegerValue(), IntResult(*e.Res));
}
template <auto Op>
void IntArrays(TExprRec& e) {
  TNubraInt& a = IntArray(Left(e), Right(e));
  TNubraInt& b = IntArray(Right(e), Left(e));
  Op(a, b, IntResult(*e.Res));
}

// ---- division --------------------------------------------------------------------------------------

void RealQuotient(TExprRec& e) { e.Res->SetDoubleValue(Left(e).DoubleValue() / Right(e).DoubleValue()); }
void IntQuotient(TExprRec& e) {
  e.Res->SetIntegerValue(CheckedDiv(Left(e).IntegerValue(), Right(e).IntegerValue()));
}
void ComplexQuotient(TExprRec& e) { e.Res->SetComplexValue(CplxOf(Left(e)) / CplxOf(Right(e))); }

// Right division solves x·A = y in the least-squares sense, without forming an inverse.
void SolveRowByMatrix(TExprRec& e) {  // row vector y / matrix A: vector x
  TVec& y = Left(e).getVectorValue();
  RightSolve(Right(e).MatrixValue(), y, VectorResult(e));
}
void SolveMatrixByRow(TExprRec& e) {  // matrix Y / row vector a: the column x with x·a = Y
  RightSolve(Right(e).getVectorValue(), Left(e).MatrixValue(), e.Res->MatrixValue());
}
void SolveMatrixByMatrix(TExprRec& e) {
  RightSolve(Right(e).MatrixValue(), Left(e).MatrixValue(), e.Res->MatrixValue());
}

// Back division solves A·x = b.
void BackSolveVector(TExprRec& e) {
  LQRSolve(Left(e).MatrixValue(), Right(e).getVectorValue(), e.Res->getVectorValue());
}
void BackSolveMatrix(TExprRec& e) {
  LQRSolve(Left(e).MatrixValue(), Right(e).MatrixValue(), e.Res->MatrixValue());
}

// Cells of "/", "/." and "div": integer kinds divide element by element, truncating.
constexpr void IntegerQuotientCells(TOperMatrix& t) {
  Set(t, {I}, {I}, IntQuotient);
  Set(t, {I}, {R, IV, IM}, IntWithArray<kDivide>);
  Set(t, {R, IV, IM}, {I}, ArrayWithInt<kDivide>);
  Set(t, {R, IV, IM}, {R, IV, IM}, IntArrays<kDivide>);
}

// Cells of "/" and "/." without matrices. The range row and column hold integer cells where the other
// operand is an integer kind; extended ranges meeting integers are dispatched to the vector cells.
constexpr void RealQuotientCells(TOperMatrix& t) {
  Set(t, {D}, {D, I}, RealQuotient);
  Set(t, {I}, {D}, RealQuotient);
  Set(t, {D, I, C}, {C}, ComplexQuotient);
  Set(t, {C}, {D, I}, ComplexQuotient);
  Set(t, {D}, {R, V}, RealWithArray<kDivide>);
  Set(t, {I}, {V}, RealWithArray<kDivide>);
  Set(t, {C}, {R, V}, ComplexWithArray<kDivide>);
  Set(t, {V, M}, {D, I}, ArrayWithReal<kDivide>);
  Set(t, {R}, {D}, ArrayWithReal<kDivide>);
  Set(t, {R, V, M}, {C}, ArrayWithComplex<kDivide>);
  Set(t, {V}, {R, V}, ArrayWithArray<kDivide>);
  Set(t, {R}, {V}, ArrayWithArray<kDivide>);
}

// "/": the rules of RedirectOperInt but for three cells: two strings are refused, two integers give a
// real, a vector divided by a matrix a vector.
constexpr BinaryCells kDivRules = [] {
  BinaryCells t = kIntRules;
  Set(t, {S}, {S}, None);
  Set(t, {I}, {I}, D);
  Set(t, {V}, {M}, V);
  return t;
}();

constexpr BinaryCells kDivCells = [] {
  TOperMatrix t{};
  IntegerQuotientCells(t);
  RealQuotientCells(t);
  Set(t, {I}, {I}, RealQuotient);
  Set(t, {R, V}, {M}, SolveRowByMatrix);
  Set(t, {M}, {R, V}, SolveMatrixByRow);
  Set(t, {M}, {M}, SolveMatrixByMatrix);
  Set(t, {D, I, C}, {M}, Unsupported<kSlash>);
  Set(t, {I, R, IV}, {IM}, Unsupported<kSlash>);
  Set(t, {IM}, {R, IV, IM}, Unsupported<kSlash>);
  return Combine(kDivRules, t);
}();

// "/." follows the rules of RedirectOperInt.
constexpr BinaryCells kDivElemCells = [] {
  TOperMatrix t{};
  IntegerQuotientCells(t);
  RealQuotientCells(t);
  Set(t, {D, I}, {M}, RealWithArray<kDivide>);
  Set(t, {C}, {M}, ComplexWithArray<kDivide>);
  Set(t, {R, V, M}, {M}, ArrayWithArray<kDivide>);
  Set(t, {M}, {R, V}, ArrayWithArray<kDivide>);
  Set(t, {S}, {S}, Unsupported<kSlashDot>);
  return Combine(kIntRules, t);
}();

// "div": integer kinds only; an extended range is refused.
constexpr BinaryCells kStrictIntRules = [] {
  BinaryCells t{};
  Set(t, {R, IV}, {R, I, IV}, IV);
  Set(t, {I}, {R, IV}, IV);
  Set(t, {I}, {I}, I);
  Set(t, {R, I, IV}, {IM}, IM);
  Set(t, {IM}, {R, I, IV, IM}, IM);
  return t;
}();

constexpr BinaryCells kDivIntCells = [] {
  TOperMatrix t{};
  IntegerQuotientCells(t);
  return Combine(kStrictIntRules, t);
}();

// "\": a matrix on the left, a vector or matrix on the right.
constexpr BinaryCells kBackCells = [] {
  BinaryCells t{};
  Set(t, {M}, {V}, V, BackSolveVector);
  Set(t, {M}, {M}, M, BackSolveMatrix);
  return t;
}();

// ---- remainder -------------------------------------------------------------------------------------

void RealRem(TExprRec& e) { e.Res->SetDoubleValue(Rem(Left(e).DoubleValue(), Right(e).DoubleValue())); }
void IntRem(TExprRec& e) {
  e.Res->SetIntegerValue(CheckedRem(Left(e).IntegerValue(), Right(e).IntegerValue()));
}
void ComplexRem(TExprRec& e) { e.Res->SetComplexValue(Rem(CplxOf(Left(e)), CplxOf(Right(e)))); }

void CheckRemLengths(const TNubra& a, const TNubra& b) {
  if (a.Length() != b.Length()) throw EZelParseError("Rem: Arguments have differ length");
}
void RemArrays(TExprRec& e) {
  TNubraVec& a = Left(e).RealElements();
  TNubraVec& b = Right(e).RealElements();
  CheckRemLengths(a, b);
  Rem(a, b, ResArr(e));
}
void IntRemArrays(TExprRec& e) {
  TNubraInt& a = IntArray(Left(e), Right(e));
  TNubraInt& b = IntArray(Right(e), Left(e));
  CheckRemLengths(a, b);
  Rem(a, b, IntResult(*e.Res));
}

// "mod" and "%": reals, complex numbers and real arrays, or integer kinds.
constexpr BinaryCells kRemCells = [] {
  BinaryCells t{};
  Set(t, {D, I}, {D}, D, RealRem);
  Set(t, {D}, {I}, D, RealRem);
  Set(t, {I}, {I}, I, IntRem);
  Set(t, {D, I, C}, {C}, C, ComplexRem);
  Set(t, {C}, {D, I}, C, ComplexRem);
  Set(t, {D, I}, {V}, V, RealWithArray<kRem>);
  Set(t, {D, I}, {M}, M, RealWithArray<kRem>);
  Set(t, {C}, {V}, V, ComplexWithArray<kRem>);
  Set(t, {C}, {M}, M, ComplexWithArray<kRem>);
  Set(t, {V}, {D, I}, V, ArrayWithReal<kRem>);
  Set(t, {M}, {D, I}, M, ArrayWithReal<kRem>);
  Set(t, {V}, {C}, V, ArrayWithComplex<kRem>);
  Set(t, {M}, {C}, M, ArrayWithComplex<kRem>);
  Set(t, {V}, {V}, V, RemArrays);
  Set(t, {V, M}, {M}, M, RemArrays);
  Set(t, {M}, {V}, M, RemArrays);
  Set(t, {I}, {IV}, IV, IntWithArray<kRem>);
  Set(t, {I}, {IM}, IM, IntWithArray<kRem>);
  Set(t, {IV}, {I}, IV, ArrayWithInt<kRem>);
  Set(t, {IM}, {I}, IM, ArrayWithInt<kRem>);
  Set(t, {IV}, {IV}, IV, IntRemArrays);
  Set(t, {IV, IM}, {IM}, IM, IntRemArrays);
  Set(t, {IM}, {IV}, IM, IntRemArrays);
  return t;
}();

// ---- power -----------------------------------------------------------------------------------------

void RealPower(TExprRec& e) { e.Res->SetDoubleValue(Power(Left(e).DoubleValue(), Right(e).DoubleValue())); }
void RealIntPower(TExprRec& e) {
  e.Res->SetDoubleValue(IntPower(Left(e).DoubleValue(), Right(e).IntegerValue()));
}
void ComplexPower(TExprRec& e) { e.Res->SetComplexValue(Power(CplxOf(Left(e)), CplxOf(Right(e)))); }
void ComplexIntPower(TExprRec& e) {
  e.Res->SetComplexValue(IntPower(Left(e).ComplexValue(), Right(e).IntegerValue()));
}
void ArrayIntPower(TExprRec& e) { IntPower(Left(e).RealElements(), Right(e).IntegerValue(), ResArr(e)); }

// "^": reals, complex numbers and real arrays; integers are taken as reals.
constexpr BinaryCells kPowerCells = [] {
  BinaryCells t{};
  Set(t, {D, I}, {D}, D, RealPower);
  Set(t, {D, I}, {I}, D, RealIntPower);
  Set(t, {D, I, C}, {C}, C, ComplexPower);
  Set(t, {C}, {D}, C, ComplexPower);
  Set(t, {C}, {I}, C, ComplexIntPower);
  Set(t, {D, I}, {V}, V, RealWithArray<kPower>);
  Set(t, {D, I}, {M}, M, RealWithArray<kPower>);
  Set(t, {C}, {V}, V, ComplexWithArray<kPower>);
  Set(t, {C}, {M}, M, ComplexWithArray<kPower>);
  Set(t, {V}, {D}, V, ArrayWithReal<kPower>);
  Set(t, {M}, {D}, M, ArrayWithReal<kPower>);
  Set(t, {V}, {I}, V, ArrayIntPower);
  Set(t, {M}, {I}, M, ArrayIntPower);
  Set(t, {V}, {C}, V, ArrayWithComplex<kPower>);
  Set(t, {M}, {C}, M, ArrayWithComplex<kPower>);
  Set(t, {V}, {V}, V, ArrayWithArray<kPower>);
  Set(t, {V, M}, {M}, M, ArrayWithArray<kPower>);
  Set(t, {M}, {V}, M, ArrayWithArray<kPower>);
  return t;
}();

// "intpower": an integer exponent only.
constexpr BinaryCells kIntPowerCells = [] {
  BinaryCells t{};
  Set(t, {D, I}, {I}, D, RealIntPower);
  Set(t, {C}, {I}, C, ComplexIntPower);
  Set(t, {V}, {I}, V, ArrayIntPower);
  Set(t, {M}, {I}, M, ArrayIntPower);
  return t;
}();

// ---- transpose -------------------------------------------------------------------------------------

void CopyDouble(TExprRec& e) { e.Res->SetDoubleValue(Left(e).DoubleValue()); }
void CopyInteger(TExprRec& e) { e.Res->SetIntegerValue(Left(e).IntegerValue()); }
void ConjComplex(TExprRec& e) { e.Res->SetComplexValue(std::conj(Left(e).ComplexValue())); }

// A vector becomes an n × 1 matrix (conjugated when complex); the copy is 1 × n, reshaped in place.
void TransposeVector(TExprRec& e) {
  const TVec& v = Left(e).getVectorValue();
  TZel& m = e.Res->MatrixValue();
  Conj(v, m);
  m.Size(v.Length(), 1);
}
void TransposeMatrix(TExprRec& e) { Adjung(Left(e).MatrixValue(), e.Res->MatrixValue()); }
void TransposeIntVector(TExprRec& e) {
  const TVecInt& v = Left(e).GetIntVectorValue();
  TZelInt& m = e.Res->IntMatrixValue();
  m.Copy(v);
  m.Size(v.Length(), 1);
}
void TransposeIntMatrix(TExprRec& e) { Transp(Left(e).IntMatrixValue(), e.Res->IntMatrixValue()); }

// The rules of RedirectOperZel are those of "'": a vector becomes a matrix.
constexpr UnaryCells kTransposeCells = [] {
  UnaryCells t{};
  Set(t, {D}, D, CopyDouble);
  Set(t, {I}, I, CopyInteger);
  Set(t, {C}, C, ConjComplex);
  Set(t, {V}, M, TransposeVector);
  Set(t, {M}, M, TransposeMatrix);
  Set(t, {IV}, IM, TransposeIntVector);
  Set(t, {IM}, IM, TransposeIntMatrix);
  return t;
}();

// ---- one-pass element-wise chains (elementwise_chain.h) -----------------------------------------------

[[maybe_unused]] const bool kChainRoutines = RegisterChainRoutines({
    {ArrayWithArray<kDivide>, TChainOp::kDiv, TChainForm::kArrays},
    {ArrayWithReal<kDivide>, TChainOp::kDivScalar, TChainForm::kArrayScalar},
    {RealWithArray<kDivide>, TChainOp::kScalarDiv, TChainForm::kScalarArray},  // DivideBy(s, b): s / b
});

// The rules of the variants whose only operator states them along with its routines.
constexpr UnaryCells kTransposeRules = Results(kTransposeCells);
constexpr BinaryCells kBackRules = Results(kBackCells);
constexpr BinaryCells kRemRules = Results(kRemCells);
constexpr BinaryCells kPowerRules = Results(kPowerCells);
constexpr BinaryCells kIntPowerRules = Results(kIntPowerCells);

// What the real scalar routines compute, for the scalar optimiser (scalar_ops.h).
[[maybe_unused]] const bool kScalarOps = RegisterScalarOp(RealQuotient, {TScalarOpKind::Div}) &&
                                         RegisterScalarOp(RealPower, {TScalarOpKind::Power}) &&
                                         RegisterScalarOp(RealIntPower, {TScalarOpKind::IntPow});

}  // namespace

void _RDiv(TExprRec& expr) { Dispatch(expr, kDivCells); }
void _RDivElem(TExprRec& expr) { Dispatch(expr, kDivElemCells); }
void _RDivElemInt(TExprRec& expr) { Dispatch(expr, kDivIntCells); }
void _RDivBack(TExprRec& expr) { Dispatch(expr, kBackCells); }
void _Rem(TExprRec& expr) { Dispatch(expr, kRemCells); }
void _Power(TExprRec& expr) { Dispatch(expr, kPowerCells); }
void _IntPower(TExprRec& expr) { Dispatch(expr, kIntPowerCells); }
void _Transpose(TExprRec& expr) { Dispatch(expr, kTransposeCells); }

void RedirectOperDiv(TExprRec& expr, const TOperMatrix& table) { Dispatch(expr, kDivRules, table); }
void RedirectOperStrictInt(TExprRec& expr, const TOperMatrix& table) {
  Dispatch(expr, kStrictIntRules, table);
}
void RedirectOperBack(TExprRec& expr, const TOperMatrix& table) { Dispatch(expr, kBackRules, table); }
void RedirectOperRem(TExprRec& expr, const TOperMatrix& table) { Dispatch(expr, kRemRules, table); }
void RedirectOper(TExprRec& expr, const TOperMatrix& table) { Dispatch(expr, kPowerRules, table); }
void RedirectOperIntPower(TExprRec& expr, const TOperMatrix& table) { Dispatch(expr, kIntPowerRules, table); }
void RedirectOperZel(TExprRec& expr, const TOperVector& table) { Dispatch(expr, kTransposeRules, table); }

}  // namespace zel
