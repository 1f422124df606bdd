// Row, column and whole-matrix measures of a matrix argument (real or complex data): meanrows,
// meancols, sumrows, sumcols, stddevrows, stddevcols (one value per row or per column, as a vector),
// norm1, normfro, norminf (doubles), trace (double, or complex for complex data) and zscore (a matrix).
// sumrows and sumcols also take an integer matrix and give an integer vector. Every other argument type
// raises the unsupported-types error. The numerics are the core's (core/measures.h).
#include "core/measures.h"
#include "lang/operators/dispatch.h"
#include "lang/words/registration.h"
#include "library/families.h"

namespace zel {

namespace {

using namespace dispatch;

TZel& Matrix(TExprRec& e) { return e.Args[0]->MatrixValue(); }

// A vector result of F(matrix, vector).
template <void (*F)(const TZel&, TVec&)>
void ToVector(TExprRec& e) {
  F(Matrix(e), e.Res->VectorValue());
}
template <void (*F)(const TZelInt&, TVecInt&)>
void IntToVector(TExprRec& e) {
  F(e.Args[0]->IntMatrixValue(), e.Res->IntVectorValue());
}
// A double result of F(matrix).
template <double (*F)(const TZel&)>
void ToDouble(TExprRec& e) {
  e.Res->SetDoubleValue(F(Matrix(e)));
}
// The trace: complex for complex data, so the result is defined on every run.
void TraceOf(TExprRec& e) {
  const TZel& x = Matrix(e);
  if (x.Complex()) {
    e.Res->DefineComplex();
    e.Res->SetComplexValue(TraceCplx(x));
  } else {
    e.Res->DefineDouble();
    e.Res->SetDoubleValue(Trace(x));
  }
}
void ZScoreOf(TExprRec& e) { ZScore(Matrix(e), e.Res->MatrixValue()); }

// The one cell of a measure: a matrix argument, result kind `result`.
constexpr UnaryCells MatrixCell(Kind result, TExprFunc routine) {
  UnaryCells t{};
  Set(t, {M}, result, routine);
  return t;
}

// A measure that takes a matrix only.
template <Kind Result, TExprFunc Routine>
void Measure(TExprRec& e) {
  static constexpr UnaryCells kCells = MatrixCell(Result, Routine);
  Dispatch(e, kCells);
}

// sumrows and sumcols: a matrix, or an integer matrix giving an integer vector.
template <void (*Real)(const TZel&, TVec&), void (*Int)(const TZelInt&, TVecInt&)>
void Sums(TExprRec& e) {
  static constexpr UnaryCells kCells = [] {
    UnaryCells t = MatrixCell(V, ToVector<Real>);
    Set(t, {IM}, IV, IntToVector<Int>);
    return t;
  }();
  Dispatch(e, kCells);
}

constexpr TFunctionEntry kMeasures[] = {
    {"meanrows", "MeanRows", Measure<V, ToVector<MeanRows>>, 1,
     "meanrows(x): returns vector with averages of rows."},
    {"meancols", "MeanCols", Measure<V, ToVector<MeanCols>>, 1,
     "meancols(x): returns vector with averages of columns."},
    {"sumrows", "SumRows", Sums<SumRows, SumRows>, 1, "sumrows(x): returns the sum of rows of matrix x."},
    {"sumcols", "SumCols", Sums<SumCols, SumCols>, 1, "sumcols(x): returns the sum of columns of matrix x."},
    {"stddevrows", "StdDevRows", Measure<V, ToVector<StdDevRows>>, 1,
     "stddevrows(x): returns the stddev of rows of matrix x.",
     "stddevrows(x): returns the stddev of rows of matrix x."},
    {"stddevcols", "StdDevCols", Measure<V, ToVector<StdDevCols>>, 1,
     "stddevcols(x): returns the stddev of columns of matrix x.",
     "stddevcols(x): returns the stddev of columns of matrix x."},
    {"norm1", "Norm1", Measure<D, ToDouble<Norm1>>, 1, "norm1(x): returns the 1-norm of the matrix x."},
    {"normfro", "NormFro", Measure<D, ToDouble<NormFro>>, 1,
     "normfro(x): returns the Frobenius norm of the matrix x."},
    {"norminf", "NormInf", Measure<D, ToDouble<NormInf>>, 1,
     "norminf(x): returns the Infinity norm of the matrix x."},
    {"trace", "Trace", Measure<None, TraceOf>, 1, "trace(x): returns sum of diagonal elements of matrix x."},
    {"zscore", "ZScore", Measure<M, ZScoreOf>, 1,
     "zscore(x): returns zscore of diagonal elements of matrix x."},
};

}  // namespace

void RegisterMatrixMeasureFunctions(TWordList& words) { RegisterFunctions(words, kMeasures); }

}  // namespace zel
