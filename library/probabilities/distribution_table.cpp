// The distributions table: for each of the 39 distributions its words (PDF, CDF and, for all but
// Bose-Einstein and Fermi-Dirac, CDFInv) with argument counts, parameter kinds, help texts and own
// messages, and the registration of those words in table order.
#include <array>
#include <utility>

#include "library/probabilities/dist_words.h"

namespace zel::prob {

namespace {

using TD = TDistribution;

// clang-format off
constexpr TDistWords kDistributions[] = {
    {TD::Beta, "Beta", 3, "RR", {"BetaPDF(x, a, b): returns beta PDF at x.", "BetaCDF(x, a, b): returns beta CDF at x.", "BetaCDFInv(p, a, b: double): returns inverse beta CDF at x."}, "%s: second and third parameters must be a real number!"},
    {TD::Bernoulli, "Bernoulli", 2, "R", {"BernoulliPDF(x, p): returns Bernoulli PDF in domain (x =  0/1) at value p.", "BernoulliCDF(x, p): returns Bernoulli CDF in domain (x = 0/1) at value p.", "BernoulliCDFInv(y, p): returns inverse of the Bernoulli CDF at y."}, "%s: second parameter must be a real number!", "%s: first parameter must be 32bit integer!"},
    {TD::Binom, "Binom", 3, "IR", {"BinomPDF(x, n, p): returns binomial PDF at x.", "BinomCDF(x, n, p): returns binomial CDF at x.", "BinomCDFInv(y, n, p): returns inverse of binomial CDF at y."}},
    {TD::BoseEinstein, "BoseEinstein", 3, "RR", {"BoseEinsteinPDF(x, mu, s): returns the bose-einstein PDF at x.", "BoseEinsteinCDF(x, mu, s): returns the bose-einstein CDF at x .", nullptr}},
    {TD::Cauchy, "Cauchy", 3, "RR", {"CauchyPDF(x, m, b): retruns the cauchy PDF at x.", "CauchyCDF(x, m, b): retruns the cauchy CDF at x.", "CauchyCDFInv(p,m,b): returns the inverse of the cauchy CDF at p."}},
    {TD::ChiSquare, "ChiSquare", 2, "I", {"ChiSquarePDF(x, Nu): returns the ChiSquare PDF at x.", "ChiSquareCDF(x, Nu): returns the ChiSquare CDF at x.", "ChiSquareCDFInv(p, Nu): returns the inverse of the ChiSquare CDF at p."}},
    {TD::Erlang, "Erlang", 3, "IR", {"ErlangPDF(x, k, lambda): returns the Erlang PDF at x.", "ErlangCDF(x, k, lambda): returns the Erlang CDF at x.", "ErlangCDFInv(p, k, lambda): returns the inverse of the Erlang CDF at p."}},
    {TD::Exp, "Exp", 2, "R", {"ExpPDF(x, mu): returns the Exponential PDF at x.", "ExpCDF(x, mu): returns the Exponential CDF at x.", "ExpCDFInv(p, mu): returns the inverse Exponential CDF at p."}},
    {TD::FatigueLife, "FatigueLife", 4, "RRR", {"FatigueLifePDF(x, mu, gamma, beta): returns Fatigue life PDF at x.", "FatigueLifeCDF(x, mu, gamma, beta): returns Fatigue life CDF at x.", "FatigueLifeCDFInv(p, mu, gamma, beta): returns the inverse of Fatigue life CDF at p."}},
    {TD::F, "F", 3, "II", {"FPDF(x, Nu1, Nu2): returns F PDF at x.", "FCDF(x, Nu1, Nu2): returns F CDF at x.", "FCDFInv(p, Nu1, Nu2): returns inverse of F CDF at p."}},
    {TD::FermiDirac, "FermiDirac", 3, "RR", {"FermiDiracPDF(x, mu, s): returns Fermi Dirac PDF at x.", "FermiDiracCDF(x, mu, s): returns Fermi Dirac CDF at x.", nullptr}},
    {TD::Gamma, "Gamma", 3, "RR", {"GammaPDF(x, a, b): returns Gamma PDF at x.", "GammaCDF(x, a, b): returns Gamma CDF at x.", "GammaCDFInv(p, a, b): returns inverse Gamma CDF at p."}},
    {TD::GenExtValue, "GenExtValue", 4, "RRR", {"GenExtValuePDF(x, k, mu, sigma): returns generalized extreme value PDF at x.", "GenExtValueCDF(x, k, mu, sigma): returns generalized extreme value CDF at x.", "GenExtValuePDF(p, k, mu, sigma): returns inverse of generalized extreme value CDF at p."}},
    {TD::GenPareto, "GenPareto", 4, "RRR", {"GenParetoPDF(x, k, mu, sigma): returns generalized pareto PDF at x.", "GenParetoCDF(x, k, mu, sigma): returns generalized pareto CDF at x.", "GenParetoCDFInv(p, k, mu, sigma): returns inverse of generalized pareto CDF at p."}},
    {TD::Geometric, "Geometric", 2, "R", {"GeometricPDF(x, p): returns geometric PDF at x.", "GeometricCDF(x, p): returns geometric CDF at x.", "GeometricCDFInv(y, p): returns inverse geometric CDF at y."}},
    {TD::Gumbel, "Gumbel", 4, "RRB", {"GumbelPDF(x, mu, beta, minimum): returns Gumbel PDF at x.", "GumbelCDF(x, mu, beta, minimum): returns Gumbel CDF at x.", "GumbelCDFInv(p, mu, beta, minimum): returns Gumbel PDF at p."}},
    {TD::HypGeometric, "HypGeometric", 4, "III", {"HypGeometricPDF(x, M, K, N): returns hypergeometric PDF at x.", "HypGeometricCDF(x, M, K, N): returns hypergeometric CDF at x.", "HypGeometricCDFInv(p, M, K, N): returns inverse hypergeometric CDF at p."}},
    {TD::InverseChiSquare, "InverseChiSquare", 2, "I", {"InverseChiSquarePDF(X, Nu): returns inverse Chi Square PDF at x.", "InverseChiSquareCDF(X, Nu): returns inverse Chi Square CDF at x.", "InverseChiSquareCDFInv(p, Nu): returns inverse of inverse Chi Square CDF at p."}},
    {TD::InverseGaussian, "InverseGaussian", 3, "RR", {"InverseGaussianPDF(x, mu, lambda): returns inverse gaussian PDF at x.", "InverseGaussianCDF(x, mu, lambda): returns inverse gaussian CDF at x.", "InverseGaussianCDFInv(x, mu, lambda): returns inverse of inverse gaussian CDF at p."}},
    {TD::JohnsonSB, "JohnsonSB", 5, "RRRR", {"JohnsonSBPDF(x, gamma,delta,lambda,xi): returns Johnson bounded (SB) PDF at x.", "JohnsonSBCDF(x, gamma,delta,lambda,xi): returns Johnson bounded (SB) CDF at x.", "JohnsonSBCDFInv(p, gamma,delta,lambda,xi): returns inverse of Johnson bounded (SB) CDF at x."}},
    {TD::JohnsonUB, "JohnsonUB", 5, "RRRR", {"JohnsonUBPDF(x, gamma,delta,lambda,xi): returns Johnson unbounded (UB) PDF at x.", "JohnsonUBCDF(x, gamma,delta,lambda,xi): returns Johnson unbounded (UB) CDF at x.", "JohnsonUBCDFInv(p, gamma,delta,lambda,xi): returns inverse of Johnson unbounded (UB) CDF at x."}},
    {TD::Laplace, "Laplace", 3, "RR", {"LaplacePDF(x, m, b): returns Laplace PDF at x.", "LaplaceCDF(x, m, b): returns Laplace CDF at x.", "LaplaceCDFInv(p, m, b): returns inverse Laplace CDF at p."}},
    {TD::Logarithmic, "Logarithmic", 2, "R", {"LogarithmicPDF(x, p): returns logarithmic PDF at x.", "LogarithmicCDF(x, p): returns logarithmic CDF at x.", "LogarithmicCDFInv(x, p): returns inverse logarithmic CDF at x."}},
    {TD::Logistic, "Logistic", 3, "RR", {"LogisticPDF(x, m, b): returns logistic PDF at x.", "LogisticCDF(x, m, b): returns logistic CDF at x.", "LogisticCDFInv(p, m, b): returns inverse logistic CDF at p."}},
    {TD::LogNormal, "LogNormal", 3, "RR", {"LogNormalPDF(x, mu, sigma): returns log-normal PDF at x.", "LogNormalCDF(x, mu, sigma): returns log-normal CDF at x.", "LogNormalCDFInv(p, mu, sigma): returns inverse log-normal CDF at p."}},
    {TD::LogWeibull, "LogWeibull", 3, "RR", {"LogWeibullPDF(x, a, b): returns logarithmic weibull PDF at x.", "LogWeibullPDF(x, a, b): returns logarithmic weibull CDF at x.", "LogWeibullCDFInv(p, a, b): returns inverse logarithmic weibull CDF at p."}},
    {TD::Maxwell, "Maxwell", 2, "R", {"MaxwellPDF(x, a): returns Maxwell PDF at x.", "MaxwellCDF(x, a): returns Maxwell CDF at x.", "MaxwellCDFInv(p, a): returns inverse Maxwell CDF at p."}},
    {TD::NegBinom, "NegBinom", 3, "RR", {"NegBinomPDF(x, R, P): returns negative binomial PDF at x.", "NegBinomCDF(x, R, P): returns negative binomial CDF at x.", "NegBinomCDFInv(y, R, P): returns negative binomial PDF at y."}},
    {TD::Normal, "Normal", 3, "RR", {"NormalPDF(x, mu, sigma): returns normal PDF at x.", "NormalCDF(x, mu, sigma): returns normal CDF at x.", "NormalCDFInv(p, mu, sigma): returns inverse normal CDF at p."}},
    {TD::Pareto, "Pareto", 3, "RR", {"ParetoPDF(x, a, b): returns pareto PDF at x.", "ParetoCDF(x, a, b): returns pareto CDF at x.", "ParetoCDFInv(p, a, b): returns inverse pareto CDF at p."}},
    {TD::Poisson, "Poisson", 2, "R", {"PoissonPDF(x, lambda): returns poisson PDF at x.", "PoissonCDF(x, lambda): returns poisson CDF at x.", "PoissonCDF(p, lambda): returns poisson CDF at p."}},
    {TD::Power, "Power", 3, "RR", {"PowerPDF(x, alpha, beta): returns power PDF at x.", "PowerCDF(x, alpha, beta): returns power CDF at x.", "PowerCDFInv(p, alpha, beta): returns inverse power CDF at p."}},
    {TD::Rayleigh, "Rayleigh", 2, "R", {"RayleighPDF(x, b): returns Rayleigh PDF at x.", "RayleighCDF(x, b): returns Rayleigh CDF at x.", "RayleighCDFInv(p, b): returns inverse Rayleigh CDF at p."}},
    {TD::Student, "Student", 2, "I", {"StudentPDF(x, Nu): returns student PDF at x.", "StudentCDF(x, Nu): returns student CDF at x.", "StudentCDFInv(p, Nu): returns inverse student CDF at p."}},
    {TD::Triangular, "Triangular", 4, "RRR", {"TriangularPDF(x, a,b,c): returns triangular PDF at x.", "TriangularCDF(x, a,b,c): returns triangular CDF at x.", "TriangularCDFInv(p, a,b,c): returns inverse of triangular CDF at p."}},
    {TD::Uniform, "Uniform", 3, "RR", {"UniformPDF(x, a, b): returns uniform PDF at x.", "UniformCDF(x, a, b): returns uniform CDF at x.", "UniformCDFInv(p, a, b): returns inverse uniform CDF at p."}},
    {TD::UniformD, "UniformD", 2, "I", {"UniformDPDF(x, N): returns discrete uniform PDF at x.", "UniformDCDF(x, N): returns discrete uniform CDF at x.", "UniformDCDFInv(x, N): returns inverse discrete uniform CDF at p."}},
    {TD::Weibull, "Weibull", 3, "RR", {"WeibullPDF(x, a,b): returns inverse Weibull PDF at x.", "WeibullCDF(x, a,b): returns inverse Weibull CDF at x.", "WeibullCDFInv(p, a, b): returns inverse Weibull CDF at p."}},
    {TD::Zipf, "Zipf", 3, "RI", {"ZipfPDF(x, s, N): returns zipf PDF at x.", "ZipfCDF(x, s, N): returns zipf CDF at x.", "ZipfCDFInv(p, s, N): returns inverse zipf CDF at p."}},
};
// clang-format on
constexpr int kCount = static_cast<int>(std::size(kDistributions));

// The routine of function F of row Row.
template <int Row, TDistFunction F>
void DistWord(TExprRec& e) {
  RunDistribution(e, kDistributions[Row], F);
}

// The PDF, CDF and CDFInv routines of every row.
using RowRoutines = std::array<TExprFunc, 3>;
template <int... Rows>
constexpr std::array<RowRoutines, kCount> MakeRoutines(std::integer_sequence<int, Rows...>) {
  return {RowRoutines{DistWord<Rows, TDistFunction::PDF>, DistWord<Rows, TDistFunction::CDF>,
                      DistWord<Rows, TDistFunction::CDFInv>}...};
}
constexpr auto kRoutines = MakeRoutines(std::make_integer_sequence<int, kCount>());

}  // namespace

void RegisterDistributions(TWordList& words) {
  static constexpr const char* kSuffix[] = {"PDF", "CDF", "CDFInv"};
  for (int row = 0; row < kCount; ++row) {
    const TDistWords& w = kDistributions[row];
    for (int f = 0; f < 3; ++f) {
      if (!w.help[f]) continue;
      words.DefineFunctionUnsorted(std::string(w.stem) + kSuffix[f], kRoutines[row][f], w.argCount, w.help[f],
                                   -1);
    }
  }
}

}  // namespace zel::prob
