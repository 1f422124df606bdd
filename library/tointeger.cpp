// Conversions to integers (rule I): roundtoint rounds to the nearest integer, trunctoint and its alias
// integer truncate toward zero. The whole number a double gives must lie in the 32-bit range, else the
// conversion raises "Integer overflow"; an integer is copied. Vectors and matrices become integer vectors
// and matrices through the core's conversion copy, which saturates instead of checking the range.
#include <cmath>
#include <cstdint>

#include "core/errors.h"
#include "lang/words/registration.h"
#include "library/families.h"
#include "library/redirect.h"

namespace zel {

namespace {

// The typed handlers of the conversion with `Rounding`.
template <TRounding Rounding>
struct ToInteger {
  // Doubles: halves round to the even neighbour, as round() does; a whole number outside the 32-bit
  // range (or NaN) raises.
  static void D(TExprRec& e) {
    const double x = e.Args[0]->DoubleValue();
    const double whole = Rounding == TRounding::rnRound ? std::nearbyint(x) : std::trunc(x);
    if (!(whole >= -2147483648.0 && whole <= 2147483647.0)) throw EIntOverflow();
    e.Res->SetIntegerValue(static_cast<std::int64_t>(whole));
  }
  static void I(TExprRec& e) { e.Res->SetIntegerValue(e.Args[0]->IntegerValue()); }
  static void V(TExprRec& e) {
    e.Args[0]->getVectorValue().CopyToInt(e.Res->IntVectorValue(), Rounding, prInt32);
  }
  static void M(TExprRec& e) {
    e.Args[0]->MatrixValue().CopyToInt(e.Res->IntMatrixValue(), Rounding, prInt32);
  }

  static constexpr TOperVector kTable = [] {
    TOperVector t{};
    t[vtDoubleValue] = D;
    t[vtIntegerValue] = I;
    t[vtVectorValue] = V;
    t[vtMatrixValue] = M;
    return t;
  }();
};

// The routine of a conversion to integers.
template <TRounding Rounding>
void ConvertToInteger(TExprRec& expr) {
  RedirectOperToInt(expr, ToInteger<Rounding>::kTable);
}

constexpr TFunctionEntry kToInteger[] = {
    {"roundtoint", "RoundToInt", ConvertToInteger<TRounding::rnRound>, 1,
     "roundtoint(x): rounds 'x' value to the nearest whole number and returns integer"},
    {"trunctoint", "TruncToInt", ConvertToInteger<TRounding::rnTrunc>, 1,
     "trunctoint(x): truncats 'x' value towards zero and returns integer"},
    {"integer", "Integer", ConvertToInteger<TRounding::rnTrunc>, 1,
     "integer(x): truncats 'x' value towards zero and returns integer"},
};

}  // namespace

void RegisterToIntegerFunctions(TWordList& words) { RegisterFunctions(words, kToInteger); }

}  // namespace zel
