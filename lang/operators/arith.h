// Operand and result access shared by the arithmetic operator files (oper_arith.cpp, oper_sign.cpp).
// Internal to the operators; not installed for hosts.
#pragma once

#include <cstdint>
#include <vector>

#include "lang/operators/operators.h"

namespace zel::arith {

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
