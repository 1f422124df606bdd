// The classic continuous distributions on Boost.Math: beta, Cauchy, chi-square, Erlang (a gamma
// distribution with integral shape and a rate), exponential (by its mean), F, gamma (shape and scale),
// inverse chi-square, inverse Gaussian, log-normal, normal and Student's t; and the standard normal
// distribution function and its inverse the formula distributions build on.
#include <boost/math/distributions/beta.hpp>
#include <boost/math/distributions/cauchy.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/exponential.hpp>
// Boost 1.74's F quantile on the complement trips GCC's maybe-uninitialized analysis (a false alarm: the
// value comes back through a pointer argument).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <boost/math/distributions/fisher_f.hpp>
#pragma GCC diagnostic pop
#include <boost/math/distributions/gamma.hpp>
#include <boost/math/distributions/inverse_chi_squared.hpp>
#include <boost/math/distributions/inverse_gaussian.hpp>
#include <boost/math/distributions/lognormal.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <numbers>

#include "core/distribution_boost.h"

namespace zel::dist {

namespace {

namespace bm = boost::math;
using TD = TDistribution;

struct BetaModel : BoostModel<bm::beta_distribution<double, Quiet>> {
  explicit BetaModel(const TDistParams& p)
      : BoostModel({p.v[0], p.v[1]}, Positive(p.v[0]) && Positive(p.v[1])) {}
};

// Location m, scale b. No moment exists.
struct CauchyModel : BoostModel<bm::cauchy_distribution<double, Quiet>> {
  explicit CauchyModel(const TDistParams& p)
      : BoostModel({p.v[0], p.v[1]}, Finite(p.v[0]) && Positive(p.v[1])) {}
  TMoments Moments() const { return NoMoments(); }
};

struct ChiSquareModel : BoostModel<bm::chi_squared_distribution<double, Quiet>> {
  explicit ChiSquareModel(const TDistParams& p) : BoostModel({p.v[0]}, Positive(p.v[0])) {}
};

// Shape a and scale b. Boost's density is 0 at x = 0 for every shape; the limit from the right is INF
// for a < 1 and 1/b for a = 1.
struct GammaModel : BoostModel<bm::gamma_distribution<double, Quiet>> {
  GammaModel(double a, double b, bool ok) : BoostModel({a, b}, ok) {}
  explicit GammaModel(const TDistParams& p)
      : GammaModel(p.v[0], p.v[1], Positive(p.v[0]) && Positive(p.v[1])) {}
  double Pdf(double x) const {
    if (x > 0 || d.shape() > 1) return pdf(d, x);
    return d.shape() == 1 ? 1 / d.scale() : kInf;
  }
};

// Shape k (a positive integer) and rate lambda: the gamma distribution with scale 1/lambda.
struct ErlangModel : GammaModel {
  explicit ErlangModel(const TDistParams& p)
      : GammaModel(p.v[0], 1 / p.v[1],
                   p.v[0] >= 1 && p.v[0] == std::floor(p.v[0]) && Positive(p.v[0]) && Positive(p.v[1])) {}
};

// Mean mu: the rate is 1/mu.
struct ExpModel : BoostModel<bm::exponential_distribution<double, Quiet>> {
  explicit ExpModel(const TDistParams& p) : BoostModel({1 / p.v[0]}, Positive(p.v[0])) {}
};

struct FModel : BoostModel<bm::fisher_f_distribution<double, Quiet>> {
  explicit FModel(const TDistParams& p)
      : BoostModel({p.v[0], p.v[1]}, Positive(p.v[0]) && Positive(p.v[1])) {}
};

// The unscaled inverse chi-square: 1/X for X chi-square with nu degrees of freedom (Boost's scale 1/nu).
struct InverseChiSquareModel : BoostModel<bm::inverse_chi_squared_distribution<double, Quiet>> {
  explicit InverseChiSquareModel(const TDistParams& p) : BoostModel({p.v[0]}, Positive(p.v[0])) {}
};

// Mean mu, shape lambda.
struct InverseGaussianModel : BoostModel<bm::inverse_gaussian_distribution<double, Quiet>> {
  explicit InverseGaussianModel(const TDistParams& p)
      : BoostModel({p.v[0], p.v[1]}, Positive(p.v[0]) && Positive(p.v[1])) {}
};

// ln X is normal with mean mu and standard deviation sigma.
struct LogNormalModel : BoostModel<bm::lognormal_distribution<double, Quiet>> {
  explicit LogNormalModel(const TDistParams& p)
      : BoostModel({p.v[0], p.v[1]}, Finite(p.v[0]) && Positive(p.v[1])) {}
};

// The CDF and its inverse call erfc and erfc_inv directly, as Boost's normal distribution does, but
// without its parameter checks per element (the parameters were checked once, here).
struct NormalModel : BoostModel<bm::normal_distribution<double, Quiet>> {
  double mu, scale;  // scale = sigma * sqrt(2)
  explicit NormalModel(const TDistParams& p)
      : BoostModel({p.v[0], p.v[1]}, Finite(p.v[0]) && Positive(p.v[1])),
        mu(p.v[0]),
        scale(p.v[1] * std::numbers::sqrt2) {}
  double Cdf(double x) const { return 0.5 * bm::erfc(-(x - mu) / scale, Quiet()); }
  // Upper tail from 1 - p, which is exact for p > 0.5.
  double Inv(double p) const {
    return p > 0.5 ? mu + scale * bm::erfc_inv(2 * (1 - p), Quiet())
                   : mu - scale * bm::erfc_inv(2 * p, Quiet());
  }
};

struct StudentModel : BoostModel<bm::students_t_distribution<double, Quiet>> {
  explicit StudentModel(const TDistParams& p) : BoostModel({p.v[0]}, Positive(p.v[0])) {}
};

}  // namespace

double StdNormalCdf(double z) { return 0.5 * bm::erfc(-z / std::numbers::sqrt2, Quiet()); }
double StdNormalInv(double p) { return -std::numbers::sqrt2 * bm::erfc_inv(2 * p, Quiet()); }

void AddClassicContinuous(TRoutineTable& t) {
  Add<TD::Beta, BetaModel>(t);
  Add<TD::Cauchy, CauchyModel>(t);
  Add<TD::ChiSquare, ChiSquareModel>(t);
  Add<TD::Erlang, ErlangModel>(t);
  Add<TD::Exp, ExpModel>(t);
  Add<TD::F, FModel>(t);
  Add<TD::Gamma, GammaModel>(t);
  Add<TD::InverseChiSquare, InverseChiSquareModel>(t);
  Add<TD::InverseGaussian, InverseGaussianModel>(t);
  Add<TD::LogNormal, LogNormalModel>(t);
  Add<TD::Normal, NormalModel>(t);
  Add<TD::Student, StudentModel>(t);
}

}  // namespace zel::dist
