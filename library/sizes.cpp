// Questions about a value's size and kind: length (element count), rows, cols and iscomplex. Vectors are
// one row; strings count their characters (UTF-8 code points) as length and cols; the other scalars count
// as one element. Undefined values, ranges and custom values have no size.
#include "core/text.h"
#include "lang/operators/dispatch.h"
#include "lang/words/registration.h"
#include "library/families.h"

namespace zel {

namespace {

using namespace dispatch;

TValueRec& Arg(TExprRec& e) { return *e.Args[0]; }

// The dense object of a vector or matrix of any kind.
const TNubra& Dense(TValueRec& v) {
  switch (v.ValueType()) {
    case vtVectorValue:
    case vtMatrixValue:
      return v.RealElements();
    default:  // integer and bool kinds
      return v.IntElements();
  }
}

void One(TExprRec& e) { e.Res->SetIntegerValue(1); }
void Characters(TExprRec& e) { e.Res->SetIntegerValue(CharCount(Arg(e).StringValue())); }
void Elements(TExprRec& e) { e.Res->SetIntegerValue(Dense(Arg(e)).Length()); }
void RowCount(TExprRec& e) { e.Res->SetIntegerValue(Dense(Arg(e)).Rows()); }
void ColCount(TExprRec& e) { e.Res->SetIntegerValue(Dense(Arg(e)).Cols()); }

constexpr Kinds kScalars = {D, C, I, B};
constexpr Kinds kDense = {V, M, IV, IM, BV, BM};

// The cells of a size question: scalars count 1, strings as `text`, dense objects as `dense`.
constexpr UnaryCells SizeCells(TExprFunc text, TExprFunc dense) {
  UnaryCells t{};
  Set(t, kScalars, I, One);
  Set(t, {S}, I, text);
  Set(t, kDense, I, dense);
  return t;
}

constexpr UnaryCells kLengthCells = SizeCells(Characters, Elements);
constexpr UnaryCells kRowsCells = SizeCells(One, RowCount);
constexpr UnaryCells kColsCells = SizeCells(Characters, ColCount);

void _Length(TExprRec& e) { Dispatch(e, kLengthCells); }
void _Rows(TExprRec& e) { Dispatch(e, kRowsCells); }
void _Cols(TExprRec& e) { Dispatch(e, kColsCells); }

// iscomplex: complex scalars, complex vector or matrix data, and extended ranges with complex bounds.
void False(TExprRec& e) { e.Res->SetBoolValue(false); }
void True(TExprRec& e) { e.Res->SetBoolValue(true); }
void DataIsComplex(TExprRec& e) { e.Res->SetBoolValue(Arg(e).RealElements().Complex()); }
void RangeIsComplex(TExprRec& e) { e.Res->SetBoolValue(Arg(e).ExtRangeValue()->Complex()); }

constexpr UnaryCells kIsComplexCells = [] {
  UnaryCells t{};
  Set(t, {D, I, R, IV, IM}, B, False);
  Set(t, {C}, B, True);
  Set(t, {V, M}, B, DataIsComplex);
  Set(t, {Re}, B, RangeIsComplex);
  return t;
}();

void _IsComplex(TExprRec& e) { Dispatch(e, kIsComplexCells); }

constexpr TFunctionEntry kSizes[] = {
    {"length", "Length", _Length, 1, "length(x): element count in vector/matrix x"},
    {"rows", "Rows", _Rows, 1, "rows(x): row count of matrix x"},
    {"cols", "Cols", _Cols, 1, "cols(x): column count of matrix x"},
    {"iscomplex", "IsComplex", _IsComplex, 1, "iscomplex(x): returns 1 if x is complex and 0 otherwise"},
};

}  // namespace

void RegisterSizeFunctions(TWordList& words) { RegisterFunctions(words, kSizes); }

}  // namespace zel
