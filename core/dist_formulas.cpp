// Continuous distributions that Boost.Math does not have, from their standard formulas (each model cites
// its source): Bose-Einstein, fatigue life (Birnbaum-Saunders), Fermi-Dirac, generalized extreme value,
// generalized Pareto, Maxwell and the power-function distribution.
#include <boost/math/special_functions/gamma.hpp>
#include <boost/math/special_functions/zeta.hpp>
#include <numbers>

#include "core/distribution_boost.h"

namespace zel::dist {

namespace {

namespace bm = boost::math;
using TD = TDistribution;
constexpr double kPi = std::numbers::pi;

// ln(1 + e^y) without overflow, and its inverse ln(e^y - 1) for y > 0.
double SoftPlus(double y) { return y > 0 ? y + std::log1p(std::exp(-y)) : std::log1p(std::exp(y)); }
double SoftPlusInv(double y) { return y + std::log(-std::expm1(-y)); }

// The Fermi-Dirac occupation 1/(1 + e^((x-mu)/s)) normalised to a density on [0, INF) (C. Kittel,
// H. Kroemer, "Thermal Physics", 2nd ed. 1980, ch. 7):
//   f(x) = 1 / (s L (1 + e^((x-mu)/s))),  F(x) = 1 - ln(1 + e^((mu-x)/s)) / L,  L = ln(1 + e^(mu/s)).
struct FermiDiracModel {
  static constexpr bool discrete = false;
  double mu, s, norm;
  bool valid;
  double lo = 0, hi = kInf;

  explicit FermiDiracModel(const TDistParams& p)
      : mu(p.v[0]), s(p.v[1]), norm(SoftPlus(p.v[0] / p.v[1])), valid(Finite(p.v[0]) && Positive(p.v[1])) {}
  double Pdf(double x) const { return 1 / (s * norm * (1 + std::exp((x - mu) / s))); }
  double Cdf(double x) const { return 1 - SoftPlus((mu - x) / s) / norm; }
  double Inv(double p) const { return mu - s * SoftPlusInv((1 - p) * norm); }
  TMoments Moments() const { return NoMoments(); }
};

// The Bose-Einstein occupation 1/(e^((x-mu)/s) - 1), mu < 0, normalised to a density on [0, INF) (Kittel
// and Kroemer, ch. 7):
//   f(x) = 1 / (s c (e^((x-mu)/s) - 1)),  F(x) = 1 + ln(1 - e^((mu-x)/s)) / c,  c = -ln(1 - e^(mu/s)).
struct BoseEinsteinModel {
  static constexpr bool discrete = false;
  double mu, s, norm;
  bool valid;
  double lo = 0, hi = kInf;

  explicit BoseEinsteinModel(const TDistParams& p)
      : mu(p.v[0]),
        s(p.v[1]),
        norm(-std::log1p(-std::exp(p.v[0] / p.v[1]))),
        valid(p.v[0] < 0 && std::isfinite(p.v[0]) && Positive(p.v[1])) {}
  double Pdf(double x) const { return 1 / (s * norm * std::expm1((x - mu) / s)); }
  double Cdf(double x) const { return 1 + std::log1p(-std::exp((mu - x) / s)) / norm; }
  double Inv(double p) const { return mu - s * std::log(-std::expm1(-(1 - p) * norm)); }
  TMoments Moments() const { return NoMoments(); }
};

// The fatigue-life (Birnbaum-Saunders) distribution with location mu, shape gamma and scale beta
// (Z. W. Birnbaum, S. C. Saunders, "A new family of life distributions", J. Appl. Probab. 6 (1969)
// 319-327; NIST/SEMATECH e-Handbook of Statistical Methods, 1.3.6.6.15). With t = x - mu > 0 and
// z = (sqrt(t/beta) - sqrt(beta/t)) / gamma:
//   F(x) = Φ(z),  f(x) = (sqrt(t/beta) + sqrt(beta/t)) / (2 gamma t) φ(z),
//   F⁻¹(p) = mu + beta/4 (gamma z_p + sqrt(gamma² z_p² + 4))²,  z_p = Φ⁻¹(p).
struct FatigueLifeModel {
  static constexpr bool discrete = false;
  double mu, gamma, beta;
  bool valid;
  double lo, hi = kInf;

