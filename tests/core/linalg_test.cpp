// Linear algebra kernels: products against a plain reference for every real/complex mix, least-squares
// solves against known solutions (square, overdetermined, minimum norm, transposed, right division,
// complex), and transposition in place.
#include "core/linalg.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

#include "core/errors.h"
#include "support/core_helper.h"

namespace zel::test {
namespace {

using Cplxs = std::vector<TCplx>;

// A matrix of the given values (complex when any has an imaginary part), or of distinct generated ones.
struct Mat : TZel {
  Mat(int rows, int cols, std::initializer_list<TCplx> values) {
    bool complex = false;
    for (const TCplx& z : values) complex = complex || z.imag() != 0.0;
    Size(rows, cols, complex);
    int i = 0;
    for (const TCplx& z : values) {
      if (complex) {
        CValues(i++) = z;
      } else {
        Values(i++) = z.real();
      }
    }
  }
  Mat(int rows, int cols, bool complex, double seed) {
    Size(rows, cols, complex);
    for (int i = 0; i < Length(); ++i) {
      const double re = std::sin(seed + 1.7 * i) + (i % (cols + 1) == 0 ? 3.0 : 0.0);  // diagonal weight
      if (complex) {
        CValues(i) = TCplx(re, std::cos(seed + 0.9 * i));
      } else {
        Values(i) = re;
      }
    }
  }
};

// The elements of a matrix as a vector (a row-major copy).
struct Row : TVec {
  explicit Row(const TZel& m) { Copy(m); }
};

// The product of row-major a (m × k) and b (k × n), computed the plain way.
Cplxs Product(const TNubraVec& a, int m, int k, const TNubraVec& b) {
  const Cplxs x = CValues(a), y = CValues(b);
  const int n = static_cast<int>(y.size()) / k;
  Cplxs out(static_cast<size_t>(m) * n);
  for (int i = 0; i < m; ++i)
    for (int j = 0; j < n; ++j)
      for (int l = 0; l < k; ++l) out[i * n + j] += x[i * k + l] * y[l * n + j];
  return out;
}

void ExpectNear(const Cplxs& actual, const Cplxs& expected, double tol = 1e-10) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i)
    EXPECT_LT(std::abs(actual[i] - expected[i]), tol) << "element " << i;
}

TEST(LinalgProduct, EveryComplexityMixMatchesTheReference) {
  for (bool ca : {false, true})
    for (bool cb : {false, true}) {
      SCOPED_TRACE(testing::Message() << "complex a " << ca << ", complex b " << cb);
      Mat a(3, 4, ca, 0.3), b(4, 2, cb, 1.1);
      TZel d;
      MatMul(a, b, d);
      EXPECT_EQ(d.Rows(), 3);
      EXPECT_EQ(d.Cols(), 2);
      ExpectNear(CValues(d), Product(a, 3, 4, b));
      TVec v;
      TensorProd(Row(Mat(1, 4, ca, 2.0)), b, v);  // row vector times matrix
      ExpectNear(CValues(v), Product(Mat(1, 4, ca, 2.0), 1, 4, b));
    }
  TZel outer;
  TensorProd(Row(Mat(1, 2, {1, TCplx(0, 2)})), Row(Mat(1, 3, {3, 4, 5})), outer);
  EXPECT_EQ(outer.Rows(), 2);
  ExpectNear(CValues(outer), {3, 4, 5, TCplx(0, 6), TCplx(0, 8), TCplx(0, 10)});
  TZel empty(0, 0);
  MatMul(TZel(2, 0), TZel(0, 3), empty);  // no inner dimension: zeros
  ExpectNear(CValues(empty), Cplxs(6, 0.0));
  EXPECT_THROW(MatMul(TZel(2, 3), TZel(2, 3), empty), ENubraException);
  EXPECT_THROW(MatMul(empty, TZel(3, 3), empty), ENubraException);  // the result may not be an operand
}

