// Construction, rearrangement and linear algebra functions: results against NumPy and SciPy
// (reference/matrices.inc), the defining identities of the decompositions and matrix functions, the
// functions' messages, and evaluation without allocation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/decompositions.h"
#include "core/linalg.h"
#include "core/matfunc.h"
#include "library_helper.h"
#include "support/alloc_counter.h"

namespace zel::test {
namespace {

#include "reference/matrices.inc"

TExprWord* Word(const std::string& name) { return Functions::Get().Word(name); }

// "name(arg, ...)" for failure messages.
std::string Call(const std::string& name, const std::vector<std::string>& args) {
  std::string s = name + "(";
  for (size_t i = 0; i < args.size(); ++i) s += (i ? ", " : "") + args[i];
  return s + ")";
}

TEST(MatrixFunctions, ExactResults) {
  for (const ExactRef& c : kExactRefs)
    EXPECT_EQ(Eval(Word(c.name), c.args), c.expected) << Call(c.name, c.args);
}

TEST(MatrixFunctions, NumericResults) {
  for (const NumericRef& c : kNumericRefs) {
    std::vector<Val> args;
    std::vector<TValueRec*> raw;
    for (const std::string& a : c.args) raw.push_back(args.emplace_back(V(a)).get());
    NodeRunner run(Word(c.name), raw);
    const Snapshot s = Snap(run.EvalTwice());
    ASSERT_EQ(s.values.size(), c.expected.size()) << Call(c.name, c.args);
    double scale = 1;
    for (double x : c.expected) scale = std::max(scale, std::abs(x));
    for (size_t i = 0; i < s.values.size(); ++i)
      EXPECT_NEAR(s.values[i], c.expected[i], 1e-12 * scale) << Call(c.name, c.args) << " element " << i;
  }
}

// ---- identities --------------------------------------------------------------------------------------

// The largest |x(i,j) - y(i,j)|; shapes must agree.
double Distance(const TZel& x, const TZel& y) {
  EXPECT_EQ(x.Rows(), y.Rows());
  EXPECT_EQ(x.Cols(), y.Cols());
  double d = 0;
  for (int i = 0; i < std::min(x.Length(), y.Length()); ++i)
    d = std::max(
        d, std::abs((x.Complex() ? x.CValues(i) : x.Values(i)) - (y.Complex() ? y.CValues(i) : y.Values(i))));
  return d;
}
// max(1, the largest |x(i,j)|).
double Largest(const TZel& x) {
  double m = 1;
  for (int i = 0; i < x.Length(); ++i) m = std::max(m, std::abs(x.Complex() ? x.CValues(i) : x.Values(i)));
  return m;
}
// m with column j (or row j) times d(j).
void Scale(const TZel& m, const TVec& d, bool columns, TZel& out) {
  out.Copy(m);
  out.ExtendToComplex();
  for (int i = 0; i < m.Rows(); ++i)
    for (int j = 0; j < m.Cols(); ++j)
      out.CValues(i, j) *= d.Complex() ? d.CValues(columns ? j : i) : d.Values(columns ? j : i);
}

// Real and complex, symmetric, Hermitian, general and rectangular matrices.
const char* const kMatrices[] = {
    "[4,1,2;1,3,0;2,0,5]", "[2+0i,1-1i;1+1i,3+0i]", "[1,2,0;-3,1,1;0.5,0,2]",
    "[1+1i,2;0.5i,-1]",    "[5,1,0;2,4,1;0,1,3]",   "[1,2;3,4]",
    "[1,2,3;4,5,6]",       "[1,2;3,4;5,6]",         "[1i,2,0;3,1-1i,2+2i]",
};

TEST(MatrixFunctions, DecompositionsReproduceTheirMatrix) {
  for (const char* text : kMatrices) {
    Val a = V(text), u = Undef(), v = Undef(), l = Undef(), r = Undef(), q = Undef(), n = Int(0);
    const TZel& x = a->MatrixValue();
    const double tol = 1e-13 * Largest(x);
    TZel p, p2, t;
    // svd(x, u, v): x = u·diag(s)·vᴴ.
    NodeRunner svd(Word("svd"), {a.get(), u.get(), v.get()});
    const TVec& s = svd.EvalTwice().VectorValue();
    Scale(u->MatrixValue(), s, true, p);
    Adjung(v->MatrixValue(), t);
    MatMul(p, t, p2);
    EXPECT_LT(Distance(p2, x), tol) << "svd " << text;
    // lqr(x, q, r): x = l·q·r.
    NodeRunner lqr(Word("lqr"), {a.get(), q.get(), r.get()});
    const TZel& lower = lqr.EvalTwice().MatrixValue();
    MatMul(lower, q->MatrixValue(), p);
    MatMul(p, r->MatrixValue(), p2);
    EXPECT_LT(Distance(p2, x), tol) << "lqr " << text;
    if (x.Rows() != x.Cols()) continue;
    // eig(x, l, r): x·r = r·diag(d) and l·x = diag(d)·l.
    NodeRunner eig(Word("eig"), {a.get(), l.get(), r.get()});
    const TVec& d = eig.EvalTwice().VectorValue();
    MatMul(x, r->MatrixValue(), p);
    Scale(r->MatrixValue(), d, true, p2);
    EXPECT_LT(Distance(p, p2), tol) << "eig, right " << text;
    MatMul(l->MatrixValue(), x, p);
    Scale(l->MatrixValue(), d, false, p2);
    EXPECT_LT(Distance(p, p2), tol) << "eig, left " << text;
    // zelsqrt(x)² = x, and zelpower(x, 1.5) = x·zelsqrt(x).
    NodeRunner root(Word("zelsqrt"), {a.get(), n.get()});
    const TZel& sq = root.EvalTwice().MatrixValue();
    MatMul(sq, sq, p);
    EXPECT_LT(Distance(p, x), tol) << "zelsqrt " << text;
    Val half = Dbl(1.5);
    NodeRunner power(Word("zelpower"), {a.get(), half.get()});
    const TZel& pow = power.EvalTwice().MatrixValue();
    MatMul(x, sq, p);
    EXPECT_LT(Distance(pow, p), 10 * tol) << "zelpower " << text;
    // The Cholesky factor of a positive definite matrix: x = l·lᴴ.
    if (Cholesky(x, &p)) {
      Adjung(p, t);
      MatMul(p, t, p2);
      EXPECT_LT(Distance(p2, x), tol) << "cholesky " << text;
    }
  }
}

// The Kac matrix of order n has the eigenvalues -n, -n+2, ..., n.
TEST(MatrixFunctions, KacEigenvalues) {
  Val four = Int(4);
  NodeRunner kac(Word("kac"), {four.get()});
  TVec d;
  Eig(kac.EvalTwice().MatrixValue(), d);
  std::sort(d.PValues(), d.PValues() + d.Length());
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(d.Values(i), 2 * i - 4, 1e-13);
}

// det(a·b) = det(a)·det(b), with LU factorisations of three different matrices.
TEST(MatrixFunctions, DeterminantIsMultiplicative) {
  TZel a(3, 3), b(3, 3), ab;
  for (int i = 0; i < 9; ++i) {
    a.Values(i) = std::sin(i + 1.0);
    b.Values(i) = std::cos(2.0 * i);
  }
  MatMul(a, b, ab);
  EXPECT_NEAR(Determinant(ab).real(), Determinant(a).real() * Determinant(b).real(), 1e-14);
}

// A 0 x 0 matrix reaches LAPACK with a valid leading dimension; an infinite power does not loop forever.
TEST(MatrixFunctions, EmptyMatricesAndInfinitePowers) {
  const TZel empty(0, 0);
  TZel p, g(2, 2);
  EXPECT_EQ(Determinant(empty), TCplx(1.0));
  EXPECT_TRUE(Cholesky(empty));
  ZelIntPower(empty, -1, p);
  EXPECT_EQ(p.Length(), 0);
  g.Values(0) = 2, g.Values(1) = 1, g.Values(3) = 3;
  ZelPower(g, INFINITY, p);
  EXPECT_TRUE(std::isnan(p.Values(0)));
}

TEST(MatrixFunctions, Messages) {
  const struct {
    const char* name;
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {"zeros", {"2.0", "3"}, "zeros: Two integer parameters required!"},
      {"zeros", {"2.0", "3.0"}, "Unsupported value types: zeros ( double, double )"},
      {"ones", {"2", "'a'"}, "ones: Two integer parameters required!"},
      {"eye", {"[1]", "2"}, "eye: Function expects two integer params!"},
      {"ramp", {"3", "[1]", "1"}, "Unsupported value types: ramp ( integer, vector, integer )"},
      {"primes", {"169"}, "PrimeNumbers: 169 primes asked for, the table holds 168"},
      {"vandermonde", {"2", "[1,2;3,4]"}, "Vandermonde: Second parameter must be a vector!"},
      {"kron", {"[1,2]", "i[1]"}, "Kron: second and first parameter must be a vector!"},
      {"kron", {"i[1]", "2"}, "Kron: second and first parameter must be an integer vector!"},
      {"rotate", {"[1,2]", "1.0"}, "The second parameter of \"rotate\" must be an integer!"},
      {"rotate", {"[1,2;3,4]", "1"}, "Rotate function for matrix type is not supported!"},
      {"sortascend",
       {"[1,2;3,4]", "0.0"},
       "SortAscend: Second parameter must be integer to designate column according to which to sort!"},
      {"sortdescend",
       {"[1,2;3,4]", "'c'"},
       "SortDescend: Second parameter must be integer to designate column according to which to sort!"},
      {"sortascend", {"[1,2;3,4]", "2"}, "SortRows: column 2 is outside [0..1]"},
      {"diag", {"[1,2;3,4]", "1.0"}, "Diag functions second parameters needs to be an integer!"},
      {"uppertriangle", {"[1,2;3,4]", "1"}, "UpperTriangle second parameter must be string!"},
      {"lowertriangle", {"i[1,2;3,4]", "true"}, "LowerTriangle second parameter must be string!"},
      {"svdsolve",
       {"[1,2;3,4]", "[1,2]", "?", "1"},
       "svdsolve: fourth parameter (Tol) must be a real number!"},
      {"lqr", {"[1,2;3,4]", "1.0", "?"}, "LQR: second parameter must be a matrix!"},
      {"lqr", {"[1,2;3,4]", "?", "[1,2]"}, "LQR: third parameter must be a matrix!"},
      {"zelintpower", {"[1,2;3,4]", "0.5"}, "ZelIntPower: second parameter must be an integer!"},
      {"zelpower", {"[1,2;3,4]", "1+1i"}, "ZelPower: second parameter must be a real number!"},
      {"zelintpower", {"[1,2;2,4]", "-1"}, "ZelIntPower: the matrix is singular"},
      {"determinant", {"[1,2,3;4,5,6]"}, "Determinant: the matrix is 2 x 3, not square"},
      {"eig", {"[1,2]"}, "Unsupported value types: eig ( vector )"},
      {"reverse", {"'ab'"}, "Unsupported value types: reverse ( string )"},
  };
  for (const auto& c : cases) EXPECT_EQ(Eval(Word(c.name), c.args), c.message) << Call(c.name, c.args);
}

// A second evaluation over unchanged arguments allocates nothing, LAPACK's working storage included.
TEST(MatrixFunctions, SecondEvaluationAllocatesNothing) {
  const std::string g = "[1,2,0;-3,1,1;0.5,0,2]", h = "[2+0i,1-1i;1+1i,3+0i]";
  const std::pair<const char*, std::vector<std::string>> nodes[] = {
      {"sortascend", {"[3,1,2,nan]"}},
      {"sortdescend", {g, "1"}},
      {"rotate", {"i[1,2,3]", "1"}},
      {"uppertriangle", {g, "'Diag'"}},
      {"kron", {"[1,2]", "[3,4]"}},
      {"eig", {g, "?", "?"}},
      {"eig", {h, "?", "?"}},
      {"svd", {g, "?", "?"}},
      {"svdsolve", {g, "[1,2,3]", "?"}},
      {"lqr", {"[1,2,3;4,5,6]", "?", "?"}},
      {"zelpower", {g, "0.3"}},
      {"zelsqrt", {h, "0"}},
      {"zelintpower", {g, "-3"}},
      {"determinant", {h}},
      {"cholesky", {g}},
  };
  for (const auto& [name, texts] : nodes) {
    std::vector<Val> args;
    std::vector<TValueRec*> raw;
    for (const std::string& t : texts) raw.push_back(args.emplace_back(V(t)).get());
    NodeRunner run(Word(name), raw);
    run.Eval();
    AllocationCounter counter;
    run.Eval();
    EXPECT_EQ(counter.Count(), 0u) << Call(name, texts);
  }
}

}  // namespace
}  // namespace zel::test
