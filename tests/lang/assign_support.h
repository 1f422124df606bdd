// Test support for the assignment tests: the "assign" words of the function library and a plain text
// of a value's contents.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/text.h"
#include "support/oper_helper.h"

namespace zel::test {

// The "assign" words the function library registers, with three and four arguments.
inline TExprWord* Assign3Word() {
  static TExprFunction word("assign", _Assign3, 3, 1, "assign(Dst, Range, Src): assign Src to Dst(Range)");
  return &word;
}
inline TExprWord* Assign4Word() {
  static TExprFunction word("assign", _assign4, 4, 1,
                            "assign(Dst, Range1, Range2, Src): assign Src to Dst(Range1, Range2)");
  return &word;
}

// The contents of a value: scalars as AsString (strings as they are), containers as their elements
// separated by blanks, matrices prefixed with their shape ("2x2: 1 2 3 4").
inline std::string Text(TValueRec& v) {
  std::string out;
  const auto add = [&out](const std::string& s) { out += (out.empty() ? "" : " ") + s; };
  const auto real = [&](const TNubraVec& x) {
    for (int i = 0; i < x.Length(); ++i)
      add(x.Complex() ? CplxToStr(x.CValues(i)) : SampleToStr(x.Values(i)));
  };
  const auto ints = [&](const TNubraInt& x) {
    for (int i = 0; i < x.Length(); ++i) add(std::to_string(x.Get(i)));
  };
  switch (v.ValueType()) {
    case vtVectorValue:
      real(v.VectorValue());
      return out;
    case vtIntVectorValue:
    case vtBoolVectorValue:
      ints(*v.IntVectorField());
      return out;
    case vtMatrixValue:
      real(v.MatrixValue());
      return Fmt("%dx%d: ", v.MatrixValue().Rows(), v.MatrixValue().Cols()) + out;
    case vtIntMatrixValue:
    case vtBoolMatrixValue:
      ints(*v.IntMatrixField());
      return Fmt("%dx%d: ", v.IntMatrixField()->Rows(), v.IntMatrixField()->Cols()) + out;
    case vtString:
      return v.StringValue();
    default:
      return v.AsString();
  }
}

// The value with every element of its vector or matrix set to zero (the factories leave the elements of
// an empty value list unset).
inline Val Zero(Val v) {
  if (v->VectorField() && v->ValueType() != vtRangeValue) v->VectorField()->SetZero();
  if (v->MatrixField()) v->MatrixField()->SetZero();
  if (v->IntVectorField()) v->IntVectorField()->SetZero();
  if (v->IntMatrixField()) v->IntMatrixField()->SetZero();
  return v;
}

// Value records as a vector (brace lists cannot hold move-only values).
template <class... T>
std::vector<Val> Args(T... values) {
  std::vector<Val> out;
  (out.push_back(std::move(values)), ...);
  return out;
}

}  // namespace zel::test
