// Checks of script text that the language accepts but that are almost always mistakes; the zel command
// reports them as warnings and runs the script as written.
#pragma once

#include <string>
#include <vector>

namespace zel::app {

struct TLineWarning {
  int line;  // 0-based
  std::string message;
};

// Warnings for the lines of one script, in line order: an unterminated string literal, a control
// character in a line, and "break" or "continue" outside every loop.
std::vector<TLineWarning> LintScript(const std::vector<std::string>& lines);

// The identifier a line consists of (ignoring blanks, a final ";" and a comment), or "".
std::string LoneName(const std::string& line);

// The first identifier of a line, or "" (keywords are recognised by it).
std::string FirstWord(const std::string& line);

// The line with control characters written as \xNN, for showing it under a message.
std::string Printable(const std::string& line);

}  // namespace zel::app
