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

enum TMatKind : std::uint8_t { kM, kIM, kBM };

constexpr TValueType kMatType[] = {vtMatrixValue, vtIntMatrixValue, vtBoolMatrixValue};

// The texts in which the three destination kinds differ.
struct TTexts {
  const char* colBound;       // row range with column j: j outside the columns
  const char* rowRangeInt;    // row range with column j: not an integer range
  const char* rowRangeStep;   // row range with column j: three entries
  const char* rowBound;       // row i with a column range: i outside the rows
  const char* colRangeInt;    // row i with a column range: not an integer range
  const char* blockRangeInt;  // block: not an integer range
};
constexpr TTexts kTexts[] = {
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

[[noreturn]] void Raise(const std::string& msg) { throw EZelParseError(msg); }

// ---- the source in the destination's terms ---------------------------------------------------------------

enum TShape : std::uint8_t { sScalar, sVector, sMatrix, sOther };

template <TMatKind K>
TShape ShapeOf(TValueType t) {
  switch (t) {
    case vtIntegerValue:
    case vtBoolValue:
      return sScalar;
    case vtDoubleValue:
    case vtComplexValue:
      return K == kM ? sScalar : sOther;
    case vtVectorValue:
      return K == kM ? sVector : sOther;
    case vtRangeValue:
      return K == kBM ? sOther : sVector;
    case vtIntVectorValue:
      return K == kIM ? sVector : sOther;
    case vtBoolVectorValue:
      return K == kBM ? sVector : sOther;
    default:
      return t == kMatType[K] ? sMatrix : sOther;
  }
}

// A scalar, vector or matrix source read for a destination of kind K (ranges are expanded in place);
// complex data into a real matrix is refused.
template <TMatKind K>
struct TSource {
  using TObj = std::conditional_t<K == kM, TNubraVec, TNubraInt>;
  std::conditional_t<K == kM, TRealScalar, std::int32_t> value{};
  const TObj* obj = nullptr;
  int rows = 0;  // a vector counts as 1 x Length
  int cols = 0;

  TSource(TShape shape, TValueRec& src, const TObj& dst) {
    if (shape == sScalar) {
      if constexpr (K == kM) {
        value = ReadRealScalar(src);
        if (value.complex && !dst.Complex()) Raise("Cant assign complex number to real valued matrix!");
      } else {
        value = ReadIntScalar(src, K == kBM);
      }
      return;
    }
    if constexpr (K == kM) {
      obj = shape == sMatrix ? &src.MatrixValue() : &RealVectorSource(src);
      if (obj->Complex() && !dst.Complex()) Raise("Cant assign complex number to real valued matrix!");
    } else if constexpr (K == kIM) {
      obj = shape == sMatrix ? &src.IntMatrixValue() : &IntVectorSource(src, dst.IntPrecision());
    } else {
      obj = shape == sMatrix ? static_cast<const TObj*>(&src.BoolMatrixValue()) : &src.BoolVectorValue();
    }
    rows = 1;
    cols = obj->Length();
    if (shape == sMatrix) {
      if constexpr (K == kM) {
        rows = src.MatrixValue().Rows();
        cols = src.MatrixValue().Cols();
      } else {
        rows = src.IntMatrixField()->Rows();
        cols = src.IntMatrixField()->Cols();
      }
    }
  }
  int Length() const { return obj->Length(); }
};

// The part of the destination written: rows x cols elements from offset, rows rowStride apart.
struct TRegion {
  int offset;
  int rowStride;
  int rows;
  int cols;
};

template <TMatKind K, class Obj>
void Write(Obj& dst, const TRegion& r, const TSource<K>& src) {
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

template <TMatKind K, class Obj>
void WriteElement(const TExprRec& e, Obj& dst, int rows, int cols) {
  TValueRec& src = *e.Args[3];
  const TShape shape = ShapeOf<K>(src.ValueType());
  if (shape != sScalar) RaiseAssign4Types(e);
  const auto i = static_cast<std::int32_t>(e.Args[1]->IntegerValue());
  const auto j = static_cast<std::int32_t>(e.Args[2]->IntegerValue());
  if (i < 0 || i >= rows || j < 0 || j >= cols)
    throw ENubraRangeError(
        Fmt("Matrix element (%d,%d) out of range [0..%d,0..%d]", i, j, rows - 1, cols - 1));
  Write<K>(dst, {i * cols + j, cols, 1, 1}, TSource<K>(shape, src, dst));
}

// Rows of the range in column j.
template <TMatKind K, class Obj>
void WriteColumnPart(const TExprRec& e, Obj& dst, int rows, int cols) {
  const TTexts& t = kTexts[K];
  TValueRec& src = *e.Args[3];
  const auto j = static_cast<std::int32_t>(e.Args[2]->IntegerValue());
  if (j < 0 || j >= cols) Raise(Fmt(t.colBound, j, cols - 1));
  const TIndexRange r = Resolve(*e.Args[1], rows, t.rowRangeInt, t.rowRangeStep, false);
  if (!r.Inside(rows))
    Raise(Fmt("Assign: destination matrix row range exceeded: 0 <= %lld < %d",
              static_cast<long long>(r.Outside(rows)), rows));
  const TShape shape = ShapeOf<K>(src.ValueType());
  if (shape == sOther) Raise(UnsupportedSource(src.ValueType(), "equation"));
  const TSource<K> s(shape, src, dst);
  if (shape == sVector && s.Length() != r.Count)
    Raise(Fmt("Assign: Source matrix does not fit in to the specified range: Src.Length = %d, Len = %d",
              s.Length(), r.Count));
  if (shape == sMatrix && (s.rows != r.Count || s.cols != 1))
    Raise(
        Fmt("Assign: Source matrix does not fit in to the specified range: Src.Rows = %d, Src.Cols = %d, Len "
            "= %d",
            s.rows, s.cols, r.Count));
  Write<K>(dst, {r.Lower * cols + j, cols, r.Count, 1}, s);
}

// Columns of the range in row i.
template <TMatKind K, class Obj>
void WriteRowPart(const TExprRec& e, Obj& dst, int rows, int cols) {
  const TTexts& t = kTexts[K];
  TValueRec& src = *e.Args[3];
  const auto i = static_cast<std::int32_t>(e.Args[1]->IntegerValue());
  if (i < 0 || i >= rows) Raise(Fmt(t.rowBound, i, rows - 1));
  const TIndexRange r =
      Resolve(*e.Args[2], cols, t.colRangeInt, "Assign: matrix range x:y:z not supported", false);
  if (!r.Inside(cols))
    Raise(Fmt("Assign: destination matrix column range exceeded: 0 <= %lld < %d",
              static_cast<long long>(r.Outside(cols)), cols));
  const TShape shape = ShapeOf<K>(src.ValueType());
  if (shape == sOther) Raise(UnsupportedSource(src.ValueType(), "the equation"));
  const TSource<K> s(shape, src, dst);
  if (shape == sVector && s.Length() != r.Count)
    Raise(Fmt("Assign: source matrix does not fit in to the specified range: Src.Length = %d, Len = %d",
              s.Length(), r.Count));
  if (shape == sMatrix && (s.rows != 1 || s.cols != r.Count))
    Raise(
        Fmt("Assign: Source matrix does not fit in to the specified range: Src.Rows = %d, Src.Cols = %d, Len "
            "= %d",
            s.rows, s.cols, r.Count));
  Write<K>(dst, {i * cols + r.Lower, cols, 1, r.Count}, s);
}

template <TMatKind K, class Obj>
void WriteBlock(const TExprRec& e, Obj& dst, int rows, int cols) {
  const TTexts& t = kTexts[K];
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
  const TShape shape = ShapeOf<K>(src.ValueType());
  if (shape == sOther) Raise(UnsupportedSource(src.ValueType(), "the equation"));
  const TSource<K> s(shape, src, dst);
  if (shape == sVector && static_cast<long long>(s.Length()) != static_cast<long long>(rr.Count) * cr.Count)
    Raise(
        Fmt("Source vector does not fit in to the specified range: Src.Length = %d, rowLen = %d, colLen = %d",
            s.Length(), rr.Count, cr.Count));
  if (shape == sMatrix && (s.rows != rr.Count || s.cols != cr.Count))
    Raise(Fmt(
        "Source matrix does not fit in to the specified range: Src.Rows = %d, rowLen = %d, Src.Cols = %d, "
        "colLen = %d",
        s.rows, rr.Count, s.cols, cr.Count));
  Write<K>(dst, {rr.Lower * cols + cr.Lower, cols, rr.Count, cr.Count}, s);
}

// ---- typed routines
// -------------------------------------------------------------------------------------------

// 0 for an integer index, 1 for a range, -1 for anything else.
int IndexForm(const TValueRec& idx) {
  if (idx.ValueType() == vtIntegerValue) return 0;
  return idx.ValueType() == vtRangeValue ? 1 : -1;
}

template <TMatKind K, bool RowRange, bool ColRange>
void Cell(TExprRec& e) {
  TValueRec& dst = *e.Args[0];
  if (dst.ValueType() != kMatType[K] || IndexForm(*e.Args[1]) != RowRange ||
      IndexForm(*e.Args[2]) != ColRange || e.Args[3]->ValueType() == vtUndefined) [[unlikely]] {
    e.Oper = _assign4;
    return _assign4(e);
  }
  int rows = 0;
  int cols = 0;
  auto& obj = [&]() -> auto& {
    if constexpr (K == kM) {
      TZel& m = dst.MatrixValue();
      rows = m.Rows();
      cols = m.Cols();
      return static_cast<TNubraVec&>(m);
    } else {
      TZelInt& m = K == kIM ? dst.IntMatrixValue() : dst.BoolMatrixValue();
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

template <TMatKind K>
constexpr TExprFunc kCells[2][2] = {{Cell<K, false, false>, Cell<K, false, true>},
                                    {Cell<K, true, false>, Cell<K, true, true>}};

}  // namespace

namespace assign {

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
  const int row = IndexForm(*e.Args[1]);
  const int col = IndexForm(*e.Args[2]);
  if (row < 0 || col < 0 || e.Args[3]->ValueType() == vtUndefined) RaiseAssign4Types(e);
  TExprFunc typed = nullptr;
  switch (e.Args[0]->ValueType()) {
    case vtMatrixValue:
      typed = kCells<kM>[row][col];
      break;
    case vtIntMatrixValue:
      typed = kCells<kIM>[row][col];
      break;
    case vtBoolMatrixValue:
      typed = kCells<kBM>[row][col];
      break;
    case vtCustomValue:
      typed = AssignGridCells;
      break;
    default:
      RaiseAssign4Types(e);
  }
  e.Oper = typed;
  typed(e);
}

}  // namespace zel
