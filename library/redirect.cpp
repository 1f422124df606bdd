// The function library's redirectors (see redirect.h): one constant rule table per rule, in the
// operators' dispatch vocabulary (lang/operators/dispatch.h), and one shared dispatch routine.
#include "library/redirect.h"

#include <cstddef>

#include "lang/operators/dispatch.h"

namespace zel {

namespace {

using namespace dispatch;

// The rules: result kind per argument kind (results only; the caller's table gives the routine).
constexpr UnaryCells kRealRules = [] {
  UnaryCells t{};
  Set(t, {D, I, C}, D);
  Set(t, {V}, V);
  Set(t, {M}, M);
  return t;
}();

constexpr UnaryCells kCplxRules = [] {
  UnaryCells t{};
  Set(t, {D, I, C}, C);
  Set(t, {V}, V);
  Set(t, {M}, M);
  return t;
}();

constexpr UnaryCells kBoolRules = [] {
  UnaryCells t{};
  Set(t, {D, I, C}, B);
  Set(t, {V, IV}, BV);
  Set(t, {M, IM}, BM);
  return t;
}();

constexpr UnaryCells kToIntRules = [] {
  UnaryCells t{};
  Set(t, {D, I}, I);
  Set(t, {V}, IV);
  Set(t, {M}, IM);
  return t;
}();

constexpr UnaryCells kKeepIntRules = [] {
  UnaryCells t{};
  for (Kind k : {D, I, C, V, M}) Set(t, {k}, k);
  return t;
}();

constexpr UnaryCells kThreshRules = [] {
  UnaryCells t = kKeepIntRules;
  Set(t, {IV}, IV);
  Set(t, {IM}, IM);
  return t;
}();

// Runs the cell of the first argument's kind; a rejected one names every argument's type.
void Redirect(TExprRec& expr, const UnaryCells& rules, const TOperVector& table) {
  const Cell cell = CellOf(rules, table, KindOf(*expr.Args[0]));
  if (!cell.routine) RaiseUnsupportedArgs(expr);
  Run(expr, cell);
}

}  // namespace

void RaiseUnsupportedArgs(const TExprRec& expr) {
  const auto type = [&](std::size_t i) {
    return i < expr.Args.size() && expr.Args[i] ? expr.Args[i]->ValueType() : vtUndefined;
  };
  switch (expr.ArgCount) {
    case 0:
    case 1:
      UnsupportedValueTypesError(expr, type(0));
    case 2:
      UnsupportedValueTypesError(expr, type(0), type(1));
    case 3:
      UnsupportedValueTypesError(expr, type(0), type(1), type(2));
    case 4:
      UnsupportedValueTypesError(expr, type(0), type(1), type(2), type(3));
    default:
      UnsupportedValueTypesError(expr, type(0), type(1), type(2), type(3), type(4));
  }
}

void RedirectOperReal(TExprRec& expr, const TOperVector& table) { Redirect(expr, kRealRules, table); }
void RedirectOperCplx(TExprRec& expr, const TOperVector& table) { Redirect(expr, kCplxRules, table); }
void RedirectOperBool(TExprRec& expr, const TOperVector& table) { Redirect(expr, kBoolRules, table); }
void RedirectOperToInt(TExprRec& expr, const TOperVector& table) { Redirect(expr, kToIntRules, table); }
void RedirectOperKeepInt(TExprRec& expr, const TOperVector& table) { Redirect(expr, kKeepIntRules, table); }
void RedirectOperThresh(TExprRec& expr, const TOperVector& table) { Redirect(expr, kThreshRules, table); }

}  // namespace zel
