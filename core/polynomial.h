// Polynomials of the numeric core. Coefficients are ordered highest power first, as in NumPy (polyval,
// roots, poly) and Octave: c = [c0, c1, ..., cm] is p(x) = c0·x^m + c1·x^(m-1) + ... + cm. Real and complex
// data mix freely: a complex operand makes the result complex. Destinations may be operands.
//
//   PolyEval:  p(x) by Horner's rule; no coefficients give 0
//   PolyRoots: the eigenvalues of the companion matrix (LAPACK's geev) of c with its leading zeros removed,
//              then one root 0 per trailing zero coefficient (numpy.roots); fewer than two coefficients
//              give no roots. The result is real when the coefficients are real and every eigenvalue is.
//   PolyCoeff: the monic polynomial Π (x - r) (numpy.poly): [1] for no roots; complex roots that come in
//              exact conjugate pairs give real coefficients.
//   DeConv:    polynomial long division b = a·q + r: q has nb - na + 1 coefficients (the single 0 when
//              nb < na), r has nb, its first nb - na + 1 exactly zero (Octave's deconv, scipy.signal's
//              deconvolve), so Convolve(a, q) + r = b. A divisor that is empty or starts with 0 raises
//              ENubraException.
#pragma once

#include "core/nubra.h"

namespace zel {

// Real coefficients only (complex ones raise ENubraException).
double PolyEval(double x, const TNubraVec& coeff);
TCplx PolyEval(TCplx x, const TNubraVec& coeff);
void PolyEval(const TNubraVec& x, const TNubraVec& coeff, TNubraVec& dst);

void PolyRoots(const TNubraVec& coeff, TNubraVec& dst);
void PolyCoeff(const TNubraVec& roots, TNubraVec& dst);

void DeConv(const TNubraVec& b, const TNubraVec& a, TNubraVec& quotient, TNubraVec& remainder);

}  // namespace zel
