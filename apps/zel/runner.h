// Runs script text on an expression object the way the zel command does: line by line with flow
// control, printing the value of every line that is not a flow keyword and does not end with ";".
#pragma once

#include <iosfwd>
#include <string>

#include "script/expression.h"

namespace zel::app {

// Compiles `text` as one script on `expr` (variables already defined stay) and runs it, printing to
// `out`. Errors propagate as exceptions.
void RunScript(TZelExpression& expr, const std::string& text, std::ostream& out);

// Prints the symbol lists: kind is "functions", "operators" or "constants"; markdown renders a table.
void PrintSymbols(TZelExpression& expr, const std::string& kind, bool markdown, std::ostream& out);

// Read-eval-print loop on a terminal with line editing and history. Returns the exit status.
int Repl(TZelExpression& expr);

// Net change of open blocks in a line: +1 for if/while/for, -1 for end, 0 otherwise.
int BlockDelta(const std::string& line);

}  // namespace zel::app
