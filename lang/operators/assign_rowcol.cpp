// Assignment to a(row, col) (the word "assign" with four arguments): one element, part of a column, part
// of a row or a block of a matrix, an integer matrix or a boolean matrix, or cells of a grid variable
// (lang/operators/assign_grid.cpp). Row and column are integers or two-entry integer ranges whose stop -1
// means the last row or column. Nothing grows: every index is checked against the matrix's shape.
#include "core/scatter.h"
#include "lang/operators/assign.h"
#include "lang/operators/index_range.h"

namespace zel {

namespace {

using namespace assign;
using namespace dispatch;

// The destination kinds are M, IM and BM.
// The texts in which the three destination kinds differ.
struct Texts {
  const char* colBound;       // row range with column j: j outside the columns
  const char* rowRangeInt;    // row range with column j: not an integer range
  const char* rowRangeStep;   // row range with column j: three entries
  const char* rowBound;       // row i with a column range: i outside the rows
  const char* colRangeInt;    // row i with a column range: not an integer range
  const char* blockRangeInt;  // block: not an integer range
};
constexpr Texts kTextsOf[] = {
    {"Matrix column %d out of range [0..%d]", "Matrix range must be an integer range!",
     "assign: matrix range x:y:z not supported", "Assign: Matrix row %d out of range [0..%d]",
     "Assign: Matrix range must be an integer range!", "Assign: matrix range must be an integer range!"},
    {"Assign: matrix column %d out of range [0..%d]", "Assign: matrix range must be an integer range!",
     "Assign: matrix range x:y:z not supported", "Assign: Matrix row %d out of range [0..%d]",
     "Assign: Matrix range must be an integer range!", "Assing: matrix range must be an integer range!"},
    {"Assign: Matrix column %d out of range [0..%d]", "Assign: matrix range must be an integer range!",
     "Assign: matrix range x:y:z not supported", "Matrix row %d out of range [0..%d]",
     "Matrix range must be an integer range!", "Assign: Matrix range must be an integer range!"},
};
constexpr const Texts& TextsOf(Kind k) { return kTextsOf[k == M ? 0 : k == IM ? 1 : 2]; }

[[noreturn]] void Raise(const std::string& msg) { throw EZelParseError(msg); }

// ---- the source in the destination's terms ---------------------------------------------------------------

// The form of a source of kind s for a destination of kind K.
template <Kind K>
SourceForm FormOf(Kind s) {
  switch (s) {
    case I:
    case B:
      return SourceForm::Scalar;
    case D:
    case C:
      return K == M ? SourceForm::Scalar : SourceForm::Other;
    case V:
      return K == M ? SourceForm::Vector : SourceForm::Other;
    case R:
    case Re:
      return K == BM ? SourceForm::Other : SourceForm::Vector;
    case IV:
      return K == IM ? SourceForm::Vector : SourceForm::Other;
    case BV:
      return K == BM ? SourceForm::Vector : SourceForm::Other;
    default:
      return s == K ? SourceForm::Matrix : SourceForm::Other;
  }
}

// A scalar, vector or matrix source read for a destination of kind K (ranges are expanded in place);
// complex data into a real matrix is refused.
template <Kind K>
struct Source {
  using TObj = std::conditional_t<K == M, TNubraVec, TNubraInt>;
  std::conditional_t<K == M, TRealScalar, std::int32_t> value{};
  const TObj* obj = nullptr;
  TShape shape;  // of a vector or matrix source

