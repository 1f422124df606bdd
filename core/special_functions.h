// Special functions of the probability module: binomial coefficients, the beta function, the incomplete
// gamma and beta functions, the Dirichlet beta, eta and lambda functions, the Riemann zeta function, the
// Lerch transcendent and harmonic numbers. Scalar forms on doubles (and complex numbers where the function
// takes them) and array forms that write into a destination sized like the operands. Outside their domain
// the functions return NaN (INF at poles); they never raise, except the array forms on operands of
// different lengths.
#pragma once

#include <cstdint>

#include "core/cplx.h"
#include "core/nubra.h"

namespace zel {

// C(n, k) for integers: 0 for k < 0 or k > n >= 0; (-1)^k C(k - n - 1, k) for n < 0.
double BinomialCoefficient(std::int64_t n, std::int64_t k);
// C(n(i), k(i)) for integer arrays of equal length (else ENubraException); dst takes n's size.
void BinomialCoefficient(const TNubraInt& n, const TNubraInt& k, TNubraVec& dst);
// B(a, b) = Γ(a)Γ(b)/Γ(a + b).
double BetaFunction(double a, double b);

// The regularized lower incomplete gamma function P(a, x) by its power series
// P(a, x) = x^a e^-x Σ_n x^n / Γ(a + n + 1), for a > 0.
double GammaSeries(double a, double x);
TCplx GammaSeries(double a, TCplx z);
// The regularized upper incomplete gamma function Q(a, x) = 1 - P(a, x) by its continued fraction
// (modified Lentz), for a > 0.
double GammaFraction(double a, double x);
TCplx GammaFraction(double a, TCplx z);
// P(a, x) and Q(a, x): Boost.Math for real x; for complex z the series when |z| < a + 1, else the
// continued fraction.
double IncGamma(double a, double x);
TCplx IncGamma(double a, TCplx z);
double IncGammaComplement(double a, double x);
TCplx IncGammaComplement(double a, TCplx z);

// The regularized incomplete beta function I_x(a, b).
double IncBeta(double x, double a, double b);
// dst(i) = I_x(i)(a(i), b(i)); the three must have equal lengths (else ENubraException).
void IncBeta(const TNubraVec& x, const TNubraVec& a, const TNubraVec& b, TNubraVec& dst);

// The number of terms the Dirichlet and zeta functions take by default.
inline constexpr int DefaultZetaTerms = 64;
// Dirichlet beta β(s) = Σ_k (-1)^k (2k + 1)^-s.
TCplx DirichletBeta(TCplx s);
// Dirichlet eta η(s) = Σ_k (-1)^k (k + 1)^-s, the alternating series summed with n terms of the
// Cohen-Villegas-Zagier acceleration (n < 1 gives NaN; more than 300 terms add nothing).
TCplx DirichletEta(TCplx s, int n = DefaultZetaTerms);
// Dirichlet lambda λ(s) = Σ_k (2k + 1)^-s = (1 - 2^-s) ζ(s), with n terms as DirichletEta.
TCplx DirichletLambda(TCplx s, int n = DefaultZetaTerms);
// Riemann zeta ζ(s) = η(s) / (1 - 2^(1-s)), with n terms as DirichletEta; the reflection formula for
// Re s < 0; INF at s = 1.
TCplx RiemannZeta(TCplx s, int n = DefaultZetaTerms);

// The Lerch transcendent Φ(z, s, a) = Σ_k z^k (k + a)^-s for |z| <= 1 (the Hurwitz zeta function at z = 1);
// NaN for |z| > 1. An estimate: the series is summed until its terms no longer change the sum.
double Lerch(double z, double s, double a);

// The generalized harmonic number H(n, m) = Σ_{k=1..n} k^-m (0 for n = 0, NaN for n < 0).
double GenHarmonic(std::int64_t n, double m);
// The harmonic number H(n) = H(n, 1).
double Harmonic(std::int64_t n);
// dst(i) = H(n(i), m) and H(n(i)); dst takes n's size.
void GenHarmonic(const TNubraInt& n, double m, TNubraVec& dst);
void Harmonic(const TNubraInt& n, TNubraVec& dst);

}  // namespace zel
