// Contexts own their data: saving copies the host's vectors and matrices, loading gives each variable its
// own copy; the function evaluator recalculates a copied context.
#include <gtest/gtest.h>

#include <functional>

#include "script/expression.h"
#include "script/function_evaluator.h"
#include "support/oper_helper.h"

namespace zel {
namespace {

using test::Values;

// Binds `host` as "w" in A, saves A's context, loads it into B and runs `write` in B. A's host data must
// keep `before`; B's "w" must hold `after`.
struct ContainerCase {
  const char* name;
  std::function<void(TZelExpression&)> bind;  // defines "w" bound to host data with elements 3, 4
  const char* write;
  std::vector<int> before, after;
  std::function<std::vector<int>(TValueRec&)> read;  // "w" as integers (host or loaded)
};

std::vector<int> Ints(const std::vector<double>& v) { return {v.begin(), v.end()}; }

TEST(Context, LoadedVariablesOwnTheirData) {
  TVec vec(2);
  TZel mat(1, 2);
  TVecInt ivec(2), bvec(2);
  TZelInt imat(1, 2), bmat(1, 2);
  vec.Values(0) = mat.Values(0) = 3;
  vec.Values(1) = mat.Values(1) = 4;
  for (TNubraInt* x : std::initializer_list<TNubraInt*>{&ivec, &imat}) x->Set(0, 3), x->Set(1, 4);
  for (TNubraInt* x : std::initializer_list<TNubraInt*>{&bvec, &bmat}) x->Set(0, 1), x->Set(1, 0);
  const auto real = [](TValueRec& v) { return Ints(Values(v.RealElements())); };
  const auto integer = [](TValueRec& v) { return Values(v.IntElements()); };
  const ContainerCase cases[] = {
      {"vector", [&](TZelExpression& e) { e.DefineVector("w", &vec); }, "w(0) = 99", {3, 4}, {99, 4}, real},
      {"matrix",
       [&](TZelExpression& e) { e.DefineMatrix("w", &mat); },
       "w(0, 1) = 99",
       {3, 4},
       {3, 99},
       real},
      {"int vector",
       [&](TZelExpression& e) { e.DefineIntVector("w", &ivec); },
       "w(0) = 99",
       {3, 4},
       {99, 4},
       integer},
      {"int matrix",
       [&](TZelExpression& e) { e.DefineIntMatrix("w", &imat); },
       "w(0, 1) = 99",
       {3, 4},
       {3, 99},
       integer},
      {"bool vector",
       [&](TZelExpression& e) { e.DefineBoolVector("w", &bvec); },
       "w(0) = false",
       {1, 0},
       {0, 0},
       integer},
      {"bool matrix",
       [&](TZelExpression& e) { e.DefineBoolMatrix("w", &bmat); },
       "w(0, 1) = true",
       {1, 0},
       {1, 1},
       integer},
  };
  for (const ContainerCase& c : cases) {
    SCOPED_TRACE(c.name);
    TZelExpression a;
    c.bind(a);
    TExprContext saved;
    a.SaveContext(saved);
    TZelExpression b;
    b.LoadContext(saved);
    b.SetExpressions(c.write);
    b.Evaluate();
    EXPECT_EQ(c.read(*a.VarByName("w")), c.before);                    // the first host's data is untouched
    EXPECT_EQ(c.read(*b.VarByName("w")), c.after);                     // the loaded variable took the write
    EXPECT_EQ(c.read(saved.Variables().Items(0)->Value()), c.before);  // and so is the context's copy
  }
}

TEST(Context, ToolTipsCountCharacters) {
  TZelExpression e;
  const struct {
    const char* text;
    const char* tip;
  } cases[] = {{"abc", "s(string, Length = 3) = \"abc\""},
               {"h\xC3\xA9llo", "s(string, Length = 5) = \"h\xC3\xA9llo\""},
               {"\xE6\x97\xA5\xE6\x9C\xAC", "s(string, Length = 2) = \"\xE6\x97\xA5\xE6\x9C\xAC\""}};
  for (const auto& c : cases) {
    TStringValue& s = e.DefineString("s");
    s.SetStringValue(c.text);
    EXPECT_EQ(e.VarToolTip("s", s), c.tip);
  }
}

TEST(FunctionEvaluator, RecalculatesItsOwnCopyOfTheContext) {
  TVec host(2);
  host.Values(0) = 1;
  host.Values(1) = 2;
  TExprContext context;
  {
    TZelExpression source;
    source.DefineVector("v", &host);
    source.DefineDouble("k").SetDoubleValue(10);
    source.SetExpressions("v(0) = v(0) + 1\nk * v(0)");
    source.SaveContext(context);
  }
  TZelFunctionEvaluator evaluator;
  evaluator.SetContext(context);
  EXPECT_EQ(evaluator.ResultAsString(), "");
  // Each recalculation starts from the context's values, so the result does not drift.
  EXPECT_EQ(evaluator.Recalculate()->DoubleValue(), 20);
  EXPECT_EQ(evaluator.Recalculate()->DoubleValue(), 20);
  EXPECT_EQ(evaluator.ResultAsString(), "20");
  EXPECT_EQ(Values(host), (std::vector<double>{1, 2}));

  // A new context replaces the old one; the evaluator's copy does not follow later changes of the source.
  context.SetExpression("k + 1");
  evaluator.SetContext(context);
  context.SetExpression("k + 2");
  EXPECT_EQ(evaluator.Recalculate()->DoubleValue(), 11);

  // The script text round-trips through a component file.
  const std::string file = ::testing::TempDir() + "evaluator_test.cfg";
  evaluator.SetName("f");
  evaluator.SaveToFile(file);
  TZelFunctionEvaluator loaded;
  loaded.LoadFromFile(file);
  EXPECT_EQ(loaded.Name(), "f");
  EXPECT_EQ(loaded.Context().Expression(), "k + 1");
  std::remove(file.c_str());
}

}  // namespace
}  // namespace zel
