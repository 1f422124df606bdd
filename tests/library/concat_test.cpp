// colconcat and rowconcat: result kinds of both variants, placement of every argument kind, and the
// exact messages of every rejected combination.
#include <gtest/gtest.h>

#include "library_helper.h"
#include "script/expression.h"
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

constexpr bool kReal = true, kInt = false;  // the concatenation variant

// An accepted call: evaluated twice over the same result, which must agree with `expected`.
struct Case {
  const char* what;
  bool alwaysReal;
  std::vector<Val> args;
  Snapshot expected;
};

// A refused call: the message, raised before the result is defined.
struct Failure {
  const char* what;
  bool alwaysReal;
  std::vector<Val> args;
  std::string message;
};

void Check(const char* function, const Case& c) {
  NodeRunner run(Functions::Get(c.alwaysReal).Word(function), Raw(c.args));
  EXPECT_EQ(Snap(run.EvalTwice()), c.expected) << c.what;
}

void Check(const char* function, const Failure& c) {
  NodeRunner run(Functions::Get(c.alwaysReal).Word(function), Raw(c.args));
  EXPECT_EQ(MessageOf([&] { run.Eval(); }), c.message) << c.what;
  EXPECT_EQ(run.Node().Res->ValueType(), vtUndefined) << c.what << ": result defined before the check";
}

const std::string kRowsMismatch =
    "Concatenation of matrices in a row requires all items to be a matrix with equal row count.";

TEST(ColConcat, ResultKindsAndPlacement) {
  const Case cases[] = {
      {"integers, real variant", kReal, Args(Int(1), Int(2), Int(3)), RealVec({1, 2, 3})},
      {"integers, integer variant", kInt, Args(Int(1), Int(2), Int(3)), IntV({1, 2, 3})},
      {"a double makes integers real", kInt, Args(Int(1), Dbl(2.5)), RealVec({1, 2.5})},
      {"complex scalar", kReal, Args(Int(1), Cplx(1, 2)), RealVec({1, 0, 1, 2}, true)},
      {"complex vector widens reals", kReal, Args(Dbl(3), CVec({{1, -1}})), RealVec({3, 0, 1, -1}, true)},
      {"vectors, ranges and one-row matrices in order", kReal,
       Args(Vec({1, 2}), Range({3, 4}), Mat(1, 2, {5, 6}), IntMat(1, 1, {7}), ExtRange({8, 9})),
       RealVec({1, 2, 3, 4, 5, 6, 7, 8, 9})},
      {"integer data keeps the widest precision", kInt,
       Args(IntVec({1, 2}, prUInt8), IntVec({300}, prInt16), IntMat(1, 1, {4}, prUInt8)),
       IntV({1, 2, 300, 4}, prInt16)},
      {"8-bit vectors stay 8-bit", kInt, Args(IntVec({1}, prUInt8), IntVec({2}, prUInt8)),
       IntV({1, 2}, prUInt8)},
      {"an integer scalar forces 32 bits", kInt, Args(IntVec({1}, prUInt8), Int(70000)), IntV({1, 70000})},
      {"integer range stays integer", kInt, Args(Range({1, 3}), Int(4)), IntV({1, 2, 3, 4})},
      {"one-row real matrix makes integers real", kInt, Args(IntVec({1}), Mat(1, 1, {2.5})),
       RealVec({1, 2.5})},
      {"empty vectors contribute nothing", kReal, Args(Vec({}), Dbl(1), Vec({})), RealVec({1})},
      {"matrices side by side", kReal, Args(Mat(2, 2, {1, 2, 3, 4}), Mat(2, 1, {5, 6})),
       RealMat(2, 3, {1, 2, 5, 3, 4, 6})},
      {"integer matrix joins a real matrix as reals", kInt, Args(IntMat(2, 1, {1, 2}), Mat(2, 1, {3.5, 4.5})),
       RealMat(2, 2, {1, 3.5, 2, 4.5})},
      {"complex matrix makes the block complex", kReal,
       Args(Mat(2, 1, {1, 2}), CMat(2, 1, {{3, 1}, {4, -1}})),
       RealMat(2, 2, {1, 0, 3, 1, 2, 0, 4, -1}, true)},
      {"integer matrices, widest precision", kInt,
       Args(IntMat(2, 1, {1, 2}, prUInt8), IntMat(2, 2, {3, 4, 5, 6}, prInt16)),
       IntM(2, 3, {1, 3, 4, 2, 5, 6}, prInt16)},
      {"integer matrices are real in the real variant", kReal,
       Args(IntMat(2, 1, {1, 2}), IntMat(2, 1, {3, 4})), RealMat(2, 2, {1, 3, 2, 4})},
      {"strings with numbers and booleans", kReal, Args(Str("a"), Int(1), Bool(true), Bool(false)),
       Text("a110")},
      {"numbers before the string are text too", kReal, Args(Dbl(2.5), Str("x"), Cplx(1, -2)),
       Text("2.5x1-2i")},
  };
  for (const Case& c : cases) Check("colconcat", c);
}

