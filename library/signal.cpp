// Convolution, correlation, dot products and normalisation: convolve, crosscorr, autocorrnormal,
// autocorrbiased, autocorrunbiased, dotprod (two and three arguments) and normalize. The numerics are the
// core's (core/signal.h); results are written into the node's own result object.
#include "core/signal.h"

#include "lang/operators/dispatch.h"
#include "lang/words/registration.h"
#include "library/families.h"
#include "library/redirect.h"
#include "library/signal_support.h"

namespace zel {

namespace {

using namespace dispatch;

bool IsVector(const TValueRec& v) { return v.ValueType() == vtVectorValue; }
bool IsInteger(const TValueRec& v) { return v.ValueType() == vtIntegerValue; }
bool IsScalarNumber(const TValueRec& v) {
  return v.ValueType() == vtDoubleValue || v.ValueType() == vtIntegerValue || v.ValueType() == vtComplexValue;
}

// ---- convolve --------------------------------------------------------------------------------------

void ConvolveVectors(TExprRec& e) {
  Convolve(e.Args[0]->VectorValue(), e.Args[1]->VectorValue(), e.Res->VectorValue());
}
void ConvolveMatrices(TExprRec& e) {
  Filter2D(e.Args[0]->MatrixValue(), e.Args[1]->MatrixValue(), e.Res->MatrixValue());
}
void ConvolveMixed(TExprRec&) {
  throw EZelParseError("Convolve requires both params to be either vector or matrix!");
}

constexpr BinaryCells kConvolveCells = [] {
  BinaryCells t{};
  signal::SetDifferentTypes(t, ConvolveMixed);
  Set(t, {V}, {V}, V, ConvolveVectors);
  Set(t, {M}, {M}, M, ConvolveMatrices);
  return t;
}();

void _Convolve(TExprRec& e) { Dispatch(e, kConvolveCells); }

// ---- correlations ----------------------------------------------------------------------------------

// crosscorr(a, b, HiLag, LoLag, Norm): vectors a and b, integer lags and norm; Norm 0, 1, 2 is no
// scaling, biased, unbiased.
void _CrossCorr(TExprRec& e) {
  TValueRec** a = e.Args.data();
  if (!IsVector(*a[0]) || !IsVector(*a[1]) || !IsInteger(*a[2]) || !IsInteger(*a[3]) || !IsInteger(*a[4]))
    RaiseUnsupportedArgs(e);
  const std::int64_t norm = a[4]->IntegerValue();
  if (norm < 0 || norm > 2) throw EZelParseError("CrossCorr: Fifth parameter must be in range [0..2].");
  e.Res->DefineVector();
  CrossCorr(a[0]->VectorValue(), a[1]->VectorValue(), a[2]->IntegerValue(), a[3]->IntegerValue(),
            static_cast<TCorrNorm>(norm), e.Res->VectorValue());
}

// autocorr...(x, Lag) with the scaling Norm.
template <TCorrNorm Norm>
struct AutoCorrelation {
  static void Vector(TExprRec& e) {
    AutoCorr(e.Args[0]->VectorValue(), e.Args[1]->IntegerValue(), Norm, e.Res->VectorValue());
  }
  static constexpr BinaryCells kCells = [] {
    BinaryCells t{};
    Set(t, {V}, {I}, V, Vector);
    return t;
  }();
  static void Routine(TExprRec& e) { Dispatch(e, kCells); }
};

// ---- dot products ----------------------------------------------------------------------------------

// dotprod(a, b): a double for real data, else a complex value.
void DotProdVectors(TExprRec& e) {
  const TVec& a = e.Args[0]->VectorValue();
  const TVec& b = e.Args[1]->VectorValue();
  signal::SetScalarResult(e, DotProd(a, b), a.Complex() || b.Complex());
}

constexpr BinaryCells kDotProdCells = [] {
  BinaryCells t{};
  Set(t, {V}, {V}, None, DotProdVectors);
  return t;
}();

void _DotProd(TExprRec& e) { Dispatch(e, kDotProdCells); }

// dotprod(a, b, conj): always complex; b is conjugated when conj is true.
void _DotProdConj(TExprRec& e) {
  if (!IsVector(*e.Args[0]) || !IsVector(*e.Args[1]) || e.Args[2]->ValueType() != vtBoolValue)
    RaiseUnsupportedArgs(e);
  const TCplx value = DotProd(e.Args[0]->VectorValue(), e.Args[1]->VectorValue(), e.Args[2]->BoolValue());
  e.Res->DefineComplex();
  e.Res->SetComplexValue(value);
}

// ---- normalize -------------------------------------------------------------------------------------

// normalize(a, x, y) = (a - x) / y for a vector or matrix a and scalars x, y (real or complex).
void _Normalize(TExprRec& e) {
  TValueRec& a = *e.Args[0];
  TValueRec& x = *e.Args[1];
  TValueRec& y = *e.Args[2];
  const bool matrix = a.ValueType() == vtMatrixValue;
  if ((!matrix && !IsVector(a)) || !IsScalarNumber(x) || !IsScalarNumber(y)) RaiseUnsupportedArgs(e);
  if (matrix) {
    e.Res->DefineMatrix();
  } else {
    e.Res->DefineVector();
  }
  const TNubraVec& data = a.RealElements();
  TNubraVec& dst = e.Res->RealElements();
  const bool cx = x.ValueType() == vtComplexValue, cy = y.ValueType() == vtComplexValue;
  if (cx && cy) {
    Normalize(data, x.ComplexValue(), y.ComplexValue(), dst);
  } else if (cx) {
    Normalize(data, x.ComplexValue(), y.DoubleValue(), dst);
  } else if (cy) {
    Normalize(data, x.DoubleValue(), y.ComplexValue(), dst);
  } else {
    Normalize(data, x.DoubleValue(), y.DoubleValue(), dst);
  }
}

constexpr TFunctionEntry kSignal[] = {
    {"convolve", "Convolve", _Convolve, 2,
     "convolve(Data, Filter): returns convolution of Data with Filter."},
    {"crosscorr", "CrossCorr", _CrossCorr, 5,
     "crosscorr(a, b, HiLag, LoLag, Norm): returns cross correlation between a and b. Norm 0 is default, 1 "
     "is "
     "biased and 2 is unbiased."},
    {"autocorrnormal", "AutoCorrNormal", AutoCorrelation<TCorrNorm::cnNone>::Routine, 2,
     "autocorrnormal(x, Lag): returns auto-correlation of x. "},
    {"autocorrbiased", "AutoCorrBiased", AutoCorrelation<TCorrNorm::cnBiased>::Routine, 2,
     "autocorrbiased(x, Lag): returns auto-correlation of x. "},
    {"autocorrunbiased", "AutoCorrUnbiased", AutoCorrelation<TCorrNorm::cnUnbiased>::Routine, 2,
     "autocorrunbiased(x, Lag): returns auto-correlation of x. "},
    {"dotprod", "DotProd", _DotProd, 2, "dotprod(a,b): returns dot product between vectors a and b."},
    {"dotprod", "DotProd", _DotProdConj, 3,
     "dotprod(a, b, conj): returns dot product between complex vectors a and b and optionally conjugates b, "
     "if "
     "conj is True."},
    {"normalize", "Normalize", _Normalize, 3, "normalize(a, x, y): returns (a-x)/y"},
};

}  // namespace

void RegisterSignalFunctions(TWordList& words) { RegisterFunctions(words, kSignal); }

}  // namespace zel