  explicit FatigueLifeModel(const TDistParams& p)
      : mu(p.v[0]),
        gamma(p.v[1]),
        beta(p.v[2]),
        valid(Finite(p.v[0]) && Positive(p.v[1]) && Positive(p.v[2])),
        lo(p.v[0]) {}
  double Z(double t) const { return (std::sqrt(t / beta) - std::sqrt(beta / t)) / gamma; }
  double Pdf(double x) const {
    const double t = x - mu;
    if (t <= 0) return 0;
    const double z = Z(t);
    return (std::sqrt(t / beta) + std::sqrt(beta / t)) / (2 * gamma * t) * std::exp(-z * z / 2) /
           std::sqrt(2 * kPi);
  }
  double Cdf(double x) const { return StdNormalCdf(Z(x - mu)); }
  double Inv(double p) const {
    const double gz = gamma * StdNormalInv(p);
    const double r = gz + std::sqrt(gz * gz + 4);
    return mu + beta / 4 * r * r;
  }
  // Mean mu + beta(1 + gamma²/2), variance (gamma beta)²(1 + 5gamma²/4), skewness
  // 4gamma(11gamma² + 6)/(5gamma² + 4)^1.5, excess kurtosis 6gamma²(93gamma² + 40)/(5gamma² + 4)².
  TMoments Moments() const {
    const double g2 = gamma * gamma, d = 5 * g2 + 4;
    return {mu + beta * (1 + g2 / 2), g2 * beta * beta * (1 + 5 * g2 / 4),
            4 * gamma * (11 * g2 + 6) / std::pow(d, 1.5), 6 * g2 * (93 * g2 + 40) / (d * d)};
  }
};

// The generalized extreme value distribution with shape k, location mu and scale sigma (S. Coles, "An
// Introduction to Statistical Modeling of Extreme Values", Springer 2001, 3.1.3). With z = (x - mu)/sigma
// and s = (1 + k z)^(-1/k) (s = e^-z for k = 0), on 1 + k z > 0:
//   F(x) = e^-s,  f(x) = s^(k+1) e^-s / sigma,  F⁻¹(p) = mu + sigma ((-ln p)^-k - 1)/k.
// k > 0 gives the heavy-tailed (Fréchet) form, k < 0 the bounded (Weibull) form.
struct GenExtValueModel {
  static constexpr bool discrete = false;
  double k, mu, sigma;
  bool valid;
  double lo = -kInf, hi = kInf;

