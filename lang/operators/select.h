// Shared pieces of the selection routines (_Select1, _Select2, _Select3): operand kinds, dispatch errors,
// result helpers and grid-variable access. Private to lang/operators/select*.cpp.
#pragma once

#include <cstdint>
#include <string>

#include "lang/operators/dispatch.h"
#include "lang/operators/index_range.h"
#include "lang/words/gridvar.h"

namespace zel::select {

// The kind of a selection operand: KindOf, with a real vector flagged ExtRange taken as an extended range
// (an index given by its bounds).
inline dispatch::Kind SelectKindOf(const TValueRec& v) {
  if (v.ValueType() == vtVectorValue && v.ExtRange()) return dispatch::Re;
  return dispatch::KindOf(v);
}

// Raises the selection dispatch error: UnknownExprWord when an operand is undefined, else
// "Unsupported value selection types: SOURCE ( INDEX[, INDEX] )".
[[noreturn]] void RaiseSelectTypes(const TExprRec& expr, int argCount);

// Gives res the type t; a record of another type is undefined first (scalars: no allocation).
inline void EnsureType(TValueRec& res, TValueType t) {
  if (res.ValueType() == t) return;
  res.Undefine();
  DefineResultType(res, t);
}

// The low 32 bits of an integer index.
inline int IndexOf(const TValueRec& v) { return static_cast<std::int32_t>(v.IntegerValue()); }

// The grid variable behind a custom value; raises the grid errors (nil object, other class, a missing
// callback).
TExprGridVariable& GridOf(const TValueRec& v);

// Selection along one grid axis: a single index or a two-entry integer range given as is (no base
// conversion, no bounds: the host decides). A stop of -1 raises `autoExpandText`.
struct GridAxis {
  int first = 0;
  int count = 1;
};
GridAxis ReadGridAxis(const TValueRec& index, const char* autoExpandText);

// _Select2 on a grid variable: one cell as a double, or a block as a real matrix.
void GridSelect2Cell(TExprRec& expr);
void GridSelect2Block(TExprRec& expr);

// Strict 32-bit integer text ("-12", " 7 "); anything else raises ENubraException.
std::int32_t StrToInt32(const std::string& s);

}  // namespace zel::select