  Source(SourceForm form, TValueRec& src, const TObj& dst) {
    if (form == SourceForm::Scalar) {
      if constexpr (K == M) {
        value = ReadRealScalar(src);
        if (value.complex && !dst.Complex()) Raise("Cant assign complex number to real valued matrix!");
      } else {
        value = ReadIntScalar(src, K == BM);
      }
      return;
    }
    const bool matrix = form == SourceForm::Matrix;
    if constexpr (K == M) {
      obj = matrix ? &src.MatrixValue() : &RealVectorSource(src);
      if (obj->Complex() && !dst.Complex()) Raise("Cant assign complex number to real valued matrix!");
    } else if constexpr (K == IM) {
      obj = matrix ? &src.IntMatrixValue() : &IntVectorSource(src, dst.IntPrecision());
    } else {
      obj = matrix ? static_cast<const TObj*>(&src.BoolMatrixValue()) : &src.BoolVectorValue();
    }
    shape = {1, obj->Length(), false};  // a vector is one row
    if (matrix) {
      if constexpr (K == M) {
        shape = {src.MatrixValue().Rows(), src.MatrixValue().Cols(), true};
      } else {
        shape = {src.IntMatrixField()->Rows(), src.IntMatrixField()->Cols(), true};
      }
    }
  }
  int Length() const { return obj->Length(); }
};

// The part of the destination written: rows x cols elements from offset, rows rowStride apart.
struct Region {
  int offset;
  int rowStride;
  int rows;
  int cols;
};

template <Kind K, class Obj>
void Write(Obj& dst, const Region& r, const Source<K>& src) {
  if (src.obj) return ScatterBlock(dst, r.offset, r.rowStride, r.rows, r.cols, *src.obj);
  WithValue(src.value, [&](auto v) { FillBlock(dst, r.offset, r.rowStride, r.rows, r.cols, v); });
}

// ---- indices
// ------------------------------------------------------------------------------------------------

int Entries(const TValueRec& range) {
  if (!range.ExtRange()) return static_cast<int>(range.Range().size());
  return range.ExtRangeValue() ? range.ExtRangeValue()->Length() : 0;
}

// A checked two-entry integer range resolved against n rows or columns.
TIndexRange Resolve(const TValueRec& range, int n, const char* intText, const char* stepText,
                    bool stepFirst) {
  if (stepFirst && Entries(range) != 2) Raise(stepText);
  if (range.ExtRange()) Raise(intText);
  if (Entries(range) != 2) Raise(stepText);
  return ResolveRange(range.Range().data(), 2, n);
}

std::string UnsupportedSource(TValueType t, const char* equation) {
  return Fmt("Assign: The \"%s\"  type on the right side of %s is not supported.", ValTypeName(t), equation);
}

// ---- the four index forms
// ------------------------------------------------------------------------------------

template <Kind K, class Obj>
void WriteElement(const TExprRec& e, Obj& dst, int rows, int cols) {
  TValueRec& src = *e.Args[3];
  const SourceForm form = FormOf<K>(KindOf(src));
  if (form != SourceForm::Scalar) RaiseAssign4Types(e);
  const auto i = static_cast<std::int32_t>(e.Args[1]->IntegerValue());
  const auto j = static_cast<std::int32_t>(e.Args[2]->IntegerValue());
  if (i < 0 || i >= rows || j < 0 || j >= cols)
    throw ENubraRangeError(
        Fmt("Matrix element (%d,%d) out of range [0..%d,0..%d]", i, j, rows - 1, cols - 1));
  Write<K>(dst, {i * cols + j, cols, 1, 1}, Source<K>(form, src, dst));
}

// Rows of the range in column j.
template <Kind K, class Obj>
void WriteColumnPart(const TExprRec& e, Obj& dst, int rows, int cols) {
  const Texts& t = TextsOf(K);
  TValueRec& src = *e.Args[3];
  const auto j = static_cast<std::int32_t>(e.Args[2]->IntegerValue());
  if (j < 0 || j >= cols) Raise(Fmt(t.colBound, j, cols - 1));
  const TIndexRange r = Resolve(*e.Args[1], rows, t.rowRangeInt, t.rowRangeStep, false);
  if (!r.Inside(rows))
    Raise(Fmt("Assign: destination matrix row range exceeded: 0 <= %lld < %d",
              static_cast<long long>(r.Outside(rows)), rows));
  const SourceForm form = FormOf<K>(KindOf(src));
  if (form == SourceForm::Other) Raise(UnsupportedSource(src.ValueType(), "equation"));
  const Source<K> s(form, src, dst);
  if (form == SourceForm::Vector && s.Length() != r.Count)
    Raise(Fmt("Assign: Source matrix does not fit in to the specified range: Src.Length = %d, Len = %d",
              s.Length(), r.Count));
  if (form == SourceForm::Matrix && (s.shape.rows != r.Count || s.shape.cols != 1))
    Raise(
        Fmt("Assign: Source matrix does not fit in to the specified range: Src.Rows = %d, Src.Cols = %d, Len "
            "= %d",
            s.shape.rows, s.shape.cols, r.Count));
  Write<K>(dst, {r.Lower * cols + j, cols, r.Count, 1}, s);
}

// Columns of the range in row i.
template <Kind K, class Obj>
void WriteRowPart(const TExprRec& e, Obj& dst, int rows, int cols) {
  const Texts& t = TextsOf(K);
  TValueRec& src = *e.Args[3];
  const auto i = static_cast<std::int32_t>(e.Args[1]->IntegerValue());
  if (i < 0 || i >= rows) Raise(Fmt(t.rowBound, i, rows - 1));
  const TIndexRange r =
      Resolve(*e.Args[2], cols, t.colRangeInt, "Assign: matrix range x:y:z not supported", false);
  if (!r.Inside(cols))
    Raise(Fmt("Assign: destination matrix column range exceeded: 0 <= %lld < %d",
              static_cast<long long>(r.Outside(cols)), cols));
  const SourceForm form = FormOf<K>(KindOf(src));
  if (form == SourceForm::Other) Raise(UnsupportedSource(src.ValueType(), "the equation"));
  const Source<K> s(form, src, dst);
  if (form == SourceForm::Vector && s.Length() != r.Count)
    Raise(Fmt("Assign: source matrix does not fit in to the specified range: Src.Length = %d, Len = %d",
              s.Length(), r.Count));
  if (form == SourceForm::Matrix && (s.shape.rows != 1 || s.shape.cols != r.Count))
    Raise(
        Fmt("Assign: Source matrix does not fit in to the specified range: Src.Rows = %d, Src.Cols = %d, Len "
            "= %d",
            s.shape.rows, s.shape.cols, r.Count));
  Write<K>(dst, {i * cols + r.Lower, cols, 1, r.Count}, s);
}

template <Kind K, class Obj>
void WriteBlock(const TExprRec& e, Obj& dst, int rows, int cols) {
  const Texts& t = TextsOf(K);
  TValueRec& src = *e.Args[3];
  constexpr const char* kStep = "Assign: matrix ranges with x:y:z are not supported!";
  const TIndexRange rr = Resolve(*e.Args[1], rows, t.blockRangeInt, kStep, true);
  const TIndexRange cr = Resolve(*e.Args[2], cols, t.blockRangeInt, kStep, true);
  if (!rr.Inside(rows))
    Raise(Fmt("Assign: matrix row %lld out of range [0..%d]", static_cast<long long>(rr.Outside(rows)),
              rows - 1));
  if (!cr.Inside(cols))
    Raise(Fmt("Assign: matrix column %lld out of range [0..%d]", static_cast<long long>(cr.Outside(cols)),
              cols - 1));
  const SourceForm form = FormOf<K>(KindOf(src));
  if (form == SourceForm::Other) Raise(UnsupportedSource(src.ValueType(), "the equation"));
  const Source<K> s(form, src, dst);
  if (form == SourceForm::Vector &&
      static_cast<long long>(s.Length()) != static_cast<long long>(rr.Count) * cr.Count)
    Raise(
        Fmt("Source vector does not fit in to the specified range: Src.Length = %d, rowLen = %d, colLen = %d",
            s.Length(), rr.Count, cr.Count));
  if (form == SourceForm::Matrix && (s.shape.rows != rr.Count || s.shape.cols != cr.Count))
    Raise(Fmt(
        "Source matrix does not fit in to the specified range: Src.Rows = %d, rowLen = %d, Src.Cols = %d, "
        "colLen = %d",
        s.shape.rows, rr.Count, s.shape.cols, cr.Count));
  Write<K>(dst, {rr.Lower * cols + cr.Lower, cols, rr.Count, cr.Count}, s);
}

// ---- typed routines and tables -------------------------------------------------------------------------

// The form of a row or column index: 0 an integer, 1 a range (either form), -1 anything else; the rows and
// columns of the tables below.
int AxisForm(const TValueRec& index) {
  if (index.ValueType() == vtIntegerValue) return 0;
  return index.ValueType() == vtRangeValue ? 1 : -1;
}

// The routine of one destination kind with an integer or a range as row and column. When the kinds
// under the compiled node changed (a variable defined anew), its table cell is another: the generic
// routine dispatches afresh.
template <Kind K, bool RowRange, bool ColRange>
void Typed(TExprRec& e) {
  if (!IsKind(*e.Args[0], K) || AxisForm(*e.Args[1]) != RowRange || AxisForm(*e.Args[2]) != ColRange ||
      e.Args[3]->ValueType() == vtUndefined) [[unlikely]] {
    e.Oper = _assign4;
    return _assign4(e);
  }
  TValueRec& dst = *e.Args[0];
  int rows = 0;
  int cols = 0;
  auto& obj = [&]() -> auto& {
    if constexpr (K == M) {
      TZel& m = dst.MatrixValue();
      rows = m.Rows();
      cols = m.Cols();
      return static_cast<TNubraVec&>(m);
    } else {
      TZelInt& m = K == IM ? dst.IntMatrixValue() : dst.BoolMatrixValue();
      rows = m.Rows();
      cols = m.Cols();
      return static_cast<TNubraInt&>(m);
    }
  }
  ();
  if constexpr (!RowRange && !ColRange) WriteElement<K>(e, obj, rows, cols);
  if constexpr (RowRange && !ColRange) WriteColumnPart<K>(e, obj, rows, cols);
  if constexpr (!RowRange && ColRange) WriteRowPart<K>(e, obj, rows, cols);
  if constexpr (RowRange && ColRange) WriteBlock<K>(e, obj, rows, cols);
  DefineResultOn(*e.Res, dst);
}

// Row kind x column kind of destination kind K: an element, part of a column, part of a row, a block.
template <Kind K>
constexpr BinaryCells kMatrixCells = [] {
  BinaryCells t{};
  Set(t, {I}, {I}, None, Typed<K, false, false>);
  Set(t, Ranges, {I}, None, Typed<K, true, false>);
  Set(t, {I}, Ranges, None, Typed<K, false, true>);
  Set(t, Ranges, Ranges, None, Typed<K, true, true>);
  return t;
}();

// A grid variable takes the same rows and columns, cell by cell.
constexpr BinaryCells kGrid = [] {
  BinaryCells t{};
  Set(t, {I, R, Re}, {I, R, Re}, None, AssignGridCells);
  return t;
}();

}  // namespace

namespace assign {

TExprFunc Assign4Routine(const TExprRec& e) {
  const BinaryCells* cells = nullptr;
  switch (KindOf(*e.Args[0])) {
    case M:
      cells = &kMatrixCells<M>;
      break;
    case IM:
      cells = &kMatrixCells<IM>;
      break;
    case BM:
      cells = &kMatrixCells<BM>;
      break;
    case X:
      cells = &kGrid;
      break;
    default:
      return nullptr;
  }
  return cells->cells[KindOf(*e.Args[1])][KindOf(*e.Args[2])].routine;
}

void RaiseAssign4Types(const TExprRec& e) {
  const TValueType t[4] = {e.Args[0]->ValueType(), e.Args[1]->ValueType(), e.Args[2]->ValueType(),
                           e.Args[3]->ValueType()};
  for (TValueType x : t)
    if (x == vtUndefined) Raise(UnknownExprWord);
  Raise(Fmt("Unsupported value type combination: %s ( %s, %s ) = %s)", ValTypeName(t[0]), ValTypeName(t[1]),
            ValTypeName(t[2]), ValTypeName(t[3])));
}

}  // namespace assign

void _assign4(TExprRec& e) {
  if (e.Args.size() < 4 || !e.Args[0] || !e.Args[1] || !e.Args[2] || !e.Args[3])
    Raise("assign: four arguments expected!");
  const TExprFunc typed = Assign4Routine(e);
  if (!typed || e.Args[3]->ValueType() == vtUndefined) RaiseAssign4Types(e);
  e.Oper = typed;
  typed(e);
}

}  // namespace zel
