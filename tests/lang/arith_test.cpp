// "+", "+.", "-", "-.", "*", "*." and the unary "-@" / "+@": values, integer ranges, shape checks and their
// messages, overflow, and the result types of every type pair.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/oper_helper.h"

namespace zel::test {
namespace {

const std::string kPlusDiffer = "Operator \"+\" is not applicable to matrices having differ sizes";
const std::string kPlusDifferent = "Operator \"+\" is not applicable to matrices having different sizes.";
const std::string kMinusDifferent = "Operator \"-\" is not applicable on matrices having different sizes.";

TEST(ArithOperators, Values) {
  CheckCases({
      // scalars and strings
      {"+", {"2", "3"}, "integer 5"},
      {"+", {"1.5", "2"}, "double 3.5"},
      {"-", {"2", "0.5"}, "double 1.5"},
      {"*", {"-4", "3"}, "integer -12"},
      {"*.", {"2.0", "1+2i"}, "complex 2+4i"},
      {"-", {"1+2i", "3"}, "complex -2+2i"},
      {"+", {"'ab'", "'cd'"}, "string abcd"},
      {"+.", {"''", "'x'"}, "string x"},
      {"-", {"'a'", "'b'"}, "Unsupported operand combination: (string) - (string)"},
      {"-.", {"'a'", "'b'"}, "Unsupported operand combination: (string) -. (string)"},
      {"*", {"'a'", "'b'"}, "Unsupported operand combination: (string) * (string)"},
      {"*.", {"'a'", "'b'"}, "Unsupported operand combination: (string) *. (string)"},
      // scalars with arrays, element-wise arrays
      {"-", {"10.0", "[1,2,3]"}, "vector 9; 8; 7"},
      {"-", {"[1,2,3]", "1"}, "vector 0; 1; 2"},
      {"-", {"0+1i", "[1,2]"}, "vector -1+1i; -2+1i"},
      {"*", {"2", "[1,2;3,4]"}, "matrix 2,4; 6,8"},
      {"+", {"1:3", "0.5"}, "vector 1.5; 2.5; 3.5"},
      {"-", {"1", "i[1,2,3]"}, "integer vector 0; -1; -2"},
      {"*", {"3", "i[1,2;3,4]"}, "integer matrix 3,6; 9,12"},
      {"+", {"[1,2,3]", "[1,2]"}, "Add: operand lengths differ (3 and 2)"},
      {"*", {"[1,2,3]", "[4,5,6]"}, "vector 4; 10; 18"},                // element-wise, not a dot product
      {"+", {"i[2147483647,0]", "1"}, "integer vector 2147483647; 1"},  // integer elements saturate
      // integer ranges stay ranges under + and - with integers and ranges
      {"+", {"1:5", "10"}, "range 11:15"},
      {"+", {"0:2:10", "1"}, "range 1:2:11"},
      {"+.", {"1", "0:2:10"}, "range 1:2:11"},
      {"-", {"0:2:10", "1"}, "range -1:2:9"},
      {"-", {"10", "1:3"}, "range 9:7"},
      {"-.", {"1", "0:2:10"}, "range 1:-2:-9"},
      {"+", {"1:5", "1:5"}, "range 2:2:10"},
      {"-", {"1:5", "0:4"}, "Range step cannot be zero: 1:0:1 "},
      {"+", {"1:3", "1:4"}, "Range lengths must match: 3 <> 4 "},
      {"+", {"1:0:5", "1:5"}, "Invalid range with step equal to zero!"},
      {"+", {"5:1", "10:6"}, "range 15:-2:7"},  // two-bound ranges count down by -1, as they expand
      {"+", {"5:1", "1:5"}, "Range step cannot be zero: 6:0:6 "},
      {"+", {"1:2147483647", "1"}, "Integer overflow"},
      {"+", {"1:5", "4294967296"}, "Integer overflow"},
      // other operators and operands expand the range
      {"*", {"1:3", "2"}, "integer vector 2; 4; 6"},
      {"*.", {"2", "1:3"}, "integer vector 2; 4; 6"},
      {"*", {"1:3", "1:3"}, "integer vector 1; 4; 9"},
      {"+", {"i[1,2,3]", "1:3"}, "integer vector 2; 4; 6"},
      {"+", {"~0:0.5:1", "1"}, "vector 1; 1.5; 2"},
      {"-", {"1", "~0:0.5:1"}, "vector 1; 0.5; 0"},
      {"+", {"~1:3", "1:3"}, "vector 2; 4; 6"},
      // shapes under + and -: "+." and "-." only need equal lengths
      {"+", {"[1,2,3;4,5,6]", "[1,1;1,1;1,1]"}, kPlusDiffer},
      {"+.", {"[1,2,3;4,5,6]", "[1,1;1,1;1,1]"}, "matrix 2,3,4; 5,6,7"},
      {"-.", {"[1,2,3;4,5,6]", "[1,1;1,1;1,1]"}, "matrix 0,1,2; 3,4,5"},
      {"+", {"[1,2,3;]", "[1,2,3]"}, "matrix 2,4,6"},
      {"+", {"[1,2]", "[1;2]"}, kPlusDiffer},
      {"+", {"[1;2]", "[1,2]"}, kPlusDiffer},
      {"+", {"1:2", "[1;2]"}, kPlusDiffer},
      {"+", {"[1;2]", "1:2"}, kPlusDifferent},
      {"+", {"i[1,2;]", "i[1;2]"}, kPlusDiffer},
      {"+", {"i[1,2]", "i[1;2]"}, kPlusDifferent},
      {"+", {"i[1;2]", "i[1,2]"}, kPlusDifferent},
      {"+", {"1:3", "i[1;2;3]"}, kPlusDifferent},
      {"+", {"i[1;2;3]", "1:3"}, kPlusDifferent},
      {"+", {"1:3", "i[1,2,3;]"}, "integer matrix 2,4,6"},
      {"+.", {"1:3", "i[1;2;3]"}, "integer matrix 2; 4; 6"},
      {"-", {"i[1,2;3,4]", "i[1,2,3,4;]"}, kMinusDifferent},
      {"-", {"[1,2]", "[1;2]"}, kMinusDifferent},
      {"-", {"[1;2]", "1:2"}, kMinusDifferent},
      {"-", {"i[1,2]", "i[5,5;]"}, "integer matrix -4,-3"},
      // matrix products
      {"*", {"[1,2;3,4]", "[5,6;7,8]"}, "matrix 19,22; 43,50"},
      {"*.", {"[1,2;3,4]", "[5,6;7,8]"}, "matrix 5,12; 21,32"},
      {"*", {"[1;2;3]", "[1,2,3,4]"}, "matrix 1,2,3,4; 2,4,6,8; 3,6,9,12"},
      {"*", {"[1;2]", "1:3"}, "matrix 1,2,3; 2,4,6"},
      {"*",
       {"[1,2;3,4;5,6]", "[1,2]"},
       "Multiplying matrix and row vector, but matrix column count is not 1!"},
      {"*", {"[1,2]", "[1,2;3,4]"}, "vector 7; 10"},
      {"*", {"1:2", "[1,2;3,4]"}, "vector 7; 10"},
      {"*.", {"[1,2,3,4]", "[1,2;3,4]"}, "matrix 1,4; 9,16"},
      {"*.", {"i[1,2;3,4]", "i[1,2;3,4]"}, "integer matrix 1,4; 9,16"},
      {"*",
       {"i[1,2;3,4]", "i[1,2;3,4]"},
       "Unsupported operand combination: (integer matrix) * (integer matrix)"},
      {"*", {"i[1]", "i[1;]"}, "Unsupported operand combination: (integer vector) * (integer matrix)"},
      {"*", {"i[1,2,3;]", "1:3"}, "Unsupported operand combination: (integer matrix) * (range)"},
      // unary minus and plus
      {"-@", {"2.5"}, "double -2.5"},
      {"-@", {"5"}, "integer -5"},
      {"-@", {"1-2i"}, "complex -1+2i"},
      {"-@", {"[1,-2]"}, "vector -1; 2"},
      {"-@", {"[1+2i;]"}, "matrix -1-2i"},
      {"-@", {"i[1,-2;]"}, "integer matrix -1,2"},
      {"-@", {"1:5"}, "range -1:-5"},
      {"-@", {"0:2:10"}, "range 0:-2:-10"},
      {"-@", {"~0:0.5:1"}, "range ~0:-0.5:-1"},
      {"-@", {"-9223372036854775808"}, "Integer overflow"},
      {"-@", {"-2147483648:0"}, "Integer overflow"},
      {"+@", {"-9223372036854775808"}, "integer -9223372036854775808"},
      {"+@", {"[1;2]"}, "matrix 1; 2"},
      {"+@", {"u8[7,8]"}, "integer vector 7; 8"},
      {"+@", {"0:2:10"}, "range 0:2:10"},
      {"-@", {"'x'"}, "Unsupported value types: -@ ( string )"},
  });
}

// The result of a range operation stays a range: it expands like one.
TEST(ArithOperators, RangeResultsExpandAndTakeTheIntegerOperandsPrecision) {
  Val r = Range({1, 3}), ten = Int(10), iv = IntVec({100, 100, 100}, prInt16);
  NodeRunner minus("-", {ten.get(), r.get()}), times("*", {iv.get(), r.get()});
  EXPECT_EQ(Values(minus.EvalTwice().getVectorValue()), (std::vector<double>{9, 8, 7}));
  TValueRec& res = times.EvalTwice();
  EXPECT_EQ(res.IntVectorValue().IntPrecision(), prInt16);
  EXPECT_EQ(Values(res.IntVectorValue()), (std::vector<int>{100, 200, 300}));
}

// Another node may expand a shared range operand in place; the compiled range routines then combine
// the integer vector it has become.
TEST(ArithOperators, RangeOperandExpandedByAnotherNode) {
  Val r = Range({1, 3}), k = Int(10);
  NodeRunner plus("+", {r.get(), k.get()}), both("-", {r.get(), r.get()}), neg("-@", {r.get()});
  EXPECT_EQ(Show(plus.Eval()), "range 11:13");
  EXPECT_EQ(Show(neg.Eval()), "range -1:-3");
  r->GetIntVectorValue();
  EXPECT_EQ(Show(plus.Eval()), "integer vector 11; 12; 13");
  EXPECT_EQ(Show(neg.Eval()), "integer vector -1; -2; -3");
  EXPECT_EQ(Show(both.Eval()), "integer vector 0; 0; 0");
}

TEST(ArithOperators, ShapeErrorLeavesTheResultUntouched) {
  Val m = Mat(1, 2, {1, 2}), v = Vec({10, 20});
  NodeRunner run("+", {m.get(), v.get()});
  EXPECT_EQ(Show(run.EvalTwice()), "matrix 11,22");
  v->VectorValue().Size(3);
  EXPECT_EQ(MessageOf([&] { run.Eval(); }), kPlusDiffer);
  EXPECT_EQ(Show(*run.Node().Res), "matrix 11,22");
}

// Overflow is the runtime's integer error, not a language error; so is a bad matrix product.
TEST(ArithOperators, RuntimeErrorsAreNotLanguageErrors) {
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

// Every type pair of every operator: accepted pairs give the documented result type (or one of the
// errors of the operator's own cells), rejected pairs the unsupported-types message.
TEST(ArithOperators, ResultTypesOfAllTypePairs) {
  constexpr TValueType U = vtUndefined, D = vtDoubleValue, R = vtRangeValue, S = vtString, C = vtComplexValue,
                       V = vtVectorValue, I = vtIntegerValue, IV = vtIntVectorValue, IM = vtIntMatrixValue,
                       M = vtMatrixValue;
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
  for (const std::string name : {"+", "+.", "-", "-.", "*", "*."}) {
    for (int l = 0; l < ValueTypeCount; ++l) {
      for (int r = 0; r < ValueTypeCount; ++r) {
        const auto lt = static_cast<TValueType>(l), rt = static_cast<TValueType>(r);
        Val a = Sample(lt), b = Sample(rt);
        NodeRunner run(name, {a.get(), b.get()});
        const std::string text = MessageOf([&] { run.EvalTwice(); });
        const TValueType type = text == "<no exception>" ? run.Node().Res->ValueType() : U;
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

}  // namespace
}  // namespace zel::test
