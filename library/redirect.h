// Type dispatch of the built-in functions. Besides the operators' element-wise rule (RedirectOper in
// lang/operators/operators.h: double and integer give double, complex complex, vector and range vector,
// matrix matrix), functions pick their result type by one of the rules below. Each redirector reads the type
// of the first argument, rejects types without a rule (UnsupportedValueTypesError naming every argument's
// type), defines the node's result with the rule's type, stores the handler for that type from `table`
// in the node's Oper and calls it, so later evaluations run the handler directly.
//
//   argument:    double   integer  complex  vector  matrix  int vector  int matrix
//   R (real)     double   double   double   vector  matrix  -           -
//   C (complex)  complex  complex  complex  vector  matrix  -           -
//   B (boolean)  bool     bool     bool     bool v. bool m. bool vector bool matrix
//   I (integer)  integer  integer  -        int v.  int m.  -           -
//   K (keeps)    double   integer  complex  vector  matrix  -           -
//   T (thresh.)  double   integer  complex  vector  matrix  int vector  int matrix
//
// Ranges, strings, boolean kinds, custom values and undefined values have no rule in any of them.
#pragma once

#include "lang/operators/operators.h"

namespace zel {

void RedirectOperReal(TExprRec& expr, const TOperVector& table);     // R
void RedirectOperCplx(TExprRec& expr, const TOperVector& table);     // C
void RedirectOperBool(TExprRec& expr, const TOperVector& table);     // B
void RedirectOperToInt(TExprRec& expr, const TOperVector& table);    // I
void RedirectOperKeepInt(TExprRec& expr, const TOperVector& table);  // K
void RedirectOperThresh(TExprRec& expr, const TOperVector& table);   // T

// The unsupported-value-types error of a function node, naming the types of all its arguments (up to
// five); an undefined argument gives the UnknownExprWord text.
[[noreturn]] void RaiseUnsupportedArgs(const TExprRec& expr);

}  // namespace zel
