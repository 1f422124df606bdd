// Runs script text on an expression object the way the zel command does: line by line with flow
// control, printing the value of every line that is not a flow keyword and does not end with ";", and
// reporting errors and warnings with the place and the text of the line.
#pragma once

#include <iosfwd>
#include <string>

#include "script/expression.h"

namespace zel::app {

// How a run ended.
enum class TRunResult { Completed, Failed, Cancelled };

// Compiles `text` as one script on `expr` (variables defined before stay) and runs it, printing values
// to `out`. Errors and warnings go to `err` as "ORIGIN:LINE: error: MESSAGE" (LINE from 1) followed by
// the line's text, indented; `origin` is the file name, "-" for standard input or "-e" for command-line
// text. With an empty origin (the interactive loop) the place is "line LINE" and is left out for a
// one-line input. Evaluation errors are the library's messages without its "Line N: " prefix.
TRunResult RunScript(TZelExpression& expr, const std::string& origin, const std::string& text,
                     std::ostream& out, std::ostream& err);

// Net change of open blocks in a line: +1 for if/while/for, -1 for end, 0 otherwise.
int BlockDelta(const std::string& line);

}  // namespace zel::app
