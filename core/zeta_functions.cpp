// The Dirichlet beta, eta and lambda functions, the Riemann zeta function and the Lerch transcendent (see
// special_functions.h). The alternating series are summed with the acceleration of H. Cohen, F. Rodriguez
// Villegas, D. Zagier, "Convergence acceleration of alternating series", Experiment. Math. 9 (2000) 3-12
// (their Algorithm 1: relative error about 5.8^-n for n terms), which is P. Borwein's algorithm for
// η ("An efficient algorithm for the Riemann zeta function", CMS Conf. Proc. 27 (2000)). Left of the
// critical strip the functional equations carry the values over from the right half-plane.
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "core/special.h"
#include "core/special_functions.h"

namespace zel {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kPi = std::numbers::pi;
const TCplx kCplxNaN{kNaN, kNaN};

// Σ_{k>=0} (-1)^k a(k) with n terms of the acceleration (at most 300: beyond that the weights overflow
// and the error is far below double precision anyway).
template <class A>
TCplx AlternatingSum(int n, A a) {
  n = std::min(n, 300);
  double d = std::pow(3 + std::sqrt(8.0), n);
  d = (d + 1 / d) / 2;
  double b = -1, c = -d;
  TCplx sum = 0;
  for (int k = 0; k < n; ++k) {
    c = b - c;
    sum += c * a(k);
    b = (k + n) * (k - n) * b / ((k + 0.5) * (k + 1));
  }
  return sum / d;
}

// x^-s for real x > 0 and complex s.
TCplx PowMinus(double x, TCplx s) { return std::exp(-s * std::log(x)); }

// η(s) by the accelerated alternating series (for Re s >= 0).
TCplx EtaSeries(TCplx s, int n) {
  return AlternatingSum(n, [&](int k) { return PowMinus(k + 1.0, s); });
}

// ζ(s) from η(s) for Re s >= 0.
TCplx ZetaRight(TCplx s, int n) {
  if (s == TCplx(1)) return {kInf, 0};
  return EtaSeries(s, n) / (1.0 - std::pow(TCplx(2), 1.0 - s));
}

// The Hurwitz zeta function ζ(s, a) = Σ_k (k + a)^-s for s > 1 by the Euler-Maclaurin formula after N
// direct terms (Abramowitz-Stegun 23.1.30):
//   Σ_{k<N} (k+a)^-s + (N+a)^(1-s)/(s-1) + (N+a)^-s/2 + Σ_j B_2j/(2j)! s(s+1)...(s+2j-2) (N+a)^(-s-2j+1).
double Hurwitz(double s, double a) {
  if (!(s > 1)) return kInf;
  const int n = 20 + static_cast<int>(std::min(std::ceil(s), 1000.0));
  double sum = 0;
  for (int k = n - 1; k >= 0; --k) sum += std::pow(k + a, -s);
  const double x = n + a;
  sum += std::pow(x, 1 - s) / (s - 1) + std::pow(x, -s) / 2;
  constexpr double kB[] = {1.0 / 12,       -1.0 / 720,     1.0 / 30240,
                           -1.0 / 1209600, 1.0 / 47900160, -691.0 / 1307674368000};
  double rising = s;
  for (int j = 1; j <= 6; ++j) {
    sum += kB[j - 1] * rising * std::pow(x, -s - 2 * j + 1);
    rising *= (s + 2 * j - 1) * (s + 2 * j);
  }
  return sum;
}

}  // namespace

TCplx RiemannZeta(TCplx s, int n) {
  if (n < 1) return kCplxNaN;
  if (s.real() >= 0) return ZetaRight(s, n);
  // ζ(s) = 2^s π^(s-1) sin(πs/2) Γ(1-s) ζ(1-s)
  return std::pow(TCplx(2), s) * std::pow(TCplx(kPi), s - 1.0) * std::sin(kPi * s / 2.0) * Gamma(1.0 - s) *
         ZetaRight(1.0 - s, n);
}

TCplx DirichletEta(TCplx s, int n) {
  if (n < 1) return kCplxNaN;
  if (s.real() >= 0) return EtaSeries(s, n);
  return (1.0 - std::pow(TCplx(2), 1.0 - s)) * RiemannZeta(s, n);
}

TCplx DirichletLambda(TCplx s, int n) {
  if (n < 1) return kCplxNaN;
  if (s == TCplx(1)) return {kInf, 0};
  return (1.0 - std::pow(TCplx(2), -s)) * RiemannZeta(s, n);
}

TCplx DirichletBeta(TCplx s) {
  const auto series = [](TCplx t) {
    return AlternatingSum(DefaultZetaTerms, [&](int k) { return PowMinus(2 * k + 1.0, t); });
  };
  if (s.real() >= 0) return series(s);
  // β(s) = (2/π)^(1-s) sin(π(1-s)/2) Γ(1-s) β(1-s)
  const TCplx t = 1.0 - s;
  return std::pow(TCplx(2 / kPi), t) * std::sin(kPi * t / 2.0) * Gamma(t) * series(t);
}

double Lerch(double z, double s, double a) {
  if (std::isnan(z) || std::isnan(s) || std::isnan(a) || std::abs(z) > 1) return kNaN;
  if (z == 1) return Hurwitz(s, a);
  if (z == -1) return AlternatingSum(DefaultZetaTerms, [&](int k) { return std::pow(k + a, -s); }).real();
  double sum = 0, power = 1, previous = kInf;
  for (int k = 0; k < 10000000; ++k) {
    const double term = power * std::pow(k + a, -s);
    sum += term;
    if (std::abs(term) <= 1e-17 * std::abs(sum) && std::abs(term) <= previous) break;
    previous = std::abs(term);
    power *= z;
    if (power == 0) break;
  }
  return sum;
}

}  // namespace zel
