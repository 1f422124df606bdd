// Placeholder routines for assignment: each raises until its implementation replaces this file.
#include "parse/operators.h"

namespace zel {

namespace {
[[noreturn]] void NotYet(const TExprRec& expr) {
  throw EZelParseError("Operator \"" + (expr.ExprWord ? expr.ExprWord->Name() : std::string()) +
                       "\" is not implemented yet");
}
}  // namespace

void _Assign(TExprRec& expr) { NotYet(expr); }
void _Assign3(TExprRec& expr) { NotYet(expr); }
void _assign4(TExprRec& expr) { NotYet(expr); }

}  // namespace zel
