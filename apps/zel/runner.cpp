// The zel command's run of one script: warnings about its text, compilation, then line by line
// evaluation with printing, each error reported once with its place and the text of the line.
#include "apps/zel/runner.h"

#include <cctype>
#include <cstdlib>
#include <new>
#include <ostream>
#include <stdexcept>
#include <vector>

#include "apps/zel/lint.h"

namespace zel::app {

namespace {

// Blank lines and comment-only lines evaluate to true; they print nothing.
bool IsBlankLine(const std::string& text) {
  const size_t b = text.find_first_not_of(" \t\r");
  return b == std::string::npos || text.compare(b, 2, "//") == 0;
}

// Writes diagnostics for one script: the place, the kind, the message, then the line itself.
class Reporter {
 public:
  Reporter(const TZelExpression& expr, const std::string& origin, std::ostream& out, std::ostream& err)
      : fExpr(expr), fOrigin(origin), fOut(out), fErr(err) {}

  void Report(int line, const char* kind, const std::string& message, bool showText = true) {
    fOut.flush();  // values printed so far come first when both streams share a file
    const bool interactiveOneLine = fOrigin.empty() && fExpr.ExprCount() == 1;
    if (!fOrigin.empty()) {
      fErr << fOrigin << ':' << line + 1 << ": ";
    } else if (!interactiveOneLine) {
      fErr << "line " << line + 1 << ": ";
    }
    fErr << kind << ": " << message << '\n';
    if (showText && !interactiveOneLine && line >= 0 && line < fExpr.ExprCount())
      fErr << "    " << Printable(fExpr.Expression(line)) << '\n';
  }

 private:
  const TZelExpression& fExpr;
  const std::string& fOrigin;
  std::ostream& fOut;
  std::ostream& fErr;
};

// Splits "Line N: message", the form in which compilation reports the line of a script of several lines.
int SplitLinePrefix(std::string& message) {
  if (message.rfind("Line ", 0) != 0) return -1;
  char* end = nullptr;
  const long n = std::strtol(message.c_str() + 5, &end, 10);
  if (end == message.c_str() + 5 || end[0] != ':' || end[1] != ' ') return -1;
  message.erase(0, static_cast<size_t>(end + 2 - message.c_str()));
  return static_cast<int>(n);
}

// Counts the appearances of identifier `name` as a whole word in the code of a line.
int CountWord(const std::string& code, const std::string& name) {
  int count = 0;
  for (size_t p = code.find(name); p != std::string::npos; p = code.find(name, p + 1)) {
    const bool startOk =
        p == 0 || !(std::isalnum(static_cast<unsigned char>(code[p - 1])) || code[p - 1] == '_');
    const size_t e = p + name.size();
    const bool endOk =
        e >= code.size() || !(std::isalnum(static_cast<unsigned char>(code[e])) || code[e] == '_');
    count += startOk && endOk;
  }
  return count;
}

// The names in a failing line that stand for variables without a value: the library's message about an
// undefined variable does not say which. The assigned variable counts only when it is also read: a new
// variable has no value until its assignment completes.
std::vector<std::string> UndefinedNames(TZelExpression& expr, int line) {
  const std::string code = expr.Expression(line).substr(0, expr.Expression(line).find("//"));
  const std::string& target = expr.Line(line).ResultName;
  std::vector<std::string> names, seen;
  for (size_t p = 0; p < code.size();) {
    if (code[p] == '"') {  // skip string literals
      const size_t close = code.find('"', p + 1);
      p = close == std::string::npos ? code.size() : close + 1;
      continue;
    }
    if (!(std::isalpha(static_cast<unsigned char>(code[p])) || code[p] == '_')) {
      ++p;
      continue;
    }
    size_t e = p;
    while (e < code.size() && (std::isalnum(static_cast<unsigned char>(code[e])) || code[e] == '_')) ++e;
    const std::string name = code.substr(p, e - p);
    p = e;
    bool known = false;
    for (const std::string& s : seen) known = known || s == name;
    if (known) continue;
    seen.push_back(name);
    const TValueRec* v = expr.GetVarByName(name);
    if (v && v->ValueType() == vtUndefined && (name != target || CountWord(code, name) > 1))
      names.push_back(name);
  }
  return names;
}

// Reports an evaluation error of line n, with notes naming undefined variables where the message does not.
TRunResult EvaluationFailed(TZelExpression& expr, Reporter& report, int n, const std::exception& e) {
  report.Report(n, "error", e.what());
  if (std::string(e.what()).find("undefined variable") != std::string::npos)
    for (const std::string& name : UndefinedNames(expr, n))
      report.Report(n, "note", "'" + name + "' is not defined", false);
  return expr.CancelRequested() ? TRunResult::Cancelled : TRunResult::Failed;
}

}  // namespace

TRunResult RunScript(TZelExpression& expr, const std::string& origin, const std::string& text,
                     std::ostream& out, std::ostream& err) {
  expr.SetExpressions(text);
  const int count = expr.ExprCount();
  if (count == 0) return TRunResult::Completed;
  Reporter report(expr, origin, out, err);
  std::vector<std::string> lines;
  for (int n = 0; n < count; ++n) lines.push_back(expr.Expression(n));
  for (const TLineWarning& w : LintScript(lines)) report.Report(w.line, "warning", w.message);

  try {
    expr.Compile();
  } catch (const std::exception& e) {
    std::string message = e.what();
    const int line = count > 1 ? SplitLinePrefix(message) : 0;
    report.Report(line, "error", message);
    return TRunResult::Failed;
  }
  // Which lines print their value, and which consist of one name, is decided once from their text, not on
  // every pass through a loop.
  std::vector<char> prints(static_cast<size_t>(count));
  std::vector<std::string> loneNames(static_cast<size_t>(count));
  for (int n = 0; n < count; ++n) {
    const TSingleExpression& line = expr.Line(n);
    prints[static_cast<size_t>(n)] =
        line.FlowKeyword == eccNone && !TerminatedWithSemicolon(line.Str) && !IsBlankLine(line.Str);
    loneNames[static_cast<size_t>(n)] = LoneName(line.Str);
  }
  expr.ResetSteps();
  std::vector<std::string> printed;
  for (int n = 0; n < count;) {
    int next = 0;
    try {
      next = expr.EvaluateStep(n);
      const TValueRec* value = expr.ExprResult(n);
      const std::string& lone = loneNames[static_cast<size_t>(n)];
      if (!lone.empty() && value && value->ValueType() == vtUndefined)
        throw std::runtime_error("'" + lone + "' is not defined");
      if (prints[static_cast<size_t>(n)] && value) {
        const TSingleExpression& line = expr.Line(n);
        printed.clear();
        expr.VarPrint(*value, line.ResultName.empty() ? "ans" : line.ResultName, printed);
        for (const std::string& l : printed) out << l << '\n';
        if (!out) return TRunResult::Failed;  // output that cannot be written: the caller says why
      }
    } catch (const std::bad_alloc&) {
      // Memory refused outside the numeric objects (printing a huge value, say), usually at the memory cap.
      report.Report(n, "error", "Not enough memory (see --max-memory)");
      return TRunResult::Failed;
    } catch (const std::exception& e) {
      return EvaluationFailed(expr, report, n, e);
    }
    n = next;
  }
  return TRunResult::Completed;
}

int BlockDelta(const std::string& line) {
  const std::string first = FirstWord(line);
  if (first == "if" || first == "while" || first == "for") return 1;
  if (first == "end") return -1;
  return 0;
}

}  // namespace zel::app