  explicit GenExtValueModel(const TDistParams& p)
      : k(p.v[0]), mu(p.v[1]), sigma(p.v[2]), valid(Finite(p.v[0]) && Finite(p.v[1]) && Positive(p.v[2])) {
    if (k > 0) lo = mu - sigma / k;
    if (k < 0) hi = mu - sigma / k;
  }
  double S(double x) const {
    const double z = (x - mu) / sigma;
    return k == 0 ? std::exp(-z) : std::exp(-std::log1p(k * z) / k);
  }
  double Pdf(double x) const {
    if (k > 0 && x <= lo) return 0;
    const double s = S(x);
    return std::pow(s, k + 1) * std::exp(-s) / sigma;
  }
  double Cdf(double x) const { return std::exp(-S(x)); }
  double Inv(double p) const {
    const double s = -std::log(p);
    return mu + sigma * (k == 0 ? -std::log(s) : std::expm1(-k * std::log(s)) / k);
  }
  // With g_n = Γ(1 - n k): mean mu + sigma (g1 - 1)/k (k < 1), variance sigma² (g2 - g1²)/k² (k < 1/2),
  // skewness sgn(k)(g3 - 3g1g2 + 2g1³)/(g2 - g1²)^1.5 (k < 1/3), excess kurtosis
  // (g4 - 4g1g3 + 6g1²g2 - 3g1⁴)/(g2 - g1²)² - 3 (k < 1/4); for k = 0 the Gumbel moments (N. L. Johnson,
  // S. Kotz, N. Balakrishnan, "Continuous Univariate Distributions", vol. 2, 2nd ed., ch. 22).
  TMoments Moments() const {
    if (k == 0) {
      return {mu + sigma * std::numbers::egamma, sigma * sigma * kPi * kPi / 6,
              12 * std::sqrt(6.0) * bm::zeta(3.0, Quiet()) / (kPi * kPi * kPi), 2.4};
    }
    const auto g = [&](int n) { return bm::tgamma(1 - n * k, Quiet()); };
    const double g1 = g(1), g2 = g(2), v = g2 - g1 * g1;
    TMoments m{kInf, kInf, kNaN, kNaN};
    if (k < 1) m.mean = mu + sigma * bm::tgamma1pm1(-k, Quiet()) / k;
    if (k < 0.5) m.variance = sigma * sigma * v / (k * k);
    if (k < 1.0 / 3)
      m.skewness = (k > 0 ? 1 : -1) * (g(3) - 3 * g1 * g2 + 2 * g1 * g1 * g1) / std::pow(v, 1.5);
    if (k < 0.25)
      m.kurtosis = (g(4) - 4 * g1 * g(3) + 6 * g1 * g1 * g2 - 3 * g1 * g1 * g1 * g1) / (v * v) - 3;
    return m;
  }
};

// The generalized Pareto distribution with shape k, location mu and scale sigma (J. Pickands, "Statistical
// inference using extreme order statistics", Ann. Statist. 3 (1975) 119-131; Coles 2001, 4.2). With
// z = (x - mu)/sigma >= 0 (and z <= -1/k for k < 0) and L = ln(1 + k z)/k (L = z for k = 0):
//   F(x) = 1 - e^-L,  f(x) = e^(-(k+1) L) / sigma,  F⁻¹(p) = mu + sigma ((1 - p)^-k - 1)/k.
struct GenParetoModel {
  static constexpr bool discrete = false;
  double k, mu, sigma;
  bool valid;
  double lo, hi = kInf;

  explicit GenParetoModel(const TDistParams& p)
      : k(p.v[0]),
        mu(p.v[1]),
        sigma(p.v[2]),
        valid(Finite(p.v[0]) && Finite(p.v[1]) && Positive(p.v[2])),
        lo(p.v[1]) {
    if (k < 0) hi = mu - sigma / k;
  }
  double L(double x) const {
    const double z = (x - mu) / sigma;
    return k == 0 ? z : std::log1p(k * z) / k;
  }
  double Pdf(double x) const { return k == -1 ? 1 / sigma : std::exp(-(k + 1) * L(x)) / sigma; }
  double Cdf(double x) const { return -std::expm1(-L(x)); }
  double Inv(double p) const {
    const double l = -std::log1p(-p);
    return mu + sigma * (k == 0 ? l : std::expm1(k * l) / k);
  }
  // Mean mu + sigma/(1 - k), variance sigma²/((1 - k)²(1 - 2k)), skewness 2(1 + k)sqrt(1 - 2k)/(1 - 3k),
  // excess kurtosis 3(1 - 2k)(2k² + k + 3)/((1 - 3k)(1 - 4k)) - 3 (J. R. M. Hosking, J. R. Wallis,
  // "Parameter and quantile estimation for the generalized Pareto distribution", Technometrics 29 (1987)).
  TMoments Moments() const {
    TMoments m{kInf, kInf, kNaN, kNaN};
    if (k < 1) m.mean = mu + sigma / (1 - k);
    if (k < 0.5) m.variance = sigma * sigma / ((1 - k) * (1 - k) * (1 - 2 * k));
    if (k < 1.0 / 3) m.skewness = 2 * (1 + k) * std::sqrt(1 - 2 * k) / (1 - 3 * k);
    if (k < 0.25) m.kurtosis = 3 * (1 - 2 * k) * (2 * k * k + k + 3) / ((1 - 3 * k) * (1 - 4 * k)) - 3;
    return m;
  }
};

// The Maxwell(-Boltzmann) distribution with scale a: the length of a 3-d vector of independent normal
// components with standard deviation a (Johnson, Kotz, Balakrishnan, vol. 1, 2nd ed., 18.9). With
// y = x²/(2a²):
//   f(x) = sqrt(2/π) x² e^-y / a³,  F(x) = P(3/2, y) (regularized lower incomplete gamma),
//   F⁻¹(p) = a sqrt(2 P⁻¹(3/2, p)).
struct MaxwellModel {
  static constexpr bool discrete = false;
  double a;
  bool valid;
  double lo = 0, hi = kInf;

