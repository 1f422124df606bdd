// The zel command's runner: warnings about script text, argument names in symbol lists, and the form of
// its messages in a file and in the interactive loop.
#include "apps/zel/runner.h"

#include <gtest/gtest.h>

#include <sstream>

#include "apps/zel/lint.h"
#include "apps/zel/symbols.h"

namespace zel::app {
namespace {

TEST(Lint, WarnsAboutTextTheCompilerAcceptsAsWritten) {
  const struct {
    std::vector<std::string> lines;
    std::vector<std::string> warnings;  // "LINE: message", LINE from 0
  } cases[] = {
      {{"s = \"abc\"", "t = \"a\" + \"b\" // \"c"}, {}},
      {{"s = \"abc"}, {"0: unterminated string literal: the string runs to the end of the line"}},
      {{"s = \"a//b\""}, {"0: unterminated string literal: \"//\" starts a comment, also inside a string"}},
      {{std::string("x = 1\0 + 5", 10)}, {"0: control character 0x00 in the line"}},
      {{"x = 1\t+ 5", "y = 2\x7f"}, {"1: control character 0x7F in the line"}},
      {{"break", "if true", "continue;", "end"},
       {"0: 'break' outside a loop does nothing", "2: 'continue' outside a loop does nothing"}},
      {{"while true", "if x", "break", "end", "end", "break // after the loop"},
       {"5: 'break' outside a loop does nothing"}},
      {{"for i = 1:3", "for j = 1:3", "end", "continue", "end"}, {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> got;
    for (const TLineWarning& w : LintScript(c.lines))
      got.push_back(std::to_string(w.line) + ": " + w.message);
    EXPECT_EQ(got, c.warnings) << c.lines[0];
  }
}

TEST(Lint, LoneNamesAndPrintableText) {
  const std::pair<const char*, const char*> names[] = {
      {"x", "x"}, {"  total_2 ; // sum", "total_2"}, {"x + 1", ""}, {"f(x)", ""}, {"2", ""}, {"// x", ""}};
  for (const auto& [line, name] : names) EXPECT_EQ(LoneName(line), name) << line;
  EXPECT_EQ(Printable(std::string("a\0b\x1b", 4)), "a\\x00b\\x1B");
}

TEST(Symbols, CallFormsTakeArgumentNamesFromTheHelpExample) {
  const struct {
    const char* name;
    int args;
    const char* help;
    const char* form;
  } cases[] = {
      {"logN", 2, "logN(x, n): logarithm of x to base n", "logN(x,n)"},
      {"Exp", 1, "exp(x): e^", "Exp(x)"},                               // the help quotes another spelling
      {"max", 2, "returns the larger of two values", "max(,)"},         // no example
      {"max", 3, "max(a, b): the larger", "max(,,)"},                   // the example has other arguments
      {"rand", 0, "rand(): uniform in [0, 1)", "rand()"},               //
      {"cat", 0, "cat(src1, src2, ...): joins", "cat(src1,src2,...)"},  // any number of arguments
      {"sel", 3, "sel(m, f(a, b), c): nested", "sel(m,f(a, b),c)"},     // commas inside brackets
      {"tan", 1, "tangent(x): the tangent", "tan()"},                   // another word's example
  };
  for (const auto& c : cases) EXPECT_EQ(CallForm(c.name, c.args, c.help), c.form) << c.help;
}

TEST(Runner, MessagesNameThePlaceAndShowTheLine) {
  const struct {
    const char* origin;
    const char* script;
    TRunResult result;
    const char* err;
  } cases[] = {
      {"f.zel", "a = 1\nb = a(2)", TRunResult::Failed,
       "f.zel:2: error: Unsupported value selection types: integer ( integer )\n    b = a(2)\n"},
      {"-e", "y\n", TRunResult::Failed, "-e:1: error: 'y' is not defined\n    y\n"},
      {"-", "if true\nx = 1", TRunResult::Failed,
       "-:2: error: Syntax error: missing \"end\" keyword!\n    x = 1\n"},
      {"-", "v = 1\nw = v + u;", TRunResult::Failed,
       "-:2: error: Unrecognized function or value select called on undefined variable!\n    w = v + u;\n"
       "-:2: note: 'u' is not defined\n"},
      // The interactive loop: no place for one line, "line N" inside a block.
      {"", "q", TRunResult::Failed, "error: 'q' is not defined\n"},
      {"", "for i = 1:0:3\nend", TRunResult::Failed,
       "line 1: error: Invalid Range specification with zero step!\n    for i = 1:0:3\n"},
      {"", "break", TRunResult::Completed, "warning: 'break' outside a loop does nothing\n"},
  };
  for (const auto& c : cases) {
    TZelExpression x;
    std::ostringstream out, err;
    EXPECT_EQ(RunScript(x, c.origin, c.script, out, err), c.result) << c.script;
    EXPECT_EQ(err.str(), c.err) << c.script;
  }
}

TEST(Runner, AStoppedRunKeepsItsVariablesAndTellsWhy) {
  TZelExpression x;
  x.SetMaxSteps(7);
  std::ostringstream out, err;
  EXPECT_EQ(RunScript(x, "-", "k = 0\nwhile true\nk = k + 1;\nend", out, err), TRunResult::Failed);
  EXPECT_EQ(err.str(),
            "-:2: error: Evaluation stopped: the step limit of 7 lines was reached\n    while true\n");
  EXPECT_EQ(out.str(), "k(integer) = 0\n");
  EXPECT_EQ(x.GetVarByName("k")->IntegerValue(), 2);
  x.RequestCancel();
  EXPECT_EQ(RunScript(x, "-", "k = 5", out, err), TRunResult::Cancelled);
  EXPECT_EQ(x.GetVarByName("k")->IntegerValue(), 2);
}

}  // namespace
}  // namespace zel::app
