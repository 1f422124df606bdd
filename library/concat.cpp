// Concatenation: colconcat joins its arguments into one row (the comma inside brackets), rowconcat stacks
// them as rows (the semicolon). Each comes in two variants chosen when the symbol table is built: "real"
// makes integer data real (double) results, "int" keeps integer results when every argument holds integer
// data. Both functions first classify their arguments (result kind, complexity, integer precision) and
// check them, raising before the result is touched; then they size the result once and copy every
// argument into its place through the core's converting block copies. With sizes unchanged between
// evaluations the result keeps its storage, so a re-evaluation allocates nothing.
//
// Range arguments are expanded in place first: an integer range into an integer vector, an extended
// range into a real vector.
#include <cstdint>
#include <span>
#include <string>

#include "core/elemmath.h"
#include "core/text.h"
#include "lang/operators/operators.h"
#include "lang/words/registration.h"
#include "library/families.h"

namespace zel {

namespace {

enum class Kind : std::uint8_t { String, Vector, IntVector, Matrix, IntMatrix };

TIntPrecision Wider(TIntPrecision a, TIntPrecision b) {
  return IntPrecisionBytes(a) >= IntPrecisionBytes(b) ? a : b;
}

void ExpandRange(TValueRec& a) {
  if (a.ValueType() != vtRangeValue) return;
  if (a.ExtRange()) {
    a.getVectorValue();
  } else {
    a.GetIntVectorValue();
  }
}

// Gives the result type t; a result of another type (arguments changed type since the last evaluation)
// is dropped first.
void DefineResult(TValueRec& res, TValueType t) {
  if (res.ValueType() != t) res.Undefine();
  DefineResultType(res, t);
}

bool IsScalar(TValueType t) { return t == vtDoubleValue || t == vtComplexValue || t == vtIntegerValue; }

// The rows and columns an argument occupies: scalars 1 x 1, vectors one row, matrices their shape.
struct Extent {
  int rows = 1;
  int cols = 1;
  int Count() const { return rows * cols; }
};

Extent ExtentOf(TValueRec& a) {
  switch (a.ValueType()) {
    case vtVectorValue:
      return {1, a.VectorValue().Length()};
    case vtMatrixValue:
      return {a.MatrixValue().Rows(), a.MatrixValue().Cols()};
    case vtIntVectorValue:
      return {1, a.IntVectorValue().Length()};
    case vtIntMatrixValue:
      return {a.IntMatrixValue().Rows(), a.IntMatrixValue().Cols()};
    default:
      return {};
  }
}

// Sums element counts (or row counts), refusing totals past the largest object size.
void AddCount(int& total, int n) {
  if (n > INT32_MAX - total) ERaise("Concatenation: the result has too many elements");
  total += n;
}

// Writes a real scalar into element `at` of a real or complex destination.
void PutReal(TNubraVec& dst, int at, double x) {
  if (dst.Complex()) {
    dst.CValues(at) = TCplx(x, 0.0);
  } else {
    dst.Values(at) = x;
  }
}

// Copies a scalar, vector or matrix argument as `rows` rows starting at flat element `offset` of a real
// (or complex) destination whose rows are `stride` elements long.
void Place(TValueRec& a, TNubraVec& dst, int rows, int offset, int stride) {
  switch (a.ValueType()) {
    case vtDoubleValue:
      PutReal(dst, offset, a.DoubleValue());
      break;
    case vtIntegerValue:
      PutReal(dst, offset, static_cast<double>(a.IntegerValue()));
      break;
    case vtComplexValue:
      dst.CValues(offset) = a.ComplexValue();
      break;
    case vtVectorValue:
      CopyBlockInto(a.VectorValue(), rows, dst, offset, stride);
      break;
    case vtMatrixValue:
      CopyBlockInto(a.MatrixValue(), rows, dst, offset, stride);
      break;
    case vtIntVectorValue:
      CopyBlockInto(a.IntVectorValue(), rows, dst, offset, stride);
      break;
    default:
      CopyBlockInto(a.IntMatrixValue(), rows, dst, offset, stride);
      break;
  }
}

// The same for an integer destination (integer scalars, vectors and matrices only).
void Place(TValueRec& a, TNubraInt& dst, int rows, int offset, int stride) {
  switch (a.ValueType()) {
    case vtIntegerValue:
      dst.Set(offset, static_cast<std::int32_t>(a.IntegerValue()));
      break;
    case vtIntVectorValue:
      CopyBlockInto(a.IntVectorValue(), rows, dst, offset, stride);
      break;
    default:
      CopyBlockInto(a.IntMatrixValue(), rows, dst, offset, stride);
      break;
  }
}

// Copies the arguments in order into dst: side by side as column blocks of a matrix `stride` columns
// wide, or else each right after the previous one's last element (rows of `stride` elements).
template <class Dst>
void PlaceAll(TExprRec& e, Dst& dst, bool sideBySide, int stride) {
  int at = 0;
  for (int i = 0; i < e.ArgCount; ++i) {
    const Extent x = ExtentOf(*e.Args[i]);
    Place(*e.Args[i], dst, x.rows, at, stride);
    at += sideBySide ? x.cols : x.Count();
  }
}

// The integer precision of an integer argument (an integer scalar counts as 32-bit).
TIntPrecision PrecisionOf(TValueRec& a) {
  switch (a.ValueType()) {
    case vtIntVectorValue:
      return a.IntVectorValue().IntPrecision();
    case vtIntMatrixValue:
      return a.IntMatrixValue().IntPrecision();
    default:
      return prInt32;
  }
}

// ---- column concatenation ----------------------------------------------------------------------------

struct ColumnPlan {
  Kind kind;
  bool complex = false;
  bool matrixMode = false;  // some argument is a matrix with more than one row
};

ColumnPlan ClassifyColumns(TExprRec& e, bool alwaysReal) {
  ColumnPlan p{alwaysReal ? Kind::Vector : Kind::IntVector};
  for (int i = 0; i < e.ArgCount; ++i) {
    TValueRec& a = *e.Args[i];
    ExpandRange(a);
    switch (a.ValueType()) {
      case vtString:
        p.kind = Kind::String;
        return p;  // later arguments are not classified
      case vtComplexValue:
        p.complex = true;
        [[fallthrough]];
      case vtDoubleValue:
        if (p.kind == Kind::IntVector) p.kind = Kind::Vector;
        break;
      case vtVectorValue:
        if (p.kind != Kind::Matrix) p.kind = Kind::Vector;
        p.complex = p.complex || a.VectorValue().Complex();
        break;
      case vtIntegerValue:
      case vtIntVectorValue:
        break;
      case vtIntMatrixValue:
        if (a.IntMatrixValue().Rows() > 1) {
          p.matrixMode = true;
          p.kind =
              p.kind == Kind::Vector || p.kind == Kind::Matrix || alwaysReal ? Kind::Matrix : Kind::IntMatrix;
        }
        break;
      case vtMatrixValue: {
        const TZel& m = a.MatrixValue();
        if (m.Rows() > 1) {
          p.matrixMode = true;
          p.kind = Kind::Matrix;
        } else if (p.kind == Kind::IntVector) {
          p.kind = Kind::Vector;  // a one-row real matrix brings real data into the row
        }
        p.complex = p.complex || m.Complex();
        break;
      }
      default:
        ERaise(std::string("Unsupported type for column concatenation: ") + ValTypeName(a.ValueType()));
    }
  }
  return p;
}

// Appends the text of every argument.
void JoinStrings(TExprRec& e) {
  std::string s;
  for (int i = 0; i < e.ArgCount; ++i) {
    const TValueRec& a = *e.Args[i];
    switch (a.ValueType()) {
      case vtString:
        s += a.StringValue();
        break;
      case vtDoubleValue:
        s += SampleToStr(a.DoubleValue());
        break;
      case vtComplexValue:
        s += CplxToStr(a.ComplexValue(), 0, 15);
        break;
      case vtIntegerValue:
        s += std::to_string(a.IntegerValue());
        break;
      case vtBoolValue:
        s += a.BoolValue() ? "1" : "0";
        break;
      default:
        ERaise("Concentation of strings supported in combination of integer, double and boolean values!");
    }
  }
  DefineResult(*e.Res, vtString);
  e.Res->SetStringValue(s);
}

// One row of all elements: a real or complex vector, or an integer vector of the widest precision.
void JoinElements(TExprRec& e, const ColumnPlan& p) {
  const bool integer = p.kind == Kind::IntVector;
  int total = 0;
  TIntPrecision precision = prUInt8;
  for (int i = 0; i < e.ArgCount; ++i) {
    TValueRec& a = *e.Args[i];
    const TValueType t = a.ValueType();
    if (integer && t != vtIntegerValue && t != vtIntVectorValue && t != vtIntMatrixValue)
      ERaise("Concatenation of values is supported for strings, integer and real/complex vectors.");
    if (integer) precision = Wider(precision, PrecisionOf(a));
    AddCount(total, ExtentOf(a).Count());
  }
  if (integer) {
    DefineResult(*e.Res, vtIntVectorValue);
    e.Res->IntVectorValue().Size(total, precision);
    PlaceAll(e, e.Res->IntVectorValue(), false, total);
  } else {
    DefineResult(*e.Res, vtVectorValue);
    e.Res->VectorValue().Size(total, p.complex);
    PlaceAll(e, e.Res->VectorValue(), false, total);
  }
}

// Matrices side by side: all must be (integer) matrices with the first argument's row count.
void JoinMatrices(TExprRec& e, const ColumnPlan& p) {
  const bool integer = p.kind == Kind::IntMatrix;
  if (!integer && p.kind != Kind::Matrix)
    ERaise("Concatenation of matrices is supported for integer and real matrices.");
  for (int i = 0; i < e.ArgCount; ++i) {
    const TValueType t = e.Args[i]->ValueType();
    if (integer && t != vtIntMatrixValue)
      ERaise(
          "Concatenation of matrices in a row requires all items to be integer matrices with equal row "
          "count.");
    if (!integer && t != vtIntMatrixValue && t != vtMatrixValue)
      ERaise("Concatenation of matrices in a row requires all items to be a matrices with equal row count.");
  }
  const int rows = ExtentOf(*e.Args[0]).rows;
  int cols = 0;
  TIntPrecision precision = prUInt8;
  for (int i = 0; i < e.ArgCount; ++i) {
    TValueRec& a = *e.Args[i];
    const Extent x = ExtentOf(a);
    if (x.rows != rows)
      ERaise("Concatenation of matrices in a row requires all items to be a matrix with equal row count.");
    if (integer) precision = Wider(precision, PrecisionOf(a));
    AddCount(cols, x.cols);
  }
  if (integer) {
    DefineResult(*e.Res, vtIntMatrixValue);
    e.Res->IntMatrixValue().Size(rows, cols, precision);
    PlaceAll(e, e.Res->IntMatrixValue(), true, cols);
  } else {
    DefineResult(*e.Res, vtMatrixValue);
    e.Res->MatrixValue().Size(rows, cols, p.complex);
    PlaceAll(e, e.Res->MatrixValue(), true, cols);
  }
}

void ColConcat(TExprRec& e, bool alwaysReal) {
  const ColumnPlan p = ClassifyColumns(e, alwaysReal);
  if (p.matrixMode) {
    JoinMatrices(e, p);
  } else if (p.kind == Kind::String) {
    JoinStrings(e);
  } else {
    JoinElements(e, p);
  }
}

// ---- row concatenation -------------------------------------------------------------------------------

const char* ColumnCountLabel(TValueType t) {
  switch (t) {
    case vtDoubleValue:
      return "Column count for (double value) parameter ";
    case vtComplexValue:
      return "Column count for (complex value) parameter ";
    case vtIntegerValue:
      return "Column count for (integer value) parameter ";
    case vtVectorValue:
      return "Column count for (vector) paramter ";
    case vtIntVectorValue:
      return "Column count for (integer vector) parameter ";
    case vtMatrixValue:
      return "Column count for (matrix) parameter ";
    default:
      return "Column count for (integer matrix) parameter ";
  }
}

struct RowPlan {
  Kind kind;
  bool complex = false;
  TIntPrecision precision = prUInt8;
  int cols = -1;  // fixed by the first vector or matrix argument
};

RowPlan ClassifyRows(TExprRec& e, bool alwaysReal) {
  RowPlan p{alwaysReal ? Kind::Matrix : Kind::IntMatrix};
  for (int i = 0; i < e.ArgCount; ++i) {
    TValueRec& a = *e.Args[i];
    ExpandRange(a);
    const TValueType t = a.ValueType();
    switch (t) {
      case vtComplexValue:
        p.complex = true;
        [[fallthrough]];
      case vtDoubleValue:
        p.kind = Kind::Matrix;
        break;
      case vtVectorValue:
        p.kind = Kind::Matrix;
        p.complex = p.complex || a.VectorValue().Complex();
        break;
      case vtMatrixValue:
        p.kind = Kind::Matrix;
        p.complex = p.complex || a.MatrixValue().Complex();
        break;
      case vtIntegerValue:
      case vtIntVectorValue:
      case vtIntMatrixValue:
        p.precision = Wider(p.precision, PrecisionOf(a));
        break;
      default:
        ERaise(std::string("Unsupported type for row concatenation: ") + ValTypeName(t));
    }
    if (p.cols < 0 && !IsScalar(t)) p.cols = ExtentOf(a).cols;
  }
  if (p.cols < 0) p.cols = e.ArgCount > 0 ? 1 : 0;
  return p;
}

void RowConcat(TExprRec& e, bool alwaysReal) {
  const RowPlan p = ClassifyRows(e, alwaysReal);
  int rows = 0;
  for (int i = 0; i < e.ArgCount; ++i) {
    const Extent x = ExtentOf(*e.Args[i]);
    if (x.cols != p.cols)
      ERaise(ColumnCountLabel(e.Args[i]->ValueType()) + std::to_string(i) +
             " does not match other parameters specified for row concatenation!");
    AddCount(rows, x.rows);
  }
  if (p.kind == Kind::IntMatrix) {
    DefineResult(*e.Res, vtIntMatrixValue);
    e.Res->IntMatrixValue().Size(rows, p.cols, p.precision);
    PlaceAll(e, e.Res->IntMatrixValue(), false, p.cols);
  } else {
    DefineResult(*e.Res, vtMatrixValue);
    e.Res->MatrixValue().Size(rows, p.cols, p.complex);
    PlaceAll(e, e.Res->MatrixValue(), false, p.cols);
  }
}

// ---- registration --------------------------------------------------------------------------------------

// The routines of both variants of each function.
void _ColConcatReal(TExprRec& expr) { ColConcat(expr, true); }
void _ColConcatInt(TExprRec& expr) { ColConcat(expr, false); }
void _RowConcatReal(TExprRec& expr) { RowConcat(expr, true); }
void _RowConcatInt(TExprRec& expr) { RowConcat(expr, false); }

constexpr const char* kColConcatHelp =
    "colconcat(src1, src2, ...): concatenate all parameters in to one vector row or matrix provided that "
    "sizes are matching";
constexpr const char* kRowConcatHelp =
    "rowconcat(src1, src2, ...): concatenate all parameters in to one vector column or matrix provided that "
    "sizes are matching";

// The two variants, chosen when the symbol table is built: colconcat first, rowconcat second.
constexpr TFunctionEntry kConcatAlwaysReal[] = {
    {"colconcat", nullptr, _ColConcatReal, -1, kColConcatHelp},
    {"rowconcat", nullptr, _RowConcatReal, -1, kRowConcatHelp},
};
constexpr TFunctionEntry kConcatKeepInt[] = {
    {"colconcat", nullptr, _ColConcatInt, -1, kColConcatHelp},
    {"rowconcat", nullptr, _RowConcatInt, -1, kRowConcatHelp},
};

}  // namespace

void RegisterConcatFunctions(TWordList& words, bool alwaysReal, TExprWord*& colConcat,
                             TExprWord*& rowConcat) {
  const std::span<const TFunctionEntry> table = alwaysReal ? kConcatAlwaysReal : kConcatKeepInt;
  colConcat = words[RegisterFunctions(words, table.first(1))];
  rowConcat = words[RegisterFunctions(words, table.last(1))];
}

}  // namespace zel
