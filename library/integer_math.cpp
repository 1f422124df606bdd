// Functions of integer kinds only: gcd, lcm and (quotient, remainder) = remdiv(x, y). Integers, integer
// vectors and integer matrices combine in any pairing; the result takes the larger shape (a matrix when
// either argument is one). The arithmetic is the numeric core's (core/intmath.h, core/intarith.h).
#include "core/intarith.h"
#include "core/intmath.h"
#include "lang/operators/dispatch.h"
#include "lang/words/registration.h"
#include "library/families.h"

namespace zel {

namespace {

using namespace dispatch;

// The operands of a two-argument node.
TValueRec& Left(TExprRec& e) { return *e.Args[0]; }
TValueRec& Right(TExprRec& e) { return *e.Args[1]; }

// The elements of an integer vector or matrix.
TNubraInt& IntArray(TValueRec& v) {
  if (v.ValueType() == vtIntMatrixValue) return v.IntMatrixValue();
  return v.IntVectorValue();
}

// ---- gcd and lcm -----------------------------------------------------------------------------------

// The typed routines of gcd (lcm): scalar Op, and the core's array forms (scalars meet every element;
// both functions are symmetric, so a scalar on the left is served by the array-with-scalar form).
template <std::int64_t (*Op)(std::int64_t, std::int64_t),
          void (*ArrayOp)(const TNubraInt&, const TNubraInt&, TNubraInt&),
          void (*ScalarOp)(const TNubraInt&, std::int64_t, TNubraInt&)>
struct Divisors {
  static void Ints(TExprRec& e) {
    e.Res->SetIntegerValue(Op(Left(e).IntegerValue(), Right(e).IntegerValue()));
  }
  static void IntWithArray(TExprRec& e) {
    ScalarOp(IntArray(Right(e)), Left(e).IntegerValue(), IntArray(*e.Res));
  }
  static void ArrayWithInt(TExprRec& e) {
    ScalarOp(IntArray(Left(e)), Right(e).IntegerValue(), IntArray(*e.Res));
  }
  static void Arrays(TExprRec& e) { ArrayOp(IntArray(Left(e)), IntArray(Right(e)), IntArray(*e.Res)); }

  static constexpr BinaryCells kCells = [] {
    BinaryCells t{};
    Set(t, {I}, {I}, I, Ints);
    Set(t, {I}, {IV}, IV, IntWithArray);
    Set(t, {I}, {IM}, IM, IntWithArray);
    Set(t, {IV}, {I}, IV, ArrayWithInt);
    Set(t, {IM}, {I}, IM, ArrayWithInt);
    Set(t, {IV}, {IV}, IV, Arrays);
    Set(t, {IV, IM}, {IM}, IM, Arrays);
    Set(t, {IM}, {IV}, IM, Arrays);
    return t;
  }();
  static void Routine(TExprRec& e) { Dispatch(e, kCells); }
};

using GcdRoutines = Divisors<Gcd, Gcd, Gcd>;
using LcmRoutines = Divisors<Lcm, Lcm, Lcm>;

// ---- remdiv ----------------------------------------------------------------------------------------

// The quotient and remainder outputs (arguments 3 and 4) as integer arrays of the result's kind: vectors,
// or matrices when either operand is one. An output that already has the type keeps its object.
TNubraInt& IntOutput(TExprRec& e, int i, bool matrix) {
  TValueRec& v = *e.Args[i];
  const TValueType t = matrix ? vtIntMatrixValue : vtIntVectorValue;
  if (v.ValueType() != t) v.SetValueType(t);
  return IntArray(v);
}

// Integers: 64-bit truncating division and remainder; the result is the quotient.
void RemDivInts(TExprRec& e) {
  const std::int64_t x = Left(e).IntegerValue(), y = Right(e).IntegerValue();
  const std::int64_t q = CheckedDiv(x, y);
  const std::int64_t r = CheckedRem(x, y);
  e.Args[2]->DefineInteger();
  e.Args[2]->SetIntegerValue(q);
  e.Args[3]->DefineInteger();
  e.Args[3]->SetIntegerValue(r);
  e.Res->DefineInteger();
  e.Res->SetIntegerValue(q);
}

// Arrays: the core's RemDiv into the outputs; the result refers to the quotient's object.
template <bool Matrix>
void RemDivArrays(TExprRec& e) {
  TValueRec& x = Left(e);
  TValueRec& y = Right(e);
  TNubraInt& q = IntOutput(e, 2, Matrix);
  TNubraInt& r = IntOutput(e, 3, Matrix);
  if (x.ValueType() == vtIntegerValue) {
    RemDiv(x.IntegerValue(), IntArray(y), q, r);
  } else if (y.ValueType() == vtIntegerValue) {
    RemDiv(IntArray(x), y.IntegerValue(), q, r);
  } else {
    RemDiv(IntArray(x), IntArray(y), q, r);
  }
  if constexpr (Matrix) {
    e.Res->DefineIntMatrix(&e.Args[2]->IntMatrixValue(), false);
  } else {
    e.Res->DefineIntVector(&e.Args[2]->IntVectorValue(), false);
  }
}

constexpr BinaryCells kRemDivCells = [] {
  BinaryCells t{};
  Set(t, {I}, {I}, None, RemDivInts);
  Set(t, {I, IV}, {IV}, None, RemDivArrays<false>);
  Set(t, {IV}, {I}, None, RemDivArrays<false>);
  Set(t, {I, IV, IM}, {IM}, None, RemDivArrays<true>);
  Set(t, {IM}, {I, IV}, None, RemDivArrays<true>);
  return t;
}();

void _RemDiv(TExprRec& e) { Dispatch(e, kRemDivCells); }

constexpr TFunctionEntry kIntegerMath[] = {
    {"gcd", "Gcd", GcdRoutines::Routine, 2, "gcd(x,y): greatest common divisor"},
    {"lcm", "Lcm", LcmRoutines::Routine, 2, "lcm(x,y): Smallest common multiplier"},
    {"remdiv", "RemDiv", _RemDiv, 4,
     "(qoutient, reminder) = remdiv(x, y): returns qoutient and reminder of integer division 'x/y'",
     "(qoutient, reminder) = RemDiv(x, y): returns qoutient and reminder of integer division 'x/y'", 2},
};

}  // namespace

void RegisterIntegerFunctions(TWordList& words) { RegisterFunctions(words, kIntegerMath); }

}  // namespace zel
