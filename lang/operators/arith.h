// What the arithmetic operator files (arith.cpp, sign.cpp, divpow.cpp) share: the rules of
// RedirectOperInt (binary), operand readers and result access. Internal to the operators; not installed
// for hosts.
#pragma once

#include <cstdint>
#include <vector>

#include "lang/operators/dispatch.h"

namespace zel::arith {

// ---- the rules of "+", "-", "*", their element-wise forms and "/." (RedirectOperInt, binary) --------

// An integer range meets integer kinds as integers; an extended range meeting an integer or a range
// is computed as a vector (the left operand when two ranges meet). An integer vector or matrix meeting
// an extended range has no rule.
inline constexpr dispatch::BinaryCells kIntRules = [] {
  using namespace dispatch;
  BinaryCells t{};
  Set(t, {D}, {D, I}, D);
  Set(t, {D}, {R, Re, V}, V);
  Set(t, {D}, {C}, C);
  Set(t, {D}, {M}, M);

  Set(t, Ranges, {D, C, V}, V);
  Set(t, {R}, {R}, IV);
  Set(t, {R}, {Re}, V, LeftAsVector);
  Set(t, {Re}, {R, Re, I}, V, LeftAsVector);
  Set(t, {R}, {I, IV}, IV);
  Set(t, {R}, {IM}, IM);
  Set(t, Ranges, {M}, M);

  Set(t, {S}, {S}, S);

  Set(t, {C}, {D, I, C}, C);
  Set(t, {C}, {R, Re, V}, V);
  Set(t, {C}, {M}, M);

  Set(t, {V}, {D, I, R, Re, V, C}, V);
  Set(t, {V}, {M}, M);

  Set(t, {I}, {D}, D);
  Set(t, {I}, {R}, IV);
  Set(t, {I}, {Re}, V, RightAsVector);
  Set(t, {I}, {C}, C);
  Set(t, {I}, {V}, V);
  Set(t, {I}, {I}, I);
  Set(t, {I}, {IV}, IV);
  Set(t, {I}, {IM}, IM);
  Set(t, {I}, {M}, M);

  Set(t, {IV}, {R, I, IV}, IV);
  Set(t, {IV}, {IM}, IM);
  Set(t, {IM}, {R, I, IV, IM}, IM);

  Set(t, {M}, {D, I, R, Re, V, C, M}, M);
  return t;
}();

// ---- operands and results --------------------------------------------------------------------------

// A real, integer or complex scalar as a complex.
inline TCplx CplxOf(const TValueRec& v) {
  return v.ValueType() == vtComplexValue ? v.ComplexValue() : TCplx(v.DoubleValue(), 0.0);
}

// The integer elements of an integer vector, matrix or integer range. A range meeting an integer vector
// or matrix is expanded in that operand's precision, otherwise in its own.
inline TNubraInt& IntArray(TValueRec& v, const TValueRec& other) {
  if (v.ValueType() == vtIntMatrixValue) return v.IntMatrixValue();
  if (v.ValueType() == vtRangeValue) {
    const TNubraInt* o = nullptr;
    if (other.ValueType() == vtIntMatrixValue) o = other.IntMatrixField();
    if (other.ValueType() == vtIntVectorValue) o = other.IntVectorField();
    if (o) v.SetRangeIntPrecision(o->IntPrecision());
  }
  return v.GetIntVectorValue();
}

// The integer vector or matrix of an integer result.
inline TNubraInt& IntResult(TValueRec& r) {
  if (r.ValueType() == vtIntMatrixValue) return r.IntMatrixValue();
  return r.GetIntVectorValue();
}

// True for a plain integer range with its two or three bounds. A range operand is expanded in place by
// the nodes that read its elements, so a compiled node can meet the expanded vector on a later run.
inline bool IsIntRange(const TValueRec& v) {
  return v.ValueType() == vtRangeValue && !v.ExtRange() && (v.Range().size() == 2 || v.Range().size() == 3);
}

// Gives the result type t unless it has it (a typed routine changing the type the dispatch defined).
inline void Redefine(TValueRec& r, TValueType t) {
  if (r.ValueType() == t && !r.ExtRange()) return;
  r.Undefine();
  DefineResultType(r, t);
}

// Makes the result an integer range and returns its bounds for writing.
inline std::vector<std::int32_t>& RangeResult(TValueRec& r) {
  Redefine(r, vtRangeValue);
  return r.Range();
}

}  // namespace zel::arith
