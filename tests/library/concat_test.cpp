// colconcat and rowconcat: result kinds of both variants, placement of every argument kind, and the
// exact messages of every rejected combination.
#include <gtest/gtest.h>

#include "library_helper.h"

namespace zel::test {
namespace {

constexpr bool kReal = true, kInt = false;  // the concatenation variant

// A call of either variant: arguments and the expected value written as for V, or the expected message.
struct Case {
  bool alwaysReal;
  std::vector<std::string> args;
  std::string expected;
};

// Accepted calls, evaluated twice over the same result.
void CheckResults(const char* function, const std::vector<Case>& cases) {
  for (const Case& c : cases)
    EXPECT_EQ(Fn(function, c.args, c.alwaysReal), ShowBits(*V(c.expected))) << function << " " << c.args[0];
}

// Refused calls: the message, raised before the result is defined.
void CheckRefusals(const char* function, const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    FnNode node(function, c.args, c.alwaysReal);
    EXPECT_EQ(node.Once(), c.expected) << function << " " << c.args[0];
    EXPECT_EQ(node.run->Node().Res->ValueType(), vtUndefined)
        << c.expected << ": result defined before the check";
  }
}

const std::string kRowsMismatch =
    "Concatenation of matrices in a row requires all items to be a matrix with equal row count.";

TEST(ColConcat, ResultKindsAndPlacement) {
  CheckResults(
      "colconcat",
      {
          {kReal, {"1", "2", "3"}, "[1,2,3]"},
          {kInt, {"1", "2", "3"}, "i[1,2,3]"},
          {kInt, {"1", "2.5"}, "[1,2.5]"},  // a double makes integers real
          {kReal, {"1", "1+2i"}, "[1+0i,1+2i]"},
          {kReal, {"3.0", "[1-1i]"}, "[3+0i,1-1i]"},
          {kReal, {"[1,2]", "3:4", "[5,6;]", "i[7;]", "~8:9"}, "[1,2,3,4,5,6,7,8,9]"},  // in order
          {kInt, {"u8[1,2]", "i16[300]", "u8[4;]"}, "i16[1,2,300,4]"},  // the widest precision
          {kInt, {"u8[1]", "u8[2]"}, "u8[1,2]"},
          {kInt, {"u8[1]", "70000"}, "i[1,70000]"},  // an integer scalar forces 32 bits
          {kInt, {"1:3", "4"}, "i[1,2,3,4]"},
          {kInt, {"i[1]", "[2.5;]"}, "[1,2.5]"},
          {kReal, {"[]", "1.0", "[]"}, "[1]"},
          {kReal, {"[1,2;3,4]", "[5;6]"}, "[1,2,5;3,4,6]"},
          {kInt, {"i[1;2]", "[3.5;4.5]"}, "[1,3.5;2,4.5]"},
          {kReal, {"[1;2]", "[3+1i;4-1i]"}, "[1+0i,3+1i;2+0i,4-1i]"},
          {kInt, {"u8[1;2]", "i16[3,4;5,6]"}, "i16[1,3,4;2,5,6]"},
          {kReal, {"i[1;2]", "i[3;4]"}, "[1,3;2,4]"},  // integer matrices are real in the real variant
          {kReal, {"'a'", "1", "true", "false"}, "'a110'"},
          {kReal, {"2.5", "'x'", "1-2i"}, "'2.5x1-2i'"},  // numbers before the string are text too
      });
  CheckRefusals(
      "colconcat",
      {
          {kReal, {"true", "'a'"}, "Unsupported type for column concatenation: bool"},
          {kReal, {"1.0", "b[1]"}, "Unsupported type for column concatenation: bool vector"},
          {kReal, {"1.0", "?"}, "Unsupported type for column concatenation: undefined"},
          {kReal,
           {"'a'", "[1]"},
           "Concentation of strings supported in combination of integer, double and boolean values!"},
          {kReal, {"[0,0,0;0,0,0]", "[0,0,0;0,0,0;0,0,0]"}, kRowsMismatch},
          {kInt, {"i[0;0]", "i[0;0;0]"}, kRowsMismatch},
          {kInt,
           {"i[0;0]", "1"},
           "Concatenation of matrices in a row requires all items to be integer matrices with equal row "
           "count."},
          {kReal,
           {"[0;0]", "[1,2]"},
           "Concatenation of matrices in a row requires all items to be a matrices with equal row count."},
          {kReal, {"[0;0]", "'a'"}, "Concatenation of matrices is supported for integer and real matrices."},
      });
}

std::string ColumnMessage(const std::string& label, int position) {
  return "Column count for " + label + std::to_string(position) +
         " does not match other parameters specified for row concatenation!";
}

TEST(RowConcat, ResultKindsAndPlacement) {
  CheckResults("rowconcat", {
                                {kReal, {"[1,2]", "[3,4]"}, "[1,2;3,4]"},
                                {kReal, {"[1]", "0+1i", "[2]"}, "[1+0i;0+1i;2+0i]"},
                                {kReal, {"1", "2"}, "[1;2]"},
                                {kInt, {"1", "2"}, "i[1;2]"},
                                {kInt, {"u8[1,2]", "i16[3,400]"}, "i16[1,2;3,400]"},
                                {kInt, {"i[1,2;3,4]", "5:6"}, "i[1,2;3,4;5,6]"},
                                {kInt, {"1", "2.5"}, "[1;2.5]"},
                                {kReal, {"[1,2;3,4]", "[5,6]", "i[7,8]"}, "[1,2;3,4;5,6;7,8]"},
                                {kReal, {"~0:0.5:1", "[1,2,3]"}, "[0,0.5,1;1,2,3]"},
                            });
  CheckRefusals("rowconcat",
                {
                    {kReal, {"[1,2]", "[3,4,5]"}, ColumnMessage("(vector) paramter ", 1)},
                    {kReal, {"[1,2]", "3.0"}, ColumnMessage("(double value) parameter ", 1)},
                    {kReal, {"[1,2]", "3+1i"}, ColumnMessage("(complex value) parameter ", 1)},
                    {kInt, {"i[1,2]", "3"}, ColumnMessage("(integer value) parameter ", 1)},
                    {kReal, {"1.0", "[1,2]"}, ColumnMessage("(double value) parameter ", 0)},
                    {kInt, {"i[1,2]", "i[3]"}, ColumnMessage("(integer vector) parameter ", 1)},
                    {kInt,
                     {"i[1,2]", "1:3"},
                     ColumnMessage("(integer vector) parameter ", 1)},  // a range counts as one
                    {kReal, {"[1,2]", "[0,0,0;0,0,0]"}, ColumnMessage("(matrix) parameter ", 1)},
                    {kInt, {"i[0,0,0;]", "i[0,0;0,0]"}, ColumnMessage("(integer matrix) parameter ", 1)},
                    {kReal, {"[1]", "'a'"}, "Unsupported type for row concatenation: string"},
                    {kReal, {"b[1;]"}, "Unsupported type for row concatenation: bool matrix"},
                });
}

// Scripts' bracket syntax compiles into the two words; arguments whose type changes between evaluations
// give the node's result a new type; unchanged sizes reuse the storage.
TEST(Concat, BracketsTypeChangesAndStorage) {
  EXPECT_EQ(Script("[1, 2; 3, 4]"), "matrix 1,2; 3,4");
  EXPECT_EQ(Script("[1, 2, 3]"), "vector 1; 2; 3");
  EXPECT_EQ(Script("[1, 2; 3, 4, 5]"), ColumnMessage("(vector) paramter ", 1));
  FnNode node("colconcat", {"1", "2"}, kInt);
  EXPECT_EQ(node.Once(), "integer vector 1; 2");
  node.values[1]->Undefine();
  node.values[1]->DefineDouble();
  node.values[1]->SetDoubleValue(0.5);
  EXPECT_EQ(node.Once(), "vector 1; 0.5");
  const Case nodes[] = {{kReal, {"[1,2]", "[1+1i]", "1.0", "2"}, "colconcat"},
                        {kInt, {"i[1,2;3,4]", "i[1,2;3,4]"}, "colconcat"},
                        {kReal, {"[1,2;3,4]", "i[1,2;3,4]"}, "colconcat"},
                        {kReal, {"[1,2]", "[1,2]", "[1,2;3,4]"}, "rowconcat"},
                        {kInt, {"i[1,2;3,4]", "i[1,2;3,4]"}, "rowconcat"}};
  for (const Case& n : nodes)
    EXPECT_EQ(SecondRunAllocations(n.expected, n.args, n.alwaysReal), 0u) << n.expected << " " << n.args[0];
}

}  // namespace
}  // namespace zel::test
