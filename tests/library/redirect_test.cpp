// The function library's redirectors: result type and handler cell of every argument type per rule.
#include <gtest/gtest.h>

#include <utility>

#include "library/redirect.h"
#include "support/alloc_counter.h"
#include "support/oper_helper.h"

namespace zel::test {
namespace {

// A table whose handlers record which cell ran.
int gCell = -1;
template <int T>
void Record(TExprRec&) {
  gCell = T;
}
template <int... T>
constexpr TOperVector RecordingTable(std::integer_sequence<int, T...>) {
  TOperVector t{};
  ((t[T] = Record<T>), ...);
  return t;
}
constexpr TOperVector kRecording = RecordingTable(std::make_integer_sequence<int, ValueTypeCount>());

constexpr TValueType U = vtUndefined;  // no rule

TEST(Redirect, EveryRuleOverEveryType) {
  constexpr TValueType D = vtDoubleValue, C = vtComplexValue, V = vtVectorValue, I = vtIntegerValue,
                       IV = vtIntVectorValue, IM = vtIntMatrixValue, B = vtBoolValue, BV = vtBoolVectorValue,
                       BM = vtBoolMatrixValue, M = vtMatrixValue;
  const struct {
    const char* rule;
    void (*redirect)(TExprRec&, const TOperVector&);
    // Results for: undefined double range string complex vector integer int-vector int-matrix
    //              bool bool-vector bool-matrix matrix custom
    TValueType result[ValueTypeCount];
  } rules[] = {
      {"R", RedirectOperReal, {U, D, U, U, D, V, D, U, U, U, U, U, M, U}},
      {"C", RedirectOperCplx, {U, C, U, U, C, V, C, U, U, U, U, U, M, U}},
      {"B", RedirectOperBool, {U, B, U, U, B, BV, B, BV, BM, U, U, U, BM, U}},
      {"I", RedirectOperToInt, {U, I, U, U, U, IV, I, U, U, U, U, U, IM, U}},
      {"K", RedirectOperKeepInt, {U, D, U, U, C, V, I, U, U, U, U, U, M, U}},
      {"T", RedirectOperThresh, {U, D, U, U, C, V, I, IV, IM, U, U, U, M, U}},
  };
  TWordList words;
  words.DefineFunctionUnsorted("f", Record<0>, 1, "", -1);
  for (const auto& r : rules) {
    for (int t = 0; t < ValueTypeCount; ++t) {
      const auto type = static_cast<TValueType>(t);
      Val arg = Sample(type);
      TExprRec node;
      node.ExprWord = words[0];
      node.Args = {arg.get()};
      node.ArgCount = 1;
      gCell = -1;
      if (r.result[t] == U) {
        const std::string expected =
            type == vtUndefined ? UnknownExprWord
                                : std::string("Unsupported value types: f ( ") + ValTypeName(type) + " )";
        EXPECT_EQ(MessageOf([&] { r.redirect(node, kRecording); }), expected) << r.rule;
        EXPECT_EQ(node.Res->ValueType(), vtUndefined) << r.rule << " defined a result before rejecting";
        EXPECT_EQ(gCell, -1);
      } else {
        r.redirect(node, kRecording);
        EXPECT_EQ(node.Res->ValueType(), r.result[t]) << r.rule << " " << ValTypeName(type);
        EXPECT_EQ(gCell, t) << r.rule;
        EXPECT_EQ(node.Oper, kRecording[t]);  // later evaluations call the handler directly
      }
    }
  }
}

// Two-argument functions name both argument types.
TEST(Redirect, MessageNamesEveryArgument) {
  TWordList words;
  words.DefineFunctionUnsorted("threshbottom", Record<0>, 2, "", -1);
  Val a = Str("s"), b = Dbl(1);
  TExprRec node;
  node.ExprWord = words[0];
  node.Args = {a.get(), b.get()};
  node.ArgCount = 2;
  EXPECT_EQ(MessageOf([&] { RedirectOperThresh(node, kRecording); }),
            "Unsupported value types: threshbottom ( string, double )");
}

}  // namespace
}  // namespace zel::test
