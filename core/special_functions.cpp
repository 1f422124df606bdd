// Binomial coefficients, the beta function, the incomplete gamma and beta functions and harmonic numbers
// (see special_functions.h). Real arguments go to Boost.Math under the quiet policy; the complex
// incomplete gamma function and the literal series and continued fraction are our own.
#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/binomial.hpp>
#include <boost/math/special_functions/digamma.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <limits>
#include <numbers>

#include "core/distribution_boost.h"
#include "core/errors.h"
#include "core/special.h"
#include "core/special_functions.h"

namespace zel {

namespace {

namespace bm = boost::math;
using dist::kNaN;
using dist::Quiet;

constexpr double kEps = 1e-16;
constexpr double kTiny = 1e-300;
constexpr int kMaxTerms = 100000;

// z^a e^-z / Γ(c) in logarithms: the factor in front of the series (c = a + 1) and the fraction (c = a).
template <class T>
T Prefactor(double a, T z, double c) {
  return std::exp(a * std::log(z) - z - std::lgamma(c));
}

// Σ_n z^n / ((a+1)(a+2)...(a+n)): P(a, z) = Prefactor(a, z, a + 1) times this sum.
template <class T>
T Series(double a, T z) {
  T term = 1, sum = 1;
  for (int n = 1; n < kMaxTerms; ++n) {
    term *= z / (a + n);
    sum += term;
    if (std::abs(term) <= std::abs(sum) * kEps) break;
  }
  return sum;
}

// The continued fraction 1/(z+1-a- 1(1-a)/(z+3-a- 2(2-a)/(z+5-a- ...))) by the modified Lentz method
// (W. H. Press et al., "Numerical Recipes", 3rd ed., 6.2): Q(a, z) = Prefactor(a, z, a) times this.
template <class T>
T Fraction(double a, T z) {
  T b = z + 1.0 - a, c = 1 / kTiny, d = 1.0 / b, h = d;
  for (int i = 1; i < kMaxTerms; ++i) {
    const double an = -i * (i - a);
    b += 2.0;
    d = an * d + b;
    if (std::abs(d) < kTiny) d = kTiny;
    c = b + an / c;
    if (std::abs(c) < kTiny) c = kTiny;
    d = 1.0 / d;
    const T delta = d * c;
    h *= delta;
    if (std::abs(delta - 1.0) <= kEps) break;
  }
  return h;
}

// True where the incomplete gamma functions are defined for real x.
bool GammaDomain(double a, double x) { return a > 0 && x >= 0 && !std::isnan(x); }

}  // namespace

double BinomialCoefficient(std::int64_t n, std::int64_t k) {
  if (k < 0) return 0;
  if (n < 0) return (k % 2 ? -1 : 1) * BinomialCoefficient(k - n - 1, k);
  if (k > n) return 0;
  if (n > std::numeric_limits<unsigned>::max()) {
    return std::exp(std::lgamma(n + 1.0) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1.0));
  }
  return bm::binomial_coefficient<double>(static_cast<unsigned>(n), static_cast<unsigned>(k), Quiet());
}

void BinomialCoefficient(const TNubraInt& n, const TNubraInt& k, TNubraVec& dst) {
  if (k.Length() != n.Length()) ERaise("BinomialCoefficient: operand lengths differ");
  dst.SizeShape(n.Rows(), n.Cols(), false);
  for (int i = 0; i < n.Length(); ++i) dst.Values(i) = BinomialCoefficient(n.Get(i), k.Get(i));
}

double BetaFunction(double a, double b) {
  if (a > 0 && b > 0) return bm::beta(a, b, Quiet());
  return Gamma(a) * Gamma(b) / Gamma(a + b);
}

double GammaSeries(double a, double x) {
  if (!GammaDomain(a, x)) return kNaN;
  if (x == 0) return 0;
  return Prefactor(a, x, a + 1) * Series(a, x);
}
TCplx GammaSeries(double a, TCplx z) {
  if (!(a > 0)) return {kNaN, kNaN};
  if (z == TCplx(0)) return 0;
  return Prefactor(a, z, a + 1) * Series(a, z);
}

