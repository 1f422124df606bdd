// Placeholder routines for comparison, logical and bit operators: each raises until its implementation
// replaces this file.
#include "parse/operators.h"

namespace zel {

namespace {
[[noreturn]] void NotYet(const TExprRec& expr) {
  throw EZelParseError("Operator \"" + (expr.ExprWord ? expr.ExprWord->Name() : std::string()) +
                       "\" is not implemented yet");
}
}  // namespace

void _GT(TExprRec& expr) { NotYet(expr); }
void _LT(TExprRec& expr) { NotYet(expr); }
void _GE(TExprRec& expr) { NotYet(expr); }
void _LE(TExprRec& expr) { NotYet(expr); }
void _EQ(TExprRec& expr) { NotYet(expr); }
void _NE(TExprRec& expr) { NotYet(expr); }
void _And(TExprRec& expr) { NotYet(expr); }
void _Or(TExprRec& expr) { NotYet(expr); }
void _Xor(TExprRec& expr) { NotYet(expr); }
void _Not(TExprRec& expr) { NotYet(expr); }
void _BitShiftLeft(TExprRec& expr) { NotYet(expr); }
void _BitShiftRight(TExprRec& expr) { NotYet(expr); }

}  // namespace zel
