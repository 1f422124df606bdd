// The shape of a vector or matrix operand, shared by every operator that compares or sizes shapes
// (arithmetic, comparison masks, bit operations, assignment into parts of matrices and grids).
// A vector is one row: 1 x Length, as matrix products, copies into matrices and transposes treat it.
#pragma once

#include "lang/values/valuerec.h"

namespace zel {

// Rows x cols of an operand, and whether it is a matrix (a 1 x n matrix and a vector of n differ there).
struct TShape {
  int rows = 0;
  int cols = 0;
  bool matrix = false;

  int Length() const { return rows * cols; }
  // Same rows and columns, whether matrix or vector.
  bool SameSize(const TShape& o) const { return rows == o.rows && cols == o.cols; }
};

// The shape of a vector or matrix record (real, integer or bool). Callers expand a range operand
// first; other records (scalars, strings, unexpanded ranges) count as one element, 1 x 1.
inline TShape ShapeOf(TValueRec& v) {
  switch (v.ValueType()) {
    case vtMatrixValue:
      return {v.MatrixValue().Rows(), v.MatrixValue().Cols(), true};
    case vtIntMatrixValue:
      return {v.IntMatrixValue().Rows(), v.IntMatrixValue().Cols(), true};
    case vtBoolMatrixValue:
      return {v.BoolMatrixValue().Rows(), v.BoolMatrixValue().Cols(), true};
    case vtVectorValue:
      return {1, v.VectorValue().Length(), false};
    case vtIntVectorValue:
      return {1, v.IntVectorValue().Length(), false};
    case vtBoolVectorValue:
      return {1, v.BoolVectorValue().Length(), false};
    default:
      return {1, 1, false};
  }
}

}  // namespace zel
