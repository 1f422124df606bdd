// The discrete distributions: Bernoulli, binomial, geometric (failures before the first success),
// hypergeometric, negative binomial and Poisson on Boost.Math; logarithmic, discrete uniform and Zipf from
// their formulas.
#include <boost/math/distributions/bernoulli.hpp>
#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/geometric.hpp>
#include <boost/math/distributions/hypergeometric.hpp>
#include <boost/math/distributions/negative_binomial.hpp>
#include <boost/math/distributions/poisson.hpp>

#include "core/distribution_boost.h"
#include "core/special_functions.h"

namespace zel::dist {

namespace {

namespace bm = boost::math;
using TD = TDistribution;

// True for a finite whole number >= lo.
bool Whole(double x, double lo) { return x >= lo && std::isfinite(x) && x == std::floor(x); }
// True for 0 <= p <= 1.
bool Probability(double p) { return p >= 0 && p <= 1; }

// Success probability p on {0, 1}.
struct BernoulliModel : BoostModel<bm::bernoulli_distribution<double, Quiet>, true> {
  explicit BernoulliModel(const TDistParams& p) : BoostModel({p.v[0]}, Probability(p.v[0])) {}
};

// n trials with success probability p: the number of successes.
struct BinomModel : BoostModel<bm::binomial_distribution<double, Quiet>, true> {
  explicit BinomModel(const TDistParams& p)
      : BoostModel({p.v[0], p.v[1]}, Whole(p.v[0], 0) && Probability(p.v[1])) {}
};

// Success probability p: the number of failures before the first success, on {0, 1, ...}.
struct GeometricModel : BoostModel<bm::geometric_distribution<double, Quiet>, true> {
  explicit GeometricModel(const TDistParams& p) : BoostModel({p.v[0]}, p.v[0] > 0 && p.v[0] <= 1) {}
};

// Population M with K successes, N draws without replacement: the number of successes drawn. Boost takes
// (successes, draws, population) as unsigned integers.
using HypDist = bm::hypergeometric_distribution<double, QuietRoundDown>;
// True for whole M, K, N >= 0 with K, N <= M that fit Boost's unsigned arguments.
bool HypOk(const TDistParams& p) {
  return Whole(p.v[0], 0) && Whole(p.v[1], 0) && Whole(p.v[2], 0) && p.v[1] <= p.v[0] && p.v[2] <= p.v[0] &&
         p.v[0] <= 4294967295.0;
}
// Boost's distribution for valid parameters, an empty one otherwise.
HypDist MakeHyp(const TDistParams& p) {
  if (!HypOk(p)) return HypDist(0, 0, 0);
  return HypDist(static_cast<unsigned>(p.v[1]), static_cast<unsigned>(p.v[2]), static_cast<unsigned>(p.v[0]));
}
struct HypGeometricModel : BoostModel<HypDist, true> {
  explicit HypGeometricModel(const TDistParams& p) : BoostModel(MakeHyp(p), HypOk(p)) {}
  // Boost 1.74's excess kurtosis of this distribution is wrong, so all four come from the closed forms
  // (N. L. Johnson, A. W. Kemp, S. Kotz, "Univariate Discrete Distributions", 3rd ed., 6.3): with
  // population N, K successes and n draws, mean nK/N, variance nK(N-K)(N-n)/(N²(N-1)), skewness
  // (N-2K)(N-2n)sqrt(N-1)/((N-2)sqrt(nK(N-K)(N-n))), excess kurtosis
  // ((N-1)N²(N(N+1) - 6K(N-K) - 6n(N-n)) + 6nK(N-K)(N-n)(5N-6)) / (nK(N-K)(N-n)(N-2)(N-3)).
  TMoments Moments() const {
    const double N = d.total(), K = d.defective(), n = d.sample_count(), spread = n * K * (N - K) * (N - n);
    return {n * K / N, spread / (N * N * (N - 1)),
            (N - 2 * K) * (N - 2 * n) * std::sqrt(N - 1) / ((N - 2) * std::sqrt(spread)),
            ((N - 1) * N * N * (N * (N + 1) - 6 * K * (N - K) - 6 * n * (N - n)) + 6 * spread * (5 * N - 6)) /
                (spread * (N - 2) * (N - 3))};
  }
};

// R successes (real R > 0) with success probability P: the number of failures before the R-th success.
struct NegBinomModel : BoostModel<bm::negative_binomial_distribution<double, Quiet>, true> {
  explicit NegBinomModel(const TDistParams& p)
      : BoostModel({p.v[0], p.v[1]}, Positive(p.v[0]) && p.v[1] > 0 && p.v[1] <= 1) {}
};

struct PoissonModel : BoostModel<bm::poisson_distribution<double, Quiet>, true> {
  explicit PoissonModel(const TDistParams& p) : BoostModel({p.v[0]}, Positive(p.v[0])) {}
};

// The logarithmic (log-series) distribution on {1, 2, ...}: P(k) = -p^k / (k ln(1 - p)), 0 < p < 1
// (N. L. Johnson, A. W. Kemp, S. Kotz, "Univariate Discrete Distributions", 3rd ed., ch. 7).
struct LogarithmicModel {
  static constexpr bool discrete = true;
  double p, scale;  // scale = -1 / ln(1 - p)
  bool valid;
  double lo = 1, hi = kInf;

