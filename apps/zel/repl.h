// The interactive loop of the zel command on a terminal.
#pragma once

#include "script/expression.h"

namespace zel::app {

// Read-eval-print loop with line editing, completion and history. Returns the exit status.
int Repl(TZelExpression& expr);

}  // namespace zel::app