TEST(LinalgSolve, KnownSolutions) {
  const struct {
    const char* name;
    Mat a, b;
    bool transposed;
    Cplxs x;
  } cases[] = {
      {"square", Mat(2, 2, {2, 1, 0, 4}), Mat(2, 1, {4, 8}), false, {1, 2}},
      // The least-squares line through (0,1), (1,2), (2,2) is 7/6 + t/2.
      {"overdetermined", Mat(3, 2, {1, 0, 1, 1, 1, 2}), Mat(3, 1, {1, 2, 2}), false, {7.0 / 6, 0.5}},
      {"minimum norm", Mat(1, 2, {1, 1}), Mat(1, 1, {2}), false, {1, 1}},
      {"rank deficient", Mat(2, 2, {1, 1, 1, 1}), Mat(2, 1, {2, 2}), false, {1, 1}},
      {"transposed", Mat(2, 2, {2, 0, 1, 3}), Mat(2, 1, {3, 3}), true, {1, 1}},
      {"complex rhs", Mat(2, 2, {2, 0, 0, 4}), Mat(2, 1, {{2, 2}, {0, 4}}), false, {{1, 1}, {0, 1}}},
      {"non-finite", Mat(1, 1, {NAN}), Mat(1, 1, {1}), false, {NAN}},
      {"empty", Mat(0, 2, {}), Mat(0, 1, {}), false, {0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TVec x;
    LQRSolve(c.a, Row(c.b), x, c.transposed ? TMatrixForm::mfTransposed : TMatrixForm::mfAsIs);
    if (std::isnan(c.x[0].real())) {
      EXPECT_TRUE(std::isnan(x.Values(0)));
    } else {
      ExpectNear(CValues(x), c.x, 1e-12);
    }
  }
  TVec bad;
  EXPECT_THROW(LQRSolve(TZel(3, 2), TVec(2), bad), ENubraException);
}

TEST(LinalgSolve, MatrixRightHandSidesRecoverTheSolution) {
  for (bool complex : {false, true}) {
    Mat a(4, 4, complex, 0.4), xTrue(4, 2, complex, 2.5);
    TZel at, b, x;
    MatMul(a, xTrue, b);
    LQRSolve(a, b, x);
    ExpectNear(CValues(x), CValues(xTrue));
    LQRSolve(a, b, b);  // the result may be the right-hand side
    ExpectNear(CValues(b), CValues(xTrue));
    Transp(a, at);
    MatMul(at, xTrue, b);
    LQRSolve(a, b, x, TMatrixForm::mfTransposed);
    ExpectNear(CValues(x), CValues(xTrue));
    Transp(xTrue, at);  // right division: y·a = b with y = xTrueᵀ
    MatMul(at, a, b);
    RightSolve(a, b, x);
    ExpectNear(CValues(x), CValues(at));
  }
  TZel col;
  EXPECT_THROW(RightSolve(TZel(3, 2), TZel(3, 3), col), ENubraException);
}

TEST(LinalgTranspose, InPlaceConjugatedAndInteger) {
  Mat a(2, 3, {1, 2, 3, 4, 5, 6});
  Transp(a, a);
  EXPECT_EQ(a.Rows(), 3);
  EXPECT_EQ(a.Cols(), 2);
  ExpectNear(CValues(a), {1, 4, 2, 5, 3, 6});
  Mat c(1, 2, {TCplx(1, 1), TCplx(2, -3)});
  Adjung(c, c);
  EXPECT_EQ(c.Rows(), 2);
  ExpectNear(CValues(c), {TCplx(1, -1), TCplx(2, 3)});
  Conj(c, c);
  ExpectNear(CValues(c), {TCplx(1, 1), TCplx(2, -3)});

  TZelInt m(2, 3, prInt16), t;
  for (int i = 0; i < 6; ++i) m.Set(i, i - 3);
  Transp(m, t);
  Transp(m, m);
  for (TZelInt* r : {&t, &m}) {
    EXPECT_EQ(r->IntPrecision(), prInt16);
    EXPECT_EQ(r->Rows(), 3);
    EXPECT_EQ(r->Get(0, 1), 0);
    EXPECT_EQ(r->Get(2, 0), -1);
  }
}

}  // namespace
}  // namespace zel::test
