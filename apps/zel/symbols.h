// The symbol lists of the zel command (--functions, --operators, --constants): names with their help
// texts, as plain lines or as Markdown tables.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "script/expression.h"

namespace zel::app {

// One entry of a symbol list: the name (for a function, its call form) and the help text.
struct TSymbolEntry {
  std::string name, help;
};

// The entries of one list, in table order: kind is "functions", "operators" or "constants". Functions are
// listed per overload; without `all` the words the compiler rewrites syntax into (select, assign,
// colconcat, rowconcat, endfor) are left out.
std::vector<TSymbolEntry> SymbolEntries(TZelExpression& expr, const std::string& kind, bool all);

// Prints one list: kind is "functions", "operators" or "constants"; markdown renders a table.
void PrintSymbols(TZelExpression& expr, const std::string& kind, bool markdown, bool all, std::ostream& out);

// The call form of overload `argCount` of function `name`: the argument names of the call example that
// opens its help text ("logN(x, n): ..." gives "logN(x,n)") when the example has that many arguments or
// ends with "...", else the name with argCount - 1 commas in parentheses.
std::string CallForm(const std::string& name, int argCount, const std::string& help);

}  // namespace zel::app
