// The expression object end to end: flow control, line-numbered errors, typed evaluation, symbols,
// contexts, printing, and allocation-free re-runs of compiled scripts.
#include "script/expression.h"

#include <gtest/gtest.h>

#include "support/alloc_counter.h"
#include "support/oper_helper.h"

namespace zel::test {
namespace {

void Noop(TExprRec&) {}

std::string Script(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* l : lines) text += std::string(text.empty() ? "" : "\r\n") + l;
  return text;
}

TEST(FlowControl, BranchesAndLoops) {
  const struct {
    std::string script;
    const char* var;
    double value;
  } cases[] = {
      {Script({"x = 1", "if x > 0", "y = 1", "else", "y = 2", "end"}), "y", 1},
      {Script({"x = -1", "if x > 0", "y = 1", "else", "y = 2", "end"}), "y", 2},
      {Script({"y = 0", "if false", "y = 1", "end"}), "y", 0},
      {Script({"s = 0", "for i = 3:1", "s = s*10 + i", "end"}), "s", 321},
      {Script({"s = 0.0", "for i = 1:0.5:2", "s = s + i", "end"}), "s", 4.5},
      {Script({"s = 0", "for i = 5:1:1", "s = s + 1", "end"}), "s", 0},
      {Script({"s = 0", "k = 0", "while k < 5", "k = k + 1", "if k == 2", "continue", "end", "s = s + k",
               "end"}),
       "s", 13},
      // Two loops at one level, each with its own break.
      {Script({"s = 0", "for i = 1:5", "if i == 2", "break", "end", "s = s + 1", "end", "for j = 1:5",
               "if j == 4", "break", "end", "s = s + 10", "end"}),
       "s", 31},
      // Nested loops: the inner break leaves only the inner loop.
      {Script({"s = 0", "for i = 1:3", "for j = 1:3", "if j > i", "break", "end", "s = s + 1", "end", "end"}),
       "s", 6},
  };
  for (const auto& c : cases) {
    TZelExpression x;
    x.SetExpressions(c.script);
    x.EvaluateCompiled();
    const TValueRec* v = x.GetVarByName(c.var);
    ASSERT_NE(v, nullptr) << c.script;
    const double got =
        v->ValueType() == vtIntegerValue ? static_cast<double>(v->IntegerValue()) : v->DoubleValue();
    EXPECT_EQ(got, c.value) << c.script;
  }
}

TEST(FlowControl, EvaluateIgnoresJumps) {
  TZelExpression x;
  x.SetExpressions(Script({"x = 1", "if x > 0", "y = 1", "else", "y = 2", "end"}));
  x.Evaluate();
  EXPECT_EQ(x.GetVarByName("y")->IntegerValue(), 2);  // every line ran once, in order
}

TEST(FlowControl, ErrorsCarryTheLineIndex) {
  const struct {
    std::string script;
    bool compileOnly;
    std::string message;
  } cases[] = {
      {Script({"x = 1", "if x", "y = 1", "end"}), false,
       "Line 1: If: The if-clause condition must be a boolean (true/false)."},
      {Script({"if 1", "y = 1", "end"}), true,
       "Line 0: If: The if-clause condition must be a boolean (true/false)."},
      {Script({"if x", "y = 1"}), true, "Line 1: Syntax error: missing \"end\" keyword!"},
      {Script({"y = 1", "x = end"}), true, "Line 1: The \"end\" keyword must be the only word on the line."},
      {"x = end", true, "The \"end\" keyword must be the only word on the line."},
      {Script({"k = 1", "while k", "end"}), false,
       "Line 1: While: The while-loop condition must be a boolean (true/false)."},
      // A zero step never reaches the stop: 1:0:5 would run no time and 5:0:1 for ever.
      {Script({"s = 0", "for i = 1:0:5", "s = s + 1", "end"}), false,
       "Line 1: Invalid Range specification with zero step!"},
      {Script({"s = 0", "for i = 5:0:1", "s = s + 1", "end"}), false,
       "Line 1: Invalid Range specification with zero step!"},
      {Script({"s = 0", "for x = 0:0.0:1", "s = s + 1", "end"}), false,
       "Line 1: Invalid Range specification with zero step!"},
  };
  for (const auto& c : cases) {
    TZelExpression x;
    x.SetExpressions(c.script);
    EXPECT_EQ(MessageOf([&] { c.compileOnly ? x.Compile() : (void)x.EvaluateCompiled(); }), c.message)
        << c.script;
  }
}

TEST(FlowControl, NestingLimit) {
  std::string deep, deeper;
  for (int i = 0; i < 40; ++i) deep += "if true\r\n";
  for (int i = 0; i < 40; ++i) deep += "end\r\n";
  TZelExpression x;
  x.SetExpressions(deep);
  EXPECT_NO_THROW(x.EvaluateCompiled());
  for (int i = 0; i < 41; ++i) deeper += "if true\r\n";
  for (int i = 0; i < 41; ++i) deeper += "end\r\n";
  x.SetExpressions(deeper);
  EXPECT_EQ(MessageOf([&] { x.Compile(); }).rfind("Line 40: Too many nested blocks", 0), 0u);
}

TEST(ExpressionObject, HostVariablesAndResults) {
  TZelExpression x;
  x.DefineDouble("x").SetDoubleValue(2);
  x.Run("y = x*3");
  ASSERT_NE(x.VarByName("y"), nullptr);
  EXPECT_EQ(x.VarByName("y")->ValueType(), vtDoubleValue);
  EXPECT_EQ(x.VarByName("y")->DoubleValue(), 6);
  EXPECT_EQ(x.EvaluatedVarName(0), "y");
  EXPECT_EQ(x.VarByName("nothing"), nullptr);
}

TEST(ExpressionObject, TypedEvaluation) {
  TZelExpression x;
  x.Run("4");
  EXPECT_EQ(x.EvaluateDouble(), 4.0);
  x.Run("1+0i");
  EXPECT_EQ(x.EvaluateDouble(), 1.0);
  x.Run("true");
  EXPECT_EQ(x.EvaluateComplex(), TCplx(1, 0));
  const struct {
    const char* expr;
    std::function<void(TZelExpression&)> eval;
    std::string message;
  } cases[] = {
      {"2+3i", [](TZelExpression& e) { e.EvaluateDouble(); },
       "TZelExpression.EvaluateDouble: double value was expected, but result is \"complex\""},
      {"1", [](TZelExpression& e) { e.EvaluateBool(); },
       "TZelExpression.EvaluateBool: boolean value was expected, but result is \"integer\""},
      {"\"s\"", [](TZelExpression& e) { e.EvaluateComplex(); },
       "TZelExpression.EvaluateComplex: \"complex\" value requsted as the result of expression, but result "
       "is "
       "\"string\""},
      {"1", [](TZelExpression& e) { e.EvaluateVector(); },
       "TZelExpression.EvaluateVector: \"vector\" value type requested as the result of expression, but "
       "result is "
       "\"integer\""},
      {"1", [](TZelExpression& e) { e.EvaluateMatrixInt(); },
       "TZelExpression.EvaluateMatrix: matrix value expected, but result is \"integer\""},
  };
  for (const auto& c : cases) {
    x.ClearExpressions();
    x.AddExpr(c.expr);
    EXPECT_EQ(MessageOf([&] { c.eval(x); }), c.message) << c.expr;
  }
  x.ClearExpressions();
  EXPECT_EQ(MessageOf([&] { x.Evaluate(); }), "TZelExpression.Evaluate: No expressions");
  EXPECT_EQ(x.EvaluateCompiled(), nullptr);
}

TEST(ExpressionObject, SymbolListsAndUndefine) {
  TZelExpression x;
  x.DefineFunction("f", Noop, 1, "one");
  x.DefineFunction("f", Noop, 2, "two");
  std::vector<std::string> names, help;
  x.GetFuncList(names, &help, true);
  auto at = std::find(names.begin(), names.end(), "f()");
  ASSERT_NE(at, names.end());
  EXPECT_EQ(help[static_cast<size_t>(at - names.begin())], "one");
  ASSERT_LT(at + 1, names.end());
  EXPECT_EQ(at[1], "f(,)");
  EXPECT_EQ(help[static_cast<size_t>(at - names.begin()) + 1], "two");
  EXPECT_NE(std::find(names.begin(), names.end(), "if()"), names.end());

  x.GetOperList(names, &help);
  EXPECT_NE(std::find(names.begin(), names.end(), ".*"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "*"), names.end());
  EXPECT_EQ(std::find(names.begin(), names.end(), "*."), names.end());

  x.GetConstList(names, &help);
  EXPECT_NE(std::find(names.begin(), names.end(), "else"), names.end());

  EXPECT_TRUE(x.Undefine("f"));
  EXPECT_FALSE(x.Undefine("("));
  EXPECT_FALSE(x.Undefine(""));
  EXPECT_FALSE(x.Undefine("f"));
  x.ClearExpressions();
  x.AddExpr("f(1)");
  EXPECT_EQ(MessageOf([&] { x.Evaluate(); }), UnknownExprWord);
}

TEST(ExpressionObject, ScriptText) {
  TZelExpression x;
  x.SetExpressions("a = 1\r\nb = 2\r\nc = a + b");
  EXPECT_EQ(x.ExprCount(), 3);
  EXPECT_EQ(x.Expressions(), "a = 1\r\nb = 2\r\nc = a + b");
  x.SetExpression(1, "b = 5");
  x.InsertExpr(0, "z = 0");
  x.DeleteExpr(3);
  EXPECT_EQ(x.Expressions(), "z = 0\r\na = 1\r\nb = 5");
  x.SetExpressions("   ");
  EXPECT_EQ(x.ExprCount(), 0);
}

TEST(ExpressionObject, ContextsRoundTrip) {
  TZelExpression a;
  a.SetExpressions("y = x + 1");
  a.DefineDouble("x").SetDoubleValue(2.5);
  a.DefineCustomValue("c");
  TExprContext ctx;
  a.SaveContext(ctx);
  EXPECT_EQ(ctx.Expression(), "y = x + 1");
  EXPECT_EQ(ctx.Variables().FindByName("c"), nullptr);

  TZelExpression b;
  b.LoadContext(ctx);
  EXPECT_EQ(b.Expressions(), "y = x + 1");
  EXPECT_EQ(b.VarByName("x")->DoubleValue(), 2.5);
  EXPECT_EQ(b.EvaluateDouble(), 3.5);
}

TEST(ExpressionObject, VarPrintFormats) {
  TZelExpression x;
  std::vector<std::string> out;
  const struct {
    const char* expr;
    std::vector<std::string> lines;
  } cases[] = {
      {"3", {"v(integer) = 3"}},    {"0.5", {"v(double) = 0.5"}},         {"1-2i", {"v(complex) = 1-2i"}},
      {"true", {"v(bool) = True"}}, {"\"a b\"", {"v(string) = \"a b\""}}, {"1:2:5", {"v(range) = 1:2:5"}},
  };
  for (const auto& c : cases) {
    out.clear();
    x.VarPrint(*x.Run(c.expr), "v", out);
    EXPECT_EQ(out, c.lines) << c.expr;
  }
  TValueRec undefined;
  out.clear();
  x.VarPrint(undefined, "u", out);
  EXPECT_EQ(out, std::vector<std::string>{"result type is undefined."});
  Val v = Vec({1, 2, 3});
  out.clear();
  x.VarPrint(*v, "v", out);
  ASSERT_EQ(out.size(), 5u);
  EXPECT_EQ(out[0], "v(vector, 1x3) = ");
  EXPECT_EQ(out[1], "");
  EXPECT_EQ(x.VarToolTip("s", *Str("abc")), "s(string, Length = 3) = \"abc\"");
}

// A result that is a view of a variable must not be read after the variable moved its storage, and a
// loop over a matrix must survive the matrix being reassigned in its body.
TEST(ExpressionObject, StaleViewsAreReportedNotRead) {
  TZelExpression x;
  x.SetExpressions(Script({"v = [1, 2, 3, 4, 5]", "v(1:3)", "v = [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12]"}));
  x.Evaluate();
  EXPECT_EQ(
      MessageOf([&] { x.ExprResult(1); }),
      "The result of line 1 refers to data that has changed since it was computed; evaluate the line again");
  EXPECT_EQ(x.Evaluate(1)->VectorValue().Length(), 3);  // evaluating again gives a current view
  EXPECT_NO_THROW(x.ExprResult(1));

  x.SetExpressions(Script({"m = [1, 2; 3, 4]", "s = 0.0", "for r = m", "m = [1, 2, 3; 4, 5, 6; 7, 8, 9]",
                           "s = s + r(0)", "end"}));
  x.EvaluateCompiled();
  // Row 0 of the first m, then rows 1 and 2 of the new one: the loop reads m again at every step.
  EXPECT_EQ(x.VarByName("s")->DoubleValue(), 1.0 + 4.0 + 7.0);
}

TEST(SelfTest, BatteryPassesAndChecksReport) {
  TZelExpression x;
  EXPECT_NO_THROW(x.SelfTest());
  EXPECT_NO_THROW(x.NegativeTest("1 +"));    // fails to compile
  EXPECT_NO_THROW(x.NegativeTest("zz(3)"));  // fails at run time
  EXPECT_EQ(MessageOf([&] { x.NegativeTest("1+1"); }), "Negative test failed for: 1+1");
  EXPECT_EQ(MessageOf([&] { x.Test("1", std::nan("")); }), "TZelExpression.Test(1) tested for NAN or INF!");
  EXPECT_EQ(MessageOf([&] { x.Test("1+1", 3.0); }), "TZelExpression.Test: 3 <> 1+1");
  EXPECT_NO_THROW(x.TestVec("[1, 2] + 1e-12", std::vector<double>{1, 2}));
  EXPECT_EQ(MessageOf([&] { x.TestVec("[1, 2]", std::vector<double>{1, 3}); }), "result <> [1, 2]");
}

TEST(ExpressionObject, CompiledScalarScriptRerunsWithoutAllocating) {
  TZelExpression x;
  x.DefineDouble("a").SetDoubleValue(1.5);
  x.SetExpressions(Script({"s = 0.0", "for i = 1:100", "s = s + i*a - 1", "k = i * 2", "end", "t = s / 2"}));
  x.EvaluateCompiled();
  AllocationCounter allocations;
  x.EvaluateRun(0);
  EXPECT_EQ(allocations.Count(), 0u);
  EXPECT_EQ(x.VarByName("t")->DoubleValue(), (1.5 * 5050 - 100) / 2);
}

}  // namespace
}  // namespace zel::test
