// The type-dispatch vocabulary every operator and the function library's redirectors share: the operand
// kinds (the 14 value types, with extended ranges apart from integer ranges), the dispatch cell (result
// kind and typed routine), unary and binary cell tables, the one builder that fills them (and plain
// TOperVector/TOperMatrix routine tables), and the generic dispatch that runs a node's first evaluation.
//
// Each operator is one constant cell table. Mostly the table states result and routine together, and the
// public dispatch variant the operator serves takes the table's results as its rules (Results). Where a
// variant's rules serve operators with different routine tables, or route ranges as vectors, the rules
// are a table of their own and each operator combines them with its routines at compile time (Combine);
// the variant applies the same rules to the routine tables hosts pass at run time.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "lang/operators/operators.h"

namespace zel::dispatch {

// Operand kinds: the value types by their short letters, and Re for an extended (real or complex)
// range, which the rules tell apart from an integer range (R). None marks a rejected combination.
enum Kind : std::int8_t {
  None = -1,
  U = vtUndefined,
  D = vtDoubleValue,
  R = vtRangeValue,
  S = vtString,
  C = vtComplexValue,
  V = vtVectorValue,
  I = vtIntegerValue,
  IV = vtIntVectorValue,
  IM = vtIntMatrixValue,
  B = vtBoolValue,
  BV = vtBoolVectorValue,
  BM = vtBoolMatrixValue,
  M = vtMatrixValue,
  X = vtCustomValue,
  Re = ValueTypeCount,
};
inline constexpr int KindCount = ValueTypeCount + 1;

using Kinds = std::initializer_list<Kind>;
inline constexpr Kinds Ranges = {R, Re};

// The kind of a value: its type, or Re for an extended range.
inline Kind KindOf(const TValueRec& v) {
  const TValueType t = v.ValueType();
  return t == vtRangeValue && v.ExtRange() ? Re : static_cast<Kind>(t);
}

// True when v is of kind k; for a kind known at compile time other than a range one type comparison.
inline bool IsKind(const TValueRec& v, Kind k) {
  if (k == R || k == Re) return KindOf(v) == k;
  return v.ValueType() == static_cast<TValueType>(k);
}

// Where a public variant's rule takes the routine from the caller's routine table (14 value types): the
// cell of the operand types (an extended range is served by the range's row or column), or, for a range
// computed as a vector, the V row (the left or only operand) or the V column (the right operand). (A
// field of its own: a sanitizer build cannot compare routine addresses while it builds the tables.)
enum Serve : std::uint8_t { Own, LeftAsVector, RightAsVector };
inline constexpr Serve AsVector = LeftAsVector;

// One dispatch cell: the kind the first evaluation defines the result with (None: the routine defines
// the result itself) and the typed routine stored in the node; a cell without a routine is rejected.
// A variant's rule tables hold results only, with `serve` telling where the routine comes from.
struct Cell {
  Kind result = None;
  Serve serve = Own;
  TExprFunc routine = nullptr;
};

// Cell tables indexed by kind. Every cell starts rejected. (The constructors matter: g++ 12 leaves the
// nested arrays of a value-initialised aggregate zeroed instead of applying Cell's member initialisers
// when it runs at compile time.)
struct UnaryCells {
  Cell cells[KindCount];
  constexpr UnaryCells() {
    for (Cell& c : cells) c = Cell{};
  }
};
struct BinaryCells {
  Cell cells[KindCount][KindCount];  // [left][right]
  constexpr BinaryCells() {
    for (auto& row : cells)
      for (Cell& c : row) c = Cell{};
  }
};

// ---- the builder -----------------------------------------------------------------------------------

// The value type of a kind, as a routine-table index; routine tables have no extended-range row or
// column (an extended range is served by the range's or, when the rules say so, the vector's).
constexpr int TypeIndex(Kind k) {
  if (k < 0 || k >= ValueTypeCount) throw "routine tables are indexed by value types";
  return k;
}

// Puts (result, routine) into every cell of the listed operand kinds; a rule (no routine) may say where
// the caller's routine comes from instead.
constexpr void Set(UnaryCells& t, Kinds operand, Kind result, TExprFunc routine = nullptr) {
  for (Kind k : operand) t.cells[k] = Cell{result, Own, routine};
}
constexpr void Set(UnaryCells& t, Kinds operand, Kind result, Serve serve) {
  for (Kind k : operand) t.cells[k] = Cell{result, serve, nullptr};
}
// Puts (result, routine) into every cell of the listed left and right kinds; the same for a rule.
constexpr void Set(BinaryCells& t, Kinds left, Kinds right, Kind result, TExprFunc routine = nullptr) {
  for (Kind l : left)
    for (Kind r : right) t.cells[l][r] = Cell{result, Own, routine};
}
constexpr void Set(BinaryCells& t, Kinds left, Kinds right, Kind result, Serve serve) {
  for (Kind l : left)
    for (Kind r : right) t.cells[l][r] = Cell{result, serve, nullptr};
}
// Puts routine into every listed cell of a routine table.
constexpr void Set(TOperVector& t, Kinds operand, TExprFunc routine) {
  for (Kind k : operand) t[TypeIndex(k)] = routine;
}
constexpr void Set(TOperMatrix& t, Kinds left, Kinds right, TExprFunc routine) {
  for (Kind l : left)
    for (Kind r : right) t[TypeIndex(l) * ValueTypeCount + TypeIndex(r)] = routine;
}

// ---- rules with routine tables ---------------------------------------------------------------------

// The routine-table index serving an operand of kind k: its own type, an extended range the range's,
// a range computed as a vector the vector's.
constexpr int ServingIndex(Kind k, bool asVector) {
  if (asVector) return vtVectorValue;
  return k == Re ? static_cast<int>(vtRangeValue) : static_cast<int>(k);
}

// The cell that a variant's rule gives kind k (or kinds l, r) with the routines of `routines`: the
// rule's result and the routine of the serving cell; rejected (no routine) when the rule or the routine
// is missing.
constexpr Cell CellOf(const UnaryCells& rules, const TOperVector& routines, Kind k) {
  const Cell& rule = rules.cells[k];
  if (rule.result == None) return Cell{};
  return Cell{rule.result, Own, routines[ServingIndex(k, rule.serve == AsVector)]};
}
constexpr Cell CellOf(const BinaryCells& rules, const TOperMatrix& routines, Kind l, Kind r) {
  const Cell& rule = rules.cells[l][r];
  if (rule.result == None) return Cell{};
  return Cell{rule.result, Own,
              routines[ServingIndex(l, rule.serve == LeftAsVector) * ValueTypeCount +
                       ServingIndex(r, rule.serve == RightAsVector)]};
}

// An operator's cell table: its variant's rules with its own routines, every kind combination.
constexpr UnaryCells Combine(const UnaryCells& rules, const TOperVector& routines) {
  UnaryCells t{};
  for (int k = 0; k < KindCount; ++k) t.cells[k] = CellOf(rules, routines, static_cast<Kind>(k));
  return t;
}
constexpr BinaryCells Combine(const BinaryCells& rules, const TOperMatrix& routines) {
  BinaryCells t{};
  for (int l = 0; l < KindCount; ++l)
    for (int r = 0; r < KindCount; ++r)
      t.cells[l][r] = CellOf(rules, routines, static_cast<Kind>(l), static_cast<Kind>(r));
  return t;
}

// The rules of a cell table (its results without routines): the rules of the public variant whose
// operators state them along with their routines.
constexpr UnaryCells Results(UnaryCells t) {
  for (Cell& c : t.cells) c.routine = nullptr;
  return t;
}
constexpr BinaryCells Results(BinaryCells t) {
  for (auto& row : t.cells)
    for (Cell& c : row) c.routine = nullptr;
  return t;
}

// ---- dispatch --------------------------------------------------------------------------------------

// Defines the node's result with the cell's result kind (DefineResultType, or DefineExtRange for Re;
// nothing for None), stores the routine in Oper and calls it.
void Run(TExprRec& expr, const Cell& cell);

// The generic first evaluation of an operator node: looks up the operand kinds, raises the
// unsupported-value-types error for a rejected cell (UnknownExprWord when an operand is undefined),
// else runs the cell.
void Dispatch(TExprRec& expr, const UnaryCells& cells);
void Dispatch(TExprRec& expr, const BinaryCells& cells);
// The same for a variant's rules with a caller's routine table (the public dispatch variants).
void Dispatch(TExprRec& expr, const UnaryCells& rules, const TOperVector& routines);
void Dispatch(TExprRec& expr, const BinaryCells& rules, const TOperMatrix& routines);

}  // namespace zel::dispatch
