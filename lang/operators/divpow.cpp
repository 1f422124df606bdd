// Division ("/", "/.", "div", "\"), remainder ("mod", "%"), power ("^", "intpower") and transpose ("'"):
// the typed routine of every operand combination the dispatch accepts, and the constant tables that map
// combinations to routines. The arithmetic itself lives in the numeric core (vecmath, powrem, linalg);
// the routines pick the core operation, read the operands and write into the node's existing result.
#include <initializer_list>
#include <type_traits>

#include "core/intarith.h"
#include "core/linalg.h"
#include "core/powrem.h"
#include "core/vecmath.h"
#include "lang/operators/operators.h"

namespace zel {

namespace {

constexpr TValueType kD = vtDoubleValue, kR = vtRangeValue, kS = vtString, kC = vtComplexValue,
                     kV = vtVectorValue, kI = vtIntegerValue, kIV = vtIntVectorValue, kIM = vtIntMatrixValue,
                     kM = vtMatrixValue;

using Types = std::initializer_list<TValueType>;

// Puts routine f into every cell of the listed left and right types.
constexpr void Fill(TOperMatrix& t, Types left, Types right, TExprFunc f) {
  for (TValueType l : left)
    for (TValueType r : right) t[OperCell(l, r)] = f;
}

// ---- operands --------------------------------------------------------------------------------------

TValueRec& Left(TExprRec& e) { return *e.Args[0]; }
TValueRec& Right(TExprRec& e) { return *e.Args[1]; }

// A real, integer or complex scalar as a complex.
TCplx CplxOf(const TValueRec& v) {
  return v.ValueType() == vtComplexValue ? v.ComplexValue() : TCplx(v.DoubleValue(), 0.0);
}

// The elements of an integer matrix, integer vector or integer range operand. A range is expanded in the
// precision of `other` when that is an integer array, else in its own.
TNubraInt& IntArr(TValueRec& v, const TValueRec& other) {
  switch (v.ValueType()) {
    case vtIntMatrixValue:
      return v.IntMatrixValue();
    case vtRangeValue:
      if (other.ValueType() == vtIntVectorValue && other.IntVectorField())
        v.SetRangeIntPrecision(other.IntVectorField()->IntPrecision());
      if (other.ValueType() == vtIntMatrixValue && other.IntMatrixField())
        v.SetRangeIntPrecision(other.IntMatrixField()->IntPrecision());
      return v.GetIntVectorValue();
    default:
      return v.GetIntVectorValue();
  }
}

TNubraVec& ResArr(TExprRec& e) { return e.Res->RealElements(); }

TNubraInt& ResInt(TExprRec& e) {
  if (e.Res->ValueType() == vtIntMatrixValue) return e.Res->IntMatrixValue();
  return e.Res->GetIntVectorValue();
}

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

template <auto Op>
void RealWithArray(TExprRec& e) {
  Op(Left(e).DoubleValue(), Right(e).RealElements(), ResArr(e));
}
template <auto Op>
void ComplexWithArray(TExprRec& e) {
  Op(Left(e).ComplexValue(), Right(e).RealElements(), ResArr(e));
}
template <auto Op>
void ArrayWithReal(TExprRec& e) {
  Op(Left(e).RealElements(), Right(e).DoubleValue(), ResArr(e));
}
template <auto Op>
void ArrayWithComplex(TExprRec& e) {
  Op(Left(e).RealElements(), Right(e).ComplexValue(), ResArr(e));
}
template <auto Op>
void ArrayWithArray(TExprRec& e) {
  Op(Left(e).RealElements(), Right(e).RealElements(), ResArr(e));
}
template <auto Op>
void IntWithArray(TExprRec& e) {
  Op(Left(e).IntegerValue(), IntArr(Right(e), Left(e)), ResInt(e));
}
template <auto Op>
void ArrayWithInt(TExprRec& e) {
  Op(IntArr(Left(e), Right(e)), Right(e).IntegerValue(), ResInt(e));
}
template <auto Op>
void IntArrays(TExprRec& e) {
  TNubraInt& a = IntArr(Left(e), Right(e));
  TNubraInt& b = IntArr(Right(e), Left(e));
  Op(a, b, ResInt(e));
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
  Fill(t, {kI}, {kI}, IntQuotient);
  Fill(t, {kI}, {kR, kIV, kIM}, IntWithArray<kDivide>);
  Fill(t, {kR, kIV, kIM}, {kI}, ArrayWithInt<kDivide>);
  Fill(t, {kR, kIV, kIM}, {kR, kIV, kIM}, IntArrays<kDivide>);
}

// Cells of "/" and "/." without matrices. The range row and column hold integer cells where the other
// operand is an integer kind; extended ranges meeting integers are dispatched to the vector cells.
constexpr void RealQuotientCells(TOperMatrix& t) {
  Fill(t, {kD}, {kD, kI}, RealQuotient);
  Fill(t, {kI}, {kD}, RealQuotient);
  Fill(t, {kD, kI, kC}, {kC}, ComplexQuotient);
  Fill(t, {kC}, {kD, kI}, ComplexQuotient);
  Fill(t, {kD}, {kR, kV}, RealWithArray<kDivide>);
  Fill(t, {kI}, {kV}, RealWithArray<kDivide>);
  Fill(t, {kC}, {kR, kV}, ComplexWithArray<kDivide>);
  Fill(t, {kV, kM}, {kD, kI}, ArrayWithReal<kDivide>);
  Fill(t, {kR}, {kD}, ArrayWithReal<kDivide>);
  Fill(t, {kR, kV, kM}, {kC}, ArrayWithComplex<kDivide>);
  Fill(t, {kV}, {kR, kV}, ArrayWithArray<kDivide>);
  Fill(t, {kR}, {kV}, ArrayWithArray<kDivide>);
}

constexpr TOperMatrix kDivTable = [] {
  TOperMatrix t{};
  IntegerQuotientCells(t);
  RealQuotientCells(t);
  t[OperCell(kI, kI)] = RealQuotient;  // "/" of two integers is a real quotient
  Fill(t, {kR, kV}, {kM}, SolveRowByMatrix);
  Fill(t, {kM}, {kR, kV}, SolveMatrixByRow);
  Fill(t, {kM}, {kM}, SolveMatrixByMatrix);
  Fill(t, {kD, kI, kC}, {kM}, Unsupported<kSlash>);
  Fill(t, {kI, kR, kIV}, {kIM}, Unsupported<kSlash>);
  Fill(t, {kIM}, {kR, kIV, kIM}, Unsupported<kSlash>);
  return t;
}();

constexpr TOperMatrix kDivElemTable = [] {
  TOperMatrix t{};
  IntegerQuotientCells(t);
  RealQuotientCells(t);
  Fill(t, {kD, kI}, {kM}, RealWithArray<kDivide>);
  Fill(t, {kC}, {kM}, ComplexWithArray<kDivide>);
  Fill(t, {kR, kV, kM}, {kM}, ArrayWithArray<kDivide>);
  Fill(t, {kM}, {kR, kV}, ArrayWithArray<kDivide>);
  Fill(t, {kS}, {kS}, Unsupported<kSlashDot>);
  return t;
}();

constexpr TOperMatrix kDivIntTable = [] {
  TOperMatrix t{};
  IntegerQuotientCells(t);
  return t;
}();

constexpr TOperMatrix kBackTable = [] {
  TOperMatrix t{};
  Fill(t, {kM}, {kV}, BackSolveVector);
  Fill(t, {kM}, {kM}, BackSolveMatrix);
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
  TNubraInt& a = IntArr(Left(e), Right(e));
  TNubraInt& b = IntArr(Right(e), Left(e));
  CheckRemLengths(a, b);
  Rem(a, b, ResInt(e));
}

constexpr TOperMatrix kRemTable = [] {
  TOperMatrix t{};
  Fill(t, {kD}, {kD, kI}, RealRem);
  Fill(t, {kI}, {kD}, RealRem);
  Fill(t, {kI}, {kI}, IntRem);
  Fill(t, {kD, kI, kC}, {kC}, ComplexRem);
  Fill(t, {kC}, {kD, kI}, ComplexRem);
  Fill(t, {kD, kI}, {kV, kM}, RealWithArray<kRem>);
  Fill(t, {kC}, {kV, kM}, ComplexWithArray<kRem>);
  Fill(t, {kV, kM}, {kD, kI}, ArrayWithReal<kRem>);
  Fill(t, {kV, kM}, {kC}, ArrayWithComplex<kRem>);
  Fill(t, {kV, kM}, {kV, kM}, RemArrays);
  Fill(t, {kI}, {kIV, kIM}, IntWithArray<kRem>);
  Fill(t, {kIV, kIM}, {kI}, ArrayWithInt<kRem>);
  Fill(t, {kIV, kIM}, {kIV, kIM}, IntRemArrays);
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

constexpr TOperMatrix kPowerTable = [] {
  TOperMatrix t{};
  Fill(t, {kD, kI}, {kD}, RealPower);
  Fill(t, {kD, kI}, {kI}, RealIntPower);
  Fill(t, {kD, kI, kC}, {kC}, ComplexPower);
  Fill(t, {kC}, {kD}, ComplexPower);
  Fill(t, {kC}, {kI}, ComplexIntPower);
  Fill(t, {kD, kI}, {kV, kM}, RealWithArray<kPower>);
  Fill(t, {kC}, {kV, kM}, ComplexWithArray<kPower>);
  Fill(t, {kV, kM}, {kD}, ArrayWithReal<kPower>);
  Fill(t, {kV, kM}, {kI}, ArrayIntPower);
  Fill(t, {kV, kM}, {kC}, ArrayWithComplex<kPower>);
  Fill(t, {kV, kM}, {kV, kM}, ArrayWithArray<kPower>);
  return t;
}();

constexpr TOperMatrix kIntPowerTable = [] {
  TOperMatrix t{};
  Fill(t, {kD, kI}, {kI}, RealIntPower);
  Fill(t, {kC}, {kI}, ComplexIntPower);
  Fill(t, {kV, kM}, {kI}, ArrayIntPower);
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

constexpr TOperVector kTransposeTable = [] {
  TOperVector t{};
  t[kD] = CopyDouble;
  t[kI] = CopyInteger;
  t[kC] = ConjComplex;
  t[kV] = TransposeVector;
  t[kM] = TransposeMatrix;
  t[kIV] = TransposeIntVector;
  t[kIM] = TransposeIntMatrix;
  return t;
}();

}  // namespace

void _RDiv(TExprRec& expr) { RedirectOperDiv(expr, kDivTable); }
void _RDivElem(TExprRec& expr) { RedirectOperInt(expr, kDivElemTable); }
void _RDivElemInt(TExprRec& expr) { RedirectOperStrictInt(expr, kDivIntTable); }
void _RDivBack(TExprRec& expr) { RedirectOperBack(expr, kBackTable); }
void _Rem(TExprRec& expr) { RedirectOperRem(expr, kRemTable); }
void _Power(TExprRec& expr) { RedirectOper(expr, kPowerTable); }
void _IntPower(TExprRec& expr) { RedirectOperIntPower(expr, kIntPowerTable); }
void _Transpose(TExprRec& expr) { RedirectOperZel(expr, kTransposeTable); }

}  // namespace zel
