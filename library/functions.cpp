// Registration of the built-in functions.
#include "library/functions.h"

#include <cstring>
#include <string>

#include "library/concat.h"
#include "library/scalar_math.h"
#include "lang/operators/operators.h"

namespace zel {

namespace {

// ---- registration tables -----------------------------------------------------------------------------

// Element-wise scalar functions.
constexpr TFunctionEntry kScalarFunctions[] = {
    {"exp", "Exp", _Exp, 1, "exp(x): e^", "exp(x): e^"},
    {"ln", "Ln", _Ln, 1, "ln(x): natural logarithm of 'x'"},
    {"log", "Log", _Ln, 1, "log(x): natural logarithm of 'x'"},
    {"sqr", "Sqr", _Sqr, 1, "sqr(x): x*x"},
    {"sqrt", "Sqrt", _Sqrt, 1, "sqrt(x): square root of 'x'"},
    {"abs", "Abs", _Abs, 1, "abs(x): absolute value of 'x'"},
    {"sin", "Sin", _Sin, 1, "sin(x): sine of 'x'"},
    {"cos", "Cos", _Cos, 1, "cos(x): cosine of 'x'"},
    {"tan", "Tan", _Tan, 1, "tan(x): tangens of 'x'"},
};

constexpr const char* kColConcatHelp =
    "colconcat(src1, src2, ...): concatenate all parameters in to one vector row or matrix provided that "
    "sizes are matching";
constexpr const char* kRowConcatHelp =
    "rowconcat(src1, src2, ...): concatenate all parameters in to one vector column or matrix provided that "
    "sizes are matching";

// The two concatenation variants: integer data joined into real results, or kept integer.
constexpr TFunctionEntry kConcatAlwaysReal[] = {
    {"colconcat", nullptr, _ColConcatReal, -1, kColConcatHelp},
    {"rowconcat", nullptr, _RowConcatReal, -1, kRowConcatHelp},
};
constexpr TFunctionEntry kConcatKeepInt[] = {
    {"colconcat", nullptr, _ColConcatInt, -1, kColConcatHelp},
    {"rowconcat", nullptr, _RowConcatInt, -1, kRowConcatHelp},
};

// ---- registration ------------------------------------------------------------------------------------

// The twin's help: the explicit text, or the lower-case help with its leading name respelled.
std::string TwinHelp(const TFunctionEntry& e) {
  if (e.twinHelp) return e.twinHelp;
  const std::size_t n = std::strlen(e.name);
  if (std::strncmp(e.help, e.name, n) == 0) return e.twin + std::string(e.help + n);
  return e.help;
}

int Define(TWordList& w, const char* name, const TFunctionEntry& e, const std::string& help, int overload) {
  if (e.varying)
    return w.DefineVaryingFunctionUnsorted(name, e.routine, e.argCount, e.resultCount, help, overload);
  return w.DefineFunctionUnsorted(name, e.routine, e.argCount, e.resultCount, help, overload);
}

void RegisterConcat(TWordList& w, bool concatsAlwaysReal, TBuiltinWords& refs) {
  const auto& table = concatsAlwaysReal ? kConcatAlwaysReal : kConcatKeepInt;
  refs.colConcat = w[Define(w, table[0].name, table[0], table[0].help, -1)];
  refs.rowConcat = w[Define(w, table[1].name, table[1], table[1].help, -1)];
}

void RegisterSelectAssign(TWordList& w, TBuiltinWords& refs) {
  const int select = w.DefineFunctionUnsorted(
      "select", _Select1, 2, "select(vector, range): returns a view of vector from [Index1,...,Index2]", -1);
  w.DefineFunctionUnsorted("select", _Select2, 3,
                           "select(matrix, range1,range2): returns a copy of submatrix defined with upper "
                           "left and lower right edge.",
                           select);
  w.DefineFunctionUnsorted("select", _Select3, 4,
                           "select(matrix, range1,range2, param): returns a copy of submatrix defined with "
                           "upper left and lower right edge. The param defines the destination type: "
                           "\"integer\",\"double\",\"complex\",\"boolean\",\"string\".",
                           select);
  const int assign = w.DefineFunctionUnsorted("assign", _Assign3, 3,
                                              "assign(Dst, Range, Src): assign Src to Dst(Range)", -1);
  w.DefineFunctionUnsorted("assign", _assign4, 4,
                           "assign(Dst, Range1, Range2, Src): assign Src to Dst(Range1, Range2)", assign);
  refs.select = w[select];
  refs.assign = w[assign];
}

}  // namespace

int RegisterFunctions(TWordList& words, std::span<const TFunctionEntry> table) {
  int last = -1;
  int lastTwin = -1;
  const char* previous = nullptr;
  for (const TFunctionEntry& e : table) {
    const bool overload = previous && std::strcmp(previous, e.name) == 0;
    last = Define(words, e.name, e, e.help, overload ? last : -1);
    if (e.twin) lastTwin = Define(words, e.twin, e, TwinHelp(e), overload ? lastTwin : -1);
    previous = e.name;
  }
  return last;
}

void InitFunctions(TWordList& words, bool concatsAlwaysReal, TBuiltinWords& refs) {
  RegisterSelectAssign(words, refs);
  RegisterConcat(words, concatsAlwaysReal, refs);
  RegisterFunctions(words, kScalarFunctions);
}

}  // namespace zel
