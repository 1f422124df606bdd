// Polynomials: polyeval, polyroots, polycoeff and (quotient, remainder) = deconv(b, a). Coefficients are
// ordered highest power first (core/polynomial.h, where the numerics are); results are written into the
// node's own result object and deconv's two output arguments.
#include "core/polynomial.h"

#include "lang/operators/dispatch.h"
#include "lang/words/registration.h"
#include "library/families.h"
#include "library/output_args.h"
#include "library/signal_support.h"

namespace zel {

namespace {

using namespace dispatch;

TValueRec& Arg(TExprRec& e, int i) { return *e.Args[i]; }

// ---- polyeval --------------------------------------------------------------------------------------

// A real point: a double, or a complex value when the coefficients are complex.
void EvalAtReal(TExprRec& e) {
  const TVec& c = Arg(e, 1).VectorValue();
  const double x = Arg(e, 0).DoubleValue();
  signal::SetScalarResult(e, c.Complex() ? PolyEval(TCplx(x, 0.0), c) : TCplx(PolyEval(x, c), 0.0),
                          c.Complex());
}
void EvalAtComplex(TExprRec& e) {
  e.Res->SetComplexValue(PolyEval(Arg(e, 0).ComplexValue(), Arg(e, 1).VectorValue()));
}
void EvalAtVector(TExprRec& e) {
  PolyEval(Arg(e, 0).VectorValue(), Arg(e, 1).VectorValue(), e.Res->VectorValue());
}
void CoeffNotVector(TExprRec&) { throw EZelParseError("polyeval: second parameter must be a vector!"); }

constexpr BinaryCells kPolyEvalCells = [] {
  BinaryCells t{};
  Set(t, {D, R, S, C, V, I, IV, IM, B, BV, BM, M, X, Re}, {D, R, S, C, I, IV, IM, B, BV, BM, M, X, Re}, None,
      CoeffNotVector);
  Set(t, {D, I}, {V}, None, EvalAtReal);
  Set(t, {C}, {V}, C, EvalAtComplex);
  Set(t, {V}, {V}, V, EvalAtVector);
  return t;
}();

void _PolyEval(TExprRec& e) { Dispatch(e, kPolyEvalCells); }

// ---- polyroots, polycoeff --------------------------------------------------------------------------

void RootsOf(TExprRec& e) { PolyRoots(Arg(e, 0).VectorValue(), e.Res->VectorValue()); }
void CoeffOf(TExprRec& e) { PolyCoeff(Arg(e, 0).VectorValue(), e.Res->VectorValue()); }

constexpr UnaryCells kRootsCells = [] {
  UnaryCells t{};
  Set(t, {V}, V, RootsOf);
  return t;
}();
constexpr UnaryCells kCoeffCells = [] {
  UnaryCells t{};
  Set(t, {V}, V, CoeffOf);
  return t;
}();

void _PolyRoots(TExprRec& e) { Dispatch(e, kRootsCells); }
void _PolyCoeff(TExprRec& e) { Dispatch(e, kCoeffCells); }

// ---- deconv ----------------------------------------------------------------------------------------

// deconv(b, a, q, r): q and r receive quotient and remainder of b / a; the result is true.
void _Deconv(TExprRec& e) {
  if (Arg(e, 0).ValueType() != vtVectorValue)
    UnsupportedValueTypesError(e, Arg(e, 0).ValueType(), Arg(e, 1).ValueType());
  if (Arg(e, 1).ValueType() != vtVectorValue)
    throw EZelParseError("deconv: second parameter must be a vector!");
  DeConv(Arg(e, 0).VectorValue(), Arg(e, 1).VectorValue(), VectorOutput(e, 2), VectorOutput(e, 3));
  e.Res->DefineBool();
  e.Res->SetBoolValue(true);
}

constexpr TFunctionEntry kPolynomials[] = {
    {"polyeval", "PolyEval", _PolyEval, 2,
     "polyeval(Values, Coeff): returns polynom defined with Coeff evaluated at Values."},
    {"polyroots", "PolyRoots", _PolyRoots, 1,
     "polyroots(Coeff): returns polynom roots from coefficients in Coeff."},
    {"polycoeff", "PolyCoeff", _PolyCoeff, 1, "polycoeff(Roots): returns polynom coefficients from Roots."},
    {"deconv", "Deconv", _Deconv, 4,
     "(qoutiend, reminder) = deconv(b, a), returns the quotiend of b/a and reminder in the parameter.",
     "(qoutiend, reminder) = Deconv(b, a), returns the quotiend of b/a and reminder in the parameter.", 2},
};

}  // namespace

void RegisterPolynomialFunctions(TWordList& words) { RegisterFunctions(words, kPolynomials); }

}  // namespace zel
