// The statistics functions: "(AMean, AVariance, ASkewness, AKurtosis) = NormalStat(Mu, Sigma)" writes the
// distribution's mean, variance, skewness and excess kurtosis (0 for the normal distribution, as SciPy's
// stats(moments='mvsk') gives it) into the four output arguments and returns true. The word's argument
// count is the number of parameters plus the four outputs; GumbelStat gives the maximum form.
#include <array>
#include <utility>

#include "library/probabilities/dist_words.h"

namespace zel::prob {

namespace {

using TD = TDistribution;

// One statistics word.
struct StatWord {
  const char* name;
  TDistribution dist;
  int argCount;  // parameters and the four outputs
  const char* help;
};

// clang-format off
constexpr StatWord kStatistics[] = {
    {"BetaStat", TD::Beta, 6, "(AMean, AVariance, ASkewness, AKurtosis) = BetaStat(a, b): returns Beta PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"BernoulliStat", TD::Bernoulli, 5, "(AMean, AVariance, ASkewness, AKurtosis) = BernoulliStat(p): returns Bernoulli PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"BinomStat", TD::Binom, 6, "(AMean, AVariance, ASkewness, AKurtosis) = BinomStat(n, p): returns Binomial PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"CauchyStat", TD::Cauchy, 6, "(AMean, AVariance, ASkewness, AKurtosis) = CauchyStat(b, m): returns Cauchy PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"ChiSquareStat", TD::ChiSquare, 5, "(AMean, AVariance, ASkewness, AKurtosis) = ChiSquareStat(Nu): returns Chi Square PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"ErlangStat", TD::Erlang, 6, "(AMean, AVariance, ASkewness, AKurtosis) = ErlangStat(k, Lambda): returns Erlang PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"ExponentStat", TD::Exp, 5, "(AMean, AVariance, ASkewness, AKurtosis)= ExponentStat(Mu): returns Exponential PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"FatigueLifeStat", TD::FatigueLife, 7, "(AMean, AVariance, ASkewness, AKurtosis) = FatigueLifeStat(mu, gamma, beta): returns Fatigue Life PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"FStat", TD::F, 6, "(AMean, AVariance, ASkewness, AKurtosis) = FStat(Nu1, Nu2): returns F PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"GammaStat", TD::Gamma, 6, "(AMean, AVariance, ASkewness, AKurtosis) = GammaStat(a, b): returns Gamma PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"GenExtValueStat", TD::GenExtValue, 7, "(AMean, AVariance, ASkewness, AKurtosis) = GenExtValueStat(k, mu, sigma): returns Generealized extreme value PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"GenParetoStat", TD::GenPareto, 7, "(AMean, AVariance, ASkewness, AKurtosis) = GenParetoStat(k, mu, sigma): returns Generealized Pareto PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"GeometricStat", TD::Geometric, 5, "(AMean, AVariance, ASkewness, AKurtosis) = GeometricStat(p): returns geometric PDF statistics ni AMean, AVariance, ASkewness, AKurtosis."},
    {"GumbelStat", TD::Gumbel, 6, "(AMean, AVariance, ASkewness, AKurtosis) = GumbelStat(mu, beta): returns Gumbel PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"HypGeometricStat", TD::HypGeometric, 7, "(AMean, AVariance, ASkewness, AKurtosis) = HypGeometric(M,K,N): returns Hyper Geometric PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"InverseChiSquareStat", TD::InverseChiSquare, 5, "(AMean, AVariance, ASkewness, AKurtosis) = InverseChiSquareStat(Nu): returns Inverse Chi-Square PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"InverseGaussianStat", TD::InverseGaussian, 6, "(AMean, AVariance, ASkewness, AKurtosis) = InverseGaussianStat(mu, lambda): returns Inverse Gaussian PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"JohnsonSBStat", TD::JohnsonSB, 8, "(AMean, AVariance, ASkewness, AKurtosis) = JohnsonSBStat(gamma ,delta, lambda, xi): returns Johnson bounded (SB) PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"JohnsonUBStat", TD::JohnsonUB, 8, "(AMean, AVariance, ASkewness, AKurtosis) = JohnsonUBStat(gamma ,delta, lambda, xi): returns Johnson un-bounded (UB) PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"LaplaceStat", TD::Laplace, 6, "(AMean, AVariance, ASkewness, AKurtosis) = LaplaceStat(m, b):  returns Laplace PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"LogarithmicStat", TD::Logarithmic, 5, "(AMean, AVariance, ASkewness, AKurtosis) = LogarithmicStat(p): returns Logarithmic PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"LogisticStat", TD::Logistic, 6, "(AMean, AVariance, ASkewness, AKurtosis) = LogisticStat(m, b): returns Logistic PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"LogNormalStat", TD::LogNormal, 6, "(AMean, AVariance, ASkewness, AKurtosis) = LogNormalStat(mu, sigma): returns Log-Normal PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"LogWeibullStat", TD::LogWeibull, 6, "(AMean, AVariance, ASkewness, AKurtosis) = LogWeibullStat(a, b): returns Log-Weibull PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"MaxwellStat", TD::Maxwell, 5, "(AMean, AVariance, ASkewness, AKurtosis) = MaxwellStat(a): returns Maxwell PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"NegBinomStat", TD::NegBinom, 6, "(AMean, AVariance, ASkewness, AKurtosis) = NegBinomStat(R, p): returns Negative binomial PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"NormalStat", TD::Normal, 6, "(AMean, AVariance, ASkewness, AKurtosis) = NormalStat(Mu, Sigma): returns Normal PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"ParetoStat", TD::Pareto, 6, "(AMean, AVariance, ASkewness, AKurtosis) = ParetoStat(a, b): returns Pareto PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"PoissonStat", TD::Poisson, 5, "(AMean, AVariance, ASkewness, AKurtosis) = PoissonStat(Lambda): returns Poisson PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"PowerStat", TD::Power, 6, "(AMean, AVariance, ASkewness, AKurtosis) = PowerStat(alpha, beta): returns Power PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"RayleighStat", TD::Rayleigh, 5, "(AMean, AVariance, ASkewness, AKurtosis) = RayleighStat(b): returns Rayleigh PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"StudentStat", TD::Student, 5, "(AMean, AVariance, ASkewness, AKurtosis) = StudentStat(Nu): returns Student PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"TriangularStat", TD::Triangular, 7, "(AMean, AVariance, ASkewness, AKurtosis) = TriangularStat(a,b,c): returns Triangular PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"UniformStat", TD::Uniform, 6, "(AMean, AVariance, ASkewness, AKurtosis) = UniformStat(a, b): returns Uniform PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"UniformDStat", TD::UniformD, 5, "(AMean, AVariance, ASkewness, AKurtosis) = UniformDStat(N): returns Uniform Discrete PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"WeibullStat", TD::Weibull, 6, "(AMean, AVariance, ASkewness, AKurtosis) = WeibullStat(a, b): returns Weibull PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
    {"ZipfStat", TD::Zipf, 6, "(AMean, AVariance, ASkewness, AKurtosis) = ZipfStat(s, N): returns Zipf PDF statistics in AMean, AVariance, ASkewness, AKurtosis."},
};
// clang-format on

// Defines the outputs as doubles, checks the parameters (argument 0 last, by the type error), and writes
// the moments.
void RunStatistics(TExprRec& e, const StatWord& w) {
  const int params = w.argCount - 4;
  for (int j = 0; j < 4; ++j) e.Args[params + j]->DefineDouble();
  CheckParameters(e, "RRRR", 1, params);
  const TValueType t = e.Args[0]->ValueType();
  if (t != vtDoubleValue && t != vtIntegerValue) UnsupportedValueTypesError(e, t);
  const TMoments m = DistMoments(w.dist, ParametersOf(e, 0, params));
  e.Args[params]->SetDoubleValue(m.mean);
  e.Args[params + 1]->SetDoubleValue(m.variance);
  e.Args[params + 2]->SetDoubleValue(m.skewness);
  e.Args[params + 3]->SetDoubleValue(m.kurtosis);
  e.Res->DefineBool();
  e.Res->SetBoolValue(true);
}

template <int Row>
void StatRoutine(TExprRec& e) {
  RunStatistics(e, kStatistics[Row]);
}

template <int... Rows>
constexpr std::array<TExprFunc, sizeof...(Rows)> MakeRoutines(std::integer_sequence<int, Rows...>) {
  return {StatRoutine<Rows>...};
}
constexpr auto kRoutines =
    MakeRoutines(std::make_integer_sequence<int, static_cast<int>(std::size(kStatistics))>());

}  // namespace

void RegisterStatistics(TWordList& words) {
  for (std::size_t row = 0; row < std::size(kStatistics); ++row) {
    const StatWord& w = kStatistics[row];
    words.DefineFunctionUnsorted(w.name, kRoutines[row], w.argCount, 4, w.help, -1);
  }
}

}  // namespace zel::prob
