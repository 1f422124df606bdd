// Functions of square matrices in the numeric core: integer and real powers and the principal square
// root, for real and complex matrices. A matrix that is not square raises ENubraException naming the
// routine; a 0 × 0 matrix gives a 0 × 0 result.
#pragma once

#include <cstdint>

#include "core/nubra.h"

namespace zel {

// a^n by repeated squaring (a^0 is the identity); for n < 0 the inverse (from the LU factorisation) is
// raised to -n, and a singular matrix raises "<who>: the matrix is singular". Real a gives a real result.
void ZelIntPower(const TZel& a, std::int64_t n, TZel& dst, const char* who = "ZelIntPower");

// a^p for real p. A whole p is ZelIntPower. An infinite or NaN p gives NaN everywhere, and so does a
// non-finite element of a when p is not whole. Otherwise the principal power, whose eigenvalues are λ^p
// with -π < arg λ <= π: for a symmetric/Hermitian a (DetectZelType) V·diag(λ^p)·Vᴴ from the eigen
// decomposition, for any other a Z·T^p·Zᴴ from the complex Schur form a = Z·T·Zᴴ, with T^p built from
// repeated triangular square roots (see ZelSqrt) along the binary digits of p's fraction. The result is
// real when a is real and the principal power is: no eigenvalue (symmetric: no negative eigenvalue;
// otherwise none on the closed negative real axis within rounding) calls for a complex one.
void ZelPower(const TZel& a, double p, TZel& dst);

// The principal square root (eigenvalues √λ with non-negative real part), as ZelPower with p = ½: from the
// eigen decomposition for symmetric/Hermitian a, else the Schur method of Björck and Hammarling.
void ZelSqrt(const TZel& a, TZel& dst);

}  // namespace zel
