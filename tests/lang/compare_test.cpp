// Comparison, logical and bit operators: result types of every accepted type pair, values, masks and
// their shapes, and length messages.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

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

TEST(CompareOperators, Values) {
  CheckCases({
      // scalars: 64-bit integers compare exactly, NaN is unordered, complex numbers order lexicographically
      {">", {"3", "2.5"}, "bool True"},
      {"==", {"2", "2.0"}, "bool True"},
      {">", {"9007199254740993", "9007199254740992"}, "bool True"},
      {"==", {"9007199254740993", "9007199254740992"}, "bool False"},
      {"==", {"nan", "nan"}, "bool False"},
      {"<>", {"nan", "nan"}, "bool True"},
      {">", {"1+2i", "1"}, "bool True"},
      {"<", {"-3.0", "1+0i"}, "bool True"},  // reals keep their order against complex values
      {">", {"2-1i", "1+5i"}, "bool True"},
      {"==", {"1+2i", "1+2i"}, "bool True"},
      {"~=", {"1+2i", "1.0"}, "bool True"},
      {"==", {"true", "true"}, "bool True"},
      // ranges compare their bounds
      {"==", {"1:3", "1:3"}, "bool True"},
      {"==", {"1:3", "1:1:3"}, "bool False"},
      {"<>", {"1:3", "1:1:3"}, "bool True"},
      {"==", {"1:2:5", "1:3:5"}, "bool False"},
      {"==", {"~0.5:3", "~0.5:3"}, "bool True"},
      {"!=", {"~0.5:3", "~0.5:3.1"}, "bool True"},
      {"==", {"~1:3", "1:3"}, "bool False"},
      // masks: a matrix when either side is one, its shape from the first matrix
      {">", {"2.0", "[1,2,3]"}, "bool vector 1; 0; 0"},  // mirrored: v < 2
      {"<", {"[1,2,3]", "2.0"}, "bool vector 1; 0; 0"},
      {"<=", {"2.0", "[1,2,3]"}, "bool vector 0; 1; 1"},
      {"<>", {"2.0", "[1,2,3]"}, "bool vector 1; 0; 1"},
      {"==", {"[1,nan,3]", "[1,nan,4]"}, "bool vector 1; 0; 0"},
      {">", {"[1,5,3,0;]", "[2,2,2,2]"}, "bool matrix 0,1,1,0"},
      {"<", {"[1,5,3,0]", "[2,2;2,2]"}, "bool matrix 1,0; 0,1"},
      {"==", {"[1,2;3,4]", "[1,0,3,0;]"}, "bool matrix 1,0; 1,0"},
      {">", {"[1;3]", "2"}, "bool matrix 0; 1"},
      {">", {"2", "[1;3]"}, "bool matrix 1; 0"},
      {">", {"1+1i", "[1,2]"}, "bool vector 1; 0"},  // complex scalar, real elements
      {"<=", {"[1+1i,0+9i]", "1.0"}, "bool vector 0; 1"},
      {"<", {"2", "i[1,2,3]"}, "bool vector 0; 0; 1"},
      {">=", {"u8[200,3]", "300"}, "bool vector 0; 0"},
      {"<", {"i[-1,7]", "4294967296"}, "bool vector 1; 1"},
      {"<>", {"i[1,2,3,4]", "i[1,0;3,0]"}, "bool matrix 0,1; 0,1"},
      {">", {"i16[5,1;]", "u8[4,4]"}, "bool matrix 1,0"},
      {"==", {"b[1,0,1]", "true"}, "bool vector 1; 0; 1"},
      {"<>", {"true", "b[1,0;]"}, "bool matrix 0,1"},
      {"==", {"b[1,0]", "b[1;1]"}, "bool matrix 1; 0"},
      // lengths must match, checked by the dispatched routine and again by the typed one
      {">", {"[1,2,3]", "[1,2;3,4]"}, "gt: Arguments have differ length"},
      {">=", {"[1,2,3]", "[1,2;3,4]"}, "ge: Arguments have differ length"},
      {"<=", {"[1,2;3,4]", "[1,2,3]"}, "le: Arguments have differ length"},
      {"<", {"[1,2,3;]", "[1,2;3,4]"}, "lt: Arguments have differ length"},
      {"==", {"i[1,2,3]", "i[1,2;3,4]"}, "eq: Arguments have differ length"},
      {"<>", {"b[1;]", "b[1,0]"}, "ne: Arguments have differ length"},
      {"~=", {"i[1;]", "i[1,0;]"}, "ne: Arguments have differ length"},
      {">", {"[1,2,3]", "[1,2]"}, "FindMask: operand lengths differ (3 and 2)"},
      {"==", {"b[1]", "b[1,0]"}, "FindMask: operand lengths differ (1 and 2)"},
      {"and", {"i[1,2,3]", "i[1,2;3,4]"}, "and: Arguments have differ length"},
      {"or", {"b[1,0;]", "b[1]"}, "or: Arguments have differ length"},
      {"xor", {"i[1,2,3]", "i[1,2]"}, "BinaryXor: operand lengths differ (3 and 2)"},
  });
  Val a = Range({}), b = Range({}), v = Vec({1, 2, 3}), m = Mat(2, 2, {1, 2, 3, 4});
  EXPECT_EQ(Eval(Operators::Get().Word("=="), std::vector<TValueRec*>{a.get(), b.get()}), "bool True");
  EXPECT_THROW(NodeRunner(">", {v.get(), m.get()}).Eval(), EZelParseError);
  // The operands stay ranges (they are not expanded into vectors).
  Val r = Range({1, 3}), e = ExtRange({1, 3});
  NodeRunner("==", {r.get(), e.get()}).EvalTwice();
  EXPECT_EQ(r->ValueType(), vtRangeValue);
  EXPECT_EQ(e->ValueType(), vtRangeValue);
}

