// Powers and remainders of the numeric core: scalar forms and element-wise forms over vectors and
// matrices (real, complex and integer).
//
// Element-wise forms follow the destination rules of vecmath.h: they work on the flat element sequences,
// two array operands must have equal lengths (else ENubraException), a TZel destination takes the shape
// of the first matrix operand (or 1 × n), a TVec destination the length, a complex operand makes the
// result complex, and the destination may be one of the operands.
//
// Power: a negative real base with a non-integer real exponent gives NAN (real operands stay real; make
// an operand complex for the principal complex value). Integer exponents are computed exactly where
// possible: complex bases by repeated squaring, so (1+i)^2 is exactly 2i. A zero complex base gives 1
// for a zero exponent, 0 when the exponent's real part is positive, INF for a negative real exponent
// and NAN otherwise.
//
// Remainder: real x rem y = x − y·trunc(x / y) (the sign of the dividend, as fmod); y = 0 gives NAN.
// Complex z rem w = z − w·trunc(z / w) with trunc applied to the real and imaginary parts of the
// quotient, so for operands on the real axis it equals the real remainder; w = 0 gives NAN + NANi.
// Integer remainders have the sign of the dividend; a zero divisor raises EDivByZero before anything is
// written. Integer results have the precision of the wider array operand; a value that does not fit
// (a negative remainder in an unsigned 8-bit result) saturates, as in vecmath.h.
#pragma once

#include <cstdint>

#include "core/nubra.h"

namespace zel {

// ---- scalars -------------------------------------------------------------------------------------

double Power(double x, double y);
double IntPower(double x, std::int64_t n);
TCplx Power(TCplx z, TCplx w);
TCplx Power(TCplx z, double y);
TCplx Power(double x, TCplx w);
TCplx IntPower(TCplx z, std::int64_t n);

double Rem(double x, double y);
TCplx Rem(TCplx z, TCplx w);

// ---- real and complex, element by element --------------------------------------------------------

// dst = base ^ exponent
void Power(const TNubraVec& base, double exponent, TNubraVec& dst);
void Power(const TNubraVec& base, TCplx exponent, TNubraVec& dst);
void Power(double base, const TNubraVec& exponent, TNubraVec& dst);
void Power(TCplx base, const TNubraVec& exponent, TNubraVec& dst);
void Power(const TNubraVec& base, const TNubraVec& exponent, TNubraVec& dst);
void IntPower(const TNubraVec& base, std::int64_t n, TNubraVec& dst);

// dst = a rem b
void Rem(const TNubraVec& a, double b, TNubraVec& dst);
void Rem(const TNubraVec& a, TCplx b, TNubraVec& dst);
void Rem(double a, const TNubraVec& b, TNubraVec& dst);
void Rem(TCplx a, const TNubraVec& b, TNubraVec& dst);
void Rem(const TNubraVec& a, const TNubraVec& b, TNubraVec& dst);

// ---- integer, element by element (quotients are vecmath.h's Divide and DivideBy) -------------------

void Rem(const TNubraInt& a, const TNubraInt& b, TNubraInt& dst);
void Rem(const TNubraInt& a, std::int64_t b, TNubraInt& dst);
void Rem(std::int64_t a, const TNubraInt& b, TNubraInt& dst);

}  // namespace zel
