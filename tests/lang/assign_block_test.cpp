// Assignment to a(row, col): elements, column parts, row parts and blocks of the three matrix kinds.
#include <gtest/gtest.h>

#include "lang/assign_support.h"
#include "support/alloc_counter.h"

namespace zel::test {
namespace {

constexpr const char* kNone = "<no exception>";

std::string Assign4(TValueRec& dst, TValueRec& row, TValueRec& col, TValueRec& src) {
  return MessageOf([&] { NodeRunner(Assign4Word(), {&dst, &row, &col, &src}).EvalTwice(); });
}

TEST(AssignBlock, WritesTheAddressedPart) {
  const struct {
    const char* what;
    Val dst, row, col, src;
    std::string text;
  } cases[] = {
      {"element", Zero(Mat(2, 2, {})), Int(1), Int(0), Dbl(5), "2x2: 0 0 5 0"},
      {"element from bool", Zero(Mat(1, 2, {})), Int(0), Int(1), Bool(true), "1x2: 0 1"},
      {"top-left block", Zero(Mat(3, 3, {})), Range({0, 1}), Range({0, 1}), Dbl(1), "3x3: 1 1 0 1 1 0 0 0 0"},
      {"column part", Zero(Mat(3, 2, {})), Range({0, 2}), Int(1), Vec({1, 2, 3}), "3x2: 0 1 0 2 0 3"},
      {"column part from n x 1", Zero(Mat(2, 2, {})), Range({0, 1}), Int(0), Mat(2, 1, {4, 5}),
       "2x2: 4 0 5 0"},
      {"rows to the last", Zero(Mat(3, 1, {})), Range({1, -1}), Int(0), Dbl(7), "3x1: 0 7 7"},
      {"row part", Zero(Mat(2, 3, {})), Int(1), Range({0, -1}), Vec({1, 2, 3}), "2x3: 0 0 0 1 2 3"},
      {"row part from 1 x n", Zero(Mat(1, 3, {})), Int(0), Range({1, 2}), Mat(1, 2, {8, 9}), "1x3: 0 8 9"},
      {"block from matrix", Zero(Mat(2, 3, {})), Range({0, 1}), Range({1, 2}), Mat(2, 2, {1, 2, 3, 4}),
       "2x3: 0 1 2 0 3 4"},
      {"block from vector", Zero(Mat(2, 3, {})), Range({0, 1}), Range({0, 1}), Vec({1, 2, 3, 4}),
       "2x3: 1 2 0 3 4 0"},
      {"reversed range writes nothing", Zero(Mat(2, 1, {})), Range({1, 0}), Int(0), Dbl(1), "2x1: 0 0"},
      {"real into complex", Zero(CMat(1, 2, {})), Int(0), Range({0, 1}), Vec({1, 2}), "1x2: 1+0i 2+0i"},
      {"range source", Zero(Mat(1, 3, {})), Int(0), Range({0, 2}), Range({3, 1}), "1x3: 3 2 1"},
      {"int block", Zero(IntMat(2, 2, {})), Range({0, 1}), Int(1), IntVec({5, 6}), "2x2: 0 5 0 6"},
      {"int range source", Zero(IntMat(1, 3, {}, prInt16)), Int(0), Range({0, 2}), Range({1, 3}),
       "1x3: 1 2 3"},
      {"int element from bool", Zero(IntMat(1, 1, {})), Int(0), Int(0), Bool(true), "1x1: 1"},
      {"bool column", Zero(BoolMat(2, 2, {})), Range({0, 1}), Int(0), Bool(true), "2x2: 1 0 1 0"},
      {"integer into bool stores 1", Zero(BoolMat(1, 1, {})), Int(0), Int(0), Int(7), "1x1: 1"},
      {"bool block from bool matrix", Zero(BoolMat(2, 2, {})), Range({0, 1}), Range({1, 1}),
       BoolMat(2, 1, {1, 1}), "2x2: 0 1 0 1"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Assign4(*c.dst, *c.row, *c.col, *c.src), kNone) << c.what;
    EXPECT_EQ(Text(*c.dst), c.text) << c.what;
  }
}

// Sources of each destination kind: a scalar, a vector of n and a matrix of r x c.
Val ScalarOf(TValueType kind) {
  return kind == vtMatrixValue ? Dbl(1) : kind == vtIntMatrixValue ? Int(1) : Bool(true);
}
Val VectorOf(TValueType kind, int n) {
  Val v = kind == vtMatrixValue ? Vec({}) : kind == vtIntMatrixValue ? IntVec({}) : BoolVec({});
  if (kind == vtMatrixValue) v->VectorValue().Resize(n);
  if (kind != vtMatrixValue) v->IntVectorField()->Resize(n);
  return v;
}
Val MatrixOf(TValueType kind, int rows, int cols) {
  Val m = kind == vtMatrixValue      ? Zero(Mat(0, 0, {}))
          : kind == vtIntMatrixValue ? Zero(IntMat(0, 0, {}))
                                     : Zero(BoolMat(0, 0, {}));
  if (kind == vtMatrixValue) m->MatrixValue().Resize(rows, cols);
  if (kind != vtMatrixValue) m->IntMatrixField()->Resize(rows, cols);
  return m;
}

// Every check on a 3 x 4 destination of each kind, with the texts in which the kinds differ.
TEST(AssignBlock, ChecksAndTheirTextsPerKind) {
  const struct {
    TValueType kind;
    const char *colBound, *rowRangeInt, *rowRangeStep, *rowBound, *colRangeInt, *blockRangeInt;
  } kinds[] = {
      {vtMatrixValue, "Matrix column 4 out of range [0..3]", "Matrix range must be an integer range!",
       "assign: matrix range x:y:z not supported", "Assign: Matrix row 3 out of range [0..2]",
       "Assign: Matrix range must be an integer range!", "Assign: matrix range must be an integer range!"},
      {vtIntMatrixValue, "Assign: matrix column 4 out of range [0..3]",
       "Assign: matrix range must be an integer range!", "Assign: matrix range x:y:z not supported",
       "Assign: Matrix row 3 out of range [0..2]", "Assign: Matrix range must be an integer range!",
       "Assing: matrix range must be an integer range!"},
      {vtBoolMatrixValue, "Assign: Matrix column 4 out of range [0..3]",
       "Assign: matrix range must be an integer range!", "Assign: matrix range x:y:z not supported",
       "Matrix row 3 out of range [0..2]", "Matrix range must be an integer range!",
       "Assign: Matrix range must be an integer range!"},
  };
  for (const auto& k : kinds) {
    const TValueType K = k.kind;
    const struct {
      Val row, col, src;
      std::string message;
    } cases[] = {
        {Int(0), Int(0), ScalarOf(K), kNone},
        {Range({0, 1}), Int(4), ScalarOf(K), k.colBound},
        {ExtRange({0, 1}), Int(0), ScalarOf(K), k.rowRangeInt},
        {Range({0, 2, 2}), Int(0), ScalarOf(K), k.rowRangeStep},
        {Range({0, 3}), Int(0), ScalarOf(K), "Assign: destination matrix row range exceeded: 0 <= 3 < 3"},
        {Range({-1, 1}), Int(0), ScalarOf(K), "Assign: destination matrix row range exceeded: 0 <= -1 < 3"},
        {Range({0, 2}), Int(0), VectorOf(K, 2),
         "Assign: Source matrix does not fit in to the specified range: Src.Length = 2, Len = 3"},
        {Range({0, 2}), Int(0), MatrixOf(K, 1, 3),
         "Assign: Source matrix does not fit in to the specified range: Src.Rows = 1, Src.Cols = 3, Len = 3"},
        {Range({0, 1}), Int(0), Str("s"),
         "Assign: The \"string\"  type on the right side of equation is not supported."},
        {Int(3), Range({0, 1}), ScalarOf(K), k.rowBound},
        {Int(0), ExtRange({0, 1}), ScalarOf(K), k.colRangeInt},
        {Int(0), Range({0, 1, 2}), ScalarOf(K), "Assign: matrix range x:y:z not supported"},
        {Int(0), Range({1, 4}), ScalarOf(K), "Assign: destination matrix column range exceeded: 0 <= 4 < 4"},
        {Int(0), Range({0, -1}), VectorOf(K, 2),
         "Assign: source matrix does not fit in to the specified range: Src.Length = 2, Len = 4"},
        {Int(0), Range({0, -1}), MatrixOf(K, 4, 1),
         "Assign: Source matrix does not fit in to the specified range: Src.Rows = 4, Src.Cols = 1, Len = 4"},
        {Int(1), Range({0, 3}), Str("s"),
         "Assign: The \"string\"  type on the right side of the equation is not supported."},
        {Range({0, 1}), ExtRange({0, 1}), ScalarOf(K), k.blockRangeInt},
        {Range({0, 1, 1}), Range({0, 1}), ScalarOf(K), "Assign: matrix ranges with x:y:z are not supported!"},
        {Range({0, 3}), Range({0, 1}), ScalarOf(K), "Assign: matrix row 3 out of range [0..2]"},
        {Range({0, 1}), Range({2, 4}), ScalarOf(K), "Assign: matrix column 4 out of range [0..3]"},
        {Range({0, 1}), Range({0, 1}), VectorOf(K, 3),
         "Source vector does not fit in to the specified range: Src.Length = 3, rowLen = 2, colLen = 2"},
        {Range({0, 1}), Range({0, 1}), MatrixOf(K, 1, 4),
         "Source matrix does not fit in to the specified range: Src.Rows = 1, rowLen = 2, Src.Cols = 4, "
         "colLen = 2"},
        {Range({0, 1}), Range({0, 1}), Cplx(0, 1),
         K == vtMatrixValue
             ? "Cant assign complex number to real valued matrix!"
             : "Assign: The \"complex\"  type on the right side of the equation is not supported."},
        {Int(0), Int(0), VectorOf(K, 1),
         Fmt("Unsupported value type combination: %s ( integer, integer ) = %s)", ValTypeName(K),
             ValTypeName(VectorOf(K, 1)->ValueType()))},
        {Str("0"), Int(0), ScalarOf(K),
         Fmt("Unsupported value type combination: %s ( string, integer ) = %s)", ValTypeName(K),
             ValTypeName(ScalarOf(K)->ValueType()))},
    };
    for (const auto& c : cases) {
      Val dst = MatrixOf(K, 3, 4);
      EXPECT_EQ(Assign4(*dst, *c.row, *c.col, *c.src), c.message) << ValTypeName(K);
      EXPECT_EQ(Text(*dst).substr(0, 4), "3x4:") << "nothing grows";
    }
  }
}

TEST(AssignBlock, ElementBoundsRaiseTheRangeErrorClass) {
  Val m = Zero(Mat(3, 4, {})), i = Int(3), j = Int(0), x = Dbl(1);
  EXPECT_EQ(Assign4(*m, *i, *j, *x), "Matrix element (3,0) out of range [0..2,0..3]");
  EXPECT_THROW(NodeRunner(Assign4Word(), {m.get(), i.get(), j.get(), x.get()}).Eval(), ENubraRangeError);
  Val bm = Zero(BoolMat(1, 1, {})), k = Int(-1), b = Bool(true);
  EXPECT_EQ(Assign4(*bm, *j, *k, *b), "Matrix element (0,-1) out of range [0..0,0..0]");
}

TEST(AssignBlock, RefusedDestinations) {
  Val v = Vec({1}), i = Int(0), x = Dbl(1), u = Undef();
  EXPECT_EQ(Assign4(*v, *i, *i, *x),
            "Unsupported value type combination: vector ( integer, integer ) = double)");
  EXPECT_EQ(Assign4(*u, *i, *i, *x), UnknownExprWord);
  Val m = Zero(Mat(1, 1, {}));
  EXPECT_EQ(Assign4(*m, *i, *i, *u), UnknownExprWord);
}

TEST(AssignBlock, ResultRefersToTheDestinationAndRerunsAllocateNothing) {
  struct {
    const char* what;
    std::vector<Val> args;
  } cases[] = {
      {"block fill", Args(Zero(Mat(3, 3, {})), Range({0, 1}), Range({0, 1}), Dbl(1))},
      {"block copy", Args(Zero(Mat(3, 3, {})), Range({1, 2}), Range({1, 2}), Mat(2, 2, {1, 2, 3, 4}))},
      {"column copy", Args(Zero(IntMat(3, 3, {})), Range({0, -1}), Int(2), IntVec({1, 2, 3}))},
      {"element", Args(Zero(BoolMat(2, 2, {})), Int(1), Int(1), Bool(true))},
  };
  for (auto& c : cases) {
    NodeRunner run(Assign4Word(), {c.args[0].get(), c.args[1].get(), c.args[2].get(), c.args[3].get()});
    ASSERT_NO_THROW(run.Eval()) << c.what;
    TValueRec& res = *run.Node().Res;
    EXPECT_EQ(res.ValueType(), c.args[0]->ValueType());
    EXPECT_TRUE(res.MatrixField() == c.args[0]->MatrixField() &&
                res.IntMatrixField() == c.args[0]->IntMatrixField());
    AllocationCounter allocations;
    run.Eval();
    EXPECT_EQ(allocations.Count(), 0u) << c.what;
  }
}

}  // namespace
}  // namespace zel::test