TEST(LogicOperators, Values) {
  CheckCases({
      {"not", {"0"}, "integer -1"},
      {"!", {"true"}, "bool False"},
      {"Not", {"i[0,1,-1]"}, "integer vector -1; -2; 0"},
      {"not", {"u8[0,200]"}, "integer vector 255; 55"},
      {"not", {"i16[3,-4;]"}, "integer matrix -4,3"},
      {"not", {"b[1,0,0]"}, "bool vector 0; 1; 1"},
      {"not", {"b[0;1]"}, "bool matrix 1; 0"},
      {"and", {"12", "10"}, "integer 8"},
      {"or", {"12", "10"}, "integer 14"},
      {"xor", {"12", "-1"}, "integer -13"},
      {"&", {"true", "false"}, "bool False"},
      {"xor", {"true", "true"}, "bool False"},
      {"and", {"6", "i[3,5,12]"}, "integer vector 2; 4; 4"},
      {"or", {"i[1,2;]", "4"}, "integer matrix 5,6"},
      {"xor", {"u8[1,255]", "i[3,256]"}, "integer vector 2; 511"},  // the wider precision
      {"and", {"i[7,7]", "i16[1;6]"}, "integer matrix 1; 6"},
      {"and", {"b[1,0,1]", "false"}, "bool vector 0; 0; 0"},
      {"or", {"true", "b[0,0;]"}, "bool matrix 1,1"},
      {"xor", {"b[1,0,1,0]", "b[1,1,0,0]"}, "bool vector 0; 1; 1; 0"},
      {"and", {"b[1,1;0,1]", "b[1,0,1,1]"}, "bool matrix 1,0; 0,1"},
      {">>", {"-8", "1"}, "integer 9223372036854775804"},
      {"<<", {"-8", "1"}, "integer -16"},
      {"shl", {"1", "63"}, "integer -9223372036854775808"},
      {"shl", {"1", "64"}, "integer 0"},
      {"shr", {"-1", "-1"}, "integer 0"},        // a negative count shifts everything out
      {"<<", {"1", "4294967299"}, "integer 8"},  // the low 32 bits count
      {">>", {"i[-8,16]", "1"}, "integer vector 2147483644; 8"},
      {"<<", {"u8[1,129;]", "1"}, "integer matrix 2,2"},
      {"not", {"?"}, UnknownExprWord},
  });
}

}  // namespace
}  // namespace zel::test
