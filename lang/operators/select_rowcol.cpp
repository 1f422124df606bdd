// Selection with a row and a column, a(row, col), on real, integer and boolean matrices: one element, part
// of a row or of a column (ranges with steps), or a block of rows and columns; grid variables are read
// in lang/operators/select_grid.cpp.
#include <cstdint>
#include <type_traits>

#include "core/gather.h"
#include "lang/operators/select.h"

namespace zel {

namespace {

using namespace dispatch;
using namespace select;

constexpr const char* kIntRangeText = "Matrix range parameter must be an integer range!";

// Messages that differ between real matrices and integer or boolean matrices.
struct MatrixTexts {
  const char* rowIndex;      // the row of a row read, with the row and the row count
  const char* colRangeStop;  // the stop of a three-entry column range, with the stop and the column count
};
constexpr MatrixTexts kRealTexts{"Row index exceeds source Rows: 0 <= %d < %d",
                                 "Range[2] index exceeds source Cols: 0 <= %d < %d"};
constexpr MatrixTexts kIntTexts{"Row index exceeds row count 0 <= %d < %d",
                                "Range[2] exceeds source Cols: 0 <= %d < %d"};

// ---- the matrix kinds -----------------------------------------------------------------------------

template <class M>
M& MatrixOf(TValueRec& v);
template <>
TZel& MatrixOf<TZel>(TValueRec& v) {
  return v.MatrixValue();
}
template <>
TZelInt& MatrixOf<TZelInt>(TValueRec& v) {
  return v.ValueType() == vtBoolMatrixValue ? v.BoolMatrixValue() : v.IntMatrixValue();
}

template <class M>
const MatrixTexts& TextsOf() {
  if constexpr (std::is_same_v<M, TZel>) {
    return kRealTexts;
  } else {
    return kIntTexts;
  }
}

void SizeLike(TZel& dst, const TZel& src, int rows, int cols) { dst.Size(rows, cols, src.Complex()); }
void SizeLike(TZelInt& dst, const TZelInt& src, int rows, int cols) {
  dst.Size(rows, cols, src.IntPrecision());
}

void StoreElement(TValueRec& res, const TZel& m, int k) {
  if (m.Complex()) {
    EnsureType(res, vtComplexValue);
    res.SetComplexValue(m.CValues(k));
  } else {
    EnsureType(res, vtDoubleValue);
    res.SetDoubleValue(m.Values(k));
  }
}
void StoreElement(TValueRec& res, const TZelInt& m, int k) {
  if (res.ValueType() == vtBoolValue) {
    res.SetBoolValue(m.Get(k) != 0);
  } else {
    res.SetIntegerValue(m.Get(k));
  }
}

// ---- range checks ---------------------------------------------------------------------------------

// The entries of an integer range index; extended ranges and other entry counts are refused.
int IntRangeBounds(const TValueRec& index, std::int32_t (&bounds)[3]) {
  if (!IsIntegerRange(index)) throw EZelParseError(kIntRangeText);
  const int entries = RangeBounds(index, bounds);
  if (entries != 2 && entries != 3) throw EZelParseError("Invalid range parameter length!");
  return entries;
}

// A range along an axis of n elements ("Rows" or "Cols"): its start must lie inside, then its resolved
// stop (stop3Text names a three-entry stop). Both ends inside means every taken index is inside.
TIndexRange AxisRange(const std::int32_t (&b)[3], int entries, int n, const char* axis,
                      const char* stop3Text) {
  if (b[0] < 0 || b[0] >= n)
    throw EZelParseError(Fmt("Range[0] exceeds source %s: 0 <= %d < %d", axis, b[0], n));
  const std::int32_t stop = b[entries - 1] == RangeEndOfArray ? n - 1 : b[entries - 1];
  if (stop < 0 || stop >= n) {
    if (entries == 2) throw EZelParseError(Fmt("Range[1] exceeds source %s: 0 <= %d < %d", axis, stop, n));
    throw EZelParseError(Fmt(stop3Text, stop, n));
  }
  return ResolveRange(b, entries, n);
}

// A two-entry range of a block read.
TIndexRange BlockRange(const TValueRec& index, int n, const char* axis) {
  std::int32_t b[3];
  const int entries = IntRangeBounds(index, b);
  if (entries == 3) throw EZelParseError("colon: range x:y:z not supported on matrices");
  return AxisRange(b, entries, n, axis, "");
}

// The first index read and the distance between reads, `scale` elements per step.
int FirstOf(const TIndexRange& r) { return r.Reversed ? static_cast<int>(r.Upper()) : r.Lower; }
int IncrOf(const TIndexRange& r, int scale) {
  if (r.Count <= 1) return 0;  // a single read: the step may be larger than the axis
  return (r.Reversed ? -r.Step : r.Step) * scale;
}

// ---- typed routines -------------------------------------------------------------------------------

template <class M>
void Element(TExprRec& expr) {
  const M& m = MatrixOf<M>(*expr.Args[0]);
  const int i = IndexOf(*expr.Args[1]);
  const int j = IndexOf(*expr.Args[2]);
  if (i < 0 || i >= m.Rows() || j < 0 || j >= m.Cols())
    throw ENubraRangeError(
        Fmt("Matrix element (%d,%d) out of range [0..%d,0..%d]", i, j, m.Rows() - 1, m.Cols() - 1));
  StoreElement(*expr.Res, m, i * m.Cols() + j);
}

// Row i, a column range: a 1 x count matrix.
template <class M>
void RowPart(TExprRec& expr) {
  const M& m = MatrixOf<M>(*expr.Args[0]);
  const int i = IndexOf(*expr.Args[1]);
  if (i < 0 || i >= m.Rows()) throw EZelParseError(Fmt(TextsOf<M>().rowIndex, i, m.Rows()));
  std::int32_t b[3];
  const int entries = IntRangeBounds(*expr.Args[2], b);
  const TIndexRange c = AxisRange(b, entries, m.Cols(), "Cols", TextsOf<M>().colRangeStop);
  M& dst = MatrixOf<M>(*expr.Res);
  SizeLike(dst, m, 1, c.Count);
  GatherByIncr(dst, 0, m, i * m.Cols() + FirstOf(c), IncrOf(c, 1), c.Count);
}

// A row range, column j: a count x 1 matrix.
template <class M>
void ColumnPart(TExprRec& expr) {
  const M& m = MatrixOf<M>(*expr.Args[0]);
  const int j = IndexOf(*expr.Args[2]);
  if (j < 0 || j >= m.Cols())
    throw EZelParseError(Fmt("Column index exceeds source Cols: 0 <= %d < %d", j, m.Cols()));
  std::int32_t b[3];
  const int entries = IntRangeBounds(*expr.Args[1], b);
  const TIndexRange r = AxisRange(b, entries, m.Rows(), "Rows", "Range[2] exceeds source Rows: 0 <= %d < %d");
  M& dst = MatrixOf<M>(*expr.Res);
  SizeLike(dst, m, r.Count, 1);
  GatherByIncr(dst, 0, m, FirstOf(r) * m.Cols() + j, IncrOf(r, m.Cols()), r.Count);
}

// Two contiguous ranges: a copy of the block.
template <class M>
void Block(TExprRec& expr) {
  const M& m = MatrixOf<M>(*expr.Args[0]);
  const TIndexRange r = BlockRange(*expr.Args[1], m.Rows(), "Rows");
  const TIndexRange c = BlockRange(*expr.Args[2], m.Cols(), "Cols");
  M& dst = MatrixOf<M>(*expr.Res);
  SizeLike(dst, m, r.Count, c.Count);
  if (r.Count > 0 && c.Count > 0) dst.Copy(m, r.Lower, c.Lower, 0, 0, r.Count, c.Count);
}

// ---- dispatch -------------------------------------------------------------------------------------

// Row kind x column kind of one matrix kind: two integers read an element, an integer and a range part
// of a row or column, two ranges a block.
template <class Mat>
constexpr BinaryCells MatrixCells(Kind element, Kind block) {
  BinaryCells t{};
  Set(t, {I}, {I}, element, Element<Mat>);
  Set(t, {I}, Ranges, block, RowPart<Mat>);
  Set(t, Ranges, {I}, block, ColumnPart<Mat>);
  Set(t, Ranges, Ranges, block, Block<Mat>);
  return t;
}

constexpr BinaryCells kRealMatrix = MatrixCells<TZel>(D, M);
constexpr BinaryCells kIntMatrix = MatrixCells<TZelInt>(I, IM);
constexpr BinaryCells kBoolMatrix = MatrixCells<TZelInt>(B, BM);

// A grid variable: one cell as a double, a block as a real matrix.
constexpr BinaryCells kGrid = [] {
  BinaryCells t{};
  Set(t, {I}, {I}, D, GridSelect2Cell);
  Set(t, {I}, Ranges, M, GridSelect2Block);
  Set(t, Ranges, {I, R, Re}, M, GridSelect2Block);
  return t;
}();

// The cells of a source kind; null for a source that has none.
const BinaryCells* SourceCells(Kind source) {
  switch (source) {
    case M:
      return &kRealMatrix;
    case IM:
      return &kIntMatrix;
    case BM:
      return &kBoolMatrix;
    case X:
      return &kGrid;
    default:
      return nullptr;
  }
}

}  // namespace

void _Select2(TExprRec& expr) {
  if (expr.Args.size() < 3 || !expr.Args[0] || !expr.Args[1] || !expr.Args[2])
    throw EZelParseError(UnknownExprWord);
  const BinaryCells* cells = SourceCells(SelectKindOf(*expr.Args[0]));
  const Cell* cell =
      cells ? &cells->cells[SelectKindOf(*expr.Args[1])][SelectKindOf(*expr.Args[2])] : nullptr;
  if (!cell || !cell->routine) RaiseSelectTypes(expr, 3);
  Run(expr, *cell);
}

}  // namespace zel
