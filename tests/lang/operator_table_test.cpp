// The operator words and the type dispatch shared by every operator.
#include <gtest/gtest.h>

#include "support/alloc_counter.h"
#include "support/oper_helper.h"

namespace zel::test {
namespace {

TEST(OperatorTable, RegistersTheOperatorWordsInOrder) {
  TWordList words;
  TExprWord* colon = nullptr;
  TExprWord* assign = nullptr;
  InitOperators(words, colon, assign);
  const char* symbols[] = {"'",  "-@", "+@", "not", "Not", "~",   "!",  ":",   "^",  "*",
                           "*.", "/",  "/.", "div", "\\",  "mod", "%",  "+",   "+.", "-",
                           "-.", "<<", ">>", "shl", "shr", ">",   ">=", "<=",  "<",  "<>",
                           "!=", "~=", "==", "and", "&",   "or",  "|",  "xor", "="};
  ASSERT_EQ(words.Count(), 39);
  for (int i = 0; i < 39; ++i) {
    EXPECT_EQ(words[i]->Name(), symbols[i]);
    EXPECT_EQ(words[i]->LexemeType(), ltOperator);
    EXPECT_EQ(words[i]->NFuncArg(), i < 7 ? 1 : 2) << symbols[i];
  }
  EXPECT_EQ(colon->Name(), ":");
  EXPECT_EQ(assign->Name(), "=");
  EXPECT_EQ(assign->OperPrec(), 200);
  EXPECT_EQ(words[11]->Help(),
            "y / x: Matrix division operator. Integer division returns real number. Solving A = y*x^(-1), ");
  words.Sort();
  EXPECT_NO_THROW(words.CheckForDuplicates());
}

TEST(OperatorTable, PrecedencesBindTighterWithSmallerValues) {
  const struct {
    const char* op;
    int prec;
  } cases[] = {{"'", 10},  {"-@", 10}, {":", 15},  {"^", 20},   {"*", 30}, {"div", 30}, {"%", 30},
               {"+", 40},  {"-.", 40}, {"<<", 45}, {"shr", 45}, {">", 50}, {"<", 50},   {"==", 55},
               {"~=", 55}, {"&", 70},  {"|", 80},  {"xor", 80}, {"=", 200}};
  for (const auto& c : cases) EXPECT_EQ(Operators::Get().Word(c.op)->OperPrec(), c.prec) << c.op;
}

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

TEST(OperatorDispatch, UnaryRejections) {
  Val s = Str("x"), b = Bool(true), u = Undef(), r = Range({1, 3});
  EXPECT_EQ(MessageOf([&] { NodeRunner("-@", {s.get()}).Eval(); }), "Unsupported value types: -@ ( string )");
  EXPECT_EQ(MessageOf([&] { NodeRunner("'", {b.get()}).Eval(); }), "Unsupported value types: ' ( bool )");
  EXPECT_EQ(MessageOf([&] { NodeRunner("'", {r.get()}).Eval(); }), "Unsupported value types: ' ( range )");
  EXPECT_EQ(MessageOf([&] { NodeRunner("not", {u.get()}).Eval(); }), UnknownExprWord);
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

TEST(OperatorDispatch, SecondEvaluationSkipsTheDispatch) {
  Val a = Vec({1, 2}), b = Vec({3, 4});
  TExprRec node;
  node.ExprWord = Operators::Get().Word("+");
  node.Args = {a.get(), b.get()};
  node.ArgCount = 2;
  RedirectOperInt(node, kRecording);
  TVec* storage = &node.Res->VectorValue();
  AllocationCounter allocations;
  node.Oper(node);
  EXPECT_EQ(allocations.Count(), 0u);
  EXPECT_EQ(&node.Res->VectorValue(), storage);
}

}  // namespace
}  // namespace zel::test
