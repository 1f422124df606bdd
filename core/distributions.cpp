// The entry points of the probability distributions (see distributions.h): the names, the table of each
// distribution's routines (filled by the distribution files) and the forms on vectors and matrices.
#include "core/distributions.h"

#include <cmath>

#include "core/distribution_detail.h"
#include "core/errors.h"

namespace zel {

namespace {

constexpr const char* kNames[DistributionCount] = {
    "Beta",
    "Bernoulli",
    "Binom",
    "BoseEinstein",
    "Cauchy",
    "ChiSquare",
    "Erlang",
    "Exp",
    "FatigueLife",
    "F",
    "FermiDirac",
    "Gamma",
    "GenExtValue",
    "GenPareto",
    "Geometric",
    "Gumbel",
    "HypGeometric",
    "InverseChiSquare",
    "InverseGaussian",
    "JohnsonSB",
    "JohnsonUB",
    "Laplace",
    "Logarithmic",
    "Logistic",
    "LogNormal",
    "LogWeibull",
    "Maxwell",
    "NegBinom",
    "Normal",
    "Pareto",
    "Poisson",
    "Power",
    "Rayleigh",
    "Student",
    "Triangular",
    "Uniform",
    "UniformD",
    "Weibull",
    "Zipf",
};

// The routines of every distribution, filled once on first use.
const dist::TRoutineTable& Table() {
  static const dist::TRoutineTable table = [] {
    dist::TRoutineTable t{};
    dist::AddClassicContinuous(t);
    dist::AddShapeContinuous(t);
    dist::AddDiscrete(t);
    dist::AddFormulaContinuous(t);
    dist::AddJohnson(t);
    return t;
  }();
  return table;
}

const dist::TRoutines& RoutinesFor(TDistribution d) { return Table()[static_cast<int>(d)]; }

// The word name of f of d, for messages ("NormalCDFInv").
std::string FunctionName(TDistribution d, TDistFunction f) {
  static constexpr const char* kSuffix[] = {"PDF", "CDF", "CDFInv"};
  return std::string(DistributionName(d)) + kSuffix[static_cast<int>(f)];
}

}  // namespace

const char* DistributionName(TDistribution d) { return kNames[static_cast<int>(d)]; }

bool IsDiscrete(TDistribution d) {
  switch (d) {
    case TDistribution::Bernoulli:
    case TDistribution::Binom:
    case TDistribution::Geometric:
    case TDistribution::HypGeometric:
    case TDistribution::Logarithmic:
    case TDistribution::NegBinom:
    case TDistribution::Poisson:
    case TDistribution::UniformD:
    case TDistribution::Zipf:
      return true;
    default:
      return false;
  }
}

double DistValue(TDistribution d, TDistFunction f, double x, const TDistParams& params) {
  return RoutinesFor(d).value(f, x, params);
}

void DistValues(TDistribution d, TDistFunction f, const TNubraVec& x, const TDistParams& params,
                TNubraVec& dst) {
  if (x.Complex()) ERaise(FunctionName(d, f) + ": complex values are not supported");
  dst.SizeShape(x.Rows(), x.Cols(), false);
  RoutinesFor(d).values(f, x.PValues(), dst.PValues(), x.Length(), params);
}

void CheckInt32(const TNubraInt& x) {
  if (x.IntPrecision() != prInt32) ERaise("Src1.IntPrecision <> prInt32");
}

void DistValues(TDistribution d, TDistFunction f, const TNubraInt& x, const TDistParams& params,
                TNubraVec& dst) {
  CheckInt32(x);
  dst.SizeShape(x.Rows(), x.Cols(), false);
  RoutinesFor(d).intValues(f, x.PIValues(), dst.PValues(), x.Length(), params);
}

TMoments DistMoments(TDistribution d, const TDistParams& params) { return RoutinesFor(d).moments(params); }

namespace dist {

void RaiseProbability(TDistribution d, double p) {
  ERaise(
      Fmt("%s: the probability %g lies outside [0, 1]", FunctionName(d, TDistFunction::CDFInv).c_str(), p));
}

TMoments MomentsFromRaw(double m1, double m2, double m3, double m4) {
  const double var = m2 - m1 * m1;
  const double mu3 = m3 - 3 * m1 * m2 + 2 * m1 * m1 * m1;
  const double mu4 = m4 - 4 * m1 * m3 + 6 * m1 * m1 * m2 - 3 * m1 * m1 * m1 * m1;
  return {m1, var, mu3 / std::pow(var, 1.5), mu4 / (var * var) - 3};
}

}  // namespace dist

}  // namespace zel
