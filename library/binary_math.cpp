// Two-argument numeric functions: logN, the power and remainder operators under function names,
// arctan2, pythag, polartocart, root and the two-argument cplx. Each function is one cell table in the
// operators' dispatch vocabulary (or, for pythag, a routine table under the power operator's rules), so
// the node keeps the typed routine its argument types selected. The arithmetic is the numeric core's:
// scalar kernels and MapPairs from core/pairmath.h.
#include "core/elemmath.h"
#include "core/pairmath.h"
#include "lang/operators/dispatch.h"
#include "lang/words/registration.h"
#include "library/families.h"
#include "library/redirect.h"

namespace zel {

namespace {

using namespace dispatch;

// The operands of a two-argument node.
TValueRec& Left(TExprRec& e) { return *e.Args[0]; }
TValueRec& Right(TExprRec& e) { return *e.Args[1]; }
// The elements of a vector or matrix result.
TNubraVec& ResArr(TExprRec& e) { return e.Res->RealElements(); }

// A real, integer or complex scalar as a complex.
TCplx CplxOf(const TValueRec& v) {
  return v.ValueType() == vtComplexValue ? v.ComplexValue() : TCplx(v.DoubleValue(), 0.0);
}

// ---- typed routines of a kernel K, one per operand shape --------------------------------------------

// Kernel K on the operands read as reals, as complex numbers, or as a scalar with an array; `Name` is
// the function's name in the core's messages.
template <auto K, const char* Name>
struct Pairs {
  static void Reals(TExprRec& e) { e.Res->SetDoubleValue(K(Left(e).DoubleValue(), Right(e).DoubleValue())); }
  static void Complexes(TExprRec& e) { e.Res->SetComplexValue(K(CplxOf(Left(e)), CplxOf(Right(e)))); }
  static void RealsToComplex(TExprRec& e) {
    e.Res->SetComplexValue(K(Left(e).DoubleValue(), Right(e).DoubleValue()));
  }
  static void RealWithArray(TExprRec& e) {
    MapPairs(Name, Left(e).DoubleValue(), Right(e).RealElements(), ResArr(e), K);
  }
  static void ComplexWithArray(TExprRec& e) {
    MapPairs(Name, Left(e).ComplexValue(), Right(e).RealElements(), ResArr(e), K);
  }
  static void ArrayWithReal(TExprRec& e) {
    MapPairs(Name, Left(e).RealElements(), Right(e).DoubleValue(), ResArr(e), K);
  }
  static void ArrayWithComplex(TExprRec& e) {
    MapPairs(Name, Left(e).RealElements(), Right(e).ComplexValue(), ResArr(e), K);
  }
  static void Arrays(TExprRec& e) {
    MapPairs(Name, Left(e).RealElements(), Right(e).RealElements(), ResArr(e), K);
  }
};

// ---- logN ------------------------------------------------------------------------------------------

constexpr char kLogNName[] = "LogN";
using LogN = Pairs<elem::LogN, kLogNName>;

// A real x with any base; a complex x with a scalar base. Vectors and matrices only as the base.
constexpr BinaryCells kLogNCells = [] {
  BinaryCells t{};
  Set(t, {D, I}, {D, I}, D, LogN::Reals);
  Set(t, {D, I}, {C}, C, LogN::Complexes);
  Set(t, {D, I}, {V}, V, LogN::RealWithArray);
  Set(t, {D, I}, {M}, M, LogN::RealWithArray);
  Set(t, {C}, {D, I, C}, C, LogN::Complexes);
  return t;
}();

void _LogN(TExprRec& e) { Dispatch(e, kLogNCells); }

// ---- arctan2 ---------------------------------------------------------------------------------------

constexpr char kArcTan2Name[] = "ArcTan2";
using ArcTan2 = Pairs<elem::ArcTan2, kArcTan2Name>;

// The refusals of complex operands and of a scalar with an array.
void ArcTan2Complex(TExprRec&) { throw EZelParseError("ArcTan2: Argument can not be complex"); }
void ArcTan2Mixed(TExprRec&) {
  throw EZelParseError(
      "ArcTan2: parameter type combination not supported. Both must be vector/matrix or double/integer");
}

// Two reals or two arrays (complex array data is refused by the core with the same message).
constexpr BinaryCells kArcTan2Cells = [] {
  BinaryCells t{};
  Set(t, {D, I}, {D, I}, D, ArcTan2::Reals);
  Set(t, {V}, {V}, V, ArcTan2::Arrays);
  Set(t, {V, M}, {M}, M, ArcTan2::Arrays);
  Set(t, {M}, {V}, M, ArcTan2::Arrays);
  Set(t, {D, I}, {V, M}, None, ArcTan2Mixed);
  Set(t, {V, M}, {D, I}, None, ArcTan2Mixed);
  Set(t, {C}, {D, I, C, V, M}, None, ArcTan2Complex);
  Set(t, {D, I, V, M}, {C}, None, ArcTan2Complex);
  return t;
}();

void _ArcTan2(TExprRec& e) { Dispatch(e, kArcTan2Cells); }

// ---- pythag ----------------------------------------------------------------------------------------

constexpr char kPythagName[] = "Pythag";
using Pythag = Pairs<elem::Pythag, kPythagName>;

// The routines for the cells of the power operator's rules (binary RedirectOper).
constexpr TOperMatrix kPythagRoutines = [] {
  TOperMatrix t{};
  Set(t, {D, I}, {D, I}, Pythag::Reals);
  Set(t, {D, I, C}, {C}, Pythag::Complexes);
  Set(t, {C}, {D, I}, Pythag::Complexes);
  Set(t, {D, I}, {V, M}, Pythag::RealWithArray);
  Set(t, {C}, {V, M}, Pythag::ComplexWithArray);
  Set(t, {V, M}, {D, I}, Pythag::ArrayWithReal);
  Set(t, {V, M}, {C}, Pythag::ArrayWithComplex);
  Set(t, {V, M}, {V, M}, Pythag::Arrays);
  return t;
}();

void _Pythag(TExprRec& e) { RedirectOper(e, kPythagRoutines); }

// ---- polartocart and cplx(re, im) --------------------------------------------------------------------

constexpr char kPolarName[] = "PolarToCart";
using Polar = Pairs<elem::PolarToCart, kPolarName>;

// Two real scalars give a complex, arrays a complex array (a matrix when either operand is one).
constexpr BinaryCells kPolarCells = [] {
  BinaryCells t{};
  Set(t, {D, I}, {D, I}, C, Polar::RealsToComplex);
  Set(t, {V}, {V}, V, Polar::Arrays);
  Set(t, {V, M}, {M}, M, Polar::Arrays);
  Set(t, {M}, {V}, M, Polar::Arrays);
  return t;
}();

void _PolarToCart(TExprRec& e) { Dispatch(e, kPolarCells); }

constexpr char kCplxName[] = "Cplx";
using MakeCplx = Pairs<elem::MakeComplex, kCplxName>;

// The refusal of complex operands.
[[noreturn]] void RaiseRealExpected() { throw EZelParseError("Cplx: real arguments was expected"); }
void CplxOfComplex(TExprRec&) { RaiseRealExpected(); }
// Two real arrays of one kind; complex data is refused like a complex scalar.
void CplxOfArrays(TExprRec& e) {
  if (Left(e).RealElements().Complex() || Right(e).RealElements().Complex()) RaiseRealExpected();
  MakeCplx::Arrays(e);
}

constexpr BinaryCells kCplxCells = [] {
  BinaryCells t{};
  Set(t, {D, I}, {D, I}, C, MakeCplx::RealsToComplex);
  Set(t, {V}, {V}, V, CplxOfArrays);
  Set(t, {M}, {M}, M, CplxOfArrays);
  Set(t, {C}, {D, I, C, V, M}, None, CplxOfComplex);
  Set(t, {D, I, V, M}, {C}, None, CplxOfComplex);
  return t;
}();

// ---- root ------------------------------------------------------------------------------------------

// k and n of root(x, k, n); checked on every run, since a handler is chosen by the type of x only.
struct RootIndex {
  std::int64_t k, n;
};
// Reads k and n, refusing other types than integers.
RootIndex IndexOf(const TExprRec& e) {
  const TValueRec& k = *e.Args[1];
  const TValueRec& n = *e.Args[2];
  if (k.ValueType() != vtIntegerValue || n.ValueType() != vtIntegerValue)
    throw EZelParseError("root: second and third parameters K and N must be integers");
  return {k.IntegerValue(), n.IntegerValue()};
}

// root of a real or complex scalar, and of every element of an array.
void RootOfScalar(TExprRec& e) {
  const RootIndex r = IndexOf(e);
  e.Res->SetComplexValue(Root(CplxOf(Left(e)), r.k, r.n));
}
void RootOfArray(TExprRec& e) {
  const RootIndex r = IndexOf(e);
  MapElements(Left(e).RealElements(), ResArr(e), [r](auto z) { return Root(TCplx(z), r.k, r.n); });
}

constexpr TOperVector kRootRoutines = [] {
  TOperVector t{};
  Set(t, {D, I, C}, RootOfScalar);
  Set(t, {V, M}, RootOfArray);
  return t;
}();

// The integer check comes before the type of x is looked at.
void _Root(TExprRec& e) {
  IndexOf(e);
  RedirectOperCplx(e, kRootRoutines);
}

constexpr TFunctionEntry kBinaryMath[] = {
    {"logN", "LogN", _LogN, 2, "logN(x,n): logarithm of 'x' base of 'n'"},
    {"power", "Power", _Power, 2, "power(x,n): x^n"},
    {"pow", "Pow", _Power, 2, "pow(x,n): x^n"},
    {"intpower", "IntPower", _IntPower, 2, "intpower(x,n): x^n"},
    {"intpow", "Intpow", _IntPower, 2, "intpow(x,n): x^n", "IntPow(x,n): x^n"},
    {"rem", "Rem", _Rem, 2, "rem(x, y): reminder after division 'x/y'"},
    {"arctan2", "ArcTan2", _ArcTan2, 2, "arctan(x,y): tangens defined as 'x'/'y'",
     "ArcTan(x,y): tangens defined as 'x'/'y'"},
    {"pythag", "Pythag", _Pythag, 2, "pythag(x,y): sqrt(x^2 + y^2)"},
    {"polartocart", "PolarToCart", _PolarToCart, 2,
     "x = polartocart(amplt, phase): converts polar coordinate to cartesian coordinate",
     "x = PolarToCart(amplt, phase): converts polar coordinate to cartesian coordinate"},
    {"root", nullptr, _Root, 3, "root(x,k,n): 'n' roots of 'x' by varying 'k' from [0..n-1]"},
};

}  // namespace

void MakeComplex(TExprRec& expr) { Dispatch(expr, kCplxCells); }

void RegisterBinaryMathFunctions(TWordList& words) { RegisterFunctions(words, kBinaryMath); }

}  // namespace zel
