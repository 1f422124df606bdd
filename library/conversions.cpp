// Type conversions double(x) and boolean(x). Each is one dispatch table over the argument's kind (result
// kind and typed routine); the first evaluation of a node picks the cell and stores its routine, which
// writes into the result's own object, so later evaluations neither dispatch nor allocate.
//
//   argument             double(x)        boolean(x)
//   double, integer      double           bool: not zero
//   bool                 double 0 or 1    bool (copy)
//   complex              complex (copy)   bool: either part not zero
//   vector, matrix       the same (copy)  bool vector / matrix: element rounds to non-zero (|x| >= 0.5)
//   int vector, matrix   vector, matrix   bool vector / matrix: element not zero
//   bool vector, matrix  vector, matrix   the same (copy)
//
// Every other kind (ranges, strings, custom and undefined values) raises the unsupported-types error.
#include <cmath>

#include "lang/operators/dispatch.h"
#include "lang/words/registration.h"
#include "library/families.h"

namespace zel {

namespace {

using namespace dispatch;

// The one argument.
const TValueRec& Arg(const TExprRec& e) { return *e.Args[0]; }

// ---- double(x) ----

// The routines of the cells: the argument kind they read is in their names.
void RealFromReal(TExprRec& e) { e.Res->SetDoubleValue(Arg(e).DoubleValue()); }
void RealFromInt(TExprRec& e) { e.Res->SetDoubleValue(static_cast<double>(Arg(e).IntegerValue())); }
void RealFromBool(TExprRec& e) { e.Res->SetDoubleValue(Arg(e).BoolValue() ? 1 : 0); }
void CplxCopy(TExprRec& e) { e.Res->SetComplexValue(Arg(e).ComplexValue()); }
void VecCopy(TExprRec& e) { e.Res->VectorValue().Copy(e.Args[0]->VectorValue()); }
void VecFromInt(TExprRec& e) { e.Res->VectorValue().CopyFromInt(e.Args[0]->IntVectorValue()); }
void VecFromBool(TExprRec& e) { e.Res->VectorValue().CopyFromInt(Arg(e).BoolVectorValue()); }
void MatCopy(TExprRec& e) { e.Res->MatrixValue().Copy(Arg(e).MatrixValue()); }
void MatFromInt(TExprRec& e) { e.Res->MatrixValue().CopyFromInt(Arg(e).IntMatrixValue()); }
void MatFromBool(TExprRec& e) { e.Res->MatrixValue().CopyFromInt(Arg(e).BoolMatrixValue()); }

constexpr UnaryCells kDouble = [] {
  UnaryCells t{};
  Set(t, {D}, D, RealFromReal);
  Set(t, {I}, D, RealFromInt);
  Set(t, {B}, D, RealFromBool);
  Set(t, {C}, C, CplxCopy);
  Set(t, {V}, V, VecCopy);
  Set(t, {IV}, V, VecFromInt);
  Set(t, {BV}, V, VecFromBool);
  Set(t, {M}, M, MatCopy);
  Set(t, {IM}, M, MatFromInt);
  Set(t, {BM}, M, MatFromBool);
  return t;
}();

// double(x): dispatches on the first evaluation.
void _Double(TExprRec& e) { Dispatch(e, kDouble); }

// ---- boolean(x) ----

// A real element is true when it rounds (halves to even, as the core's conversion) to an integer other
// than 0, that is when |x| > 0.5; NaN is false.
bool RoundsToNonZero(double x) { return std::fabs(x) > 0.5; }

// dst (sized to src's element count, 32-bit) element i = src element i rounds to non-zero; a complex
// element when either part does.
void MaskOfReal(const TNubraVec& src, TNubraInt& dst) {
  std::int32_t* out = dst.PIValues();
  for (int i = 0; i < src.Length(); ++i)
    out[i] = src.Complex() ? RoundsToNonZero(src.CValues(i).real()) || RoundsToNonZero(src.CValues(i).imag())
                           : RoundsToNonZero(src.Values(i));
}

// dst (sized to src's element count, 32-bit) element i = src element i is not zero.
void MaskOfInt(const TNubraInt& src, TNubraInt& dst) {
  std::int32_t* out = dst.PIValues();
  src.Visit([&](const auto* in) {
    for (int i = 0; i < src.Length(); ++i) out[i] = in[i] != 0;
  });
}

// The routines of the cells: the argument kind they read is in their names.
void BoolFromReal(TExprRec& e) { e.Res->SetBoolValue(Arg(e).DoubleValue() != 0); }
void BoolFromInt(TExprRec& e) { e.Res->SetBoolValue(Arg(e).IntegerValue() != 0); }
void BoolFromCplx(TExprRec& e) { e.Res->SetBoolValue(Arg(e).ComplexValue() != TCplx(0, 0)); }
void BoolCopy(TExprRec& e) { e.Res->SetBoolValue(Arg(e).BoolValue()); }

void BoolVecFromVec(TExprRec& e) {
  const TVec& src = e.Args[0]->VectorValue();
  TVecInt& dst = e.Res->BoolVectorValue();
  dst.Size(src.Length(), prInt32);
  MaskOfReal(src, dst);
}
void BoolVecFromInt(TExprRec& e) {
  const TVecInt& src = e.Args[0]->IntVectorValue();
  TVecInt& dst = e.Res->BoolVectorValue();
  dst.Size(src.Length(), prInt32);
  MaskOfInt(src, dst);
}
void BoolVecCopy(TExprRec& e) { e.Res->BoolVectorValue().Copy(Arg(e).BoolVectorValue()); }

void BoolMatFromMat(TExprRec& e) {
  const TZel& src = Arg(e).MatrixValue();
  TZelInt& dst = e.Res->BoolMatrixValue();
  dst.Size(src.Rows(), src.Cols(), prInt32);
  MaskOfReal(src, dst);
}
void BoolMatFromInt(TExprRec& e) {
  const TZelInt& src = Arg(e).IntMatrixValue();
  TZelInt& dst = e.Res->BoolMatrixValue();
  dst.Size(src.Rows(), src.Cols(), prInt32);
  MaskOfInt(src, dst);
}
void BoolMatCopy(TExprRec& e) { e.Res->BoolMatrixValue().Copy(Arg(e).BoolMatrixValue()); }

constexpr UnaryCells kBoolean = [] {
  UnaryCells t{};
  Set(t, {D}, B, BoolFromReal);
  Set(t, {I}, B, BoolFromInt);
  Set(t, {C}, B, BoolFromCplx);
  Set(t, {B}, B, BoolCopy);
  Set(t, {V}, BV, BoolVecFromVec);
  Set(t, {IV}, BV, BoolVecFromInt);
  Set(t, {BV}, BV, BoolVecCopy);
  Set(t, {M}, BM, BoolMatFromMat);
  Set(t, {IM}, BM, BoolMatFromInt);
  Set(t, {BM}, BM, BoolMatCopy);
  return t;
}();

// boolean(x): dispatches on the first evaluation.
void _Boolean(TExprRec& e) { Dispatch(e, kBoolean); }

constexpr TFunctionEntry kConversions[] = {
    {"double", "Double", _Double, 1, "double(x): converts integer 'x' value to double"},
    {"boolean", "Boolean", _Boolean, 1,
     "boolean(x): converts integer 'x' value to boolean \"true\" if value is bigger than zero and \"false\" "
     "otherwise."},
};

}  // namespace

void RegisterConversionFunctions(TWordList& words) { RegisterFunctions(words, kConversions); }

}  // namespace zel
