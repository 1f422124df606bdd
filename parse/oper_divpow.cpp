// Placeholder routines for division, remainder, power and transpose: each raises until its implementation
// replaces this file.
#include "parse/operators.h"

namespace zel {

namespace {
[[noreturn]] void NotYet(const TExprRec& expr) {
  throw EZelParseError("Operator \"" + (expr.ExprWord ? expr.ExprWord->Name() : std::string()) +
                       "\" is not implemented yet");
}
}  // namespace

void _RDiv(TExprRec& expr) { NotYet(expr); }
void _RDivElem(TExprRec& expr) { NotYet(expr); }
void _RDivElemInt(TExprRec& expr) { NotYet(expr); }
void _RDivBack(TExprRec& expr) { NotYet(expr); }
void _Rem(TExprRec& expr) { NotYet(expr); }
void _Power(TExprRec& expr) { NotYet(expr); }
void _IntPower(TExprRec& expr) { NotYet(expr); }
void _Transpose(TExprRec& expr) { NotYet(expr); }

}  // namespace zel
