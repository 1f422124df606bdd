// Placeholder routines for the additive and multiplicative operators: each raises until its implementation
// replaces this file.
#include "parse/operators.h"

namespace zel {

namespace {
[[noreturn]] void NotYet(const TExprRec& expr) {
  throw EZelParseError("Operator \"" + (expr.ExprWord ? expr.ExprWord->Name() : std::string()) +
                       "\" is not implemented yet");
}
}  // namespace

void _Add(TExprRec& expr) { NotYet(expr); }
void _AddElem(TExprRec& expr) { NotYet(expr); }
void _Minus(TExprRec& expr) { NotYet(expr); }
void _MinusElem(TExprRec& expr) { NotYet(expr); }
void _Mult(TExprRec& expr) { NotYet(expr); }
void _MultElem(TExprRec& expr) { NotYet(expr); }
void _Negate(TExprRec& expr) { NotYet(expr); }
void _Plus(TExprRec& expr) { NotYet(expr); }

}  // namespace zel
