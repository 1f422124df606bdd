#include "apps/zel/runner.h"

#include <cctype>
#include <ostream>
#include <stdexcept>
#include <vector>

namespace zel::app {

namespace {

// Blank lines and comment-only lines evaluate to true; they print nothing.
bool IsBlankLine(const std::string& text) {
  const size_t b = text.find_first_not_of(" \t\r");
  return b == std::string::npos || text.compare(b, 2, "//") == 0;
}

}  // namespace

void RunScript(TZelExpression& expr, const std::string& text, std::ostream& out) {
  expr.SetExpressions(text);
  if (expr.ExprCount() == 0) return;
  expr.Compile();
  // Which lines print their value is decided once from their text, not on every step of a loop.
  std::vector<char> prints(static_cast<size_t>(expr.ExprCount()));
  for (int n = 0; n < expr.ExprCount(); ++n) {
    const TSingleExpression& line = expr.Line(n);
    prints[static_cast<size_t>(n)] =
        line.FlowKeyword == eccNone && !TerminatedWithSemicolon(line.Str) && !IsBlankLine(line.Str);
  }
  std::vector<std::string> lines;
  for (int n = 0; n < expr.ExprCount();) {
    int next = 0;
    try {
      next = expr.EvaluateStep(n);
    } catch (const std::exception& e) {
      // Like a compiled run, a script of several lines names the failing line (counted from 0).
      if (expr.ExprCount() > 1) throw std::runtime_error("Line " + std::to_string(n) + ": " + e.what());
      throw;
    }
    const TSingleExpression& line = expr.Line(n);
    if (prints[static_cast<size_t>(n)]) {
      if (const TValueRec* value = expr.ExprResult(n)) {
        lines.clear();
        expr.VarPrint(*value, line.ResultName.empty() ? "ans" : line.ResultName, lines);
        for (const std::string& l : lines) out << l << '\n';
      }
    }
    n = next;
  }
}

void PrintSymbols(TZelExpression& expr, const std::string& kind, bool markdown, std::ostream& out) {
  std::vector<std::string> names, help;
  if (kind == "functions") {
    expr.GetFuncList(names, &help, true);
  } else if (kind == "operators") {
    expr.GetOperList(names, &help);
  } else {
    expr.GetConstList(names, &help);
  }
  if (markdown) {
    out << "| Name | Description |\n|---|---|\n";
    for (size_t i = 0; i < names.size(); ++i) {
      std::string h = help[i];
      for (size_t p = h.find('|'); p != std::string::npos; p = h.find('|', p + 2)) h.replace(p, 1, "\\|");
      std::string n = names[i];
      for (size_t p = n.find('|'); p != std::string::npos; p = n.find('|', p + 2)) n.replace(p, 1, "\\|");
      out << "| `" << n << "` | " << h << " |\n";
    }
    return;
  }
  for (size_t i = 0; i < names.size(); ++i) out << names[i] << "\t" << help[i] << '\n';
}

int BlockDelta(const std::string& line) {
  size_t b = line.find_first_not_of(" \t");
  if (b == std::string::npos) return 0;
  size_t e = b;
  while (e < line.size() && (std::isalnum(static_cast<unsigned char>(line[e])) || line[e] == '_')) ++e;
  const std::string first = line.substr(b, e - b);
  if (first == "if" || first == "while" || first == "for") return 1;
  if (first == "end") return -1;
  return 0;
}

}  // namespace zel::app
