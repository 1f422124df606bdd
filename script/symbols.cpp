// Construction of the expression object: the built-in language enters the symbol table in a fixed
// order (punctuation, constants, flow keywords, the built-in functions and operators, add-on hooks) and is
// sorted once.
#include <cmath>
#include <limits>
#include <numbers>

#include "library/files.h"
#include "library/functions.h"
#include "script/code_arena.h"
#include "script/expression.h"

namespace zel {

namespace {

struct ConstantEntry {
  const char* name;
  double value;
  const char* help;
};

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
constexpr double kPi = std::numbers::pi;
constexpr double kGold = std::numbers::phi;

// clang-format off
const ConstantEntry kDoubleConstants[] = {
    {"pi", kPi, "Pi"},
    {"ln2", std::numbers::ln2, "Ln(2)"},
    {"ln10", std::numbers::ln10, "Ln(10)"},
    {"lnpi", 1.1447298858494002, "Ln(Pi)"},
    {"invln2", 1 / std::numbers::ln2, "1/Ln(2)"},
    {"invln10", 1 / std::numbers::ln10, "1/Ln(10)"},
    {"twopi", 2 * kPi, "2*Pi"},
    {"invtwopi", 1 / (2 * kPi), "1/(2*Pi)"},
    {"pidiv2", kPi / 2, "Pi/2"},
    {"sqrtpi", 1.7724538509055160, "Sqrt(Pi)"},
    {"sqrt2pi", 2.5066282746310002, "Sqrt(2*Pi"},
    {"invsqrt2pi", 1 / 2.5066282746310002, "1/Sqrt(2*Pi)"},
    {"lnsqrt2pi", 0.91893853320467274, "Ln(Sqrt(2*Pi))"},
    {"ln2pidiv2", 0.91893853320467274, "Ln(2*Pi)/2"},
    {"sqrt2", std::numbers::sqrt2, "Sqrt(2)"},
    {"sqrt2div2", std::numbers::sqrt2 / 2, "Sqrt(2)/2"},
    {"gold", kGold, "Golden Mean = (1 + Sqrt(5))/2"},
    {"cgold", 2 - kGold, "2 - GOLD"},
    {"pi180", kPi / 180, "Pi/180"},
    {"invpi180", 180 / kPi, "180/Pi"},
    {"nan", kNaN, "NAN"},
    {"inf", kInf, "INF"},
    {"NAN", kNaN, "NAN"},
    {"INF", kInf, "INF"},
};
// clang-format on

}  // namespace

TZelExpression::TZelExpression() { InitSymbols(); }

TZelExpression::~TZelExpression() { ClearAll(); }

void TZelExpression::InitSymbols() {
  TWordList& w = fWordList;
  ewLeftBracket = w[w.AddUnsorted(std::make_unique<TExprLeftBracket>(), -1)];
  ewRightBracket = w[w.AddUnsorted(std::make_unique<TExprRightBracket>(), -1)];
  w.AddUnsorted(std::make_unique<TExprLeftSquareBracket>(), -1);
  w.AddUnsorted(std::make_unique<TExprRightSquareBracket>(), -1);
  w.AddUnsorted(std::make_unique<TExprSemicolon>(), -1);
  ewComma = w[w.AddUnsorted(std::make_unique<TExprComma>(), -1)];
  InitConsts();
  InitControlWords();
  const TBuiltinWords builtins = RegisterBuiltins(w, {.concatsAlwaysReal = FConcatsAlwaysReal});
  ewSelect = builtins.select;
  ewAssign = builtins.assign;
  ewColConcat = builtins.colConcat;
  ewRowConcat = builtins.rowConcat;
  ewColonOp = builtins.colonOp;
  ewAssignOp = builtins.assignOp;
  InitFileManagement();
  w.DoOnProbabilities();
  w.DoOnStatistics();
  w.DoOnSignal();
  w.DoOnCustom();
  w.Sort();
}

void TZelExpression::InitFileManagement() { RegisterFileFunctions(fWordList); }

void TZelExpression::SetFileAccess(bool allowed) {
  if (allowed == fFileAccess) return;
  // Removing first also clears a host's or script's own word of such a name before the file word returns.
  for (const std::string& name : FileFunctionNames()) Undefine(name);
  if (allowed) {
    DoDeleteWord(this);
    InitFileManagement();
    fWordList.Sort();
    fIsCompiled = false;
  }
  fFileAccess = allowed;
}

void TZelExpression::InitConsts() {
  TWordList& w = fWordList;
  w.DefineBoolConstantUnsorted("false", false, "boolean false (0) ");
  ewTrue = w[w.DefineBoolConstantUnsorted("true", true, "boolean true (1) )")];
  w.DefineBoolConstantUnsorted("False", false, "boolean false (0) ");
  w.DefineBoolConstantUnsorted("True", true, "boolean true (1) )");
  for (const ConstantEntry& c : kDoubleConstants) w.DefineDoubleConstantUnsorted(c.name, c.value, c.help);
  w.DefineComplexConstantUnsorted("cnan", TCplx(kNaN, kNaN), "complex NAN");
  w.DefineComplexConstantUnsorted("cinf", TCplx(kInf, kInf), "complex INF");
  ewNubraEOA = w[w.DefineIntegerConstantUnsorted("NubraEOA", -1, "until end of array indicator for ranges")];
}

void TZelExpression::InitControlWords() {
  TWordList& w = fWordList;
  ewIf = w[w.DefineFunctionUnsorted(
      "if", _If, 1,
      "if(expression): syntax flow control keyword. Returns \"true\", if \"expression\" is TRUE (not zero), "
      "otherwise returns \"FALSE\" ",
      -1)];
  ewWhile = w[w.DefineFunctionUnsorted("while", _While, 1,
                                       "while(expression): syntax flow control keyword. Returns 'true', if "
                                       "'expression' is TRUE, otherwise returns "
                                       "'FALSE'",
                                       -1)];
  ewEndFor = w[w.DefineFunctionUnsorted(
      "endfor", _EndFor, 2,
      "endfor(i, range): syntax flow control keyword. Increases i by Step. Returns "
      "'true', if '(i + Range.Step) <= Range.Stop'",
      -1)];
  ewElse = w[w.DefineBoolConstantUnsorted("else", true,
                                          "else: syntax flow control keyword returns always 'true' ")];
  ewEnd =
      w[w.DefineBoolConstantUnsorted("end", true, "end: syntax flow control keyword returns always 'true' ")];
  ewFor = w[w.DefineFunctionUnsorted(
      "for", _For, 2, "for(i, range): syntax flow control keyword initializes i to Range.Start", -1)];
  ewBreak = w[w.DefineBoolConstantUnsorted("break", true,
                                           "break: syntax flow control keyword to exit a for or while loop")];
  ewContinue = w[w.DefineBoolConstantUnsorted(
      "continue", true,
      "continue: syntax flow control keyword to skip one iteration of a for or while loop")];
}

}  // namespace zel
