// gcd, lcm, remdiv, thresholds, the random functions, undefine, IsEqual and ifthen: values at the
// reference points of reference/binary_functions.inc (NumPy), messages, script forms, seeded runs, and
// evaluation without allocation.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "binary_refs.h"
#include "core/random.h"
#include "library_helper.h"
#include "script/expression.h"
#include "support/alloc_counter.h"

namespace zel::test {
namespace {

using namespace refs;

TExprWord* Word(const char* name) { return Functions::Get().Word(name); }

Snapshot IntV(std::vector<double> v, TIntPrecision p = prInt32) {
  return {vtIntVectorValue, 1, static_cast<int>(v.size()), false, p, std::move(v), {}};
}

// A node of `name` on the arguments: its message, or "" when it runs.
std::string Outcome(const char* name, std::vector<TValueRec*> args) {
  NodeRunner run(Word(name), std::move(args));
  const std::string m = MessageOf([&] { run.Eval(); });
  return m == "<no exception>" ? "" : m;
}

// ---- gcd, lcm, remdiv ------------------------------------------------------------------------------

TEST(IntegerFunctions, Scalars) {
  for (const DivisorRef& c : kDivisorRefs) {
    Val x = Int(c.x), y = Int(c.y);
    NodeRunner run(Word(c.name), {x.get(), y.get()});
    EXPECT_EQ(run.EvalTwice().IntegerValue(), c.expected) << c.name << "(" << c.x << ", " << c.y << ")";
  }
  for (const RemDivRef& c : kRemDivRefs) {
    Val x = Int(c.x), y = Int(c.y), q = Undef(), r = Undef();
    NodeRunner run(Word("remdiv"), {x.get(), y.get(), q.get(), r.get()});
    EXPECT_EQ(run.EvalTwice().IntegerValue(), c.quotient);
    EXPECT_EQ(std::tuple(q->IntegerValue(), r->IntegerValue()), std::tuple(c.quotient, c.remainder)) << c.x;
  }
  Val min = Int(INT64_MIN), zero = Int(0), big = Int(std::int64_t{1} << 40),
      odd = Int((std::int64_t{1} << 40) - 1), q = Undef(), r = Undef();
  EXPECT_EQ(Outcome("gcd", {min.get(), zero.get()}), "Integer overflow");  // 2^63
  EXPECT_EQ(Outcome("lcm", {big.get(), odd.get()}), "Integer overflow");
  EXPECT_EQ(Outcome("remdiv", {big.get(), zero.get(), q.get(), r.get()}), "Division by zero");
}

TEST(IntegerFunctions, Arrays) {
  Val a = IntVec({12, -4, 0, 7}), b = IntVec({18, 6, 0, 13}), m = IntMat(2, 2, {18, 6, 0, 13}), six = Int(6),
      bytes = IntVec({200, 100}, prUInt8), small = IntVec({3, 7}, prUInt8);
  const struct {
    const char* name;
    TValueRec *x, *y;
    Snapshot expected;
  } cases[] = {
      {"gcd", a.get(), b.get(), IntV({6, 2, 0, 1})},
      {"Gcd", six.get(), a.get(), IntV({6, 2, 6, 1})},
      {"lcm", a.get(), six.get(), IntV({12, 12, 0, 42})},
      {"lcm", a.get(), m.get(), {vtIntMatrixValue, 2, 2, false, prInt32, {36, 12, 0, 91}, {}}},
      {"lcm", bytes.get(), small.get(), IntV({255, 255}, prUInt8)},  // 600 and 700 saturate
  };
  for (const auto& c : cases) {
    NodeRunner run(Word(c.name), {c.x, c.y});
    EXPECT_EQ(Snap(run.EvalTwice()), c.expected) << c.name;
  }
  // remdiv of arrays: outputs of the larger shape; the result is the quotient's object.
  Val x = IntVec({7, -7, 9}), y = IntMat(1, 3, {2, 2, -4}), q = Undef(), r = Undef();
  NodeRunner run(Word("remdiv"), {x.get(), y.get(), q.get(), r.get()});
  TValueRec& res = run.EvalTwice();
  EXPECT_EQ(&res.IntMatrixValue(), &q->IntMatrixValue());
  EXPECT_EQ(Snap(*q), (Snapshot{vtIntMatrixValue, 1, 3, false, prInt32, {3, -3, -2}, {}}));
  EXPECT_EQ(Snap(*r), (Snapshot{vtIntMatrixValue, 1, 3, false, prInt32, {1, -1, 1}, {}}));
  // The outputs may be the operands themselves.
  Val u = IntVec({7, -7}), w = IntVec({2, 3});
  NodeRunner(Word("remdiv"), {u.get(), w.get(), u.get(), w.get()}).Eval();
  EXPECT_EQ(Snap(*u), IntV({3, -2}));
  EXPECT_EQ(Snap(*w), IntV({1, -1}));
}

TEST(IntegerFunctions, SizeAndPrecisionMessages) {
  Val v3 = IntVec({1, 2, 3}), v2 = IntVec({1, 2}), m23 = IntMat(2, 3, {1, 2, 3, 4, 5, 6}),
      m32 = IntMat(3, 2, {1, 2, 3, 4, 5, 6}), short3 = IntVec({1, 2, 3}, prInt16);
  EXPECT_EQ(Outcome("gcd", {v3.get(), v2.get()}),
            "Gcd: Source arguments have differ dimensions: Src1.Length = 3, Src2.Length = 2");
  EXPECT_EQ(Outcome("gcd", {m23.get(), m32.get()}),
            "Gcd: Source arguments have differ dimensions: Src1.Rows = 2, Src2.Rows = 3, Src1.Cols = 3, "
            "Src2.Cols = 2");
  EXPECT_EQ(
      Outcome("gcd", {v3.get(), short3.get()}),
      "Gcd: Source arguments have differ integer precision: Src1.IntPrecision = prInt32, Src2.IntPrecision = "
      "prInt16");
  EXPECT_EQ(Outcome("lcm", {m23.get(), v2.get()}),
            "Lcm: Source arguments have differ dimensions: Src1.Length = 6, Src2.Length = 2");
}

// ---- thresholds ------------------------------------------------------------------------------------

TEST(Thresholds, Values) {
  for (const ThresholdRef& c : kThresholdRefs) {
    Val x = c.xKind == 'c' ? Cplx(c.x.real(), c.x.imag()) : Dbl(c.x.real()), level = Dbl(c.level);
    NodeRunner run(Word(c.name), {x.get(), level.get()});
    TValueRec& r = run.EvalTwice();
    const TCplx got = r.ValueType() == vtComplexValue ? r.ComplexValue() : TCplx(r.DoubleValue());
    EXPECT_LE(std::abs(got - c.expected), 1e-14 * std::max(1.0, std::abs(c.expected))) << c.name << c.x;
  }
  Val v = Vec({1, -2, kNaN}), m = CMat(1, 2, {{3, 4}, {0, 0}}), zero = Int(0), two = Dbl(2), i = Int(-3),
      bytes = IntVec({-5, 5, 200}, prUInt8), big = Int(300), ten = Int(10);
  NodeRunner real(Word("threshbottom"), {v.get(), zero.get()});
  const TVec& r = real.EvalTwice().VectorValue();
  EXPECT_EQ(std::tuple(r.Length(), r.Values(0), r.Values(1)), std::tuple(3, 1.0, 0.0));
  EXPECT_TRUE(std::isnan(r.Values(2)));
  NodeRunner complex(Word("threshtop"), {m.get(), two.get()});
  const TZel& c = complex.EvalTwice().MatrixValue();
  EXPECT_LE(std::abs(c.CValues(0) - TCplx(1.2, 1.6)), 1e-15);  // 3+4i at modulus 2
  EXPECT_EQ(c.CValues(1), TCplx(0, 0));
  const struct {
    const char* name;
    TValueRec *x, *level;
    Snapshot expected;
  } integers[] = {
      {"ThreshBottom", i.get(), zero.get(), {vtIntegerValue, 1, 1, false, prInt32, {0}, {}}},
      {"threshtop", bytes.get(), ten.get(), IntV({10, 5, 10}, prUInt8)},  // the 8-bit -5 is 251
      {"threshbottom", bytes.get(), big.get(), IntV({255, 255, 255}, prUInt8)},
  };
  for (const auto& t : integers) {
    NodeRunner run(Word(t.name), {t.x, t.level});
    EXPECT_EQ(Snap(run.EvalTwice()), t.expected) << t.name;
  }
  Val three = Int(3), half = Dbl(0.5);  // an integer needs an integer level
  EXPECT_EQ(Outcome("threshbottom", {three.get(), half.get()}),
            "Unsupported value types: threshbottom ( integer, double )");
}

// ---- random numbers --------------------------------------------------------------------------------

TEST(Random, RangesAndMoments) {
  SetRandomSeed(20240611);
  NodeRunner uniform(Word("random"), {});
  NodeRunner gauss(Word("randomg"), {});
  constexpr int n = 20000;
  double sumU = 0, sumG = 0, sumG2 = 0, lo = 1, hi = -1;
  for (int k = 0; k < n; ++k) {
    const double u = uniform.Eval().DoubleValue();
    const double g = gauss.Eval().DoubleValue();
    lo = std::min(lo, u);
    hi = std::max(hi, u);
    sumU += u;
    sumG += g;
    sumG2 += g * g;
  }
  EXPECT_TRUE(lo >= -1 && lo < -0.99 && hi > 0.99 && hi < 1) << lo << " " << hi;
  EXPECT_NEAR(sumU / n, 0, 0.02);   // standard error 0.004
  EXPECT_NEAR(sumG / n, 0, 0.03);   // 0.007
  EXPECT_NEAR(sumG2 / n, 1, 0.05);  // 0.01
}

// The generator is std::mt19937_64: seeded with the standard's default 5489, its first output is
// 14514284786278117030, whose top 53 bits make random's first value.
TEST(Random, SeededRunsRepeat) {
  SetRandomSeed(5489);
  NodeRunner uniform(Word("Random"), {});
  EXPECT_EQ(uniform.Eval().DoubleValue(),
            std::ldexp(static_cast<double>(14514284786278117030ull >> 11), -53) * 2 - 1);

  TZelExpression x;
  x.SetExpressions("a = random\r\nb = randg(1, 2)\r\nc = RandomG + a");
  const auto run = [&] {
    SetRandomSeed(7);
    x.EvaluateCompiled();
    return std::tuple(x.VarByName("a")->DoubleValue(), x.VarByName("b")->DoubleValue(),
                      x.VarByName("c")->DoubleValue());
  };
  const auto first = run();
  EXPECT_EQ(run(), first);
  EXPECT_NE(std::get<1>(first), std::get<2>(first) - std::get<0>(first));  // two draws, nothing folded
  EXPECT_EQ(MessageOf([&] { x.Run("randg"); }), "No \"randg\" overload accepts 0 arguments!  ");
}

// ---- undefine, IsEqual, ifthen ---------------------------------------------------------------------

TEST(Misc, ScriptForms) {
  TZelExpression x;
  x.Run("a = 1.5");
  x.Run("b = [1, 2]");
  TValueRec* r = x.Run("undefine(a, b)");
  EXPECT_EQ(std::tuple(r->ValueType(), r->BoolValue()), std::tuple(vtBoolValue, true));
  EXPECT_EQ(x.VarByName("a")->ValueType(), vtUndefined);
  EXPECT_EQ(x.VarByName("b")->ValueType(), vtUndefined);
  EXPECT_EQ(x.Run("b = 3")->IntegerValue(), 3);  // a new type after undefine

  // (s, c) = sincos(v) with a vector v: vectors s and c, and the line's value is s's own vector.
  x.Run("v = [0, 1, 2]");
  TValueRec* line = x.Run("(s, c) = sincos(v)");
  EXPECT_EQ(x.VarByName("c")->ValueType(), vtVectorValue);
  EXPECT_EQ(&line->VectorValue(), &x.VarByName("s")->VectorValue());

  const struct {
    const char* script;
    bool expected;
  } cases[] = {
      {"IsEqual([1, 2; 3, 4], [1, 2, 3, 4])", true},  // dimensions are not compared
      {"IsEqual([1, 2], [1, 2, 3])", false},
      {"IsEqual(2, [2, 2])", true},
      {"IsEqual(1 + 0i, 1)", true},
      {"IsEqual(nan, nan)", false},
      {"IsEqual(1:3, 1:3)", true},
      {"IsEqual(0:0.5:1, 0:0.5:1)", true},
      {"IsEqual(9007199254740993, 9007199254740992)", false},  // integers compare exactly
      {"IsEqual([1, 2] > 0, true)", true},
  };
  for (const auto& c : cases) EXPECT_EQ(x.Run(c.script)->BoolValue(), c.expected) << c.script;
  // Integer arrays of different precision and shape compare by value.
  Val iv = IntVec({7, 7}, prInt16), im = IntMat(2, 1, {7, 7}), seven = Int(7), other = IntVec({7, 8});
  for (auto [a, b, expected] : {std::tuple{iv.get(), im.get(), true},
                                {iv.get(), seven.get(), true},
                                {other.get(), im.get(), false}}) {
    NodeRunner run(Word("IsEqual"), {a, b});
    EXPECT_EQ(run.EvalTwice().BoolValue(), expected);
  }
}

TEST(Misc, IfThen) {
  Val t = Bool(true), f = Int(0), one = Int(1), half = Dbl(0.5), v = Vec({1}), w = Vec({2, 3});
  NodeRunner ints(Word("ifthen"), {t.get(), one.get(), one.get()});
  EXPECT_EQ(Snap(ints.EvalTwice()), (Snapshot{vtDoubleValue, 1, 1, false, prInt32, {1}, {}}));
  NodeRunner vectors(Word("ifthen"), {f.get(), v.get(), w.get()});
  EXPECT_EQ(Snap(vectors.EvalTwice()), (Snapshot{vtVectorValue, 1, 2, false, prInt32, {2, 3}, {}}));
  const char* const differ = "If: The second and the third argument have different value types";
  EXPECT_EQ(Outcome("ifthen", {t.get(), one.get(), half.get()}), differ);
  EXPECT_EQ(Outcome("ifthen", {v.get(), one.get(), half.get()}), differ);
  EXPECT_EQ(Outcome("ifthen", {v.get(), one.get(), one.get()}),
            "If: The first argument can not be vector or matrix");
}

// ---- no allocation once the result storage exists --------------------------------------------------

TEST(BinaryFunctions, SecondEvaluationDoesNotAllocate) {
  Val v = Vec({1, 2, 3}), m = Mat(1, 3, {4, 5, 6}), d = Dbl(2), iv = IntVec({4, 6, 8}),
      im = IntMat(1, 3, {6, 9, 2}), k = Int(1), n = Int(3), s = Undef(), c = Undef(), q = Undef(),
      r = Undef();
  const struct {
    const char* name;
    std::vector<TValueRec*> args;
  } nodes[] = {
      {"logN", {d.get(), v.get()}},
      {"arctan2", {v.get(), m.get()}},
      {"pythag", {v.get(), d.get()}},
      {"polartocart", {m.get(), v.get()}},
      {"threshtop", {v.get(), d.get()}},
      {"gcd", {iv.get(), im.get()}},
      {"lcm", {k.get(), iv.get()}},
      {"remdiv", {iv.get(), im.get(), q.get(), r.get()}},
      {"sincos", {v.get(), s.get(), c.get()}},
      {"IsEqual", {v.get(), m.get()}},
      {"root", {v.get(), k.get(), n.get()}},
      {"random", {}},
  };
  for (const auto& node : nodes) {
    NodeRunner run(Word(node.name), node.args);
    run.Eval();
    AllocationCounter allocations;
    run.Eval();
    EXPECT_EQ(allocations.Count(), 0u) << node.name;
  }
}

}  // namespace
}  // namespace zel::test
