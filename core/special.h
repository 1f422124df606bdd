// Special functions of the numeric core: gamma, log-gamma, the error function, its complement and its
// inverse, on doubles (and gamma and log-gamma on complex numbers). Outside their domain they return
// NaN, at poles and beyond the range of doubles infinities; they never raise.
#pragma once

#include "core/cplx.h"

namespace zel {

// Γ(x); +INF at every pole (0, -1, -2, ...) and above 171.62; NaN for NaN and -INF (no limit there).
double Gamma(double x);
// ln|Γ(x)|; +INF at the poles and at +INF, NaN at -INF.
double LnGamma(double x);
// Γ(z) for complex z (NaN at the poles).
TCplx Gamma(TCplx z);
// The principal branch of ln Γ(z): analytic except on the negative real axis (the cut), real for real
// z > 0; on the cut the sign of Im z picks the side. Not ln(Γ(z)) in general: the imaginary part grows
// instead of wrapping into (-π, π].
TCplx LnGamma(TCplx z);

// erf(x), erfc(x) = 1 - erf(x) (accurate where erf(x) is close to 1).
double Erf(double x);
double Erfc(double x);
// The inverse of erf on [-1, 1]: ±INF at ±1, NaN outside.
double ErfInv(double x);

}  // namespace zel
