// Helpers shared by the signal-processing and polynomial families (transforms.cpp, signal.cpp,
// cumulative.cpp, polynomials.cpp): a cell-table rule for functions that want two arguments of one type,
// and a scalar result that is real or complex by the data.
#pragma once

#include "lang/operators/dispatch.h"

namespace zel::signal {

// The value type a kind stands for (both range kinds are ranges).
constexpr TValueType TypeOfKind(dispatch::Kind k) {
  return k == dispatch::Re ? vtRangeValue : static_cast<TValueType>(k);
}

// Puts `routine` into every cell whose two (defined) kinds are of different value types.
constexpr void SetDifferentTypes(dispatch::BinaryCells& t, TExprFunc routine) {
  for (int l = 0; l < dispatch::KindCount; ++l)
    for (int r = 0; r < dispatch::KindCount; ++r) {
      const auto left = static_cast<dispatch::Kind>(l), right = static_cast<dispatch::Kind>(r);
      if (left != dispatch::U && right != dispatch::U && TypeOfKind(left) != TypeOfKind(right))
        t.cells[l][r] = dispatch::Cell{dispatch::None, dispatch::Own, routine};
    }
}

// Sets the node's result to a double or a complex value. The node's own result record changes type when
// the data of the arguments changed between real and complex since the last evaluation.
inline void SetScalarResult(TExprRec& e, TCplx value, bool complex) {
  const TValueType t = complex ? vtComplexValue : vtDoubleValue;
  if (e.Res->ValueType() != t && e.Res->ValueType() != vtUndefined) e.Res->Undefine();
  if (complex) {
    e.Res->DefineComplex();
    e.Res->SetComplexValue(value);
  } else {
    e.Res->DefineDouble();
    e.Res->SetDoubleValue(value.real());
  }
}

}  // namespace zel::signal
