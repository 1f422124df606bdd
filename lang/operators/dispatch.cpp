// The generic dispatch of the operators (see dispatch.h), DefineResultType, and the element-wise rule of
// the built-in functions (RedirectOper, unary), which no operator uses. Each other public dispatch
// variant is defined next to its rules in the file of the operators it serves.
#include "lang/operators/dispatch.h"

namespace zel {

namespace dispatch {

namespace {

// Raises the dispatch error of a rejected cell.
[[noreturn]] void Reject(const TExprRec& expr, int operands) {
  if (operands == 1) UnsupportedValueTypesError(expr, expr.Args[0]->ValueType());
  UnsupportedValueTypesError(expr, expr.Args[0]->ValueType(), expr.Args[1]->ValueType());
}

}  // namespace

void Run(TExprRec& expr, const Cell& cell) {
  if (cell.result == Re) {
    expr.Res->DefineExtRange();
  } else if (cell.result != None) {
    DefineResultType(*expr.Res, static_cast<TValueType>(cell.result));
  }
  expr.Oper = cell.routine;
  cell.routine(expr);
}

void Dispatch(TExprRec& expr, const UnaryCells& cells) {
  const Cell& cell = cells.cells[KindOf(*expr.Args[0])];
  if (!cell.routine) Reject(expr, 1);
  Run(expr, cell);
}

void Dispatch(TExprRec& expr, const BinaryCells& cells) {
  const Cell& cell = cells.cells[KindOf(*expr.Args[0])][KindOf(*expr.Args[1])];
  if (!cell.routine) Reject(expr, 2);
  Run(expr, cell);
}

void Dispatch(TExprRec& expr, const UnaryCells& rules, const TOperVector& routines) {
  const Cell cell = CellOf(rules, routines, KindOf(*expr.Args[0]));
  if (!cell.routine) Reject(expr, 1);
  Run(expr, cell);
}

void Dispatch(TExprRec& expr, const BinaryCells& rules, const TOperMatrix& routines) {
  const Cell cell = CellOf(rules, routines, KindOf(*expr.Args[0]), KindOf(*expr.Args[1]));
  if (!cell.routine) Reject(expr, 2);
  Run(expr, cell);
}

}  // namespace dispatch

namespace {

using namespace dispatch;

// Element-wise functions: real and integer arguments give a real, ranges (either form) are computed as
// vectors.
constexpr UnaryCells kFunctionRules = [] {
  UnaryCells t{};
  Set(t, {D, I}, D);
  Set(t, Ranges, V, AsVector);
  Set(t, {C}, C);
  Set(t, {V}, V);
  Set(t, {M}, M);
  return t;
}();

}  // namespace

void DefineResultType(TValueRec& rec, TValueType t) {
  switch (t) {
    case vtUndefined:
      rec.Undefine();
      break;
    case vtDoubleValue:
      rec.DefineDouble();
      break;
    case vtRangeValue:
      rec.DefineRange();
      break;
    case vtString:
      rec.DefineString();
      break;
    case vtComplexValue:
      rec.DefineComplex();
      break;
    case vtVectorValue:
      rec.DefineVector();
      break;
    case vtIntegerValue:
      rec.DefineInteger();
      break;
    case vtIntVectorValue:
      rec.DefineIntVector();
      break;
    case vtIntMatrixValue:
      rec.DefineIntMatrix();
      break;
    case vtBoolValue:
      rec.DefineBool();
      break;
    case vtBoolVectorValue:
      rec.DefineBoolVector();
      break;
    case vtBoolMatrixValue:
      rec.DefineBoolMatrix();
      break;
    case vtMatrixValue:
      rec.DefineMatrix();
      break;
    case vtCustomValue:
      rec.DefineCustomValue();
      break;
  }
}

void RedirectOper(TExprRec& expr, const TOperVector& table) { Dispatch(expr, kFunctionRules, table); }

}  // namespace zel