  explicit MaxwellModel(const TDistParams& p) : a(p.v[0]), valid(Positive(p.v[0])) {}
  double Pdf(double x) const {
    return std::sqrt(2 / kPi) * x * x * std::exp(-x * x / (2 * a * a)) / (a * a * a);
  }
  double Cdf(double x) const { return bm::gamma_p(1.5, x * x / (2 * a * a), Quiet()); }
  double Inv(double p) const {
    const double y = p > 0.5 ? bm::gamma_q_inv(1.5, 1 - p, Quiet()) : bm::gamma_p_inv(1.5, p, Quiet());
    return a * std::sqrt(2 * y);
  }
  // Mean 2a sqrt(2/π), variance a²(3π - 8)/π, skewness 2 sqrt(2)(16 - 5π)/(3π - 8)^1.5, excess kurtosis
  // 4(-96 + 40π - 3π²)/(3π - 8)².
  TMoments Moments() const {
    const double d = 3 * kPi - 8;
    return {2 * a * std::sqrt(2 / kPi), a * a * d / kPi,
            2 * std::numbers::sqrt2 * (16 - 5 * kPi) / std::pow(d, 1.5),
            4 * (-96 + 40 * kPi - 3 * kPi * kPi) / (d * d)};
  }
};

// The power-function distribution with shape alpha and scale beta on [0, beta] (Johnson, Kotz,
// Balakrishnan, vol. 2, 2nd ed., 25.7):  f(x) = alpha x^(alpha-1) / beta^alpha,  F(x) = (x/beta)^alpha,
// F⁻¹(p) = beta p^(1/alpha).
struct PowerModel {
  static constexpr bool discrete = false;
  double alpha, beta;
  bool valid;
  double lo = 0, hi;

  explicit PowerModel(const TDistParams& p)
      : alpha(p.v[0]), beta(p.v[1]), valid(Positive(p.v[0]) && Positive(p.v[1])), hi(p.v[1]) {}
  double Pdf(double x) const { return alpha / beta * std::pow(x / beta, alpha - 1); }
  double Cdf(double x) const { return std::pow(x / beta, alpha); }
  double Inv(double p) const { return beta * std::pow(p, 1 / alpha); }
  // Mean alpha beta/(alpha + 1), variance alpha beta²/((alpha + 2)(alpha + 1)²), skewness
  // 2(1 - alpha) sqrt(alpha + 2)/((alpha + 3) sqrt(alpha)), excess kurtosis
  // 6(alpha³ - alpha² - 6alpha + 2)/(alpha(alpha + 3)(alpha + 4)).
  TMoments Moments() const {
    const double a = alpha;
    return {a * beta / (a + 1), a * beta * beta / ((a + 2) * (a + 1) * (a + 1)),
            2 * (1 - a) * std::sqrt(a + 2) / ((a + 3) * std::sqrt(a)),
            6 * (a * a * a - a * a - 6 * a + 2) / (a * (a + 3) * (a + 4))};
  }
};

}  // namespace

void AddFormulaContinuous(TRoutineTable& t) {
  Add<TD::BoseEinstein, BoseEinsteinModel>(t);
  Add<TD::FatigueLife, FatigueLifeModel>(t);
  Add<TD::FermiDirac, FermiDiracModel>(t);
  Add<TD::GenExtValue, GenExtValueModel>(t);
  Add<TD::GenPareto, GenParetoModel>(t);
  Add<TD::Maxwell, MaxwellModel>(t);
  Add<TD::Power, PowerModel>(t);
}

}  // namespace zel::dist
