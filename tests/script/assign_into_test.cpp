// Results written straight into the assigned variable (lang/operators/direct.h): where the variable may
// not take a result as it stands (an operand shares its storage, it is undefined or of another size)
// every evaluation still gives what the copy gives, and re-runs of host-bound vector and matrix
// assignments allocate nothing.
#include <gtest/gtest.h>

#include "script/expression.h"
#include "support/alloc_counter.h"
#include "support/oper_helper.h"

namespace zel::test {
namespace {

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text = "a = [1,2,3]\r\nb = [4,5,6]\r\nc = [7,8,9]";
  for (const char* l : lines) text += std::string("\r\n") + l;
  return text;
}

// Each loop runs its assignment at least twice: the first run picks the routines, later runs may write
// straight into the variable. Expected values are worked out by hand.
TEST(AssignInto, GivesTheCopiedResult) {
  const struct {
    std::string script;
    const char* var;
    const char* expected;
  } cases[] = {
      {Lines({"for k = 1:3", "y = a .* b + c", "end"}), "y", "vector 11; 18; 27"},
      {Lines({"for k = 1:3", "y = a .* b + c", "if k == 2", "y = [1,2]", "end", "end"}), "y",
       "vector 11; 18; 27"},
      {Lines({"for k = 1:2", "a = a .* b + a", "end"}), "a", "vector 25; 72; 147"},  // a·(b+1)²
      {Lines({"for k = 1:2", "b = a .* b - b", "end"}), "b", "vector 0; 5; 24"},     // b·(a-1)²
      {Lines({"y = [1,2,3]", "for k = 1:2", "y = y(0:2) + 1", "end"}), "y", "vector 3; 4; 5"},
      {Lines({"for k = 1:3", "y = 12 ./ a", "s = y(2)", "undefine(y)", "y = a - c", "end"}), "s", "double 4"},
      {Lines({"m = [1,2;3,4]", "for k = 1:2", "m = m * m", "end"}), "m", "matrix 199,290; 435,634"},
      {Lines({"m = [1,2;3,4]", "for k = 1:2", "m = m + m", "end"}), "m", "matrix 4,8; 12,16"},
  };
  for (const auto& c : cases) {
    TZelExpression x;
    x.SetExpressions(c.script);
    EXPECT_NO_THROW(x.EvaluateCompiled()) << c.script;
    EXPECT_EQ(Show(*x.VarByName(c.var)), c.expected) << c.script;
  }
}

TEST(AssignInto, HostObjectsAreWrittenInPlaceWithoutAllocating) {
  constexpr int n = 1000;
  TVec a(n), b(n), c(n), y(n);
  TZel m(3, 3), p(3, 3);
  a.Ramp(1, 1);
  b.Ramp(2, 0.5);
  c.Ramp(-3, 2);
  m.Ramp(1, 1);
  TZelExpression x;
  x.DefineVector("a", &a);
  x.DefineVector("b", &b);
  x.DefineVector("c", &c);
  x.DefineVector("y", &y);
  x.DefineMatrix("m", &m);
  x.DefineMatrix("p", &p);
  x.SetExpressions("y = a .* b + c\r\np = m * m");
  x.Evaluate();
  const double* data = y.PValues();
  AllocationCounter allocations;
  x.Evaluate();
  EXPECT_EQ(allocations.Count(), 0u);
  EXPECT_EQ(y.PValues(), data);
  for (int i = 0; i < n; ++i) ASSERT_EQ(y.Values(i), (i + 1) * (2 + 0.5 * i) + (2 * i - 3)) << i;
  // m = [1,2,3;4,5,6;7,8,9]: m·m = [30,36,42;66,81,96;102,126,150]
  EXPECT_EQ(Show(*x.VarByName("p")), "matrix 30,36,42; 66,81,96; 102,126,150");
}

}  // namespace
}  // namespace zel::test
