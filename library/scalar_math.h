// Element-wise scalar functions of the library. Each takes one argument: doubles and integers (as their
// double value) give doubles, complex values use complex arithmetic, vectors (and ranges, expanded) and
// matrices are mapped element by element into a result of the same shape by the numeric core.
#pragma once

#include "lang/words/words.h"

namespace zel {

// The element-wise rule of the operators: double, integer → double; complex → complex; vector and range
// → vector; matrix → matrix.
void _Exp(TExprRec& expr);
void _Ln(TExprRec& expr);  // also "log"
void _Sqrt(TExprRec& expr);
void _Sqr(TExprRec& expr);
void _Sin(TExprRec& expr);
void _Cos(TExprRec& expr);
void _Tan(TExprRec& expr);
// Real results (the modulus of complex values); ranges are not accepted.
void _Abs(TExprRec& expr);

}  // namespace zel
