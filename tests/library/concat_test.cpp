// colconcat and rowconcat: result kinds of both variants, placement of every argument kind, and the
// exact messages of every rejected combination.
#include <gtest/gtest.h>

#include "library_helper.h"
#include "script/expression.h"
#include "support/alloc_counter.h"

namespace zel::test {
namespace {

constexpr bool kReal = true, kInt = false;  // the concatenation variant

// An accepted call: evaluated twice over the same result, which must agree with `expected`.
struct Case {
  const char* what;
  bool alwaysReal;
  std::vector<std::string> args;  // written as for V, like the expected value
  std::string expected;
};

// A refused call: the message, raised before the result is defined.
struct Failure {
  const char* what;
  bool alwaysReal;
  std::vector<std::string> args;
  std::string message;
};

// A node of `function` over arguments written as for V, held in `values`.
NodeRunner Node(const char* function, bool alwaysReal, const std::vector<std::string>& args,
                std::vector<Val>& values) {
  std::vector<TValueRec*> raw;
  for (const std::string& a : args) raw.push_back(values.emplace_back(V(a)).get());
  return NodeRunner(Functions::Get(alwaysReal).Word(function), raw);
}

void Check(const char* function, const Case& c) {
  std::vector<Val> values;
  NodeRunner run = Node(function, c.alwaysReal, c.args, values);
  EXPECT_EQ(Snap(run.EvalTwice()), Snap(*V(c.expected))) << c.what;
}

void Check(const char* function, const Failure& c) {
  std::vector<Val> values;
  NodeRunner run = Node(function, c.alwaysReal, c.args, values);
  EXPECT_EQ(MessageOf([&] { run.Eval(); }), c.message) << c.what;
  EXPECT_EQ(run.Node().Res->ValueType(), vtUndefined) << c.what << ": result defined before the check";
}

const std::string kRowsMismatch =
    "Concatenation of matrices in a row requires all items to be a matrix with equal row count.";

TEST(ColConcat, ResultKindsAndPlacement) {
  const Case cases[] = {
      {"integers, real variant", kReal, {"1", "2", "3"}, "[1,2,3]"},
      {"integers, integer variant", kInt, {"1", "2", "3"}, "i[1,2,3]"},
      {"a double makes integers real", kInt, {"1", "2.5"}, "[1,2.5]"},
      {"complex scalar", kReal, {"1", "1+2i"}, "[1+0i,1+2i]"},
      {"complex vector widens reals", kReal, {"3.0", "[1-1i]"}, "[3+0i,1-1i]"},
      {"vectors, ranges and one-row matrices in order",
       kReal,
       {"[1,2]", "3:4", "[5,6;]", "i[7;]", "~8:9"},
       "[1,2,3,4,5,6,7,8,9]"},
      {"integer data keeps the widest precision", kInt, {"u8[1,2]", "i16[300]", "u8[4;]"}, "i16[1,2,300,4]"},
      {"8-bit vectors stay 8-bit", kInt, {"u8[1]", "u8[2]"}, "u8[1,2]"},
      {"an integer scalar forces 32 bits", kInt, {"u8[1]", "70000"}, "i[1,70000]"},
      {"integer range stays integer", kInt, {"1:3", "4"}, "i[1,2,3,4]"},
      {"one-row real matrix makes integers real", kInt, {"i[1]", "[2.5;]"}, "[1,2.5]"},
      {"empty vectors contribute nothing", kReal, {"[]", "1.0", "[]"}, "[1]"},
      {"matrices side by side", kReal, {"[1,2;3,4]", "[5;6]"}, "[1,2,5;3,4,6]"},
      {"integer matrix joins a real matrix as reals", kInt, {"i[1;2]", "[3.5;4.5]"}, "[1,3.5;2,4.5]"},
      {"complex matrix makes the block complex", kReal, {"[1;2]", "[3+1i;4-1i]"}, "[1+0i,3+1i;2+0i,4-1i]"},
      {"integer matrices, widest precision", kInt, {"u8[1;2]", "i16[3,4;5,6]"}, "i16[1,3,4;2,5,6]"},
      {"integer matrices are real in the real variant", kReal, {"i[1;2]", "i[3;4]"}, "[1,3;2,4]"},
      {"strings with numbers and booleans", kReal, {"'a'", "1", "true", "false"}, "'a110'"},
      {"numbers before the string are text too", kReal, {"2.5", "'x'", "1-2i"}, "'2.5x1-2i'"},
  };
  for (const Case& c : cases) Check("colconcat", c);
}

TEST(ColConcat, Messages) {
  const Failure cases[] = {
      {"boolean before the string",
       kReal,
       {"true", "'a'"},
       "Unsupported type for column concatenation: bool"},
      {"boolean vector", kReal, {"1.0", "b[1]"}, "Unsupported type for column concatenation: bool vector"},
      {"undefined", kReal, {"1.0", "?"}, "Unsupported type for column concatenation: undefined"},
      {"vector in a string",
       kReal,
       {"'a'", "[1]"},
       "Concentation of strings supported in combination of integer, double and boolean values!"},
      {"row counts differ", kReal, {"[0,0,0;0,0,0]", "[0,0,0;0,0,0;0,0,0]"}, kRowsMismatch},
      {"integer matrices with different row counts", kInt, {"i[0;0]", "i[0;0;0]"}, kRowsMismatch},
      {"scalar beside integer matrices",
       kInt,
       {"i[0;0]", "1"},
       "Concatenation of matrices in a row requires all items to be integer matrices with equal row count."},
      {"vector beside matrices",
       kReal,
       {"[0;0]", "[1,2]"},
       "Concatenation of matrices in a row requires all items to be a matrices with equal row count."},
      {"string after a matrix",
       kReal,
       {"[0;0]", "'a'"},
       "Concatenation of matrices is supported for integer and real matrices."},
  };
  for (const Failure& c : cases) Check("colconcat", c);
}

TEST(RowConcat, ResultKindsAndPlacement) {
  const Case cases[] = {
      {"[1, 2; 3, 4]", kReal, {"[1,2]", "[3,4]"}, "[1,2;3,4]"},
      {"complex scalar among real one-element vectors", kReal, {"[1]", "0+1i", "[2]"}, "[1+0i;0+1i;2+0i]"},
      {"integer scalars, real variant", kReal, {"1", "2"}, "[1;2]"},
      {"integer scalars, integer variant", kInt, {"1", "2"}, "i[1;2]"},
      {"integer vectors keep the widest precision", kInt, {"u8[1,2]", "i16[3,400]"}, "i16[1,2;3,400]"},
      {"integer matrix and range rows", kInt, {"i[1,2;3,4]", "5:6"}, "i[1,2;3,4;5,6]"},
      {"a double makes the integer variant real", kInt, {"1", "2.5"}, "[1;2.5]"},
      {"matrix, vector and integer vector rows",
       kReal,
       {"[1,2;3,4]", "[5,6]", "i[7,8]"},
       "[1,2;3,4;5,6;7,8]"},
      {"extended range as a row", kReal, {"~0:0.5:1", "[1,2,3]"}, "[0,0.5,1;1,2,3]"},
  };
  for (const Case& c : cases) Check("rowconcat", c);
}

std::string ColumnMessage(const std::string& label, int position) {
  return "Column count for " + label + std::to_string(position) +
         " does not match other parameters specified for row concatenation!";
}

TEST(RowConcat, Messages) {
  const Failure cases[] = {
      {"[1, 2; 3, 4, 5]", kReal, {"[1,2]", "[3,4,5]"}, ColumnMessage("(vector) paramter ", 1)},
      {"double under a row of two", kReal, {"[1,2]", "3.0"}, ColumnMessage("(double value) parameter ", 1)},
      {"complex under a row of two",
       kReal,
       {"[1,2]", "3+1i"},
       ColumnMessage("(complex value) parameter ", 1)},
      {"integer under a row of two", kInt, {"i[1,2]", "3"}, ColumnMessage("(integer value) parameter ", 1)},
      {"scalar first, vector later", kReal, {"1.0", "[1,2]"}, ColumnMessage("(double value) parameter ", 0)},
      {"integer vector", kInt, {"i[1,2]", "i[3]"}, ColumnMessage("(integer vector) parameter ", 1)},
      {"integer range counts as integer vector",
       kInt,
       {"i[1,2]", "1:3"},
       ColumnMessage("(integer vector) parameter ", 1)},
      {"matrix", kReal, {"[1,2]", "[0,0,0;0,0,0]"}, ColumnMessage("(matrix) parameter ", 1)},
      {"integer matrix", kInt, {"i[0,0,0;]", "i[0,0;0,0]"}, ColumnMessage("(integer matrix) parameter ", 1)},
      {"string", kReal, {"[1]", "'a'"}, "Unsupported type for row concatenation: string"},
      {"boolean matrix", kReal, {"b[1;]"}, "Unsupported type for row concatenation: bool matrix"},
  };
  for (const Failure& c : cases) Check("rowconcat", c);
}

// Scripts' bracket syntax compiles into the two words.
TEST(Concat, BracketSyntax) {
  TZelExpression x;
  EXPECT_EQ(Snap(*x.Run("[1, 2; 3, 4]")), Snap(*V("[1,2;3,4]")));
  EXPECT_EQ(Snap(*x.Run("[1, 2, 3]")), Snap(*V("[1,2,3]")));
  EXPECT_EQ(MessageOf([&] { x.Run("[1, 2; 3, 4, 5]"); }), ColumnMessage("(vector) paramter ", 1));
}

// Arguments whose type changes between evaluations give the node's result a new type.
TEST(Concat, ResultFollowsArgumentTypeChanges) {
  Val a = Int(1), b = Int(2);
  NodeRunner run(Functions::Get(kInt).Word("colconcat"), {a.get(), b.get()});
  EXPECT_EQ(Snap(run.Eval()), Snap(*V("i[1,2]")));
  b->Undefine();
  b->DefineDouble();
  b->SetDoubleValue(0.5);
  EXPECT_EQ(Snap(run.Eval()), Snap(*V("[1,0.5]")));
}

// [a, b; c, d] and [m, m] evaluated again with unchanged sizes reuse their storage.
TEST(Concat, SecondEvaluationDoesNotAllocate) {
  Val a = Vec({1, 2}), b = V("[1+1i]"), m = V("i[1,2;3,4]"), r = Mat(2, 2, {1, 2, 3, 4});
  Val x = Dbl(1), i = Int(2);
  const struct {
    bool alwaysReal;
    const char* function;
    std::vector<TValueRec*> args;
  } nodes[] = {
      {kReal, "colconcat", {a.get(), b.get(), x.get(), i.get()}},
      {kInt, "colconcat", {m.get(), m.get()}},
      {kReal, "colconcat", {r.get(), m.get()}},
      {kReal, "rowconcat", {a.get(), a.get(), r.get()}},
      {kInt, "rowconcat", {m.get(), m.get()}},
  };
  for (const auto& n : nodes) {
    NodeRunner run(Functions::Get(n.alwaysReal).Word(n.function), n.args);
    run.Eval();
    AllocationCounter allocations;
    run.Eval();
    EXPECT_EQ(allocations.Count(), 0u) << n.function << " " << ValTypeName(n.args[0]->ValueType());
  }
}

}  // namespace
}  // namespace zel::test
