// Comparison, logical and bit operators: result types of every accepted type pair, values, masks and
// their shapes, length messages, and allocation-free repeated evaluation.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "support/alloc_counter.h"
#include "support/oper_helper.h"

namespace zel::test {
namespace {

bool IsMatrixKind(TValueType t) {
  return t == vtMatrixValue || t == vtIntMatrixValue || t == vtBoolMatrixValue;
}
bool IsVectorKind(TValueType t) {
  return t == vtVectorValue || t == vtIntVectorValue || t == vtBoolVectorValue || t == vtRangeValue;
}
bool IsBoolKind(TValueType t) { return t == vtBoolValue || t == vtBoolVectorValue || t == vtBoolMatrixValue; }

// The result a comparison or bit operation should give: bool kinds for comparisons and bool operands,
// integer kinds for integer bit operations; a matrix when either side is a matrix, else a vector when
// either side is one (two ranges compare to a single bool).
TValueType ExpectedResult(bool comparison, TValueType l, TValueType r) {
  const bool boolean = comparison || IsBoolKind(l);
  if (l == vtRangeValue && r == vtRangeValue) return vtBoolValue;
  if (IsMatrixKind(l) || IsMatrixKind(r)) return boolean ? vtBoolMatrixValue : vtIntMatrixValue;
  if (IsVectorKind(l) || IsVectorKind(r)) return boolean ? vtBoolVectorValue : vtIntVectorValue;
  return boolean ? vtBoolValue : vtIntegerValue;
}

// Every accepted pair of every binary operator of the family runs (first and repeated evaluation)
// and gives the expected kind; every other pair is rejected by the dispatch.
TEST(CompareOperators, EveryAcceptedTypePairRuns) {
  const struct {
    const char* op;
    bool comparison;
    int accepted;
  } ops[] = {{">", true, 33},  {"<", true, 33},    {">=", true, 33}, {"<=", true, 33},
             {"==", true, 43}, {"<>", true, 43},   {"!=", true, 43}, {"and", false, 18},
             {"|", false, 18}, {"xor", false, 18}, {"<<", false, 3}, {"shr", false, 3}};
  for (const auto& o : ops) {
    int accepted = 0;
    for (int l = 0; l < ValueTypeCount; ++l)
      for (int r = 0; r < ValueTypeCount; ++r) {
        const auto lt = static_cast<TValueType>(l), rt = static_cast<TValueType>(r);
        Val a = Sample(lt), b = Sample(rt);
        NodeRunner run(o.op, {a.get(), b.get()});
        const std::string msg = MessageOf([&] { run.EvalTwice(); });
        if (msg.rfind("Unsupported value types", 0) == 0 || msg == UnknownExprWord) continue;
        ++accepted;
        EXPECT_EQ(msg, "<no exception>") << o.op << " " << ValTypeName(lt) << " " << ValTypeName(rt);
        EXPECT_EQ(run.Node().Res->ValueType(), ExpectedResult(o.comparison, lt, rt))
            << o.op << " " << ValTypeName(lt) << " " << ValTypeName(rt);
      }
    EXPECT_EQ(accepted, o.accepted) << o.op;
  }
  for (int t = 0; t < ValueTypeCount; ++t) {
    Val a = Sample(static_cast<TValueType>(t));
    NodeRunner run("not", {a.get()});
    const std::string msg = MessageOf([&] { run.EvalTwice(); });
    if (msg.rfind("Unsupported value types", 0) == 0 || msg == UnknownExprWord) continue;
    EXPECT_EQ(msg, "<no exception>");
    EXPECT_EQ(run.Node().Res->ValueType(), t);
  }
}

// The elements of the result: the bool or integer (whose double copy must agree), or the container's.
std::vector<std::int64_t> ResultValues(TValueRec& v) {
  if (v.ValueType() == vtBoolValue) return {v.BoolValue()};
  if (v.ValueType() == vtIntegerValue) {
    EXPECT_EQ(v.DoubleValue(), static_cast<double>(v.IntegerValue()));
    return {v.IntegerValue()};
  }
  const TNubraInt& obj =
      IsMatrixKind(v.ValueType()) ? static_cast<TNubraInt&>(*v.IntMatrixField()) : *v.IntVectorField();
  std::vector<std::int64_t> out;
  for (int x : Values(obj)) out.push_back(x);
  return out;
}

struct ValueCase {
  const char* op;
  Val a, b;  // b null for unary operators
  TValueType type;
  std::vector<std::int64_t> values;
  int rows = 0, cols = 0;  // checked for matrix results
};

void CheckCases(ValueCase* cases, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    ValueCase& c = cases[i];
    std::vector<TValueRec*> args{c.a.get()};
    if (c.b) args.push_back(c.b.get());
    NodeRunner run(c.op, args);
    TValueRec& res = run.EvalTwice();
    ASSERT_EQ(res.ValueType(), c.type) << "case " << i << " " << c.op;
    EXPECT_EQ(ResultValues(res), c.values) << "case " << i << " " << c.op;
    if (IsMatrixKind(res.ValueType())) {
      EXPECT_EQ(res.IntMatrixField()->Rows(), c.rows) << "case " << i;
      EXPECT_EQ(res.IntMatrixField()->Cols(), c.cols) << "case " << i;
    }
  }
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(CompareOperators, ScalarComparisons) {
  const std::int64_t big = std::int64_t{1} << 53;
  ValueCase cases[] = {
      {">", Int(3), Dbl(2.5), vtBoolValue, {1}},        {"==", Int(2), Dbl(2), vtBoolValue, {1}},
      {">", Int(big + 1), Int(big), vtBoolValue, {1}},  // 64-bit integers, not their doubles
      {"==", Int(big + 1), Int(big), vtBoolValue, {0}}, {"==", Dbl(kNaN), Dbl(kNaN), vtBoolValue, {0}},
      {"<>", Dbl(kNaN), Dbl(kNaN), vtBoolValue, {1}},   {">", Cplx(1, 2), Int(1), vtBoolValue, {1}},
      {"<", Dbl(-3), Cplx(1, 0), vtBoolValue, {1}},  // reals keep their order against complex values
      {">", Cplx(2, -1), Cplx(1, 5), vtBoolValue, {1}}, {"==", Cplx(1, 2), Cplx(1, 2), vtBoolValue, {1}},
      {"~=", Cplx(1, 2), Dbl(1), vtBoolValue, {1}},     {"==", Bool(true), Bool(true), vtBoolValue, {1}},
  };
  CheckCases(cases, std::size(cases));
}

TEST(CompareOperators, RangesCompareTheirBounds) {
  ValueCase cases[] = {
      {"==", Range({1, 3}), Range({1, 3}), vtBoolValue, {1}},
      {"==", Range({1, 3}), Range({1, 1, 3}), vtBoolValue, {0}},
      {"<>", Range({1, 3}), Range({1, 1, 3}), vtBoolValue, {1}},
      {"==", Range({1, 2, 5}), Range({1, 3, 5}), vtBoolValue, {0}},
      {"==", Range({}), Range({}), vtBoolValue, {1}},
      {"==", ExtRange({0.5, 3}), ExtRange({0.5, 3}), vtBoolValue, {1}},
      {"!=", ExtRange({0.5, 3}), ExtRange({0.5, 3.1}), vtBoolValue, {1}},
      {"==", ExtRange({1, 3}), Range({1, 3}), vtBoolValue, {0}},
  };
  CheckCases(cases, std::size(cases));
  // The operands stay ranges (they are not expanded into vectors).
  Val a = Range({1, 3}), b = ExtRange({1, 3});
  NodeRunner("==", {a.get(), b.get()}).EvalTwice();
  EXPECT_EQ(a->ValueType(), vtRangeValue);
  EXPECT_EQ(b->ValueType(), vtRangeValue);
}

TEST(CompareOperators, MasksAndTheirShapes) {
  ValueCase cases[] = {
      {">", Dbl(2), Vec({1, 2, 3}), vtBoolVectorValue, {1, 0, 0}},  // mirrored: v < 2
      {"<", Vec({1, 2, 3}), Dbl(2), vtBoolVectorValue, {1, 0, 0}},
      {"<=", Dbl(2), Vec({1, 2, 3}), vtBoolVectorValue, {0, 1, 1}},
      {"<>", Dbl(2), Vec({1, 2, 3}), vtBoolVectorValue, {1, 0, 1}},
      {"==", Vec({1, kNaN, 3}), Vec({1, kNaN, 4}), vtBoolVectorValue, {1, 0, 0}},
      {">", Mat(1, 4, {1, 5, 3, 0}), Vec({2, 2, 2, 2}), vtBoolMatrixValue, {0, 1, 1, 0}, 1, 4},
      {"<", Vec({1, 5, 3, 0}), Mat(2, 2, {2, 2, 2, 2}), vtBoolMatrixValue, {1, 0, 0, 1}, 2, 2},
      {"==", Mat(2, 2, {1, 2, 3, 4}), Mat(1, 4, {1, 0, 3, 0}), vtBoolMatrixValue, {1, 0, 1, 0}, 2, 2},
      {">", Mat(2, 1, {1, 3}), Int(2), vtBoolMatrixValue, {0, 1}, 2, 1},
      {">", Int(2), Mat(2, 1, {1, 3}), vtBoolMatrixValue, {1, 0}, 2, 1},
      {">", Cplx(1, 1), Vec({1, 2}), vtBoolVectorValue, {1, 0}},  // complex scalar, real elements
      {"<=", CVec({{1, 1}, {0, 9}}), Dbl(1), vtBoolVectorValue, {0, 1}},
      {"<", Int(2), IntVec({1, 2, 3}), vtBoolVectorValue, {0, 0, 1}},
      {">=", IntVec({200, 3}, prUInt8), Int(300), vtBoolVectorValue, {0, 0}},
      {"<", IntVec({-1, 7}), Int(std::int64_t{1} << 32), vtBoolVectorValue, {1, 1}},
      {"<>", IntVec({1, 2, 3, 4}), IntMat(2, 2, {1, 0, 3, 0}), vtBoolMatrixValue, {0, 1, 0, 1}, 2, 2},
      {">", IntMat(1, 2, {5, 1}, prInt16), IntVec({4, 4}, prUInt8), vtBoolMatrixValue, {1, 0}, 1, 2},
      {"==", BoolVec({1, 0, 1}), Bool(true), vtBoolVectorValue, {1, 0, 1}},
      {"<>", Bool(true), BoolMat(1, 2, {1, 0}), vtBoolMatrixValue, {0, 1}, 1, 2},
      {"==", BoolVec({1, 0}), BoolMat(2, 1, {1, 1}), vtBoolMatrixValue, {1, 0}, 2, 1},
  };
  CheckCases(cases, std::size(cases));
}

TEST(CompareOperators, LengthMismatches) {
  const struct {
    const char* op;
    Val a, b;
    std::string message;
  } cases[] = {
      {">", Vec({1, 2, 3}), Mat(2, 2, {1, 2, 3, 4}), "gt: Arguments have differ length"},
      {">=", Vec({1, 2, 3}), Mat(2, 2, {1, 2, 3, 4}), "ge: Arguments have differ length"},
      {"<=", Mat(2, 2, {1, 2, 3, 4}), Vec({1, 2, 3}), "le: Arguments have differ length"},
      {"<", Mat(1, 3, {1, 2, 3}), Mat(2, 2, {1, 2, 3, 4}), "lt: Arguments have differ length"},
      {"==", IntVec({1, 2, 3}), IntMat(2, 2, {1, 2, 3, 4}), "eq: Arguments have differ length"},
      {"<>", BoolMat(1, 1, {1}), BoolVec({1, 0}), "ne: Arguments have differ length"},
      {"~=", IntMat(1, 1, {1}), IntMat(1, 2, {1, 0}), "ne: Arguments have differ length"},
      {">", Vec({1, 2, 3}), Vec({1, 2}), "FindMask: operand lengths differ (3 and 2)"},
      {"==", BoolVec({1}), BoolVec({1, 0}), "FindMask: operand lengths differ (1 and 2)"},
      {"and", IntVec({1, 2, 3}), IntMat(2, 2, {1, 2, 3, 4}), "and: Arguments have differ length"},
      {"or", BoolMat(1, 2, {1, 0}), BoolVec({1}), "or: Arguments have differ length"},
      {"xor", IntVec({1, 2, 3}), IntVec({1, 2}), "BinaryXor: operand lengths differ (3 and 2)"},
  };
  for (const auto& c : cases) {
    NodeRunner run(c.op, {c.a.get(), c.b.get()});
    EXPECT_EQ(MessageOf([&] { run.Eval(); }), c.message) << c.op;
    EXPECT_EQ(MessageOf([&] { run.Eval(); }), c.message) << c.op << " (typed routine)";
  }
  Val v = Vec({1, 2, 3}), m = Mat(2, 2, {1, 2, 3, 4});
  EXPECT_THROW(NodeRunner(">", {v.get(), m.get()}).Eval(), EZelParseError);
}

TEST(LogicOperators, Values) {
  ValueCase cases[] = {
      {"not", Int(0), nullptr, vtIntegerValue, {-1}},
      {"!", Bool(true), nullptr, vtBoolValue, {0}},
      {"Not", IntVec({0, 1, -1}), nullptr, vtIntVectorValue, {-1, -2, 0}},
      {"not", IntVec({0, 200}, prUInt8), nullptr, vtIntVectorValue, {255, 55}},
      {"not", IntMat(1, 2, {3, -4}, prInt16), nullptr, vtIntMatrixValue, {-4, 3}, 1, 2},
      {"not", BoolVec({1, 0, 0}), nullptr, vtBoolVectorValue, {0, 1, 1}},
      {"not", BoolMat(2, 1, {0, 1}), nullptr, vtBoolMatrixValue, {1, 0}, 2, 1},
      {"and", Int(12), Int(10), vtIntegerValue, {8}},
      {"or", Int(12), Int(10), vtIntegerValue, {14}},
      {"xor", Int(12), Int(-1), vtIntegerValue, {-13}},
      {"&", Bool(true), Bool(false), vtBoolValue, {0}},
      {"xor", Bool(true), Bool(true), vtBoolValue, {0}},
      {"and", Int(6), IntVec({3, 5, 12}), vtIntVectorValue, {2, 4, 4}},
      {"or", IntMat(1, 2, {1, 2}), Int(4), vtIntMatrixValue, {5, 6}, 1, 2},
      {"xor", IntVec({1, 255}, prUInt8), IntVec({3, 256}), vtIntVectorValue, {2, 511}},  // wider precision
      {"and", IntVec({7, 7}), IntMat(2, 1, {1, 6}, prInt16), vtIntMatrixValue, {1, 6}, 2, 1},
      {"and", BoolVec({1, 0, 1}), Bool(false), vtBoolVectorValue, {0, 0, 0}},
      {"or", Bool(true), BoolMat(1, 2, {0, 0}), vtBoolMatrixValue, {1, 1}, 1, 2},
      {"xor", BoolVec({1, 0, 1, 0}), BoolVec({1, 1, 0, 0}), vtBoolVectorValue, {0, 1, 1, 0}},
      {"and", BoolMat(2, 2, {1, 1, 0, 1}), BoolVec({1, 0, 1, 1}), vtBoolMatrixValue, {1, 0, 0, 1}, 2, 2},
      {">>", Int(-8), Int(1), vtIntegerValue, {INT64_C(0x7FFFFFFFFFFFFFFC)}},
      {"<<", Int(-8), Int(1), vtIntegerValue, {-16}},
      {"shl", Int(1), Int(63), vtIntegerValue, {INT64_MIN}},
      {"shl", Int(1), Int(64), vtIntegerValue, {0}},
      {"shr", Int(-1), Int(-1), vtIntegerValue, {0}},  // a negative count shifts everything out
      {"<<", Int(1), Int((std::int64_t{1} << 32) + 3), vtIntegerValue, {8}},  // low 32 bits count
      {">>", IntVec({-8, 16}), Int(1), vtIntVectorValue, {0x7FFFFFFC, 8}},
      {"<<", IntMat(1, 2, {1, 0x81}, prUInt8), Int(1), vtIntMatrixValue, {2, 2}, 1, 2},
  };
  CheckCases(cases, std::size(cases));
}

// A second evaluation of a container node writes into the result it made the first time.
TEST(CompareOperators, RepeatedEvaluationAllocatesNothing) {
  const struct {
    const char* op;
    Val a, b;
  } cases[] = {
      {">", Vec({1, 2, 3}), Vec({3, 2, 1})},
      {"<", Mat(2, 2, {1, 2, 3, 4}), Dbl(2)},
      {">=", Dbl(2), Mat(2, 2, {1, 2, 3, 4})},
      {"<=", Cplx(1, 1), Vec({1, 2})},
      {"==", IntVec({1, 2}), Int(2)},
      {"<>", IntVec({1, 2, 3, 4}), IntMat(2, 2, {1, 0, 3, 0})},
      {"==", BoolVec({1, 0}), BoolMat(1, 2, {1, 1})},
      {"and", IntVec({1, 2}), IntVec({3, 3}, prUInt8)},
      {"or", IntMat(1, 2, {1, 2}), Int(4)},
      {"xor", BoolVec({1, 0}), Bool(true)},
      {"not", IntVec({1, 2}), nullptr},
      {"not", BoolMat(1, 2, {1, 0}), nullptr},
      {"<<", IntVec({1, 2}), Int(3)},
      {">>", IntMat(1, 2, {8, 16}), Int(2)},
  };
  for (const auto& c : cases) {
    std::vector<TValueRec*> args{c.a.get()};
    if (c.b) args.push_back(c.b.get());
    NodeRunner run(c.op, args);
    run.Eval();
    AllocationCounter allocations;
    run.Eval();
    EXPECT_EQ(allocations.Count(), 0u) << c.op;
  }
}

}  // namespace
}  // namespace zel::test
