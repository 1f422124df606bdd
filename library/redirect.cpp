// The function library's redirectors (see redirect.h): one constant rule table per rule and one shared
// dispatch routine.
#include "library/redirect.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace zel {

namespace {

// Result type per argument type; kNone marks a type without a rule.
constexpr std::int8_t kNone = -1;
using Rules = std::array<std::int8_t, ValueTypeCount>;

struct Rule {
  TValueType arg;
  TValueType result;
};

constexpr Rules MakeRules(std::initializer_list<Rule> rules) {
  Rules t{};
  for (auto& r : t) r = kNone;
  for (const Rule& r : rules) t[r.arg] = static_cast<std::int8_t>(r.result);
  return t;
}

constexpr Rules kRealRules = MakeRules({{vtDoubleValue, vtDoubleValue},
                                        {vtIntegerValue, vtDoubleValue},
                                        {vtComplexValue, vtDoubleValue},
                                        {vtVectorValue, vtVectorValue},
                                        {vtMatrixValue, vtMatrixValue}});
constexpr Rules kCplxRules = MakeRules({{vtDoubleValue, vtComplexValue},
                                        {vtIntegerValue, vtComplexValue},
                                        {vtComplexValue, vtComplexValue},
                                        {vtVectorValue, vtVectorValue},
                                        {vtMatrixValue, vtMatrixValue}});
constexpr Rules kBoolRules = MakeRules({{vtDoubleValue, vtBoolValue},
                                        {vtIntegerValue, vtBoolValue},
                                        {vtComplexValue, vtBoolValue},
                                        {vtVectorValue, vtBoolVectorValue},
                                        {vtMatrixValue, vtBoolMatrixValue},
                                        {vtIntVectorValue, vtBoolVectorValue},
                                        {vtIntMatrixValue, vtBoolMatrixValue}});
constexpr Rules kToIntRules = MakeRules({{vtDoubleValue, vtIntegerValue},
                                         {vtIntegerValue, vtIntegerValue},
                                         {vtVectorValue, vtIntVectorValue},
                                         {vtMatrixValue, vtIntMatrixValue}});
constexpr Rules kKeepIntRules = MakeRules({{vtDoubleValue, vtDoubleValue},
                                           {vtIntegerValue, vtIntegerValue},
                                           {vtComplexValue, vtComplexValue},
                                           {vtVectorValue, vtVectorValue},
                                           {vtMatrixValue, vtMatrixValue}});
constexpr Rules kThreshRules = [] {
  Rules t = kKeepIntRules;
  t[vtIntVectorValue] = vtIntVectorValue;
  t[vtIntMatrixValue] = vtIntMatrixValue;
  return t;
}();

void Dispatch(TExprRec& expr, const Rules& rules, const TOperVector& table) {
  const TValueType t = expr.Args[0]->ValueType();
  const TExprFunc typed = rules[t] == kNone ? nullptr : table[t];
  if (!typed) RaiseUnsupportedArgs(expr);
  DefineResultType(*expr.Res, static_cast<TValueType>(rules[t]));
  expr.Oper = typed;
  typed(expr);
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

void RedirectOperReal(TExprRec& expr, const TOperVector& table) { Dispatch(expr, kRealRules, table); }
void RedirectOperCplx(TExprRec& expr, const TOperVector& table) { Dispatch(expr, kCplxRules, table); }
void RedirectOperBool(TExprRec& expr, const TOperVector& table) { Dispatch(expr, kBoolRules, table); }
void RedirectOperToInt(TExprRec& expr, const TOperVector& table) { Dispatch(expr, kToIntRules, table); }
void RedirectOperKeepInt(TExprRec& expr, const TOperVector& table) { Dispatch(expr, kKeepIntRules, table); }
void RedirectOperThresh(TExprRec& expr, const TOperVector& table) { Dispatch(expr, kThreshRules, table); }

}  // namespace zel
