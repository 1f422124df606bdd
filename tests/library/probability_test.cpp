// The probability module through scripts: PDF, CDF and CDFInv of every distribution, the statistics words
// and the special functions against SciPy (reference/probability.inc), CDF(CDFInv(p)) = p for every
// distribution, result shapes, the argument messages, the self-test, and re-evaluation without allocation.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/text.h"
#include "library/probabilities/probabilities.h"
#include "library_helper.h"
#include "script/expression.h"
#include "support/alloc_counter.h"

namespace zel::test {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct DistRow {
  const char* stem;
  const char* params;
  bool discrete;
  std::vector<double> x, pdf, cdf, p, inv;
};
struct StatRow {
  const char* word;
  const char* params;
  std::vector<double> mvsk;
};
struct SpecialRow {
  const char* expr;
  TCplx value;
};

#include "reference/probability.inc"

// x as script text: integers for discrete distributions, full precision otherwise.
std::string Arg(double x, bool integer) {
  return integer ? std::to_string(static_cast<long long>(x)) : SampleToStr(x, 17);
}

// Within rel of want (or 1e-15 absolutely); NaN matches NaN and infinities match exactly.
bool Close(double got, double want, double rel) {
  if (std::isnan(want)) return std::isnan(got);
  if (std::isinf(want)) return got == want;
  return std::fabs(got - want) <= 1e-15 + rel * std::fabs(want);
}

// The flat values of a result: a double, a complex (re, im), or a real array.
std::vector<double> ValuesOf(TValueRec& v) { return NumbersOf(v).values; }

TEST(Probability, HookIsSetBeforeAnyExpression) {
  EXPECT_EQ(TWordList::OnProbabilities(), &RegisterProbabilities);
  EXPECT_EQ(TWordList::OnTestProbabilities(), &TestProbabilities);
}

// PDF and CDF at x, CDFInv at p (including p = 0, 1e-10, 1 - 1e-10, 1), as scalars and as one vector.
TEST(Probability, ValuesMatchScipy) {
  TZelExpression e;
  for (const DistRow& r : kDistRows) {
    const std::string prm = std::string(", ") + r.params + ")", stem = r.stem;
    std::string vec;
    for (size_t i = 0; i < r.x.size(); ++i) {
      const std::string x = Arg(r.x[i], r.discrete);
      vec += (i ? ", " : "") + x;
      EXPECT_PRED3(Close, e.Run(stem + "PDF(" + x + prm)->DoubleValue(), r.pdf[i], 1e-9)
          << stem << "PDF " << x;
      EXPECT_PRED3(Close, e.Run(stem + "CDF(" + x + prm)->DoubleValue(), r.cdf[i], 1e-9)
          << stem << "CDF " << x;
    }
    vec = r.discrete ? "roundtoint([" + vec + "])" : "[" + vec + "]";
    const std::vector<double> pdfs = ValuesOf(*e.Run(stem + "PDF(" + vec + prm));
    ASSERT_EQ(pdfs.size(), r.pdf.size()) << stem;
    for (size_t i = 0; i < pdfs.size(); ++i)
      EXPECT_PRED3(Close, pdfs[i], r.pdf[i], 1e-9) << stem << " vector";
    for (size_t i = 0; i < r.p.size(); ++i) {
      const double got = e.Run(stem + "CDFInv(" + Arg(r.p[i], false) + prm)->DoubleValue();
      EXPECT_PRED3(Close, got, r.inv[i], 1e-9) << stem << "CDFInv " << r.p[i];
    }
  }
}

// CDF(CDFInv(p)) = p for the continuous distributions; for the discrete ones CDFInv(p) is the smallest k
// with CDF(k) >= p.
TEST(Probability, InverseInvertsTheDistributionFunction) {
  TZelExpression e;
  std::set<std::string> seen;
  for (const DistRow& r : kDistRows) {
    if (r.p.empty() || !seen.insert(r.stem).second) continue;
    const std::string prm = std::string(", ") + r.params + ")", stem = r.stem;
    for (double p : {1e-10, 1e-3, 0.3, 0.5, 0.9, 1 - 1e-10}) {
      const double k = e.Run(stem + "CDFInv(" + SampleToStr(p, 17) + prm)->DoubleValue();
      const auto cdf = [&](double x) {
        return e.Run(stem + "CDF(" + Arg(x, r.discrete) + prm)->DoubleValue();
      };
      if (!r.discrete) {
        // The rounding of k to a double moves CDF(k) by up to PDF(k) |k| eps.
        const double pdf = e.Run(stem + "PDF(" + SampleToStr(k, 17) + prm)->DoubleValue();
        EXPECT_NEAR(cdf(k), p, 1e-9 * std::min(p, 1 - p) + 1e-15 * (1 + std::fabs(k) * pdf))
            << stem << " " << p;
        continue;
      }
      EXPECT_GE(cdf(k), p) << stem << " " << p;
      EXPECT_TRUE(k == r.inv[0] || cdf(k - 1) < p) << stem << " " << p << " gave " << k;
    }
  }
}

TEST(Probability, StatisticsMatchScipy) {
  TZelExpression e;
  for (const StatRow& r : kStatRows) {
    EXPECT_TRUE(e.Run(std::string("(m, v, s, k) = ") + r.word + "(" + r.params + ")")->BoolValue()) << r.word;
    const char* names[] = {"m", "v", "s", "k"};
    for (int i = 0; i < 4; ++i) {
      EXPECT_PRED3(Close, e.VarByName(names[i])->DoubleValue(), r.mvsk[i], 1e-8) << r.word << " " << names[i];
    }
  }
}

TEST(Probability, SpecialFunctionsMatchScipy) {
  TZelExpression e;
  for (const SpecialRow& r : kSpecialRows) {
    const std::vector<double> got = ValuesOf(*e.Run(r.expr));
    EXPECT_PRED3(Close, got[0], r.value.real(), 1e-10) << r.expr;
    const double size = std::isnan(r.value.real()) ? 0 : std::abs(r.value);
    EXPECT_NEAR(got.size() > 1 ? got[1] : 0, r.value.imag(), 1e-10 * size + 1e-12) << r.expr;
  }
}

// Result types and shapes by the type of argument 0; the default number of terms is 64.
TEST(Probability, ResultShapes) {
  const struct {
    const char* expr;
    TValueType type;
    int rows, cols;
  } cases[] = {
      {"NormalPDF([0, 1, 2; 3, 4, 5], 0, 1)", vtMatrixValue, 2, 3},
      {"NormalPDF(1, 0, 1)", vtDoubleValue, 1, 1},
      {"PoissonCDFInv(0.5, 2)", vtDoubleValue, 1, 1},
      {"PoissonCDFInv([0.5, 0.7], 2)", vtVectorValue, 1, 2},
      {"UniformDCDF(roundtoint([0, 1; 2, 3]), 2)", vtMatrixValue, 2, 2},
      {"DirichletBeta([1, 2; 3, 4])", vtMatrixValue, 2, 2},
      {"Binomial(roundtoint([5, 6]), roundtoint([2, 3]))", vtVectorValue, 1, 2},
      {"Beta([1, 2; 3, 4], [1, 1; 1, 1])", vtMatrixValue, 2, 2},
      {"IGamma([1, 2, 3, 4], [1, 2; 3, 4])", vtMatrixValue, 2, 2},
      {"JGamma(2, 1 + 1i)", vtComplexValue, 1, 1},
      {"Harmonic(roundtoint([1, 2]))", vtVectorValue, 1, 2},
  };
  TZelExpression e;
  for (const auto& c : cases) {
    TValueRec& r = *e.Run(c.expr);
    const Numbers got = NumbersOf(r);
    EXPECT_EQ(std::tuple(r.ValueType(), got.rows, got.cols), std::tuple(c.type, c.rows, c.cols)) << c.expr;
  }
  for (const char* name : {"DirichletLambda", "DirichletEta", "RiemannZeta"}) {
    const std::string z = std::string(name) + "(2.5 + 1i)";
    EXPECT_EQ(e.Run(z)->ComplexValue(), e.Run(z.substr(0, z.size() - 1) + ", 64)")->ComplexValue()) << name;
  }
}

// Every message of the module's own checks, and the core's for a probability outside [0, 1].
TEST(Probability, ArgumentMessages) {
  const struct {
    const char* expr;
    const char* message;
  } cases[] = {
      {"ExpPDF(1, \"a\")", "ExpPDF : parameter 1 must be a real number!"},
      {"BinomPDF(1, 2.5, 0.5)", "BinomPDF : parameter 1 must be an integer!"},
      {"ZipfCDF(1, 1, 2.0)", "ZipfCDF : parameter 2 must be an integer!"},
      {"PoissonPDF(1.5, 2)", "Unsupported value types: PoissonPDF ( double, integer )"},
      {"NormalPDF(\"x\", 0, 1)", "Unsupported value types: NormalPDF ( string, integer )"},
      {"(a, b, c, d) = NormalStat([1], 1)", "Unsupported value types: NormalStat ( vector )"},
      {"(a, b, c, d) = NormalStat(0, \"x\")", "NormalStat : parameter 1 must be a real number!"},
      {"BetaPDF(0.5, \"a\", 1)", "BetaPDF: second and third parameters must be a real number!"},
      {"BetaCDF(0.5, 1, \"b\")", "BetaCDF: second and third parameters must be a real number!"},
      {"BetaCDFInv(0.5, 1, \"b\")", "BetaCDFInv: second and third parameters must be a real number!"},
      {"BernoulliPDF(0.5, 0.5)", "BernoulliPDF: first parameter must be 32bit integer!"},
      {"BernoulliCDF(0.5, 0.5)", "BernoulliCDF: first parameter must be 32bit integer!"},
      {"BernoulliPDF(1, \"p\")", "BernoulliPDF: second parameter must be a real number!"},
      {"BernoulliCDF(1, \"p\")", "BernoulliCDF: second parameter must be a real number!"},
      {"BernoulliCDFInv(0.5, \"p\")", "BernoulliCDFInv: second parameter must be a real number!"},
      {"GumbelPDF(1, 0, 1, 1)", "GumbelPDF: fourth parameter must be true or false!"},
      {"GumbelCDF(1, 0, 1, 1)", "GumbelCDF: fourth parameter must be true or false!"},
      {"GumbelCDFInv(0.5, 0, 1, 1)", "GumbelCDFInv: fourth parameter must be true or false!"},
      {"PoissonPDF(k16, 2)", "Src1.IntPrecision <> prInt32"},
      {"LogarithmicCDF(k16, 0.5)", "Src1.IntPrecision <> prInt32"},
      {"NormalCDFInv(1.5, 0, 1)", "NormalCDFInv: the probability 1.5 lies outside [0, 1]"},
      {"Binomial(1, 2.0)", "Binomial: The type of the parameters must be the same!"},
      {"Beta([1, 2, 3], [1, 2, 3, 4])", "Beta: The length of the params must be the same!"},
      {"GammaSer([1, 2], [1])", "GammaSer: The length of the params must be the same!"},
      {"GammaFrac([1, 2], [1])", "GammaFrac: The length of the params must be the same!"},
      {"IGamma([1, 2], [1])", "IGamma: The length of the params must be the same!"},
      {"JGamma([1, 2], [1])", "JGamma: The length of the params must be the same!"},
      {"GammaSer(1i, 1)", "GammaSer: First parameter must be real, not complex!"},
      {"GammaFrac(1i, 1)", "GammaFrac: First parameter must be real, not complex!"},
      {"IGamma(1i, 1)", "IGamma: First parameter must be real, not complex!"},
      {"JGamma(1i, 1)", "JGamma: First parameter must be real, not complex!"},
      {"BetaIncomplete([0.5], [1, 2], [1])", "BetaIncomplete: The length of the params must be the same!"},
      {"DirichletLambda(2, 1.5)", "DirichletLambda: second parameter must be an integer!"},
      {"DirichletEta(2, 1.5)", "DirichletEta: second parameter must be integer!"},
      {"RiemannZeta(2, 1.5)", "RiemmanZeta: second parameter must be integer!"},
      {"Lerch(0.5, \"a\", 1)", "Lerch: second parameter must be real!"},
      {"Lerch(0.5, 1, \"a\")", "Lerch: third parameter must be real!"},
      {"GenHarmonic(2.5, 1)", "GenHarmonic: first parameter must be 32bit integer!"},
      {"GenHarmonic(2, \"a\")", "GenHarmonic: second parameter must be real!"},
      {"Harmonic(2.5)", "Harmonic: parameter must be 32bit integer!"},
  };
  TZelExpression e;
  e.DefineVariable("k16").Copy(*V("i16[1,2]"));
  for (const auto& c : cases) EXPECT_EQ(MessageOf([&] { e.Run(c.expr); }), c.message) << c.expr;
}

TEST(Probability, SelfTestPasses) {
  TZelExpression e;
  EXPECT_NO_THROW(e.SelfTest());
}

// A compiled line evaluated again writes into the storage it already has.
TEST(Probability, SecondEvaluationDoesNotAllocate) {
  TZelExpression e;
  e.Run("v = [0.1, 0.5, 0.9]");
  e.Run("k = roundtoint([1, 2; 3, 4])");
  e.SetExpressions(
      "a = NormalCDF(v, 0, 1)\r\nb = GammaCDFInv(v, 2, 1)\r\nc = PoissonPDF(k, 2)\r\nd = DirichletEta(v)\r\n"
      "(m, s, w, t) = BetaStat(2, 3)\r\nh = Beta(v, v)");
  e.EvaluateCompiled();
  AllocationCounter allocations;
  e.EvaluateCompiled();
  EXPECT_EQ(allocations.Count(), 0u);
}

}  // namespace
}  // namespace zel::test
