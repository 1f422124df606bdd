// Commands, block collection and completion of the interactive session.
#include "apps/zel/session.h"

#include <algorithm>
#include <ostream>

#include "apps/zel/runner.h"
#include "apps/zel/symbols.h"

namespace zel::app {

namespace {

const char* const kCommands[] = {"exit", "help", "quit", "who"};

// The text without blanks at either end.
std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

// The part of a symbol list entry before its argument list.
std::string BaseName(const std::string& entry) { return entry.substr(0, entry.find('(')); }

// True when a variable word holds a value (compilation creates words for names that never got one).
bool HasValue(const TExprWord& w) { return w.VRec() && w.VRec()->ValueType() != vtUndefined; }

}  // namespace

std::string TypeDescription(const TValueRec& v) {
  const std::string name = ValTypeName(v.ValueType());
  switch (v.ValueType()) {
    case vtVectorValue:
      return (v.VectorField()->Complex() ? "complex " : "") + name + " 1x" +
             std::to_string(v.VectorField()->Length());
    case vtIntVectorValue:
    case vtBoolVectorValue:
      return name + " 1x" + std::to_string(v.IntVectorField()->Length());
    case vtMatrixValue:
      return (v.MatrixField()->Complex() ? "complex " : "") + name + " " +
             std::to_string(v.MatrixField()->Rows()) + "x" + std::to_string(v.MatrixField()->Cols());
    case vtIntMatrixValue:
    case vtBoolMatrixValue:
      return name + " " + std::to_string(v.IntMatrixField()->Rows()) + "x" +
             std::to_string(v.IntMatrixField()->Cols());
    default:
      return name;
  }
}

TReplSession::TAction TReplSession::HandleLine(const std::string& line, std::ostream& out,
                                               std::ostream& err) {
  const std::string text = Trim(line);
  if (!InBlock()) {
    if (text == "exit" || text == "quit") return TAction::Quit;
    if (text == "help") {
      PrintHelp(out);
      return TAction::Continue;
    }
    if (text.rfind("help ", 0) == 0) {
      PrintHelp(Trim(text.substr(5)), out);
      return TAction::Continue;
    }
    if (text == "who") {
      PrintVariables(out);
      return TAction::Continue;
    }
    if (text.empty()) return TAction::Continue;
  }
  fBlock += (fBlock.empty() ? "" : "\n") + line;
  fDepth += BlockDelta(line);
  if (fDepth > 0) return TAction::Continue;
  const std::string script = fBlock;
  fBlock.clear();
  fDepth = 0;
  fExpr.ClearCancel();  // a Ctrl-C at the prompt is spent on the line being typed
  RunScript(fExpr, "", script, out, err);
  return TAction::Continue;
}

bool TReplSession::DiscardBlock() {
  const bool had = InBlock();
  fBlock.clear();
  fDepth = 0;
  return had;
}

std::vector<std::string> TReplSession::Completions(const std::string& prefix) {
  std::vector<std::string> names(std::begin(kCommands), std::end(kCommands));
  const std::uint32_t kinds = ltFunction | ltVaryingFunction | ltConstant | ltVariable;
  const TWordList& words = fExpr.Words();
  for (int i = 0; i < words.Count(); ++i) {
    const TExprWord& w = *words[i];
    if ((w.LexemeType() & kinds) == 0 || (w.LexemeType() == ltVariable && !HasValue(w))) continue;
    names.push_back(w.Name());
  }
  std::vector<std::string> matches;
  for (const std::string& n : names)
    if (n.compare(0, prefix.size(), prefix) == 0) matches.push_back(n);
  std::sort(matches.begin(), matches.end());
  matches.erase(std::unique(matches.begin(), matches.end()), matches.end());
  return matches;
}

void TReplSession::PrintHelp(std::ostream& out) const {
  out << "Type a statement and press Enter; its value prints unless the line ends with \";\".\n"
         "Blocks (if/else, while, for ... end) run once their \"end\" is typed.\n"
         "Ctrl-C stops a running statement or discards a half-typed block; variables stay.\n"
         "  help NAME    the help of a function, operator or constant\n"
         "  who          the variables and their types\n"
         "  exit, quit   leave (Ctrl-D too)\n"
         "Tab completes names. `zel --functions` lists every function.\n";
}

void TReplSession::PrintHelp(const std::string& name, std::ostream& out) {
  bool found = false;
  for (const char* kind : {"functions", "operators", "constants"}) {
    for (const TSymbolEntry& e : SymbolEntries(fExpr, kind, true)) {
      if (BaseName(e.name) != name && e.name != name) continue;
      out << e.help << '\n';
      found = true;
    }
  }
  if (found) return;
  const TValueRec* v = fExpr.GetVarByName(name);
  if (v && v->ValueType() != vtUndefined) {
    out << name << " is a variable: " << TypeDescription(*v) << '\n';
    return;
  }
  out << "no help for '" << name << "': it is not a function, operator, constant or variable\n";
}

void TReplSession::PrintVariables(std::ostream& out) {
  std::vector<std::string> names;
  fExpr.GetVarList(names);
  std::vector<std::pair<std::string, std::string>> rows;
  size_t width = 0;
  for (const std::string& n : names) {
    const TValueRec* v = fExpr.GetVarByName(n);
    if (!v || v->ValueType() == vtUndefined) continue;
    rows.emplace_back(n, TypeDescription(*v));
    width = std::max(width, n.size());
  }
  if (rows.empty()) {
    out << "no variables\n";
    return;
  }
  for (const auto& [n, type] : rows) out << n << std::string(width - n.size() + 2, ' ') << type << '\n';
}

}  // namespace zel::app