TEST(ColConcat, Messages) {
  const Failure cases[] = {
      {"boolean before the string", kReal, Args(Bool(true), Str("a")),
       "Unsupported type for column concatenation: bool"},
      {"boolean vector", kReal, Args(Dbl(1), BoolVec({1})),
       "Unsupported type for column concatenation: bool vector"},
      {"undefined", kReal, Args(Dbl(1), Undef()), "Unsupported type for column concatenation: undefined"},
      {"vector in a string", kReal, Args(Str("a"), Vec({1})),
       "Concentation of strings supported in combination of integer, double and boolean values!"},
      {"row counts differ", kReal, Args(Mat(2, 3, {}), Mat(3, 3, {})), kRowsMismatch},
      {"integer matrices with different row counts", kInt, Args(IntMat(2, 1, {}), IntMat(3, 1, {})),
       kRowsMismatch},
      {"scalar beside integer matrices", kInt, Args(IntMat(2, 1, {}), Int(1)),
       "Concatenation of matrices in a row requires all items to be integer matrices with equal row count."},
      {"vector beside matrices", kReal, Args(Mat(2, 1, {}), Vec({1, 2})),
       "Concatenation of matrices in a row requires all items to be a matrices with equal row count."},
      {"string after a matrix", kReal, Args(Mat(2, 1, {}), Str("a")),
       "Concatenation of matrices is supported for integer and real matrices."},
  };
  for (const Failure& c : cases) Check("colconcat", c);
}

TEST(RowConcat, ResultKindsAndPlacement) {
  const Case cases[] = {
      {"[1, 2; 3, 4]", kReal, Args(Vec({1, 2}), Vec({3, 4})), RealMat(2, 2, {1, 2, 3, 4})},
      {"complex scalar among real one-element vectors", kReal, Args(Vec({1}), Cplx(0, 1), Vec({2})),
       RealMat(3, 1, {1, 0, 0, 1, 2, 0}, true)},
      {"integer scalars, real variant", kReal, Args(Int(1), Int(2)), RealMat(2, 1, {1, 2})},
      {"integer scalars, integer variant", kInt, Args(Int(1), Int(2)), IntM(2, 1, {1, 2})},
      {"integer vectors keep the widest precision", kInt,
       Args(IntVec({1, 2}, prUInt8), IntVec({3, 400}, prInt16)), IntM(2, 2, {1, 2, 3, 400}, prInt16)},
      {"integer matrix and range rows", kInt, Args(IntMat(2, 2, {1, 2, 3, 4}), Range({5, 6})),
       IntM(3, 2, {1, 2, 3, 4, 5, 6})},
      {"a double makes the integer variant real", kInt, Args(Int(1), Dbl(2.5)), RealMat(2, 1, {1, 2.5})},
      {"matrix, vector and integer vector rows", kReal,
       Args(Mat(2, 2, {1, 2, 3, 4}), Vec({5, 6}), IntVec({7, 8})), RealMat(4, 2, {1, 2, 3, 4, 5, 6, 7, 8})},
      {"extended range as a row", kReal, Args(ExtRange({0, 0.5, 1}), Vec({1, 2, 3})),
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
      {"[1, 2; 3, 4, 5]", kReal, Args(Vec({1, 2}), Vec({3, 4, 5})), ColumnMessage("(vector) paramter ", 1)},
      {"double under a row of two", kReal, Args(Vec({1, 2}), Dbl(3)),
       ColumnMessage("(double value) parameter ", 1)},
      {"complex under a row of two", kReal, Args(Vec({1, 2}), Cplx(3, 1)),
       ColumnMessage("(complex value) parameter ", 1)},
      {"integer under a row of two", kInt, Args(IntVec({1, 2}), Int(3)),
       ColumnMessage("(integer value) parameter ", 1)},
      {"scalar first, vector later", kReal, Args(Dbl(1), Vec({1, 2})),
       ColumnMessage("(double value) parameter ", 0)},
      {"integer vector", kInt, Args(IntVec({1, 2}), IntVec({3})),
       ColumnMessage("(integer vector) parameter ", 1)},
      {"integer range counts as integer vector", kInt, Args(IntVec({1, 2}), Range({1, 3})),
       ColumnMessage("(integer vector) parameter ", 1)},
      {"matrix", kReal, Args(Vec({1, 2}), Mat(2, 3, {})), ColumnMessage("(matrix) parameter ", 1)},
      {"integer matrix", kInt, Args(IntMat(1, 3, {}), IntMat(2, 2, {})),
       ColumnMessage("(integer matrix) parameter ", 1)},
      {"string", kReal, Args(Vec({1}), Str("a")), "Unsupported type for row concatenation: string"},
      {"boolean matrix", kReal, Args(BoolMat(1, 1, {1})),
       "Unsupported type for row concatenation: bool matrix"},
  };
  for (const Failure& c : cases) Check("rowconcat", c);
}

// Scripts' bracket syntax compiles into the two words.
TEST(Concat, BracketSyntax) {
  TZelExpression x;
  EXPECT_EQ(Snap(*x.Run("[1, 2; 3, 4]")), RealMat(2, 2, {1, 2, 3, 4}));
  EXPECT_EQ(Snap(*x.Run("[1, 2, 3]")), RealVec({1, 2, 3}));
  EXPECT_EQ(MessageOf([&] { x.Run("[1, 2; 3, 4, 5]"); }), ColumnMessage("(vector) paramter ", 1));
}

// Arguments whose type changes between evaluations give the node's result a new type.
TEST(Concat, ResultFollowsArgumentTypeChanges) {
  Val a = Int(1), b = Int(2);
  NodeRunner run(Functions::Get(kInt).Word("colconcat"), {a.get(), b.get()});
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
