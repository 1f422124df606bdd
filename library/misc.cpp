// undefine(x, ...), which releases its arguments' storage and types, and IsEqual(a, b), which compares
// two values element by element.
#include "lang/operators/dispatch.h"
#include "lang/words/registration.h"
#include "library/families.h"

namespace zel {

namespace {

using namespace dispatch;

// undefine(x, ...): every argument becomes undefined; the result is true.
void _Undefine(TExprRec& e) {
  for (int i = 0; i < e.ArgCount; ++i) e.Args[i]->Undefine();
  e.Res->DefineBool();
  e.Res->SetBoolValue(true);
}

// ---- IsEqual ---------------------------------------------------------------------------------------

// A value as a flat sequence of numbers: the elements of a real, complex or integer array, or one scalar.
struct Elements {
  const TNubraVec* real = nullptr;
  const TNubraInt* ints = nullptr;
  TCplx scalar;
  int count = 1;

  // Whether the value is one scalar.
  bool IsScalar() const { return !real && !ints; }
  // Element i as a complex number.
  TCplx At(int i) const {
    if (real) return real->Complex() ? real->CValues(i) : TCplx(real->Values(i), 0);
    if (ints) return {static_cast<double>(ints->Get(i)), 0};
    return scalar;
  }
};

// The elements of a value of a comparable type; a range is expanded in place.
Elements Read(TValueRec& v) {
  Elements s;
  const auto array = [&s](const auto& x) {
    s.count = x.Length();
    return &x;
  };
  switch (KindOf(v)) {
    case D:
      s.scalar = v.DoubleValue();
      break;
    case I:
      s.scalar = static_cast<double>(v.IntegerValue());
      break;
    case C:
      s.scalar = v.ComplexValue();
      break;
    case B:
      s.scalar = v.BoolValue() ? 1 : 0;
      break;
    case R:
    case IV:
    case IM:
    case BV:
    case BM:
      s.ints = array(v.IntElements());
      break;
    default:  // V, M and extended ranges
      s.real = array(v.RealElements());
      break;
  }
  return s;
}

// True when every element of a equals the element of b at the same place (a scalar equals an array when
// the array is not empty and each of its elements equals the scalar); shapes are not compared. NaN equals
// nothing.
bool AllEqual(const Elements& a, const Elements& b) {
  if (a.IsScalar() && b.IsScalar()) return a.scalar == b.scalar;
  if (a.IsScalar() || b.IsScalar()) {
    const Elements& array = a.IsScalar() ? b : a;
    const TCplx s = a.IsScalar() ? a.scalar : b.scalar;
    if (array.count == 0) return false;
    for (int i = 0; i < array.count; ++i)
      if (array.At(i) != s) return false;
    return true;
  }
  if (a.count != b.count) return false;
  for (int i = 0; i < a.count; ++i)
    if (a.At(i) != b.At(i)) return false;
  return true;
}

void IsEqualValues(TExprRec& e) { e.Res->SetBoolValue(AllEqual(Read(*e.Args[0]), Read(*e.Args[1]))); }
// Two integers compare as 64-bit integers, without rounding through doubles.
void IsEqualInts(TExprRec& e) { e.Res->SetBoolValue(e.Args[0]->IntegerValue() == e.Args[1]->IntegerValue()); }

// The comparable pairs: numbers and real arrays with each other (integers also with integer arrays),
// integer arrays with integer kinds, ranges with ranges, boolean kinds with boolean kinds.
constexpr BinaryCells kIsEqualCells = [] {
  BinaryCells t{};
  Set(t, {D, C, V, M, I}, {D, C, V, I, M}, B, IsEqualValues);
  Set(t, {I}, {IV, IM}, B, IsEqualValues);
  Set(t, {IV, IM}, {I, IV, IM}, B, IsEqualValues);
  Set(t, Ranges, Ranges, B, IsEqualValues);
  Set(t, {B, BV, BM}, {B, BV, BM}, B, IsEqualValues);
  Set(t, {I}, {I}, B, IsEqualInts);
  return t;
}();

void _IsEqual(TExprRec& e) { Dispatch(e, kIsEqualCells); }

constexpr TFunctionEntry kMisc[] = {
    {"undefine", "Undefine", _Undefine, -1,
     "undefine(x,...): releases memory and type of variables specified as params",
     "undefine(x,...): releases memory and type of variables specified as params"},
    {"IsEqual", nullptr, _IsEqual, 2,
     "IsEqual(a, b): Returns true, if all elements of a and b are equal. Matrix dimensions are not "
     "compared."},
};

}  // namespace

void RegisterMiscFunctions(TWordList& words) { RegisterFunctions(words, kMisc); }

}  // namespace zel
