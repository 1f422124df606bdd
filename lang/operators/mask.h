// Operand readers (scalars, shapes and dense objects of containers) shared by the comparison and the bit
// operators (lang/operators/compare.cpp, lang/operators/logic.cpp), which give masks and bit patterns
// shaped like their container operands. Not part of the public interface.
#pragma once

#include <cstdint>
#include <string>

#include "lang/operators/dispatch.h"
#include "lang/operators/shape.h"

namespace zel::opermask {

// The shape of the result of two container operands: the matrix's when exactly one is a matrix, else the
// left one's. When a matrix is involved the flat lengths must agree, else EZelParseError
// "<name>: Arguments have differ length"; two vectors are left to the core's own length check.
inline TShape PairShape(TValueRec& a, TValueRec& b, const char* name) {
  const TShape sa = ShapeOf(a);
  const TShape sb = ShapeOf(b);
  if ((sa.matrix || sb.matrix) && sa.Length() != sb.Length())
    throw EZelParseError(std::string(name) + ": Arguments have differ length");
  return sb.matrix && !sa.matrix ? sb : sa;
}

// Sizes an integer or bool vector or matrix result to shape s at precision p and returns its object
// (no allocation when the object already has room).
inline TNubraInt& SizeIntResult(TValueRec& res, TShape s, TIntPrecision p) {
  auto matrix = [&](TZelInt& m) -> TNubraInt& {
    m.Size(s.rows, s.cols, p);
    return m;
  };
  auto vector = [&](TVecInt& v) -> TNubraInt& {
    v.Size(s.Length(), p);
    return v;
  };
  switch (res.ValueType()) {
    case vtIntMatrixValue:
      return matrix(res.IntMatrixValue());
    case vtBoolMatrixValue:
      return matrix(res.BoolMatrixValue());
    case vtBoolVectorValue:
      return vector(res.BoolVectorValue());
    default:
      return vector(res.IntVectorValue());
  }
}

// Scalar readers: an integer takes part in real comparisons through its double copy, a real in complex
// comparisons with imaginary part 0, a bool as 0 or 1.
inline double RealScalar(const TValueRec& v) { return v.DoubleValue(); }
inline std::int64_t IntScalar(const TValueRec& v) { return v.IntegerValue(); }
inline std::int64_t BoolScalar(const TValueRec& v) { return v.BoolValue() ? 1 : 0; }
inline TCplx CplxScalar(const TValueRec& v) {
  return v.ValueType() == vtComplexValue ? v.ComplexValue() : TCplx(v.DoubleValue(), 0);
}

}  // namespace zel::opermask
