// Concatenation functions: colconcat joins its arguments into one row (the comma inside brackets),
// rowconcat stacks them as rows (the semicolon). Each comes in two variants chosen when the symbol table
// is built: "real" makes integer data real (double) results, "int" keeps integer results when every
// argument holds integer data.
#pragma once

#include "lang/words/words.h"

namespace zel {

void _ColConcatReal(TExprRec& expr);
void _ColConcatInt(TExprRec& expr);
void _RowConcatReal(TExprRec& expr);
void _RowConcatInt(TExprRec& expr);

}  // namespace zel
