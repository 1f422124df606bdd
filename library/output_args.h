// Output arguments of the functions that write results into variables (sincos(x, s, c), eig(x, l, r),
// deconv(b, a, q, r), ...): the argument record made a double, vector or matrix. A variable that already
// has the type keeps its object, so a host's bound vector stays bound; another defined type raises the
// persistence error of the value record.
#pragma once

#include "lang/words/words.h"

namespace zel {

// Output argument i as a double record.
inline TValueRec& DoubleOutput(TExprRec& e, int i) {
  TValueRec& v = *e.Args[i];
  v.DefineDouble();
  return v;
}

// Output argument i as a vector.
inline TVec& VectorOutput(TExprRec& e, int i) {
  TValueRec& v = *e.Args[i];
  if (v.ValueType() != vtVectorValue) v.DefineVector();
  return v.VectorValue();
}

// Output argument i as a matrix.
inline TZel& MatrixOutput(TExprRec& e, int i) {
  TValueRec& v = *e.Args[i];
  if (v.ValueType() != vtMatrixValue) v.DefineMatrix();
  return v.MatrixValue();
}

}  // namespace zel
