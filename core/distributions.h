// Probability distributions of the numeric core: the density (or probability mass), the distribution
// function, its inverse and the first four moments of 39 distributions, on doubles and element by element
// on vectors and matrices. The parameterisations, supports and formulas are listed in docs/probability.md.
//
// Conventions shared by every distribution:
//   - Parameters outside the distribution's domain give NaN (never an exception); so does a NaN argument.
//   - Outside the support the density is 0 and the distribution function 0 (below) or 1 (above).
//   - The inverse takes a probability p in [0, 1]; anything else raises ENubraException. p = 0 and p = 1
//     give the ends of the support (infinite for an unbounded support). For a discrete distribution the
//     inverse is the smallest k of the support with CDF(k) >= p.
//   - Discrete distributions take integral arguments: the mass of a non-integral x is 0, and the
//     distribution function counts the support up to floor(x).
//   - The moments are mean, variance, skewness and the excess kurtosis (0 for the normal distribution);
//     a moment that does not exist is NaN, or INF where it diverges.
#pragma once

#include <cstdint>

#include "core/nubra.h"

namespace zel {

enum class TDistribution : std::uint8_t {
  Beta,
  Bernoulli,
  Binom,
  BoseEinstein,
  Cauchy,
  ChiSquare,
  Erlang,
  Exp,
  FatigueLife,
  F,
  FermiDirac,
  Gamma,
  GenExtValue,
  GenPareto,
  Geometric,
  Gumbel,
  HypGeometric,
  InverseChiSquare,
  InverseGaussian,
  JohnsonSB,
  JohnsonUB,
  Laplace,
  Logarithmic,
  Logistic,
  LogNormal,
  LogWeibull,
  Maxwell,
  NegBinom,
  Normal,
  Pareto,
  Poisson,
  Power,
  Rayleigh,
  Student,
  Triangular,
  Uniform,
  UniformD,
  Weibull,
  Zipf,
};
inline constexpr int DistributionCount = 39;

// The three functions of a distribution.
enum class TDistFunction : std::uint8_t { PDF, CDF, CDFInv };

// The parameters of a distribution, in the order of docs/probability.md (at most four; a boolean
// parameter is 0 or 1).
struct TDistParams {
  double v[4] = {};
};

// Mean, variance, skewness and excess kurtosis.
struct TMoments {
  double mean = 0, variance = 0, skewness = 0, kurtosis = 0;
};

// The distribution's name as the library's words spell it ("Normal", "HypGeometric").
const char* DistributionName(TDistribution d);
// True for the distributions on integers.
bool IsDiscrete(TDistribution d);

// f of the distribution at x (a probability for CDFInv).
double DistValue(TDistribution d, TDistFunction f, double x, const TDistParams& params);
// dst = f(x(i)) for every element; dst takes x's size (a TZel destination the shape of a TZel source).
// Complex data raises ENubraException.
void DistValues(TDistribution d, TDistFunction f, const TNubraVec& x, const TDistParams& params,
                TNubraVec& dst);
// The same for integer data, which must have 32-bit precision (else ENubraException
// "Src1.IntPrecision <> prInt32").
void DistValues(TDistribution d, TDistFunction f, const TNubraInt& x, const TDistParams& params,
                TNubraVec& dst);
// Raises "Src1.IntPrecision <> prInt32" unless x has 32-bit elements.
void CheckInt32(const TNubraInt& x);

// The moments of the distribution.
TMoments DistMoments(TDistribution d, const TDistParams& params);

}  // namespace zel
