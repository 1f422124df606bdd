// Element-wise scalar functions: one registration row per function. A row names the function's scalar
// kernel (namespace `elem` of core/elemmath.h) and its result-type rule (a redirector), and the template
// routine ElementWise<Kernel, Rule> supplies the typed handlers from the kernel: doubles and integers (as
// their double value) give the kernel's scalar result, complex values complex arithmetic, vectors (and
// ranges, expanded) and matrices are mapped element by element into a result of the same shape. The
// redirector picks the handler by the argument's type once per node.
#include "core/elemmath.h"
#include "lang/words/registration.h"
#include "library/families.h"
#include "library/redirect.h"

namespace zel {

namespace {

using Redirector = void (*)(TExprRec&, const TOperVector&);

// Writes a scalar result; the kernel's return type matches the result type of the rule.
void Put(TValueRec& res, double x) { res.SetDoubleValue(x); }
void Put(TValueRec& res, TCplx z) { res.SetComplexValue(z); }

// The typed handlers of the function with scalar kernel K, indexed by the argument's type.
template <auto K>
struct Handlers {
  static void D(TExprRec& e) { Put(*e.Res, K(e.Args[0]->DoubleValue())); }
  static void I(TExprRec& e) { Put(*e.Res, K(static_cast<double>(e.Args[0]->IntegerValue()))); }
  static void C(TExprRec& e) { Put(*e.Res, K(e.Args[0]->ComplexValue())); }
  static void V(TExprRec& e) { MapElements(e.Args[0]->getVectorValue(), e.Res->VectorValue(), K); }
  static void M(TExprRec& e) { MapElements(e.Args[0]->MatrixValue(), e.Res->MatrixValue(), K); }

  static constexpr TOperVector kTable = [] {
    TOperVector t{};
    t[vtDoubleValue] = D;
    t[vtIntegerValue] = I;
    t[vtComplexValue] = C;
    t[vtVectorValue] = V;
    t[vtMatrixValue] = M;
    return t;
  }();
};

// The routine of an element-wise function: kernel K under the result-type rule of `Rule`.
template <auto K, Redirector Rule>
void ElementWise(TExprRec& expr) {
  Rule(expr, Handlers<K>::kTable);
}

constexpr TFunctionEntry kElementWise[] = {
    {"exp", "Exp", ElementWise<elem::Exp, RedirectOper>, 1, "exp(x): e^", "exp(x): e^"},
    {"ln", "Ln", ElementWise<elem::Ln, RedirectOper>, 1, "ln(x): natural logarithm of 'x'"},
    {"log", "Log", ElementWise<elem::Ln, RedirectOper>, 1, "log(x): natural logarithm of 'x'"},
    {"sqr", "Sqr", ElementWise<elem::Sqr, RedirectOper>, 1, "sqr(x): x*x"},
    {"sqrt", "Sqrt", ElementWise<elem::Sqrt, RedirectOper>, 1, "sqrt(x): square root of 'x'"},
    {"abs", "Abs", ElementWise<elem::Abs, RedirectOperReal>, 1, "abs(x): absolute value of 'x'"},
    {"sin", "Sin", ElementWise<elem::Sin, RedirectOper>, 1, "sin(x): sine of 'x'"},
    {"cos", "Cos", ElementWise<elem::Cos, RedirectOper>, 1, "cos(x): cosine of 'x'"},
    {"tan", "Tan", ElementWise<elem::Tan, RedirectOper>, 1, "tan(x): tangens of 'x'"},
};

}  // namespace

void RegisterElementWiseFunctions(TWordList& words) { RegisterFunctions(words, kElementWise); }

}  // namespace zel
