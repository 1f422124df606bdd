// colconcat and rowconcat: result kinds of both variants, placement of every argument kind, and the
// exact messages of every rejected combination.
#include <gtest/gtest.h>

#include <functional>

#include "library_helper.h"
#include "parse/expression.h"
#include "support/alloc_counter.h"

namespace zel::test {
namespace {

Snapshot RealVec(std::vector<double> v, bool complex = false) {
  const int n = static_cast<int>(v.size()) / (complex ? 2 : 1);
  return {vtVectorValue, 1, n, complex, prInt32, std::move(v), {}};
}
Snapshot IntV(std::vector<double> v, TIntPrecision p = prInt32) {
  const int n = static_cast<int>(v.size());
  return {vtIntVectorValue, 1, n, false, p, std::move(v), {}};
}
Snapshot RealMat(int rows, int cols, std::vector<double> v, bool complex = false) {
  return {vtMatrixValue, rows, cols, complex, prInt32, std::move(v), {}};
}
Snapshot IntM(int rows, int cols, std::vector<double> v, TIntPrecision p = prInt32) {
  return {vtIntMatrixValue, rows, cols, false, p, std::move(v), {}};
}
Snapshot Text(std::string s) { return {vtString, 1, 1, false, prInt32, {}, std::move(s)}; }

struct Case {
  const char* what;
  bool alwaysReal;
  std::function<std::vector<Val>()> args;
  Snapshot expected;
};

struct Failure {
  const char* what;
  bool alwaysReal;
  std::function<std::vector<Val>()> args;
  std::string message;
};

void Check(const char* function, const Case& c) {
  std::vector<Val> args = c.args();
  NodeRunner run(Functions::Get(c.alwaysReal).Word(function), Raw(args));
  run.Eval();
  EXPECT_EQ(Snap(run.Eval()), c.expected) << c.what;  // a second run over the same result agrees
}

void Check(const char* function, const Failure& c) {
  std::vector<Val> args = c.args();
  NodeRunner run(Functions::Get(c.alwaysReal).Word(function), Raw(args));
  EXPECT_EQ(MessageOf([&] { run.Eval(); }), c.message) << c.what;
  EXPECT_EQ(run.Node().Res->ValueType(), vtUndefined) << c.what << ": result defined before the check";
}

const std::string kRowsMismatch =
    "Concatenation of matrices in a row requires all items to be a matrix with equal row count.";

TEST(ColConcat, ResultKindsAndPlacement) {
  const Case cases[] = {
      {"integers, real variant", true, [] { return Args(Int(1), Int(2), Int(3)); }, RealVec({1, 2, 3})},
      {"integers, integer variant", false, [] { return Args(Int(1), Int(2), Int(3)); }, IntV({1, 2, 3})},
      {"a double makes integers real", false, [] { return Args(Int(1), Dbl(2.5)); }, RealVec({1, 2.5})},
      {"complex scalar", true, [] { return Args(Int(1), Cplx(1, 2)); }, RealVec({1, 0, 1, 2}, true)},
      {"complex vector widens reals", true,
       [] {
         return Args(Dbl(3), CVec({{1, -1}}));
       },
       RealVec({3, 0, 1, -1}, true)},
      {"vectors, ranges and one-row matrices in order", true,
       [] {
         return Args(Vec({1, 2}), Range({3, 4}), Mat(1, 2, {5, 6}), IntMat(1, 1, {7}), ExtRange({8, 9}));
       },
       RealVec({1, 2, 3, 4, 5, 6, 7, 8, 9})},
      {"integer data keeps the widest precision", false,
       [] {
         return Args(IntVec({1, 2}, prUInt8), IntVec({300}, prInt16), IntMat(1, 1, {4}, prUInt8));
       },
       IntV({1, 2, 300, 4}, prInt16)},
      {"8-bit vectors stay 8-bit", false, [] { return Args(IntVec({1}, prUInt8), IntVec({2}, prUInt8)); },
       IntV({1, 2}, prUInt8)},
      {"an integer scalar forces 32 bits", false, [] { return Args(IntVec({1}, prUInt8), Int(70000)); },
       IntV({1, 70000}, prInt32)},
      {"integer range stays integer", false,
       [] {
         return Args(Range({1, 3}), Int(4));
       },
       IntV({1, 2, 3, 4})},
      {"one-row real matrix makes integers real", false, [] { return Args(IntVec({1}), Mat(1, 1, {2.5})); },
       RealVec({1, 2.5})},
      {"empty vectors contribute nothing", true, [] { return Args(Vec({}), Dbl(1), Vec({})); }, RealVec({1})},
      {"matrices side by side", true,
       [] {
         return Args(Mat(2, 2, {1, 2, 3, 4}), Mat(2, 1, {5, 6}));
       },
       RealMat(2, 3, {1, 2, 5, 3, 4, 6})},
      {"integer matrix joins a real matrix as reals", false,
       [] {
         return Args(IntMat(2, 1, {1, 2}), Mat(2, 1, {3.5, 4.5}));
       },
       RealMat(2, 2, {1, 3.5, 2, 4.5})},
      {"complex matrix makes the block complex", true,
       [] {
         return Args(Mat(2, 1, {1, 2}), CMat(2, 1, {{3, 1}, {4, -1}}));
       },
       RealMat(2, 2, {1, 0, 3, 1, 2, 0, 4, -1}, true)},
      {"integer matrices, widest precision", false,
       [] {
         return Args(IntMat(2, 1, {1, 2}, prUInt8), IntMat(2, 2, {3, 4, 5, 6}, prInt16));
       },
       IntM(2, 3, {1, 3, 4, 2, 5, 6}, prInt16)},
      {"integer matrices are real in the real variant", true,
       [] {
         return Args(IntMat(2, 1, {1, 2}), IntMat(2, 1, {3, 4}));
       },
       RealMat(2, 2, {1, 3, 2, 4})},
      {"strings with numbers and booleans", true,
       [] { return Args(Str("a"), Int(1), Bool(true), Bool(false)); }, Text("a110")},
      {"numbers before the string are text too", true, [] { return Args(Dbl(2.5), Str("x"), Cplx(1, -2)); },
       Text("2.5x1-2i")},
  };
  for (const Case& c : cases) Check("colconcat", c);
}

TEST(ColConcat, Messages) {
  const Failure cases[] = {
      {"boolean before the string", true, [] { return Args(Bool(true), Str("a")); },
       "Unsupported type for column concatenation: bool"},
      {"boolean vector", true, [] { return Args(Dbl(1), BoolVec({1})); },
       "Unsupported type for column concatenation: bool vector"},
      {"undefined", true, [] { return Args(Dbl(1), Undef()); },
       "Unsupported type for column concatenation: undefined"},
      {"vector in a string", true, [] { return Args(Str("a"), Vec({1})); },
       "Concentation of strings supported in combination of integer, double and boolean values!"},
      {"row counts differ", true, [] { return Args(Mat(2, 3, {}), Mat(3, 3, {})); }, kRowsMismatch},
      {"integer matrices with different row counts", false,
       [] { return Args(IntMat(2, 1, {}), IntMat(3, 1, {})); }, kRowsMismatch},
      {"scalar beside integer matrices", false, [] { return Args(IntMat(2, 1, {}), Int(1)); },
       "Concatenation of matrices in a row requires all items to be integer matrices with equal row count."},
      {"vector beside matrices", true,
       [] {
         return Args(Mat(2, 1, {}), Vec({1, 2}));
       },
       "Concatenation of matrices in a row requires all items to be a matrices with equal row count."},
      {"string after a matrix", true, [] { return Args(Mat(2, 1, {}), Str("a")); },
       "Concatenation of matrices is supported for integer and real matrices."},
  };
  for (const Failure& c : cases) Check("colconcat", c);
}

TEST(RowConcat, ResultKindsAndPlacement) {
  const Case cases[] = {
      {"[1, 2; 3, 4]", true,
       [] {
         return Args(Vec({1, 2}), Vec({3, 4}));
       },
       RealMat(2, 2, {1, 2, 3, 4})},
      {"complex scalar among real one-element vectors", true,
       [] { return Args(Vec({1}), Cplx(0, 1), Vec({2})); }, RealMat(3, 1, {1, 0, 0, 1, 2, 0}, true)},
      {"integer scalars, real variant", true, [] { return Args(Int(1), Int(2)); }, RealMat(2, 1, {1, 2})},
      {"integer scalars, integer variant", false, [] { return Args(Int(1), Int(2)); }, IntM(2, 1, {1, 2})},
      {"integer vectors keep the widest precision", false,
       [] {
         return Args(IntVec({1, 2}, prUInt8), IntVec({3, 400}, prInt16));
       },
       IntM(2, 2, {1, 2, 3, 400}, prInt16)},
      {"integer matrix and range rows", false,
       [] {
         return Args(IntMat(2, 2, {1, 2, 3, 4}), Range({5, 6}));
       },
       IntM(3, 2, {1, 2, 3, 4, 5, 6})},
      {"a double makes the integer variant real", false, [] { return Args(Int(1), Dbl(2.5)); },
       RealMat(2, 1, {1, 2.5})},
      {"matrix, vector and integer vector rows", true,
       [] {
         return Args(Mat(2, 2, {1, 2, 3, 4}), Vec({5, 6}), IntVec({7, 8}));
       },
       RealMat(4, 2, {1, 2, 3, 4, 5, 6, 7, 8})},
      {"extended range as a row", true,
       [] {
         return Args(ExtRange({0, 0.5, 1}), Vec({1, 2, 3}));
       },
       RealMat(2, 3, {0, 0.5, 1, 1, 2, 3})},
  };
  for (const Case& c : cases) Check("rowconcat", c);
}

std::string ColumnMessage(const std::string& label, int position) {
  return "Column count for " + label + std::to_string(position) +
         " does not match other parameters specified for row concatenation!";
}

TEST(RowConcat, Messages) {
  const Failure cases[] = {
      {"[1, 2; 3, 4, 5]", true,
       [] {
         return Args(Vec({1, 2}), Vec({3, 4, 5}));
       },
       ColumnMessage("(vector) paramter ", 1)},
      {"double under a row of two", true,
       [] {
         return Args(Vec({1, 2}), Dbl(3));
       },
       ColumnMessage("(double value) parameter ", 1)},
      {"complex under a row of two", true,
       [] {
         return Args(Vec({1, 2}), Cplx(3, 1));
       },
       ColumnMessage("(complex value) parameter ", 1)},
      {"integer under a row of two", false,
       [] {
         return Args(IntVec({1, 2}), Int(3));
       },
       ColumnMessage("(integer value) parameter ", 1)},
      {"scalar first, vector later", true,
       [] {
         return Args(Dbl(1), Vec({1, 2}));
       },
       ColumnMessage("(double value) parameter ", 0)},
      {"integer vector", false,
       [] {
         return Args(IntVec({1, 2}), IntVec({3}));
       },
       ColumnMessage("(integer vector) parameter ", 1)},
      {"integer range counts as integer vector", false,
       [] {
         return Args(IntVec({1, 2}), Range({1, 3}));
       },
       ColumnMessage("(integer vector) parameter ", 1)},
      {"matrix", true,
       [] {
         return Args(Vec({1, 2}), Mat(2, 3, {}));
       },
       ColumnMessage("(matrix) parameter ", 1)},
      {"integer matrix", false, [] { return Args(IntMat(1, 3, {}), IntMat(2, 2, {})); },
       ColumnMessage("(integer matrix) parameter ", 1)},
      {"string", true, [] { return Args(Vec({1}), Str("a")); },
       "Unsupported type for row concatenation: string"},
      {"boolean matrix", true, [] { return Args(BoolMat(1, 1, {1})); },
       "Unsupported type for row concatenation: bool matrix"},
  };
  for (const Failure& c : cases) Check("rowconcat", c);
}

TEST(Concat, RegistrationFollowsTheVariant) {
  for (bool alwaysReal : {true, false}) {
    const Functions& f = Functions::Get(alwaysReal);
    EXPECT_EQ(f.Refs().colConcat, f.Word("colconcat"));
    EXPECT_EQ(f.Refs().rowConcat, f.Word("rowconcat"));
    EXPECT_TRUE(f.Word("colconcat")->VariableArgCount());
    EXPECT_EQ(
        f.Word("colconcat")->Help(),
        "colconcat(src1, src2, ...): concatenate all parameters in to one vector row or matrix provided that "
        "sizes are matching");
    EXPECT_EQ(
        f.Word("rowconcat")->Help(),
        "rowconcat(src1, src2, ...): concatenate all parameters in to one vector column or matrix provided "
        "that sizes are matching");
    int index = 0;
    EXPECT_FALSE(f.Words().Find("Colconcat", index));
    EXPECT_FALSE(f.Words().Find("RowConcat", index));
  }
  EXPECT_NE(Functions::Get(true).Word("colconcat")->Func(), Functions::Get(false).Word("colconcat")->Func());
}

// Arguments whose type changes between evaluations give the node's result a new type.
TEST(Concat, ResultFollowsArgumentTypeChanges) {
  Val a = Int(1), b = Int(2);
  NodeRunner run(Functions::Get(false).Word("colconcat"), {a.get(), b.get()});
  EXPECT_EQ(Snap(run.Eval()), IntV({1, 2}));
  b->Undefine();
  b->DefineDouble();
  b->SetDoubleValue(0.5);
  EXPECT_EQ(Snap(run.Eval()), RealVec({1, 0.5}));
}

// [a, b; c, d] and [m, m] evaluated again with unchanged sizes reuse their storage.
TEST(Concat, SecondEvaluationDoesNotAllocate) {
  Val a = Vec({1, 2}), b = CVec({{1, 1}}), m = IntMat(2, 2, {1, 2, 3, 4}), r = Mat(2, 2, {1, 2, 3, 4});
  Val x = Dbl(1), i = Int(2);
  struct Node {
    bool alwaysReal;
    const char* function;
    std::vector<TValueRec*> args;
  } nodes[] = {
      {true, "colconcat", {a.get(), b.get(), x.get(), i.get()}},
      {false, "colconcat", {m.get(), m.get()}},
      {true, "colconcat", {r.get(), m.get()}},
      {true, "rowconcat", {a.get(), a.get(), r.get()}},
      {false, "rowconcat", {m.get(), m.get()}},
  };
  for (const Node& n : nodes) {
    NodeRunner run(Functions::Get(n.alwaysReal).Word(n.function), n.args);
    run.Eval();
    AllocationCounter allocations;
    run.Eval();
    EXPECT_EQ(allocations.Count(), 0u) << n.function << " " << ValTypeName(n.args[0]->ValueType());
  }
}

// The bracket syntax of scripts compiles into these two functions.
TEST(Concat, BracketSyntax) {
  TZelExpression x;
  EXPECT_EQ(Snap(*x.Run("[1, 2; 3, 4]")), RealMat(2, 2, {1, 2, 3, 4}));
  EXPECT_EQ(Snap(*x.Run("[1, 2, 3]")), RealVec({1, 2, 3}));
  EXPECT_EQ(MessageOf([&] { x.Run("[1, 2; 3, 4, 5]"); }),
            "Column count for (vector) paramter 1 does not match other parameters specified for row "
            "concatenation!");
}

}  // namespace
}  // namespace zel::test
