// The probability module's self-test, installed as TWordList's OnTestProbabilities hook and run by the
// expression object's SelfTest: sample expressions of the distribution, statistics and special-function
// words evaluated through the expression's test entry points, against values computed with SciPy 1.10
// (the complex incomplete gamma value from its power series summed in Python), and expressions that must
// fail. The first mismatch raises.

#include "core/errors.h"
#include "library/probabilities/expr_tester.h"
#include "library/probabilities/probabilities.h"

namespace zel {

namespace {

// Expression and expected double.
struct DoubleCase {
  const char* expr;
  double expected;
};

// clang-format off
constexpr DoubleCase kDoubles[] = {
    {"NormalPDF(0.5, 1, 2)", 0.19333405840142465},
    {"NormalCDF(0.5, 1, 2)", 0.4012936743170763},
    {"NormalCDFInv(0.975, 0, 1)", 1.959963984540054},
    {"GammaCDF(2.0, 3.0, 0.5)", 0.7618966944464556},
    {"BetaCDFInv(0.3, 2, 5)", 0.18180347131894917},
    {"PoissonPDF(3, 2.5)", 0.21376301724973648},
    {"BinomCDF(4, 10, 0.3)", 0.8497316674000001},
    {"PoissonCDFInv(0.9, 2.5)", 5},
    {"StudentCDF(1.5, 7)", 0.911350756505015},
    {"ExpCDFInv(0.5, 2)", 1.3862943611198906},
    {"Binomial(10, 3)", 120},
    {"Beta(2.5, 1.5)", 0.19634954084936207},
    {"IGamma(2, 1.5)", 0.4421745996289252},
    {"JGamma(2, 1.5)", 0.5578254003710748},
    {"GammaSer(2, 1.5)", 0.4421745996289252},
    {"GammaFrac(2, 1.5)", 0.5578254003710748},
    {"BetaIncomplete(0.4, 2, 3)", 0.5247999999999999},
    {"Harmonic(10)", 2.928968253968254},
    {"GenHarmonic(10, 1)", 2.928968253968254},
};
// clang-format on

// Expressions that must fail: wrong argument types, a probability outside [0, 1].
constexpr const char* kFailures[] = {
    "ExpPDF(1, \"a\")",      "PoissonPDF(1.5, 2)",      "GumbelPDF(1, 0, 1, 1)",   "BetaPDF(0.5, \"a\", 1)",
    "BinomPDF(1, 2.5, 0.5)", "NormalCDFInv(1.5, 0, 1)", "Beta([1, 2], [1, 2, 3])", "Harmonic(2.5)",
};

}  // namespace

void TestProbabilities(TObject* sender) {
  auto* tester = dynamic_cast<TExprTester*>(sender);
  if (!tester) ERaise("TestProbabilities: the sender has no test entry points");
  TExprTester& t = *tester;
  for (const DoubleCase& c : kDoubles) t.Test(c.expr, c.expected, false);
  t.TestVec("NormalPDF([-1, 0, 1], 0, 1)", {0.24197072451914337, 0.3989422804014327, 0.24197072451914337},
            false);
  t.Test("(m, v, s, k) = GammaStat(3, 2)", true);
  t.TestVec("[m, v, s, k]", {6, 12, 1.1547005383792517, 2}, false);
  t.Test("RiemannZeta(3)", TCplx(1.2020569031595942, 0), false);
  t.Test("RiemannZeta(2, 64) - DirichletLambda(2) - DirichletLambda(2, 64)/3", TCplx(0, 0), false);
  t.Test("IGamma(0.5, 1 + 1i)", TCplx(0.9579677337806544, 0.1372921603267051), false);
  for (const char* expr : kFailures) t.NegativeTest(expr);
}

}  // namespace zel
