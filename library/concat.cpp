// Concatenation (see concat.h). Both functions first classify their arguments (result kind, complexity,
// integer precision) and check them, raising before the result is touched; then they size the result
// once and copy every argument into its place through the core's converting block copies. With sizes
// unchanged between evaluations the result keeps its storage, so a re-evaluation allocates nothing.
//
// Range arguments are expanded in place first: an integer range into an integer vector, an extended
// range into a real vector.
#include "library/concat.h"

#include <cstdint>
#include <string>

#include "core/elemmath.h"
#include "core/text.h"
#include "parse/operators.h"

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

// The elements a vector, matrix or scalar argument contributes.
int ElementCount(TValueRec& a) {
  switch (a.ValueType()) {
    case vtVectorValue:
      return a.VectorValue().Length();
    case vtMatrixValue:
      return a.MatrixValue().Length();
    case vtIntVectorValue:
      return a.IntVectorValue().Length();
    case vtIntMatrixValue:
      return a.IntMatrixValue().Length();
    default:
      return 1;
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
void PlaceReal(TValueRec& a, TNubraVec& dst, int rows, int offset, int stride) {
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
void PlaceInt(TValueRec& a, TNubraInt& dst, int rows, int offset, int stride) {
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
  DefineResult(*e.Res, vtString);
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
    AddCount(total, ElementCount(a));
  }
  int at = 0;
  if (integer) {
    DefineResult(*e.Res, vtIntVectorValue);
    TVecInt& dst = e.Res->IntVectorValue();
    dst.Size(total, precision);
    for (int i = 0; i < e.ArgCount; ++i) {
      const int n = ElementCount(*e.Args[i]);
      PlaceInt(*e.Args[i], dst, 1, at, n);
      at += n;
    }
  } else {
    DefineResult(*e.Res, vtVectorValue);
    TVec& dst = e.Res->VectorValue();
    dst.Size(total, p.complex);
    for (int i = 0; i < e.ArgCount; ++i) {
      const int n = ElementCount(*e.Args[i]);
      PlaceReal(*e.Args[i], dst, 1, at, n);
      at += n;
    }
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
  const auto rowsOf = [](TValueRec& a) {
    return a.ValueType() == vtMatrixValue ? a.MatrixValue().Rows() : a.IntMatrixValue().Rows();
  };
  const auto colsOf = [](TValueRec& a) {
    return a.ValueType() == vtMatrixValue ? a.MatrixValue().Cols() : a.IntMatrixValue().Cols();
  };
  const int rows = rowsOf(*e.Args[0]);
  int cols = 0;
  TIntPrecision precision = prUInt8;
  for (int i = 0; i < e.ArgCount; ++i) {
    TValueRec& a = *e.Args[i];
    if (rowsOf(a) != rows)
      ERaise("Concatenation of matrices in a row requires all items to be a matrix with equal row count.");
    if (integer) precision = Wider(precision, PrecisionOf(a));
    AddCount(cols, colsOf(a));
  }
  int col = 0;
  if (integer) {
    DefineResult(*e.Res, vtIntMatrixValue);
    TZelInt& dst = e.Res->IntMatrixValue();
    dst.Size(rows, cols, precision);
    for (int i = 0; i < e.ArgCount; col += colsOf(*e.Args[i]), ++i)
      PlaceInt(*e.Args[i], dst, rows, col, cols);
  } else {
    DefineResult(*e.Res, vtMatrixValue);
    TZel& dst = e.Res->MatrixValue();
    dst.Size(rows, cols, p.complex);
    for (int i = 0; i < e.ArgCount; col += colsOf(*e.Args[i]), ++i)
      PlaceReal(*e.Args[i], dst, rows, col, cols);
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

// The columns an argument occupies: 1 for scalars, the length of vectors, the column count of matrices.
int ColumnsOf(TValueRec& a) {
  switch (a.ValueType()) {
    case vtMatrixValue:
      return a.MatrixValue().Cols();
    case vtIntMatrixValue:
      return a.IntMatrixValue().Cols();
    default:
      return ElementCount(a);
  }
}

int RowsOf(TValueRec& a) {
  switch (a.ValueType()) {
    case vtMatrixValue:
      return a.MatrixValue().Rows();
    case vtIntMatrixValue:
      return a.IntMatrixValue().Rows();
    default:
      return 1;
  }
}

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
    if (p.cols < 0 && !IsScalar(t)) p.cols = ColumnsOf(a);
  }
  if (p.cols < 0) p.cols = e.ArgCount > 0 ? 1 : 0;
  return p;
}

void RowConcat(TExprRec& e, bool alwaysReal) {
  const RowPlan p = ClassifyRows(e, alwaysReal);
  int rows = 0;
  for (int i = 0; i < e.ArgCount; ++i) {
    TValueRec& a = *e.Args[i];
    if (ColumnsOf(a) != p.cols)
      ERaise(ColumnCountLabel(a.ValueType()) + std::to_string(i) +
             " does not match other parameters specified for row concatenation!");
    AddCount(rows, RowsOf(a));
  }
  int row = 0;
  if (p.kind == Kind::IntMatrix) {
    DefineResult(*e.Res, vtIntMatrixValue);
    TZelInt& dst = e.Res->IntMatrixValue();
    dst.Size(rows, p.cols, p.precision);
    for (int i = 0; i < e.ArgCount; row += RowsOf(*e.Args[i]), ++i)
      PlaceInt(*e.Args[i], dst, RowsOf(*e.Args[i]), row * p.cols, p.cols);
  } else {
    DefineResult(*e.Res, vtMatrixValue);
    TZel& dst = e.Res->MatrixValue();
    dst.Size(rows, p.cols, p.complex);
    for (int i = 0; i < e.ArgCount; row += RowsOf(*e.Args[i]), ++i)
      PlaceReal(*e.Args[i], dst, RowsOf(*e.Args[i]), row * p.cols, p.cols);
  }
}

}  // namespace

void _ColConcatReal(TExprRec& expr) { ColConcat(expr, true); }
void _ColConcatInt(TExprRec& expr) { ColConcat(expr, false); }
void _RowConcatReal(TExprRec& expr) { RowConcat(expr, true); }
void _RowConcatInt(TExprRec& expr) { RowConcat(expr, false); }

}  // namespace zel
