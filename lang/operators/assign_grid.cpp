// a(row, col) = src for a custom value holding a grid variable: the source's values become cell texts
// written through the grid's set-value event. Rows and columns are passed exactly as the script gives
// them; the host's event decides what a cell outside its table means.
//
// Cell texts: integers in decimal; reals with SampleToStr when the grid is Scientific, else with
// FormatSample and the grid's ReFormat; complex numbers with CplxToStr when Scientific, else FormatCplx
// with ReFormat and ImFormat (which writes the imaginary part's sign and "i": "+0.00i;-0.00i");
// booleans as "1" and "0" (what the grid's boolean read takes back); strings unchanged. Vectors (a range
// is expanded first) fill the cells row by row; matrices must have the shape of the cells.
#include <string>

#include "core/text.h"
#include "lang/operators/assign.h"
#include "lang/words/gridvar.h"

namespace zel::assign {

namespace {

using namespace dispatch;

// Consecutive cells along one axis: an integer index is one cell, a two-entry integer range start:stop
// the cells start .. stop (none when stop < start).
struct Span {
  int first = 0;
  int count = 0;
};

Span SpanOf(const TValueRec& idx) {
  if (idx.ValueType() == vtIntegerValue) return {static_cast<std::int32_t>(idx.IntegerValue()), 1};
  const int entries = idx.ExtRange() ? (idx.ExtRangeValue() ? idx.ExtRangeValue()->Length() : 0)
                                     : static_cast<int>(idx.Range().size());
  if (entries != 2) ERaise("Assign: matrix ranges with x:y:z are not supported!");
  if (idx.ExtRange()) ERaise("Assign: matrix range must be an integer range!");
  const std::int32_t start = idx.Range()[0];
  const std::int32_t stop = idx.Range()[1];
  if (stop == -1) ERaise("Automatic range expansion from colon (:) not supported for grid variable!");
  return {start, stop >= start ? static_cast<int>(static_cast<std::int64_t>(stop) - start + 1) : 0};
}

std::string RealText(const TExprGridVariable& g, double x) {
  return g.Scientific() ? SampleToStr(x) : FormatSample(x, g.ReFormat());
}

std::string ComplexText(const TExprGridVariable& g, TCplx z) {
  return g.Scientific() ? CplxToStr(z) : FormatCplx(z, g.ReFormat(), g.ImFormat());
}

std::string BoolText(bool b) { return b ? "1" : "0"; }

// The text of a scalar source.
std::string ScalarText(const TExprGridVariable& g, const TValueRec& src) {
  switch (src.ValueType()) {
    case vtIntegerValue:
      return std::to_string(src.IntegerValue());
    case vtBoolValue:
      return BoolText(src.BoolValue());
    case vtComplexValue:
      return ComplexText(g, src.ComplexValue());
    case vtString:
      return src.StringValue();
    default:
      return RealText(g, src.DoubleValue());
  }
}

// Element k of a vector or matrix source as cell text.
std::string ElementText(const TExprGridVariable& g, const TValueRec& src, int k) {
  switch (src.ValueType()) {
    case vtVectorValue:
    case vtMatrixValue: {
      const TNubraVec& v = src.ValueType() == vtVectorValue
                               ? static_cast<const TNubraVec&>(*src.VectorField())
                               : *src.MatrixField();
      return v.Complex() ? ComplexText(g, v.CValues(k)) : RealText(g, v.Values(k));
    }
    case vtIntVectorValue:
      return std::to_string(src.IntVectorField()->Get(k));
    case vtIntMatrixValue:
      return std::to_string(src.IntMatrixField()->Get(k));
    case vtBoolVectorValue:
      return BoolText(src.IntVectorField()->Get(k) != 0);
    default:
      return BoolText(src.IntMatrixField()->Get(k) != 0);
  }
}

// The form of a source: a scalar, a vector (a range is expanded in place: an integer range into an
// integer vector, an extended one into a vector) or a matrix; anything else is refused.
SourceForm FormOf(const TExprRec& e, TValueRec& src) {
  switch (KindOf(src)) {
    case D:
    case I:
    case B:
    case C:
    case S:
      return SourceForm::Scalar;
    case R:
      src.GetIntVectorValue();
      return SourceForm::Vector;
    case Re:
      src.getVectorValue();
      return SourceForm::Vector;
    case V:
    case IV:
    case BV:
      return SourceForm::Vector;
    case M:
    case IM:
    case BM:
      return SourceForm::Matrix;
    default:
      RaiseAssign4Types(e);
  }
}

}  // namespace

void AssignGridCells(TExprRec& e) {
  TValueRec& dst = *e.Args[0];
  // The types under the compiled node changed (a variable was defined anew): dispatch afresh.
  if (Assign4Routine(e) != AssignGridCells || e.Args[3]->ValueType() == vtUndefined) {
    e.Oper = _assign4;
    return _assign4(e);
  }
  TObject* obj = dst.CustomValue();
  if (!obj) ERaise("Assign: Destination \"custom value\" object is nil!");
  auto* grid = dynamic_cast<TExprGridVariable*>(obj);
  if (!grid) ERaise("Assign: Destination \"custom value\" object is not of supported type for assignment!");
  if (!grid->OnSetValue()) ERaise("TExprGridVariable.OnSetValue is not assigned.");
  if (!grid->OnGetValue()) ERaise("TExprGridVariable.OnGetValue is not assigned.");
  const Span rows = SpanOf(*e.Args[1]);
  const Span cols = SpanOf(*e.Args[2]);
  TValueRec& src = *e.Args[3];
  const SourceForm form = FormOf(e, src);
  const TShape shape = ShapeOf(src);
  const long long cells = static_cast<long long>(rows.count) * cols.count;
  if (form == SourceForm::Vector && shape.Length() != cells)
    ERaise(Fmt("Assign: Source vector does not fit in to the specified range: Src.Length = %d, Len = %lld",
               shape.Length(), cells));
  if (form == SourceForm::Matrix && (shape.rows != rows.count || shape.cols != cols.count))
    ERaise(
        Fmt("Assign: Source matrix does not fit in to the specified Range: Src.Rows = %d, Src.Cols = %d, "
            "Len = %lld",
            shape.rows, shape.cols, cells));
  // A copy: the event may replace the grid's events while it runs.
  const TExprGridSetProc set = grid->OnSetValue();
  const bool scalar = form == SourceForm::Scalar;
  const std::string text = scalar ? ScalarText(*grid, src) : std::string();
  for (int r = 0; r < rows.count; ++r)
    for (int c = 0; c < cols.count; ++c)
      set(*grid, scalar ? text : ElementText(*grid, src, r * cols.count + c), rows.first + r, cols.first + c);
  e.Res = e.Args[0];
}

}  // namespace zel::assign
