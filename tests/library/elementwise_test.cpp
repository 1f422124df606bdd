// Element-wise scalar functions: aliases, values of the first functions for
// real, complex and out-of-domain arguments, shapes of vector and matrix results (result types over every
// argument type and the other functions: unary_test.cpp).
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "library_helper.h"
#include "support/alloc_counter.h"

namespace zel::test {
namespace {

// Aliases share one routine (their help texts are checked against docs/functions.md by the
// docs.functions_current test).
TEST(ElementWise, AliasesShareTheirRoutine) {
  for (auto [alias, name] :
       {std::pair{"log", "ln"}, {"cis", "expj"}, {"integer", "trunctoint"}, {"isnaninf", "isinfnan"}})
    EXPECT_EQ(Functions::Get().Word(alias)->Func(), Functions::Get().Word(name)->Func()) << alias;
}

TEST(ElementWise, RealValues) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* name;
    Val arg;
    double expected;
  } cases[] = {
      {"exp", Dbl(1), std::numbers::e},
      {"Exp", Int(0), 1},
      {"ln", Dbl(std::numbers::e), 1},
      {"log", Int(1), 0},
      {"ln", Dbl(0), -inf},
      {"ln", Dbl(-1), nan},  // real arguments stay real: out of the domain gives NaN
      {"sqrt", Int(9), 3},
      {"sqrt", Dbl(-1), nan},
      {"sqr", Dbl(-1.5), 2.25},
      {"Sqr", Int(3000000000), 9e18},  // no integer overflow: integers count as doubles
      {"abs", Dbl(-2), 2},
      {"abs", Int(-7), 7},
      {"abs", Cplx(3, -4), 5},
      {"sin", Int(0), 0},
      {"sin", Dbl(std::numbers::pi / 2), 1},
      {"cos", Dbl(std::numbers::pi), -1},
      {"tan", Dbl(std::numbers::pi / 4), 1},
      {"sin", Dbl(inf), nan},
      {"exp", Dbl(nan), nan},
  };
  for (const auto& c : cases) {
    NodeRunner run(Functions::Get().Word(c.name), {c.arg.get()});
    TValueRec& r = run.EvalTwice();
    ASSERT_EQ(r.ValueType(), vtDoubleValue) << c.name;
    if (std::isnan(c.expected)) {
      EXPECT_TRUE(std::isnan(r.DoubleValue())) << c.name << " gave " << r.DoubleValue();
    } else if (std::isinf(c.expected)) {
      EXPECT_EQ(r.DoubleValue(), c.expected) << c.name;
    } else {
      EXPECT_NEAR(r.DoubleValue(), c.expected, 1e-12) << c.name;
    }
  }
}

TEST(ElementWise, ComplexValues) {
  const double pi = std::numbers::pi;
  const struct {
    const char* name;
    TCplx arg, expected;
  } cases[] = {
      {"sqrt", {-1, 0}, {0, 1}},
      {"sqrt", {-4, 0}, {0, 2}},
      {"ln", {-1, 0}, {0, pi}},
      {"Log", {0, 1}, {0, pi / 2}},
      {"exp", {0, pi}, {-1, 0}},
      {"sqr", {1, 2}, {-3, 4}},
      {"sin", {0, 1}, {0, std::sinh(1.0)}},
      {"cos", {0, 1}, {std::cosh(1.0), 0}},
      {"tan", {0, 1}, {0, std::tanh(1.0)}},
  };
  for (const auto& c : cases) {
    Val arg = Cplx(c.arg.real(), c.arg.imag());
    NodeRunner run(Functions::Get().Word(c.name), {arg.get()});
    TValueRec& r = run.EvalTwice();
    ASSERT_EQ(r.ValueType(), vtComplexValue) << c.name;
    EXPECT_NEAR(std::abs(r.ComplexValue() - c.expected), 0, 1e-12)
        << c.name << " " << r.ComplexValue().real() << " " << r.ComplexValue().imag();
  }
}

// Vectors, ranges and matrices: every element mapped, shape and complexity as the rule says; a real
// vector stays real, with NaN outside the domain.
TEST(ElementWise, ArraysKeepTheirShape) {
  const OpCase cases[] = {
      {"sqr", {"1:3"}, "vector 1; 4; 9"},
      {"Sqr", {"~0:0.5:1"}, "vector 0; 0.25; 1"},
      {"sqrt", {"[1,4,9;16,25,36]"}, "matrix 1,2,3; 4,5,6"},
      {"sqrt", {"[-1+0i,-4+0i]"}, "vector 0+1i; 0+2i"},
      {"sqrt", {"[4,-1]"}, "vector 2; NAN"},
      {"sqr", {"[1+2i;]"}, "matrix -3+4i"},
      {"Abs", {"[3+4i,0-2i;]"}, "matrix 5,2"},
  };
  for (const OpCase& c : cases) EXPECT_EQ(Eval(Functions::Get().Word(c.op), c.args), c.expected) << c.op;
}

// A compiled node evaluated again writes into the storage it already has.
TEST(ElementWise, SecondEvaluationDoesNotAllocate) {
  Val v = Vec({0.5, 1, 2}), cv = V("[1+1i,2-1i]"), m = Mat(2, 2, {1, 2, 3, 4}), cm = V("[1+2i;]");
  for (const char* name : {"exp", "ln", "sqrt", "sqr", "sin", "cos", "tan", "abs"}) {
    for (TValueRec* arg : {v.get(), cv.get(), m.get(), cm.get()}) {
      NodeRunner run(Functions::Get().Word(name), {arg});
      run.Eval();
      AllocationCounter allocations;
      run.Eval();
      EXPECT_EQ(allocations.Count(), 0u) << name << " " << ValTypeName(arg->ValueType());
    }
  }
}

}  // namespace
}  // namespace zel::test
