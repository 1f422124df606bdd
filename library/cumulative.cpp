// Running sums, differences and integration: cumsum, difference and integrate (one and two arguments).
// The numerics are the core's (core/cumulative.h); results are written into the node's own result object.
#include "core/cumulative.h"

#include "lang/operators/dispatch.h"
#include "lang/words/registration.h"
#include "library/families.h"
#include "library/signal_support.h"

namespace zel {

namespace {

using namespace dispatch;

TValueRec& Arg(TExprRec& e, int i) { return *e.Args[i]; }

// ---- cumsum ----------------------------------------------------------------------------------------

// Scalars are their own running sum.
void CumSumDouble(TExprRec& e) { e.Res->SetDoubleValue(Arg(e, 0).DoubleValue()); }
void CumSumInteger(TExprRec& e) { e.Res->SetIntegerValue(Arg(e, 0).IntegerValue()); }
void CumSumComplex(TExprRec& e) { e.Res->SetComplexValue(Arg(e, 0).ComplexValue()); }
void CumSumReals(TExprRec& e) { CumSum(Arg(e, 0).RealElements(), e.Res->RealElements()); }
void CumSumInts(TExprRec& e) { CumSum(Arg(e, 0).IntElements(), e.Res->IntElements()); }

constexpr UnaryCells kCumSumCells = [] {
  UnaryCells t{};
  Set(t, {D}, D, CumSumDouble);
  Set(t, {I}, I, CumSumInteger);
  Set(t, {C}, C, CumSumComplex);
  Set(t, {V}, V, CumSumReals);
  Set(t, {M}, M, CumSumReals);
  Set(t, {IV}, IV, CumSumInts);
  Set(t, {IM}, IM, CumSumInts);
  return t;
}();

void _CumSum(TExprRec& e) { Dispatch(e, kCumSumCells); }

// ---- difference ------------------------------------------------------------------------------------

// difference(x, lag): a vector, or each row of a matrix; lag is an integer.
void DifferenceOf(TExprRec& e) {
  Difference(Arg(e, 0).RealElements(), Arg(e, 1).IntegerValue(), e.Res->RealElements());
}

constexpr BinaryCells kDifferenceCells = [] {
  BinaryCells t{};
  Set(t, {V}, {I}, V, DifferenceOf);
  Set(t, {M}, {I}, M, DifferenceOf);
  return t;
}();

void _Difference(TExprRec& e) { Dispatch(e, kDifferenceCells); }

// ---- integrate -------------------------------------------------------------------------------------

void IntegrateOnce(TExprRec& e) { Integrate(Arg(e, 0).VectorValue(), e.Res->VectorValue()); }
void IntegrateFrom(TExprRec& e) {
  Integrate(Arg(e, 0).VectorValue(), Arg(e, 1).VectorValue(), e.Res->VectorValue());
}
void IntegrateMixed(TExprRec&) { throw EZelParseError("Integrate: first two params need to be vectors!"); }

constexpr UnaryCells kIntegrateCells = [] {
  UnaryCells t{};
  Set(t, {V}, V, IntegrateOnce);
  return t;
}();

constexpr BinaryCells kIntegrateFromCells = [] {
  BinaryCells t{};
  signal::SetDifferentTypes(t, IntegrateMixed);
  Set(t, {V}, {V}, V, IntegrateFrom);
  return t;
}();

void _Integrate(TExprRec& e) { Dispatch(e, kIntegrateCells); }
void _IntegrateFrom(TExprRec& e) { Dispatch(e, kIntegrateFromCells); }

constexpr TFunctionEntry kCumulative[] = {
    {"cumsum", "CumSum", _CumSum, 1,
     "cumsum(x): returns cumulative sum of data in vector x = [1,2,..] => y = [1,1+2,1+2+3,..] or columns in "
     "the "
     "matrix."},
    {"difference", "Difference", _Difference, 2,
     "difference(x, lag): returns vector of differences between elements lag a part."},
    {"integrate", "Integrate", _Integrate, 1, "integrate(x): Integrate all elements in x once."},
    {"integrate", "Integrate", _IntegrateFrom, 2,
     "integrate(x, init): Integrate all elements in x using initial values in Init vector Length(Init) "
     "times."},
};

}  // namespace

void RegisterCumulativeFunctions(TWordList& words) { RegisterFunctions(words, kCumulative); }

}  // namespace zel
