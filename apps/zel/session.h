// The interactive session's handling of typed lines, apart from the terminal: commands (help, who,
// exit, quit), blocks collected until their "end", completion candidates. The readline loop in
// repl.cpp feeds it; tests call it directly.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "script/expression.h"

namespace zel::app {

class TReplSession {
 public:
  enum class TAction { Continue, Quit };

  explicit TReplSession(TZelExpression& expr) : fExpr(expr) {}

  // One typed line. At the top level "help", "help NAME", "who", "exit" and "quit" are commands; any other
  // line is script: a line opening a block waits for its "end", then the block runs as one script with
  // values printed to `out` and messages to `err`.
  TAction HandleLine(const std::string& line, std::ostream& out, std::ostream& err);
  // Forgets a half-typed block (Ctrl-C at the prompt); true when there was one.
  bool DiscardBlock();
  bool InBlock() const { return !fBlock.empty(); }
  const char* Prompt() const { return InBlock() ? "...> " : "zel> "; }
  // Sorted names starting with `prefix` that a line can use: commands, keywords, functions, constants
  // and variables that hold a value.
  std::vector<std::string> Completions(const std::string& prefix);

  // What `help` prints: what can be typed, briefly.
  void PrintHelp(std::ostream& out) const;
  // What `help NAME` prints: the help text of every overload of the word, or what the variable holds.
  void PrintHelp(const std::string& name, std::ostream& out);
  // What `who` prints: the variables that hold a value, with their types.
  void PrintVariables(std::ostream& out);

 private:
  TZelExpression& fExpr;
  std::string fBlock;  // lines typed so far of an unfinished block
  int fDepth = 0;      // blocks open in fBlock
};

// The type of a value as `who` shows it: "double", "vector 1x3", "complex matrix 2x2", ...
std::string TypeDescription(const TValueRec& value);

}  // namespace zel::app