double GammaFraction(double a, double x) {
  if (!GammaDomain(a, x)) return kNaN;
  if (x == 0) return 1;
  return Prefactor(a, x, a) * Fraction(a, x);
}
TCplx GammaFraction(double a, TCplx z) {
  if (!(a > 0)) return {kNaN, kNaN};
  if (z == TCplx(0)) return 1;
  return Prefactor(a, z, a) * Fraction(a, z);
}

double IncGamma(double a, double x) { return GammaDomain(a, x) ? bm::gamma_p(a, x, Quiet()) : kNaN; }
TCplx IncGamma(double a, TCplx z) {
  return std::abs(z) < a + 1 ? GammaSeries(a, z) : 1.0 - GammaFraction(a, z);
}

double IncGammaComplement(double a, double x) {
  return GammaDomain(a, x) ? bm::gamma_q(a, x, Quiet()) : kNaN;
}
TCplx IncGammaComplement(double a, TCplx z) {
  return std::abs(z) < a + 1 ? 1.0 - GammaSeries(a, z) : GammaFraction(a, z);
}

double IncBeta(double x, double a, double b) {
  if (!(x >= 0 && x <= 1 && a > 0 && b > 0)) return kNaN;
  return bm::ibeta(a, b, x, Quiet());
}

void IncBeta(const TNubraVec& x, const TNubraVec& a, const TNubraVec& b, TNubraVec& dst) {
  const int n = x.Length();
  if (a.Length() != n || b.Length() != n) ERaise("IncBeta: operand lengths differ");
  if (x.Complex() || a.Complex() || b.Complex()) ERaise("IncBeta: Argument can not be complex");
  dst.SizeShape(x.Rows(), x.Cols(), false);
  for (int i = 0; i < n; ++i) dst.Values(i) = IncBeta(x.Values(i), a.Values(i), b.Values(i));
}

// Direct sum up to kDirect; beyond it the Euler-Maclaurin formula for the sum of f(k) = k^-m over
// k = a .. n (M. Abramowitz, I. A. Stegun, "Handbook of Mathematical Functions", 23.1.30):
//   ∫_a^n f + (f(a) + f(n))/2 + Σ_j B_2j/(2j)! (f^(2j-1)(n) - f^(2j-1)(a)),
// with f^(r)(x) = (-1)^r m(m+1)...(m+r-1) x^(-m-r).
double GenHarmonic(std::int64_t n, double m) {
  constexpr std::int64_t kDirect = 1000;
  if (n < 0 || std::isnan(m)) return kNaN;
  double sum = 0;
  for (std::int64_t k = std::min(n, kDirect); k >= 1; --k) sum += std::pow(static_cast<double>(k), -m);
  if (n <= kDirect) return sum;
  const double a = kDirect + 1, b = static_cast<double>(n), lr = std::log(b / a);
  const double integral = 1 - m == 0 ? lr : std::pow(a, 1 - m) * std::expm1((1 - m) * lr) / (1 - m);
  sum += integral + (std::pow(a, -m) + std::pow(b, -m)) / 2;
  // B_2j/(2j)! for j = 1..6.
  constexpr double kB[] = {1.0 / 12,       -1.0 / 720,     1.0 / 30240,
                           -1.0 / 1209600, 1.0 / 47900160, -691.0 / 1307674368000};
  double rising = m;  // m(m+1)...(m+2j-2)
  for (int j = 1; j <= 6; ++j) {
    const int r = 2 * j - 1;
    const double derivative = -rising * (std::pow(b, -m - r) - std::pow(a, -m - r));
    sum += kB[j - 1] * derivative;
    rising *= (m + r) * (m + r + 1);
  }
  return sum;
}

double Harmonic(std::int64_t n) {
  if (n < 0) return kNaN;
  if (n == 0) return 0;
  return bm::digamma(static_cast<double>(n) + 1, Quiet()) + std::numbers::egamma;
}

void GenHarmonic(const TNubraInt& n, double m, TNubraVec& dst) {
  dst.SizeShape(n.Rows(), n.Cols(), false);
  for (int i = 0; i < n.Length(); ++i) dst.Values(i) = GenHarmonic(n.Get(i), m);
}

void Harmonic(const TNubraInt& n, TNubraVec& dst) {
  dst.SizeShape(n.Rows(), n.Cols(), false);
  for (int i = 0; i < n.Length(); ++i) dst.Values(i) = Harmonic(n.Get(i));
}

}  // namespace zel
