// The selection and assignment battery of the self-test: indexing and indexed assignment of vectors and
// matrices, first on real values, then on integer values.
#include "script/expression.h"

namespace zel {

namespace {

// av = 0, 1, ..., n-1 and am = 0, 1, ..., rows·cols-1 (row-major), real or integer.
void DefineTestValues(TZelExpression& x, bool integer, int n, int rows, int cols) {
  x.Undefine("av");
  x.Undefine("am");
  if (integer) {
    TVecInt& v = x.DefineIntVector("av").IntVectorValue();
    v.Size(n, x.TestIntPrecision());
    v.Ramp(0, 1);
    TZelInt& m = x.DefineIntMatrix("am").IntMatrixValue();
    m.Size(rows, cols, x.TestIntPrecision());
    m.Ramp(0, 1);
  } else {
    TVec& v = x.DefineVector("av").VectorValue();
    v.Size(n, false);
    v.Ramp(0.0, 1.0);
    TZel& m = x.DefineMatrix("am").MatrixValue();
    m.Size(rows, cols, false);
    m.Ramp(0.0, 1.0);
  }
}

// Expected contents check that works for both passes.
void Expect(TZelExpression& x, bool integer, const std::string& expr, const std::vector<int>& values,
            bool matrix) {
  if (integer) {
    matrix ? x.TestZelInt(expr, values) : x.TestVecInt(expr, values);
  } else {
    std::vector<double> d(values.begin(), values.end());
    matrix ? x.TestZel(expr, d) : x.TestVec(expr, d);
  }
}

// The selection and assignment cases, over real (integer = false) or integer test values.
void Battery(TZelExpression& x, bool integer) {
  x.Test("1+2", 3.0);

  // Single elements; a single index counts through a matrix's storage.
  DefineTestValues(x, integer, 3, 2, 2);
  x.Test("av(0)", 0.0);
  x.Test("av(1)", 1.0);
  x.Test("am(0)", 0.0);
  x.Test("am(1)", 1.0);
  x.Test("am(0,1)", 1.0);
  x.Test("am(1,0)", 2.0);
  for (const char* e : {"av(-1)", "av(3)", "am(-1)", "am(4)", "am(-1,0)", "am(0,-1)", "am(2,2)", "am(2,0)"})
    x.NegativeTest(e);

  // Single-element assignment never grows a value.
  x.Run("av(1) = 2");
  x.Run("av(0) = 2");
  Expect(x, integer, "av", {2, 2, 2}, false);
  x.Run("am(1) = 2");
  x.Run("am(0) = 2");
  x.Run("am(0,1) = 5");
  x.Run("am(1,0) = 6");
  Expect(x, integer, "am", {2, 5, 6, 3}, true);
  for (const char* e : {"av(-1) = 1", "av(4) = 2", "am(-1) = 1", "am(4) = 2", "am(-1,0) = 3", "am(0,-1) = 4",
                        "am(2,2) = 6", "am(2,0) = 7"})
    x.NegativeTest(e);

  // Ranges with steps 1 and -1 and open ends.
  DefineTestValues(x, integer, 5, 3, 3);
  Expect(x, integer, "av(0:1)", {0, 1}, false);
  Expect(x, integer, "av(3:-1:1)", {3, 2, 1}, false);
  Expect(x, integer, "av(2:)", {2, 3, 4}, false);
  Expect(x, integer, "am(0,0:1)", {0, 1}, true);
  Expect(x, integer, "am(0:1,1)", {1, 4}, true);
  Expect(x, integer, "am(1,2:-1:0)", {5, 4, 3}, true);
  Expect(x, integer, "am(0,:)", {0, 1, 2}, true);
  Expect(x, integer, "am(:,1)", {1, 4, 7}, true);
  Expect(x, integer, "am(:)", {0, 1, 2, 3, 4, 5, 6, 7, 8}, false);
  for (const char* e : {"am(1,0:3)", "am(0,-1:1)", "am(0:1:5,0)"}) x.NegativeTest(e);

  // Range assignment from ranges and scalars, with open ends.
  x.Run("av(0:1) = 5:6");
  x.Run("av(3:-1:1) = 1:3");
  Expect(x, integer, "av", {5, 3, 2, 1, 4}, false);
  x.Run("av(0:1) = 8");
  Expect(x, integer, "av", {8, 8, 2, 1, 4}, false);
  x.Run("am(0,0:1) = 5:6");
  Expect(x, integer, "am", {5, 6, 2, 3, 4, 5, 6, 7, 8}, true);
  x.Run("am(0,:) = 9");
  x.Run("am(0,1:) = 10:11");
  x.Run("am(:,0) = 12:14");
  Expect(x, integer, "am", {12, 10, 11, 13, 4, 5, 14, 7, 8}, true);
  x.Run("am(:) = 1:9");
  x.Run("am(3:) = 1:6");
  Expect(x, integer, "am", {1, 2, 3, 1, 2, 3, 4, 5, 6}, true);
  for (const char* e : {"am(3,0:1) = 1:2", "am(0,0:1) = 1:3", "av(0:9) = 1", "am(3,0:1) = i"})
    x.NegativeTest(e);
}

}  // namespace

void TZelExpression::TestSelectAssign() {
  Battery(*this, false);
  SetTestIntPrecision(prInt32);
  Battery(*this, true);
  Undefine("av");
  Undefine("am");
}

}  // namespace zel
