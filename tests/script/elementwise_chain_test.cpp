// One-pass element-wise chains: a fused line gives the bits that its operations give one line at a time,
// with aliasing, resized and complex host operands, and mismatched sizes raising the usual messages.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "lang/operators/elementwise_chain.h"
#include "script/expression.h"
#include "support/alloc_counter.h"

namespace zel::test {
namespace {

// Host operands: lengths that are no multiple of the block, values whose products and quotients round.
struct Host {
  TVec a, b, c;
  TZel m, n, p;
  TZelExpression x;
  explicit Host(int len = 1237) {
    Size(len, 31, 40);
    for (auto [name, v] : {std::pair{"a", &a}, {"b", &b}, {"c", &c}}) x.DefineVector(name, v);
    for (auto [name, v] : {std::pair{"m", &m}, {"n", &n}, {"p", &p}}) x.DefineMatrix(name, v);
    x.DefineDouble("k").SetDoubleValue(0.3);
  }
  void Size(int len, int rows, int cols) {
    for (TVec* v : {&a, &b, &c}) v->Size(len);
    for (TZel* v : {&m, &n, &p}) v->Size(rows, cols);
    a.Ramp(0.1, 0.37);
    b.Ramp(-3.3, 0.011);
    c.Ramp(1e-3, 1.7);
    m.Ramp(0.7, 0.13);
    n.Ramp(-2.9, 0.031);
    p.Ramp(5.1, -0.7);
  }
  // The nodes of the script that run a fused program.
  int Fused() const {
    int count = 0;
    for (int i = 0; i < x.ExprCount(); ++i)
      for (const TExprRec* e = x.Line(i).Rec; e; e = e->Next) count += e->Oper == RunElementwiseChain;
    return count;
  }
};

// True when two values hold the same type, shape and bits.
bool SameBits(TValueRec& y, TValueRec& r) {
  if (y.ValueType() != r.ValueType()) return false;
  const TNubraVec &u = y.RealElements(), &v = r.RealElements();
  return u.Complex() == v.Complex() && u.Rows() == v.Rows() && u.Cols() == v.Cols() &&
         std::memcmp(u.PValues(), v.PValues(), sizeof(double) * u.ScalarCount()) == 0;
}

// Each case: reference lines computing r one operation per line, then the fused line, which assigns
// `var`: equal to r bit for bit at every evaluation (the first runs node by node); `programs` counts
// the fused trees.
const struct {
  const char* reference;
  const char* fused;
  const char* var;
  int programs;
} kCases[] = {
    {"r = a .* b\nr = r + c", "y = a .* b + c", "y", 1},
    {"t = a - b\nu = c + 2\nt = t ./ u\nu = a * k\nr = t - u", "y = (a - b) ./ (c + 2) - a * k", "y", 1},
    {"t = 1 ./ a\nu = b / 4\nt = t + u\nu = -c\nu = 3 - u\nr = t .* u", "y = (1 ./ a + b / 4) .* (3 - -c)",
     "y", 1},
    {"r = b .* a\nr = r + c", "b = b .* a + c", "b", 1},  // the variable is an operand: in place
    {"r = a .* a\nr = r - a", "a = a .* a - a", "a", 1},
    {"r = m .* n\nr = r + p\nr = r ./ m", "q = (m .* n + p) ./ m", "q", 1},
    {"r = sin(a)\nr = r .* b\nt = c - 1\nr = r + t", "y = sin(a) .* b + (c - 1)", "y", 1},
    {"r = a .* b\nt = exp(c)\nt = t * 2\nr = r + t", "y = a .* b + exp(c) * 2", "y", 1},  // a .* b apart
    {"r = a + b", "s = sum(a .* b + c)\ny = a + b", "y", 1},
};

TEST(ElementwiseChain, FusedLinesGiveTheBitsOfSingleOperations) {
  for (const auto& c : kCases) {
    Host h;
    h.x.SetExpressions(std::string(c.reference) + "\n" + c.fused);
    for (int run = 0; run < 3; ++run) {
      ASSERT_NO_THROW(h.x.Evaluate()) << c.fused;
      EXPECT_TRUE(SameBits(*h.x.VarByName(c.var), *h.x.VarByName("r"))) << c.fused << " run " << run;
    }
    EXPECT_EQ(h.Fused(), c.programs) << c.fused;
  }
}

// Between evaluations the host resizes, mismatches or makes complex the operands: the fused line gives
// what its single operations give, or raises their message.
TEST(ElementwiseChain, HostChangesBetweenEvaluations) {
  Host h;
  h.x.SetExpressions("r = a .* b\nr = r + c\nq = m .* n\nq = q + p\ny = a .* b + c\nz = m .* n + p");
  h.x.Evaluate();
  h.x.Evaluate();
  ASSERT_EQ(h.Fused(), 2);
  const struct {
    int len, rows, cols;
    const char* change;  // resize one operand, make one complex
    const char* message;
  } steps[] = {
      {700, 3, 5, "", nullptr},
      {2000, 40, 41, "", nullptr},
      {0, 0, 0, "", nullptr},
      {2000, 40, 41, "c complex", nullptr},
      {2000, 40, 41, "a short", "Mul: operand lengths differ (1999 and 2000)"},
      {2000, 40, 41, "p short", "Operator \"+\" is not applicable to matrices having differ sizes"},
  };
  for (const auto& s : steps) {
    h.Size(s.len, s.rows, s.cols);
    const std::string change = s.change;
    if (change == "c complex") h.c.Ramp(TCplx(1, 2), TCplx(0.5, -0.25));
    if (change == "a short") h.a.Size(s.len - 1);
    if (change == "p short") h.p.Size(s.rows, s.cols - 1);
    if (s.message) {
      EXPECT_THAT([&] { h.x.Evaluate(4 + (change == "p short")); },
                  testing::ThrowsMessage<std::exception>(testing::StrEq(s.message)));
      continue;
    }
    for (int run = 0; run < 2; ++run) {  // the first run sizes the results, the second fits them
      h.x.Evaluate();
      EXPECT_TRUE(SameBits(*h.x.VarByName("y"), *h.x.VarByName("r"))) << s.len << change;
      EXPECT_TRUE(SameBits(*h.x.VarByName("z"), *h.x.VarByName("q"))) << s.len << change;
    }
  }
}

TEST(ElementwiseChain, ReevaluatingAllocatesNothing) {
  Host h(100000);
  TVec y(7);
  h.x.DefineVector("y", &y);
  h.x.SetExpressions("y = (a .* b + c) ./ (a - 2) * k\nq = -m .* n + p");
  h.x.Evaluate();
  h.x.Evaluate();  // y took its size from the first run
  const double* data = y.PValues();
  AllocationCounter allocations;
  h.x.Evaluate();
  EXPECT_EQ(allocations.Count(), 0u);
  EXPECT_EQ(y.PValues(), data);
  EXPECT_EQ(h.Fused(), 2);
}

}  // namespace
}  // namespace zel::test
