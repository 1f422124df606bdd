// Location, scale and shape families on Boost.Math: Gumbel (maximum and minimum forms), Laplace,
// logistic, log-Weibull (the Fisher-Tippett name of the maximum-form Gumbel), Pareto, Rayleigh,
// triangular, uniform and Weibull.
#include <boost/math/distributions/extreme_value.hpp>
#include <boost/math/distributions/laplace.hpp>
#include <boost/math/distributions/logistic.hpp>
#include <boost/math/distributions/pareto.hpp>
#include <boost/math/distributions/rayleigh.hpp>
#include <boost/math/distributions/triangular.hpp>
#include <boost/math/distributions/uniform.hpp>
#include <boost/math/distributions/weibull.hpp>

#include "core/distribution_boost.h"

namespace zel::dist {

namespace {

namespace bm = boost::math;
using TD = TDistribution;
using ExtremeValue = bm::extreme_value_distribution<double, Quiet>;

// The Gumbel distribution of the maximum, F(x) = exp(-exp(-(x - mu)/beta)), or with `minimum` its mirror
// image, F(x) = 1 - exp(-exp((x - mu)/beta)): the distribution of -Y for Y of the maximum form with
// location -mu. The third parameter is the switch (0 for the maximum form, as the statistics use it).
struct GumbelModel {
  static constexpr bool discrete = false;
  ExtremeValue d;
  bool minimum;
  bool valid;
  double lo = -kInf, hi = kInf;

  GumbelModel(double mu, double beta, bool min)
      : d(min ? -mu : mu, beta), minimum(min), valid(Finite(mu) && Positive(beta)) {}
  explicit GumbelModel(const TDistParams& p) : GumbelModel(p.v[0], p.v[1], p.v[2] != 0) {}
  double Pdf(double x) const { return pdf(d, minimum ? -x : x); }
  double Cdf(double x) const { return minimum ? cdf(complement(d, -x)) : cdf(d, x); }
  double Inv(double p) const { return minimum ? -quantile(complement(d, p)) : quantile(d, p); }
  TMoments Moments() const {
    const double sign = minimum ? -1 : 1;
    return {sign * mean(d), variance(d), sign * skewness(d), kurtosis_excess(d)};
  }
};

// The log-Weibull (Fisher-Tippett) distribution with location a and scale b,
// f(x) = e^((a-x)/b - e^((a-x)/b)) / b: the maximum-form Gumbel (E. J. Gumbel, "Statistics of Extremes",
// 1958; the name log-Weibull as in N. L. Johnson, S. Kotz, N. Balakrishnan, "Continuous Univariate
// Distributions", vol. 2, 2nd ed., ch. 22).
struct LogWeibullModel : GumbelModel {
  explicit LogWeibullModel(const TDistParams& p) : GumbelModel(p.v[0], p.v[1], false) {}
};

// Location m, scale b.
struct LaplaceModel : BoostModel<bm::laplace_distribution<double, Quiet>> {
  explicit LaplaceModel(const TDistParams& p)
      : BoostModel({p.v[0], p.v[1]}, Finite(p.v[0]) && Positive(p.v[1])) {}
};

// Location m, scale b.
struct LogisticModel : BoostModel<bm::logistic_distribution<double, Quiet>> {
  explicit LogisticModel(const TDistParams& p)
      : BoostModel({p.v[0], p.v[1]}, Finite(p.v[0]) && Positive(p.v[1])) {}
};

// Shape a, scale (the smallest value) b: F(x) = 1 - (b/x)^a for x >= b.
struct ParetoModel : BoostModel<bm::pareto_distribution<double, Quiet>> {
  explicit ParetoModel(const TDistParams& p)
      : BoostModel({p.v[1], p.v[0]}, Positive(p.v[0]) && Positive(p.v[1])) {}
};

// Scale b.
struct RayleighModel : BoostModel<bm::rayleigh_distribution<double, Quiet>> {
  explicit RayleighModel(const TDistParams& p) : BoostModel({p.v[0]}, Positive(p.v[0])) {}
};

// Lower end a, upper end b, mode c.
struct TriangularModel : BoostModel<bm::triangular_distribution<double, Quiet>> {
  explicit TriangularModel(const TDistParams& p)
      : BoostModel({p.v[0], p.v[2], p.v[1]}, Finite(p.v[0]) && Finite(p.v[1]) && p.v[0] < p.v[1] &&
                                                 p.v[0] <= p.v[2] && p.v[2] <= p.v[1]) {}
};

// On [a, b].
struct UniformModel : BoostModel<bm::uniform_distribution<double, Quiet>> {
  explicit UniformModel(const TDistParams& p)
      : BoostModel({p.v[0], p.v[1]}, Finite(p.v[0]) && Finite(p.v[1]) && p.v[0] < p.v[1]) {}
};

// Scale a, shape b: F(x) = 1 - exp(-(x/a)^b).
struct WeibullModel : BoostModel<bm::weibull_distribution<double, Quiet>> {
  explicit WeibullModel(const TDistParams& p)
      : BoostModel({p.v[1], p.v[0]}, Positive(p.v[0]) && Positive(p.v[1])) {}
};

}  // namespace

void AddShapeContinuous(TRoutineTable& t) {
  Add<TD::Gumbel, GumbelModel>(t);
  Add<TD::Laplace, LaplaceModel>(t);
  Add<TD::Logistic, LogisticModel>(t);
  Add<TD::LogWeibull, LogWeibullModel>(t);
  Add<TD::Pareto, ParetoModel>(t);
  Add<TD::Rayleigh, RayleighModel>(t);
  Add<TD::Triangular, TriangularModel>(t);
  Add<TD::Uniform, UniformModel>(t);
  Add<TD::Weibull, WeibullModel>(t);
}

}  // namespace zel::dist
