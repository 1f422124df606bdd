// Symbol lists for script writers: every overload of every function with its argument names, the
// operators and the constants, each with its help text.
#include "apps/zel/symbols.h"

#include <cctype>
#include <ostream>
#include <vector>

namespace zel::app {

namespace {

// Case-insensitive equality: help texts of the capitalised spellings quote the lower-case name.
bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// The arguments of a call example, split at the commas outside brackets and trimmed.
std::vector<std::string> SplitArguments(const std::string& inner) {
  std::vector<std::string> args;
  if (inner.find_first_not_of(" \t") == std::string::npos) return args;
  int depth = 0;
  std::string current;
  for (char c : inner) {
    if (c == '(' || c == '[') ++depth;
    if (c == ')' || c == ']') --depth;
    if (c == ',' && depth == 0) {
      args.push_back(current);
      current.clear();
      continue;
    }
    current += c;
  }
  args.push_back(current);
  for (std::string& a : args) {
    const size_t b = a.find_first_not_of(" \t");
    const size_t e = a.find_last_not_of(" \t");
    a = b == std::string::npos ? "" : a.substr(b, e - b + 1);
  }
  return args;
}

// Escapes "|" for a Markdown table cell.
std::string Cell(std::string text) {
  for (size_t p = text.find('|'); p != std::string::npos; p = text.find('|', p + 2))
    text.replace(p, 1, "\\|");
  return text;
}

// Functions: one entry per overload, in table order.
std::vector<TSymbolEntry> FunctionEntries(TZelExpression& expr, bool all) {
  const std::string hidden[] = {expr.ewSelect->Name(), expr.ewAssign->Name(), expr.ewColConcat->Name(),
                                expr.ewRowConcat->Name(), expr.ewEndFor->Name()};
  std::vector<std::string> names, help;
  expr.GetFuncList(names, nullptr, false);  // compiles first when needed, as every symbol list does
  std::vector<TSymbolEntry> entries;
  const TWordList& words = expr.Words();
  for (int i = 0; i < words.Count(); ++i) {
    const TExprWord* w = words[i];
    if ((w->LexemeType() & (ltFunction | ltVaryingFunction)) == 0) continue;
    bool skip = false;
    for (const std::string& h : hidden) skip = skip || (!all && w->Name() == h);
    if (skip) continue;
    for (int n = 0; n < ExprMaxArgs; ++n)
      if (w->HasOverload(n)) entries.push_back({CallForm(w->Name(), n, w->HelpAt(n)), w->HelpAt(n)});
  }
  return entries;
}

}  // namespace

std::string CallForm(const std::string& name, int argCount, const std::string& help) {
  const std::string commas = "(" + std::string(argCount > 1 ? argCount - 1 : 0, ',') + ")";
  const size_t open = help.find_first_not_of(" \t");
  if (open == std::string::npos || !SameName(help.substr(open, name.size()), name) ||
      help.compare(open + name.size(), 1, "(") != 0)
    return name + commas;
  const size_t start = open + name.size() + 1;
  int depth = 1;
  size_t close = start;
  for (; close < help.size() && depth > 0; ++close)
    depth += help[close] == '(' ? 1 : help[close] == ')' ? -1 : 0;
  if (depth != 0) return name + commas;
  const std::vector<std::string> args = SplitArguments(help.substr(start, close - 1 - start));
  const bool varying = !args.empty() && args.back() == "...";
  if (!varying && static_cast<int>(args.size()) != argCount) return name + commas;
  std::string form = name + "(";
  for (size_t k = 0; k < args.size(); ++k) form += (k ? "," : "") + args[k];
  return form + ")";
}

std::vector<TSymbolEntry> SymbolEntries(TZelExpression& expr, const std::string& kind, bool all) {
  if (kind == "functions") return FunctionEntries(expr, all);
  std::vector<std::string> names, help;
  kind == "operators" ? expr.GetOperList(names, &help) : expr.GetConstList(names, &help);
  std::vector<TSymbolEntry> entries;
  for (size_t i = 0; i < names.size(); ++i) entries.push_back({names[i], help[i]});
  return entries;
}

void PrintSymbols(TZelExpression& expr, const std::string& kind, bool markdown, bool all, std::ostream& out) {
  const std::vector<TSymbolEntry> entries = SymbolEntries(expr, kind, all);
  if (markdown) {
    out << "| Name | Description |\n|---|---|\n";
    for (const TSymbolEntry& e : entries) out << "| `" << Cell(e.name) << "` | " << Cell(e.help) << " |\n";
    return;
  }
  for (const TSymbolEntry& e : entries) out << e.name << "\t" << e.help << '\n';
}

}  // namespace zel::app
