// Pieces shared by the assignment routines (x = y, a(index) = y, a(row, col) = y): reading scalar and
// vector sources in the destination's terms, and the result value of indexed assignments. Internal to
// lang/operators/assign*.cpp.
#pragma once

#include <cstdint>

#include "lang/operators/dispatch.h"
#include "lang/operators/shape.h"

namespace zel::assign {

// True for the scalar sources of vector and matrix destinations: double, integer, bool, complex.
inline bool IsScalarSource(const TValueRec& src) {
  switch (src.ValueType()) {
    case vtDoubleValue:
    case vtIntegerValue:
    case vtBoolValue:
    case vtComplexValue:
      return true;
    default:
      return false;
  }
}

// What form a source of an assignment into part of a matrix or grid has.
enum class SourceForm : std::uint8_t { Scalar, Vector, Matrix, Other };

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

// The typed routine of a(row, col) = src for the current destination, row and column kinds (null when
// they have none): a compiled node whose routine it no longer is dispatches afresh.
TExprFunc Assign4Routine(const TExprRec& expr);

// "Unsupported value type combination: DST ( ROW, COL ) = SRC)", or the undefined-variable text when
// an argument is undefined.
[[noreturn]] void RaiseAssign4Types(const TExprRec& expr);

}  // namespace zel::assign
