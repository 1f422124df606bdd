// Pieces shared by the assignment routines (x = y, a(index) = y, a(row, col) = y): reading scalar and
// vector sources in the destination's terms, and the result value of indexed assignments. Internal to
// lang/operators/assign*.cpp.
#pragma once

#include <cstdint>

#include "lang/operators/operators.h"

namespace zel::assign {

// Bit of a value type in a set of accepted types.
constexpr std::uint32_t Bit(TValueType t) { return 1u << t; }
constexpr bool Has(std::uint32_t set, TValueType t) { return (set >> t) & 1u; }

inline constexpr std::uint32_t kRealScalars =
    Bit(vtDoubleValue) | Bit(vtIntegerValue) | Bit(vtBoolValue) | Bit(vtComplexValue);
inline constexpr std::uint32_t kIntScalars = Bit(vtIntegerValue) | Bit(vtBoolValue);

// A scalar source as a real or complex number: double, integer (its double), bool (0 or 1), complex.
struct TRealScalar {
  TCplx z;
  bool complex = false;
};
TRealScalar ReadRealScalar(const TValueRec& src);

// A scalar source as an element of an integer object: integer (low 32 bits) or bool (0 or 1). Into a
// boolean object (toBool) any non-zero integer is stored as 1, so bool objects keep holding 0 and 1.
std::int32_t ReadIntScalar(const TValueRec& src, bool toBool);

// Calls f with a scalar in the type the core's fills take: double or TCplx for real objects, the
// 32-bit value for integer ones.
template <class F>
decltype(auto) WithValue(const TRealScalar& x, F&& f) {
  return x.complex ? f(x.z) : f(x.z.real());
}
template <class F>
decltype(auto) WithValue(std::int32_t v, F&& f) {
  return f(v);
}

// The elements of a vector-like source for a real destination: a vector, or a range expanded in place.
TNubraVec& RealVectorSource(TValueRec& src);
// The same for an integer destination of precision p: an integer or bool vector, or a range expanded in
// place in precision p.
TNubraInt& IntVectorSource(TValueRec& src, TIntPrecision p);

// Defines res as a value of dst's container type referring (not owning) to dst's object.
void DefineResultOn(TValueRec& res, TValueRec& dst);

// The grid-variable branch of a(row, col) = src (lang/operators/assign_grid.cpp).
void AssignGridCells(TExprRec& expr);

// "Unsupported value type combination: DST ( ROW, COL ) = SRC)", or the undefined-variable text when
// an argument is undefined.
[[noreturn]] void RaiseAssign4Types(const TExprRec& expr);

}  // namespace zel::assign
