// Special functions (see special.h). Real arguments go to Boost.Math under a policy that returns NaN or
// infinities instead of throwing; complex gamma and log-gamma use the Lanczos approximation with the
// reflection formula for the left half-plane.
#include "core/special.h"

#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <limits>
#include <numbers>

namespace zel {

namespace {

namespace bp = boost::math::policies;

// Errors give Boost's fallback values (NaN for domain errors, infinities for overflows) instead of
// exceptions; doubles are computed in double precision.
using Quiet = bp::policy<bp::domain_error<bp::ignore_error>, bp::pole_error<bp::ignore_error>,
                         bp::overflow_error<bp::ignore_error>, bp::evaluation_error<bp::ignore_error>,
                         bp::promote_double<false>>;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kPi = std::numbers::pi;

// True at the poles of Γ: 0, -1, -2, ... (not at -INF, where Γ has no limit).
bool IsPole(double x) { return x <= 0 && x == std::floor(x) && !std::isinf(x); }

// ---- complex log-gamma -----------------------------------------------------------------------------

// Lanczos approximation with g = 7 and nine coefficients (C. Lanczos, "A precision approximation of the
// gamma function", SIAM J. Numer. Anal. B 1 (1964) 86-96; coefficients by P. Godfrey):
//   Γ(z + 1) = √(2π) (z + g + ½)^(z + ½) e^-(z + g + ½) A(z),  A(z) = p0 + Σ_k p_k / (z + k),
// relative error about 1e-15 for Re z ≥ ½.
constexpr double kLanczosG = 7;
constexpr double kLanczos[] = {0.99999999999980993,  676.5203681218851,     -1259.1392167224028,
                               771.32342877765313,   -176.61502916214059,   12.507343278686905,
                               -0.13857109526572012, 9.9843695780195716e-6, 1.5056327351493116e-7};

// ln Γ(z) for Re z ≥ ½ by the Lanczos form above, in logarithms. A(z) stays off the negative real axis
// in that half-plane, so the sum of principal logarithms is the principal branch.
TCplx LnGammaRight(TCplx z) {
  z -= 1.0;
  TCplx a = kLanczos[0];
  for (int k = 1; k < 9; ++k) a += kLanczos[k] / (z + static_cast<double>(k));
  const TCplx t = z + (kLanczosG + 0.5);
  return 0.5 * std::log(2 * kPi) + (z + 0.5) * std::log(t) - t + std::log(a);
}

// The principal logarithm of sin(πz). The real part of z is reduced exactly (modulo 2) first; far from
// the real axis, where sin(πz) overflows, the dominant exponential gives the logarithm directly.
TCplx LogSinPi(TCplx z) {
  const double u = kPi * std::remainder(z.real(), 2.0);
  const double v = kPi * z.imag();
  if (std::abs(v) < 20) return std::log(TCplx(std::sin(u) * std::cosh(v), std::cos(u) * std::sinh(v)));
  // |sin(u + iv)| = e^|v| / 2 to double precision; arg = sign(v)·(π/2 - u), wrapped into (-π, π].
  double arg = std::copysign(1.0, v) * (kPi / 2 - u);
  arg = std::remainder(arg, 2 * kPi);
  if (arg == -kPi) arg = kPi;
  return {std::abs(v) - std::numbers::ln2, arg};
}

}  // namespace

double Gamma(double x) {
  if (IsPole(x)) return kInf;
  return boost::math::tgamma(x, Quiet());
}

double LnGamma(double x) {
  if (IsPole(x) || x == kInf) return kInf;
  return boost::math::lgamma(x, Quiet());
}

TCplx LnGamma(TCplx z) {
  if (z.real() >= 0.5) return LnGammaRight(z);
  // Reflection: ln Γ(z) = ln π - ln sin(πz) - ln Γ(1 - z) + 2πik. The principal ln sin(πz) jumps by 2π
  // where sin(πz) crosses the negative real axis, on the lines Re z = 2m - ½; k undoes those jumps so
  // the result stays continuous off the negative real axis.
  const double k = std::floor(0.5 * z.real() + 0.25);
  return std::log(kPi) - LogSinPi(z) - LnGammaRight(1.0 - z) + TCplx(0, std::copysign(2 * kPi, z.imag()) * k);
}

TCplx Gamma(TCplx z) {
  if (z.imag() == 0 && IsPole(z.real())) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    return {nan, nan};
  }
  return std::exp(LnGamma(z));
}

double Erf(double x) { return boost::math::erf(x, Quiet()); }

double Erfc(double x) { return boost::math::erfc(x, Quiet()); }

double ErfInv(double x) {
  if (std::isnan(x)) return x;
  return boost::math::erf_inv(x, Quiet());
}

}  // namespace zel
