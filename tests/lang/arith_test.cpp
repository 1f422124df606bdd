// "+", "+.", "-", "-.", "*", "*.", "-@" and "+@": result types of every accepted type pair, values,
// range arithmetic, shape checks and their messages, overflow, and allocation-free re-evaluation.
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "support/alloc_counter.h"
#include "support/oper_helper.h"

namespace zel::test {
namespace {

// A result as text: ranges as their bounds "a:b" or "a:s:b", everything else as AsString.
std::string Text(const TValueRec& v) {
  if (v.ValueType() != vtRangeValue || v.ExtRange()) return v.AsString();
  std::string s;
  for (int b : v.Range()) s += (s.empty() ? "" : ":") + std::to_string(b);
  return s;
}

// Evaluates twice (dispatch, then the stored typed routine); an exception gives its message and type
// vtUndefined.
std::pair<TValueType, std::string> Evaluate(const char* op, TValueRec* a, TValueRec* b = nullptr) {
  std::vector<TValueRec*> args{a};
  if (b) args.push_back(b);
  NodeRunner run(op, args);
  try {
    TValueRec& r = run.EvalTwice();
    return {r.ValueType(), Text(r)};
  } catch (const std::exception& e) {
    return {vtUndefined, e.what()};
  }
}

constexpr TValueType U = vtUndefined, D = vtDoubleValue, R = vtRangeValue, S = vtString, C = vtComplexValue,
                     V = vtVectorValue, I = vtIntegerValue, IV = vtIntVectorValue, IM = vtIntMatrixValue,
                     M = vtMatrixValue;

struct Case {
  const char* op;
  Val a, b;
  TValueType type;  // U: an error with the message `text`
  std::string text;
};

void Check(const Case* cases, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    const Case& c = cases[i];
    const auto [type, text] = Evaluate(c.op, c.a.get(), c.b.get());
    EXPECT_EQ(text, c.text) << "case " << i << ": " << c.op;
    EXPECT_EQ(type, c.type) << "case " << i << ": " << c.op;
  }
}

const std::string kPlusDiffer = "Operator \"+\" is not applicable to matrices having differ sizes";
const std::string kPlusDifferent = "Operator \"+\" is not applicable to matrices having different sizes.";
const std::string kMinusDifferent = "Operator \"-\" is not applicable on matrices having different sizes.";

TEST(ArithOperators, ScalarsStringsAndScalarsWithArrays) {
  const Case cases[] = {
      {"+", Int(2), Int(3), I, "5"},
      {"+", Dbl(1.5), Int(2), D, "3.5"},
      {"-", Int(2), Dbl(0.5), D, "1.5"},
      {"*", Int(-4), Int(3), I, "-12"},
      {"*.", Dbl(2), Cplx(1, 2), C, "2+4i"},
      {"-", Cplx(1, 2), Int(3), C, "-2+2i"},
      {"+", Str("ab"), Str("cd"), S, "abcd"},
      {"+.", Str(""), Str("x"), S, "x"},
      {"-", Str("a"), Str("b"), U, "Unsupported operand combination: (string) - (string)"},
      {"-.", Str("a"), Str("b"), U, "Unsupported operand combination: (string) -. (string)"},
      {"*", Str("a"), Str("b"), U, "Unsupported operand combination: (string) * (string)"},
      {"*.", Str("a"), Str("b"), U, "Unsupported operand combination: (string) *. (string)"},
      {"-", Dbl(10), Vec({1, 2, 3}), V, "9; 8; 7"},
      {"-", Vec({1, 2, 3}), Int(1), V, "0; 1; 2"},
      {"-", Cplx(0, 1), Vec({1, 2}), V, "-1+1i; -2+1i"},
      {"*", Int(2), Mat(2, 2, {1, 2, 3, 4}), M, "2,4; 6,8"},
      {"+", Range({1, 3}), Dbl(0.5), V, "1.5; 2.5; 3.5"},
      {"-", Int(1), IntVec({1, 2, 3}), IV, "0; -1; -2"},
      {"*", Int(3), IntMat(2, 2, {1, 2, 3, 4}), IM, "3,6; 9,12"},
      {"+", Vec({1, 2, 3}), Vec({1, 2}), U, "Add: operand lengths differ (3 and 2)"},
      {"*", Vec({1, 2, 3}), Vec({4, 5, 6}), V, "4; 10; 18"},        // element-wise, not a dot product
      {"+", IntVec({2147483647, 0}), Int(1), IV, "2147483647; 1"},  // integer elements saturate
  };
  Check(cases, std::size(cases));
}

TEST(ArithOperators, IntegerRangeArithmetic) {
  const Case cases[] = {
      {"+", Range({1, 5}), Int(10), R, "11:15"},
      {"+", Range({0, 2, 10}), Int(1), R, "1:2:11"},
      {"+.", Int(1), Range({0, 2, 10}), R, "1:2:11"},
      {"-", Range({0, 2, 10}), Int(1), R, "-1:2:9"},
      {"-", Int(10), Range({1, 3}), R, "9:7"},
      {"-.", Int(1), Range({0, 2, 10}), R, "1:-2:-9"},
      {"+", Range({1, 5}), Range({1, 5}), R, "2:2:10"},
      {"-", Range({1, 5}), Range({0, 4}), U, "Range step cannot be zero: 1:0:1 "},
      {"+", Range({1, 3}), Range({1, 4}), U, "Range lengths must match: 3 <> 4 "},
      {"+", Range({1, 0, 5}), Range({1, 5}), U, "Invalid range with step equal to zero!"},
      // Two-bound ranges counting down step by -1, as they expand.
      {"+", Range({5, 1}), Range({10, 6}), R, "15:-2:7"},
      {"+", Range({5, 1}), Range({1, 5}), U, "Range step cannot be zero: 6:0:6 "},
      {"+", Range({1, 2147483647}), Int(1), U, "Integer overflow"},
      {"+", Range({1, 5}), Int(std::int64_t{1} << 32), U, "Integer overflow"},
      // Other operators and operands expand the range.
      {"*", Range({1, 3}), Int(2), IV, "2; 4; 6"},
      {"*.", Int(2), Range({1, 3}), IV, "2; 4; 6"},
      {"*", Range({1, 3}), Range({1, 3}), IV, "1; 4; 9"},
      {"+", IntVec({1, 2, 3}), Range({1, 3}), IV, "2; 4; 6"},
      {"+", ExtRange({0, 0.5, 1}), Int(1), V, "1; 1.5; 2"},
      {"-", Int(1), ExtRange({0, 0.5, 1}), V, "1; 0.5; 0"},
      {"+", ExtRange({1, 3}), Range({1, 3}), V, "2; 4; 6"},
  };
  Check(cases, std::size(cases));
  // The result stays a range: it expands like one.
  Val r = Range({1, 3}), ten = Int(10);
  NodeRunner run("-", {ten.get(), r.get()});
  EXPECT_EQ(Values(run.EvalTwice().getVectorValue()), (std::vector<double>{9, 8, 7}));
}

// Another node may expand a shared range operand in place; the compiled range routines then combine
// the integer vector it has become.
TEST(ArithOperators, RangeOperandExpandedByAnotherNode) {
  Val r = Range({1, 3}), k = Int(10);
  NodeRunner plus("+", {r.get(), k.get()}), both("-", {r.get(), r.get()}), neg("-@", {r.get()});
  EXPECT_EQ(Text(plus.Eval()), "11:13");
  EXPECT_EQ(Text(neg.Eval()), "-1:-3");
  r->GetIntVectorValue();
  EXPECT_EQ(Text(plus.Eval()), "11; 12; 13");
  EXPECT_EQ(Text(neg.Eval()), "-1; -2; -3");
  EXPECT_EQ(Text(both.Eval()), "0; 0; 0");
}

TEST(ArithOperators, ShapeChecksOfPlusAndMinus) {
  const Case cases[] = {
      {"+", Mat(2, 3, {1, 2, 3, 4, 5, 6}), Mat(3, 2, {1, 1, 1, 1, 1, 1}), U, kPlusDiffer},
      {"+.", Mat(2, 3, {1, 2, 3, 4, 5, 6}), Mat(3, 2, {1, 1, 1, 1, 1, 1}), M, "2,3,4; 5,6,7"},
      {"-.", Mat(2, 3, {1, 2, 3, 4, 5, 6}), Mat(3, 2, {1, 1, 1, 1, 1, 1}), M, "0,1,2; 3,4,5"},
      {"+", Mat(1, 3, {1, 2, 3}), Vec({1, 2, 3}), M, "2,4,6"},
      {"+", Vec({1, 2}), Mat(2, 1, {1, 2}), U, kPlusDiffer},
      {"+", Mat(2, 1, {1, 2}), Vec({1, 2}), U, kPlusDiffer},
      {"+", Range({1, 2}), Mat(2, 1, {1, 2}), U, kPlusDiffer},
      {"+", Mat(2, 1, {1, 2}), Range({1, 2}), U, kPlusDifferent},
      {"+", IntMat(1, 2, {1, 2}), IntMat(2, 1, {1, 2}), U, kPlusDiffer},
      {"+", IntVec({1, 2}), IntMat(2, 1, {1, 2}), U, kPlusDifferent},
      {"+", IntMat(2, 1, {1, 2}), IntVec({1, 2}), U, kPlusDifferent},
      {"+", Range({1, 3}), IntMat(3, 1, {1, 2, 3}), U, kPlusDifferent},
      {"+", IntMat(3, 1, {1, 2, 3}), Range({1, 3}), U, kPlusDifferent},
      {"+", Range({1, 3}), IntMat(1, 3, {1, 2, 3}), IM, "2,4,6"},
      {"+.", Range({1, 3}), IntMat(3, 1, {1, 2, 3}), IM, "2; 4; 6"},
      {"-", IntMat(2, 2, {1, 2, 3, 4}), IntMat(1, 4, {1, 2, 3, 4}), U, kMinusDifferent},
      {"-", Vec({1, 2}), Mat(2, 1, {1, 2}), U, kMinusDifferent},
      {"-", Mat(2, 1, {1, 2}), Range({1, 2}), U, kMinusDifferent},
      {"-", IntVec({1, 2}), IntMat(1, 2, {5, 5}), IM, "-4,-3"},
  };
  Check(cases, std::size(cases));
}

TEST(ArithOperators, ShapeErrorLeavesTheResultUntouched) {
  Val m = Mat(1, 2, {1, 2}), v = Vec({10, 20});
  NodeRunner run("+", {m.get(), v.get()});
  EXPECT_EQ(Text(run.EvalTwice()), "11,22");
  v->VectorValue().Size(3);
  EXPECT_EQ(MessageOf([&] { run.Eval(); }), kPlusDiffer);
  EXPECT_EQ(Text(*run.Node().Res), "11,22");
}

TEST(ArithOperators, MatrixCellsOfTheProduct) {
  const Case cases[] = {
      {"*", Mat(2, 2, {1, 2, 3, 4}), Mat(2, 2, {5, 6, 7, 8}), M, "19,22; 43,50"},
      {"*.", Mat(2, 2, {1, 2, 3, 4}), Mat(2, 2, {5, 6, 7, 8}), M, "5,12; 21,32"},
      {"*", Mat(3, 1, {1, 2, 3}), Vec({1, 2, 3, 4}), M, "1,2,3,4; 2,4,6,8; 3,6,9,12"},
      {"*", Mat(2, 1, {1, 2}), Range({1, 3}), M, "1,2,3; 2,4,6"},
      {"*", Mat(3, 2, {1, 2, 3, 4, 5, 6}), Vec({1, 2}), U,
       "Multiplying matrix and row vector, but matrix column count is not 1!"},
      {"*", Vec({1, 2}), Mat(2, 2, {1, 2, 3, 4}), V, "7; 10"},
      {"*", Range({1, 2}), Mat(2, 2, {1, 2, 3, 4}), V, "7; 10"},
      {"*.", Vec({1, 2, 3, 4}), Mat(2, 2, {1, 2, 3, 4}), M, "1,4; 9,16"},
      {"*.", IntMat(2, 2, {1, 2, 3, 4}), IntMat(2, 2, {1, 2, 3, 4}), IM, "1,4; 9,16"},
      {"*", IntMat(2, 2, {1, 2, 3, 4}), IntMat(2, 2, {1, 2, 3, 4}), U,
       "Unsupported operand combination: (integer matrix) * (integer matrix)"},
      {"*", IntVec({1}), IntMat(1, 1, {1}), U,
       "Unsupported operand combination: (integer vector) * (integer matrix)"},
      {"*", IntMat(1, 3, {1, 2, 3}), Range({1, 3}), U,
       "Unsupported operand combination: (integer matrix) * (range)"},
  };
  Check(cases, std::size(cases));
}

TEST(ArithOperators, UnaryMinusAndPlus) {
  const Case cases[] = {
      {"-@", Dbl(2.5), nullptr, D, "-2.5"},
      {"-@", Int(5), nullptr, I, "-5"},
      {"-@", Cplx(1, -2), nullptr, C, "-1+2i"},
      {"-@", Vec({1, -2}), nullptr, V, "-1; 2"},
      {"-@", CMat(1, 1, {{1, 2}}), nullptr, M, "-1-2i"},
      {"-@", IntMat(1, 2, {1, -2}), nullptr, IM, "-1,2"},
      {"-@", Range({1, 5}), nullptr, R, "-1:-5"},
      {"-@", Range({0, 2, 10}), nullptr, R, "0:-2:-10"},
      {"-@", Int(INT64_MIN), nullptr, U, "Integer overflow"},
      {"-@", Range({INT32_MIN, 0}), nullptr, U, "Integer overflow"},
      {"+@", Int(INT64_MIN), nullptr, I, std::to_string(INT64_MIN)},
      {"+@", Mat(2, 1, {1, 2}), nullptr, M, "1; 2"},
      {"+@", IntVec({7, 8}, prUInt8), nullptr, IV, "7; 8"},
      {"+@", Range({0, 2, 10}), nullptr, R, "0:2:10"},
  };
  Check(cases, std::size(cases));
  Val ext = ExtRange({0, 0.5, 1});
  NodeRunner run("-@", {ext.get()});
  TValueRec& r = run.EvalTwice();
  ASSERT_TRUE(r.ExtRange());
  EXPECT_EQ(Values(*r.ExtRangeValue()), (std::vector<double>{-0.0, -0.5, -1}));
}

// Overflow is the runtime's integer error, not a language error.
TEST(ArithOperators, IntegerOverflowRaisesTheRuntimeError) {
  const struct {
    const char* op;
    std::int64_t a, b;
  } cases[] = {{"+", INT64_MAX, 1}, {"-", INT64_MIN, 1}, {"*", INT64_MAX, 2}, {"*.", INT64_MIN, -1}};
  for (const auto& c : cases) {
    Val a = Int(c.a), b = Int(c.b);
    EXPECT_THROW(NodeRunner(c.op, {a.get(), b.get()}).Eval(), EIntOverflow) << c.op;
  }
  Val m = Mat(3, 2, {1, 2, 3, 4, 5, 6}), v = Vec({1, 2});
  try {
    NodeRunner("*", {m.get(), v.get()}).Eval();
    FAIL() << "no exception";
  } catch (const EZelParseError&) {
    FAIL() << "raised as a language error";
  } catch (const ENubraException&) {
  }
}

TEST(ArithOperators, RangeTakesThePrecisionOfTheIntegerOperand) {
  Val r = Range({1, 3}), iv = IntVec({100, 100, 100}, prInt16);
  NodeRunner run("*", {iv.get(), r.get()});
  TValueRec& res = run.EvalTwice();
  EXPECT_EQ(res.IntVectorValue().IntPrecision(), prInt16);
  EXPECT_EQ(Values(res.IntVectorValue()), (std::vector<int>{100, 200, 300}));
}

// Every type pair of every operator: accepted pairs give the documented result type (or one of the
// errors of the operator's own cells), rejected pairs the unsupported-types message.
TEST(ArithOperators, ResultTypesOfAllTypePairs) {
  std::vector<std::pair<TValueType, std::vector<std::pair<TValueType, TValueType>>>> rules = {
      {D, {{D, D}, {I, D}, {R, V}, {V, V}, {C, C}, {M, M}}},
      {R, {{D, V}, {R, IV}, {C, V}, {V, V}, {I, IV}, {IV, IV}, {IM, IM}, {M, M}}},
      {S, {{S, S}}},
      {C, {{D, C}, {I, C}, {C, C}, {R, V}, {V, V}, {M, M}}},
      {V, {{D, V}, {I, V}, {R, V}, {V, V}, {C, V}, {M, M}}},
      {I, {{D, D}, {R, IV}, {C, C}, {V, V}, {I, I}, {IV, IV}, {IM, IM}, {M, M}}},
      {IV, {{R, IV}, {I, IV}, {IV, IV}, {IM, IM}}},
      {IM, {{R, IM}, {I, IM}, {IV, IM}, {IM, IM}}},
      {M, {{D, M}, {I, M}, {R, M}, {V, M}, {C, M}, {M, M}}},
  };
  auto expected = [&](TValueType l, TValueType r) {
    for (const auto& [left, row] : rules)
      for (const auto& [right, result] : row)
        if (left == l && right == r) return result;
    return U;
  };
  auto isArray = [](TValueType t) { return t == R || t == V || t == M || t == IV || t == IM; };
  for (const char* op : {"+", "+.", "-", "-.", "*", "*."}) {
    const std::string name(op);
    for (int l = 0; l < ValueTypeCount; ++l) {
      for (int r = 0; r < ValueTypeCount; ++r) {
        const auto lt = static_cast<TValueType>(l), rt = static_cast<TValueType>(r);
        Val a = Sample(lt), b = Sample(rt);
        const auto [type, text] = Evaluate(op, a.get(), b.get());
        TValueType want = expected(lt, rt);
        const bool rangeResult =
            name[0] != '*' && ((lt == R && (rt == I || rt == R)) || (lt == I && rt == R));
        if (rangeResult) want = R;
        // Cells with errors of their own: strings under "-" and "*", integer matrix products, and the
        // samples' 1 x 3 matrices under "*", which fit no matrix product.
        const bool ownError =
            (want == S && name != "+" && name != "+.") ||
            (name[0] == '-' && lt == R && rt == R) ||  // 1:3 - 1:3 has step 0
            (name == "*" && isArray(lt) && isArray(rt) && (lt == M || rt == M || lt == IM || rt == IM));
        const std::string where = name + " " + ValTypeName(lt) + ", " + ValTypeName(rt);
        if (want == U) {
          EXPECT_TRUE(text.rfind("Unsupported value types: ", 0) == 0 || text == UnknownExprWord) << where;
        } else if (ownError) {
          EXPECT_EQ(type, U) << where;
          EXPECT_NE(text.rfind("Unsupported value types", 0), 0u) << where << ": " << text;
        } else {
          EXPECT_EQ(type, want) << where << ": " << text;
        }
      }
    }
  }
}

TEST(ArithOperators, SecondEvaluationAllocatesNothing) {
  Val v = Vec({1, 2, 3}), w = CVec({1, 2, 3}), m = Mat(3, 1, {1, 2, 3}),
      sq = Mat(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9});
  Val iv = IntVec({1, 2, 3}), im = IntMat(1, 3, {1, 2, 3}, prInt16), k = Int(4), r = Range({1, 5}),
      x = Dbl(2);
  const struct {
    const char* op;
    TValueRec *a, *b;
  } nodes[] = {{"+", v.get(), w.get()},   {"-", sq.get(), sq.get()}, {"-.", x.get(), v.get()},
               {"*", sq.get(), sq.get()}, {"*", m.get(), v.get()},   {"*", v.get(), sq.get()},
               {"*.", im.get(), k.get()}, {"+", iv.get(), im.get()}, {"+", r.get(), k.get()},
               {"+", r.get(), r.get()},   {"-@", w.get(), nullptr},  {"+@", im.get(), nullptr},
               {"-@", r.get(), nullptr}};
  std::deque<NodeRunner> runs;
  for (const auto& n : nodes)
    runs.emplace_back(n.op, n.b ? std::vector<TValueRec*>{n.a, n.b} : std::vector<TValueRec*>{n.a}).Eval();
  AllocationCounter counter;
  for (auto& n : runs) n.Eval();
  EXPECT_EQ(counter.Count(), 0u);
}

}  // namespace
}  // namespace zel::test