  explicit LogarithmicModel(const TDistParams& q)
      : p(q.v[0]), scale(-1 / std::log1p(-q.v[0])), valid(q.v[0] > 0 && q.v[0] < 1) {}
  double Pdf(double k) const { return scale * std::exp(k * std::log(p)) / k; }
  // The sum of P(1) .. P(k), stopped once the terms no longer change it.
  double Cdf(double k) const {
    double sum = 0, power = 1;
    for (double j = 1; j <= k; ++j) {
      power *= p;
      const double term = scale * power / j;
      if (term < sum * 1e-17) break;
      sum += term;
    }
    return sum;
  }
  // The first k whose running sum reaches q (or whose terms underflow).
  double Inv(double q) const {
    double sum = 0, power = 1, k = 0;
    while (sum < q) {
      ++k;
      power *= p;
      const double term = scale * power / k;
      if (term < sum * 1e-17) break;
      sum += term;
    }
    return k;
  }
  // Raw moments E[X^j] = scale · Li_{1-j}(p), with Li_0(p) = p/(1-p), Li_-1(p) = p/(1-p)²,
  // Li_-2(p) = p(1+p)/(1-p)³, Li_-3(p) = p(1+4p+p²)/(1-p)⁴.
  TMoments Moments() const {
    const double q = 1 - p;
    return MomentsFromRaw(scale * p / q, scale * p / (q * q), scale * p * (1 + p) / (q * q * q),
                          scale * p * (1 + 4 * p + p * p) / (q * q * q * q));
  }
};

// The discrete uniform distribution on {1, ..., N}.
struct UniformDModel {
  static constexpr bool discrete = true;
  double n;
  bool valid;
  double lo = 1, hi;

  explicit UniformDModel(const TDistParams& p) : n(p.v[0]), valid(Whole(p.v[0], 1)), hi(p.v[0]) {}
  double Pdf(double) const { return 1 / n; }
  double Cdf(double k) const { return k / n; }
  double Inv(double p) const { return std::ceil(p * n); }
  TMoments Moments() const {
    return {(n + 1) / 2, (n * n - 1) / 12, 0, -6 * (n * n + 1) / (5 * (n * n - 1))};
  }
};

// Zipf's law on {1, ..., N} with exponent s: P(k) = k^-s / H(N, s), H the generalized harmonic number
// (G. K. Zipf, "Human Behavior and the Principle of Least Effort", 1949; the finite form as in
// N. L. Johnson, A. W. Kemp, S. Kotz, "Univariate Discrete Distributions", 3rd ed., 11.20).
struct ZipfModel {
  static constexpr bool discrete = true;
  double s, n, norm;
  bool valid;
  double lo = 1, hi;

  explicit ZipfModel(const TDistParams& p)
      : s(p.v[0]),
        n(p.v[1]),
        norm(0),
        valid(Finite(p.v[0]) && Whole(p.v[1], 1) && p.v[1] <= 2147483647.0),
        hi(p.v[1]) {
    if (valid) norm = GenHarmonic(static_cast<std::int64_t>(n), s);
  }
  double Pdf(double k) const { return std::pow(k, -s) / norm; }
  double Cdf(double k) const { return GenHarmonic(static_cast<std::int64_t>(k), s) / norm; }
  // Bisection for the smallest k with Cdf(k) >= p.
  double Inv(double p) const {
    double a = 1, b = n;
    while (a < b) {
      const double mid = std::floor((a + b) / 2);
      if (Cdf(mid) >= p) {
        b = mid;
      } else {
        a = mid + 1;
      }
    }
    return a;
  }
  // Raw moments E[X^j] = H(N, s - j) / H(N, s).
  TMoments Moments() const {
    const auto raw = [&](int j) { return GenHarmonic(static_cast<std::int64_t>(n), s - j) / norm; };
    return MomentsFromRaw(raw(1), raw(2), raw(3), raw(4));
  }
};

}  // namespace

void AddDiscrete(TRoutineTable& t) {
  Add<TD::Bernoulli, BernoulliModel>(t);
  Add<TD::Binom, BinomModel>(t);
  Add<TD::Geometric, GeometricModel>(t);
  Add<TD::HypGeometric, HypGeometricModel>(t);
  Add<TD::NegBinom, NegBinomModel>(t);
  Add<TD::Poisson, PoissonModel>(t);
  Add<TD::Logarithmic, LogarithmicModel>(t);
  Add<TD::UniformD, UniformDModel>(t);
  Add<TD::Zipf, ZipfModel>(t);
}

}  // namespace zel::dist
