// The type dispatch shared by every operator: rejected combinations, and the cell and result type each
// dispatch variant chooses.
#include <gtest/gtest.h>

#include "support/oper_helper.h"

namespace zel::test {
namespace {

// Unsupported combinations are reported before anything runs, naming the operator and the types.
TEST(OperatorDispatch, RejectedCombinationsNameOperatorAndTypes) {
  const struct {
    const char* op;
    TValueType left, right;
    std::string message;
  } cases[] = {
      {"+", vtBoolValue, vtIntegerValue, "Unsupported value types: + ( bool, integer )"},
      {"and", vtIntegerValue, vtBoolValue, "Unsupported value types: and ( integer, bool )"},
      {"<<", vtIntegerValue, vtDoubleValue, "Unsupported value types: << ( integer, double )"},
      {"/", vtString, vtString, "Unsupported value types: / ( string, string )"},
      {"\\", vtVectorValue, vtMatrixValue, "Unsupported value types: \\ ( vector, matrix )"},
      {"==", vtString, vtString, "Unsupported value types: == ( string, string )"},
      {"*", vtUndefined, vtDoubleValue, UnknownExprWord},
      {"-", vtDoubleValue, vtUndefined, UnknownExprWord},
  };
  for (const auto& c : cases) {
    Val a = Sample(c.left), b = Sample(c.right);
    NodeRunner run(c.op, {a.get(), b.get()});
    EXPECT_EQ(MessageOf([&] { run.Eval(); }), c.message) << c.op;
    EXPECT_EQ(run.Node().Res->ValueType(), vtUndefined) << "result defined before the check: " << c.op;
  }
}

// A tiny operator table whose only routines record which cell ran, to check the rules' cell choice.
int gCell = -1;
template <int L, int R>
void Record(TExprRec&) {
  gCell = L * ValueTypeCount + R;
}
template <int L, int... R>
constexpr void FillRow(TOperMatrix& t, std::integer_sequence<int, R...>) {
  ((t[L * ValueTypeCount + R] = Record<L, R>), ...);
}
template <int... L>
constexpr TOperMatrix RecordingTable(std::integer_sequence<int, L...>) {
  TOperMatrix t{};
  (FillRow<L>(t, std::make_integer_sequence<int, ValueTypeCount>()), ...);
  return t;
}
const TOperMatrix kRecording = RecordingTable(std::make_integer_sequence<int, ValueTypeCount>());

TEST(OperatorDispatch, RangesAreRoutedByTheirForm) {
  const struct {
    Val left, right;
    TValueType result;
    TValueType cellLeft, cellRight;
  } cases[] = {
      {Range({1, 3}), Range({1, 3}), vtIntVectorValue, vtRangeValue, vtRangeValue},
      {ExtRange({1, 3}), Range({1, 3}), vtVectorValue, vtVectorValue, vtRangeValue},
      {Range({1, 3}), ExtRange({1, 3}), vtVectorValue, vtVectorValue, vtRangeValue},
      {Range({1, 3}), Int(1), vtIntVectorValue, vtRangeValue, vtIntegerValue},
      {ExtRange({1, 3}), Int(1), vtVectorValue, vtVectorValue, vtIntegerValue},
      {Int(1), ExtRange({1, 3}), vtVectorValue, vtIntegerValue, vtVectorValue},
      {Dbl(1), ExtRange({1, 3}), vtVectorValue, vtDoubleValue, vtRangeValue},
  };
  for (const auto& c : cases) {
    TExprRec node;
    node.ExprWord = Operators::Get().Word("+");
    node.ResizeArgs(2);
    node.ArgCount = 2;
    node.Args[0] = c.left.get();
    node.Args[1] = c.right.get();
    gCell = -1;
    RedirectOperInt(node, kRecording);
    EXPECT_EQ(node.Res->ValueType(), c.result);
    EXPECT_EQ(gCell, OperCell(c.cellLeft, c.cellRight));
  }
  // An integer vector never meets an extended range.
  Val iv = IntVec({1}), er = ExtRange({1, 2});
  TExprRec node;
  node.ExprWord = Operators::Get().Word("+");
  node.Args = {iv.get(), er.get()};
  node.ArgCount = 2;
  EXPECT_EQ(MessageOf([&] { RedirectOperInt(node, kRecording); }),
            "Unsupported value types: + ( integer vector, range )");
}

TEST(OperatorDispatch, DivisionRulesDifferFromAddition) {
  const struct {
    void (*variant)(TExprRec&, const TOperMatrix&);
    TValueType l, r, result;
  } cases[] = {
      {RedirectOperInt, vtIntegerValue, vtIntegerValue, vtIntegerValue},
      {RedirectOperDiv, vtIntegerValue, vtIntegerValue, vtDoubleValue},
      {RedirectOperInt, vtVectorValue, vtMatrixValue, vtMatrixValue},
      {RedirectOperDiv, vtVectorValue, vtMatrixValue, vtVectorValue},
      {RedirectOperStrictInt, vtIntegerValue, vtIntegerValue, vtIntegerValue},
      {RedirectOper, vtIntegerValue, vtIntegerValue, vtDoubleValue},
      {RedirectOperComp, vtIntegerValue, vtIntMatrixValue, vtBoolMatrixValue},
      {RedirectOperEqComp, vtBoolVectorValue, vtBoolValue, vtBoolVectorValue},
      {RedirectOperBit, vtBoolValue, vtBoolMatrixValue, vtBoolMatrixValue},
  };
  for (const auto& c : cases) {
    Val a = Sample(c.l), b = Sample(c.r);
    TExprRec node;
    node.ExprWord = Operators::Get().Word("+");
    node.Args = {a.get(), b.get()};
    node.ArgCount = 2;
    c.variant(node, kRecording);
    EXPECT_EQ(node.Res->ValueType(), c.result) << ValTypeName(c.l) << " " << ValTypeName(c.r);
    EXPECT_EQ(node.Oper, kRecording[OperCell(c.l, c.r)]);  // the node keeps the typed routine
  }
}

}  // namespace
}  // namespace zel::test
