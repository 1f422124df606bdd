// Scripts that used to crash, run out of memory or take quadratic time, and assignments the compiler must
// refuse. Each row is a script and either its value (type name and text) or the exact error message.
// Sizes are moderate so the sanitizer build stays fast; they still exceed what recursion along the tree
// survives there (a 20,000-term sum is a tree 20,000 nodes deep).
#include <gtest/gtest.h>

#include <string>

#include "script/expression.h"
#include "support/core_helper.h"

namespace zel::test {
namespace {

// `times` copies of `text`.
std::string Repeat(const std::string& text, int times) {
  std::string out;
  out.reserve(text.size() * static_cast<size_t>(times));
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

// open^depth inner close^depth.
std::string Nested(const std::string& open, const std::string& inner, const std::string& close, int depth) {
  return Repeat(open, depth) + inner + Repeat(close, depth);
}

// term op term op ... (n terms).
std::string Chain(const std::string& term, const std::string& op, int n) {
  return term + Repeat(op + term, n - 1);
}

const std::string kTooDeep = "Expression nested too deeply: at most 1000 levels";

TEST(Robustness, LargeAndDeepScriptsAndRefusedAssignments) {
  const struct {
    std::string script;
    std::string type;   // type name of the last line's value; empty when an error is expected
    std::string value;  // its text, or the error message
  } cases[] = {
      {"x = " + Chain("1", "+", 20000), "integer", "20000"},
      {"a = 1\n" + Chain("a", "+", 60000), "integer", "60000"},
      {Nested("abs(", "-2", ")", 500), "double", "2"},
      {Nested("(", "7", ")", 1000), "integer", "7"},
      {"v = " + Nested("[", "1.5", "]", 500), "vector", "1.5"},
      {Nested("abs(", "-2", ")", 1001), "", kTooDeep},
      {Nested("(", "7", ")", 1001), "", kTooDeep},
      {"v = " + Nested("[", "1", "]", 1001), "", kTooDeep},
      {"y = 1\n" + Nested("(", "y", ")", 100000), "", "Line 1: " + kTooDeep},
      {"x = " + Repeat("-", 20001) + "1", "integer", "-1"},

      {"x = pi\npi = 4\nx", "", "Line 1: Cannot assign to constant \"pi\""},
      {"false = true\nif false\n1\nend", "", "Line 0: Cannot assign to constant \"false\""},
      {"5 = 3", "", "Cannot assign to the literal 5"},
      {"\"s\" = 3", "", "Cannot assign to the literal \"s\""},
      {"1 + 1 = 3", "", "Cannot assign to the result of \"+\""},
      {"sin(0) = 5", "", "Cannot assign to the result of \"sin\""},
      {"x = 3 = 4", "", "Cannot assign to the result of \"=\""},
      {"assign(5, 0, 1)", "", "Cannot assign to the literal 5"},
      {"for pi = 1:3\nend", "", "Line 0: Cannot assign to constant \"pi\""},
      {"(m, pi) = max([1, 2])", "", "Cannot assign to constant \"pi\""},
      {"(m, i + 1) = max([1, 2])", "", "Cannot assign to the result of \"+\""},
      {"(m, v(1)) = max([1, 2])", "", "Cannot assign to the result of \"select\""},
      {"(m, pi) = max((1)", "", "Unequal brackets"},

      {"not not true", "", "Syntax error: function or operand has too few arguments"},
      {") + (", "", "Syntax error in expression "},
      {"x = \"abc", "string", "ab"},
      {"break", "bool", "True"},
      {"continue\nx = 2", "integer", "2"},
  };
  for (const auto& c : cases) {
    const std::string label = c.script.substr(0, 60);
    TZelExpression x;
    x.SetExpressions(c.script);
    if (c.type.empty()) {
      EXPECT_EQ(MessageOf([&] { x.EvaluateCompiled(); }), c.value) << label;
      continue;
    }
    const TValueRec* result = nullptr;
    EXPECT_NO_THROW(result = x.EvaluateCompiled()) << label;
    if (!result) continue;
    EXPECT_EQ(ValTypeName(result->ValueType()), c.type) << label;
    EXPECT_EQ(result->AsString(), c.value) << label;
  }
}

// The raw tree methods of hosts and tools walk deep trees without recursion too.
TEST(Robustness, RawTreeMethodsOnDeepTrees) {
  TZelExpression x;
  x.DefineDouble("a").SetDoubleValue(0.5);
  auto words = x.ParseString(Chain("a", "+", 20000));
  TExprRec* tree = x.MakeTree(*words);
  EXPECT_TRUE(x.CheckArguments(tree));
  EXPECT_TRUE(x.ResultCanVary(tree));
  EXPECT_EQ(x.EvaluateResultName(tree), "");
  TExprRec* chain = x.MakeLinkedList(x.RemoveConstants(tree));
  EXPECT_DOUBLE_EQ(x.EvaluateList(chain)->Res->DoubleValue(), 10000.0);
  DisposeList(chain);

  words = x.ParseString(Chain("1", "+", 20000));
  tree = x.MakeTree(*words);
  x.DisposeTree(tree);
  EXPECT_EQ(tree, nullptr);
  tree = x.RemoveConstants(x.MakeTree(*words));  // folds to one constant node
  EXPECT_EQ(tree->ArgCount, 0);
  EXPECT_EQ(tree->Args[0]->IntegerValue(), 20000);
  x.DisposeTree(tree);
}

}  // namespace
}  // namespace zel::test
