// Placeholder routines for the colon operator and selection: each raises until its implementation replaces
// this file.
#include "parse/operators.h"

namespace zel {

namespace {
[[noreturn]] void NotYet(const TExprRec& expr) {
  throw EZelParseError("Operator \"" + (expr.ExprWord ? expr.ExprWord->Name() : std::string()) +
                       "\" is not implemented yet");
}
}  // namespace

void _Colon(TExprRec& expr) { NotYet(expr); }
void _Select1(TExprRec& expr) { NotYet(expr); }
void _Select2(TExprRec& expr) { NotYet(expr); }
void _Select3(TExprRec& expr) { NotYet(expr); }

}  // namespace zel
