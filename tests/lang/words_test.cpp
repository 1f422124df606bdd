// Words: overload slots and their messages, literals, variables over host objects, nodes.
#include "lang/words/words.h"

#include <gtest/gtest.h>

#include "support/oper_helper.h"

#include <stdexcept>
#include <string>

namespace zel {
namespace {

void Noop(TExprRec&) {}
void SetOne(TExprRec& e) {
  e.Res->DefineInteger();
  e.Res->SetIntegerValue(1);
}
void SetTwo(TExprRec& e) {
  e.Res->DefineInteger();
  e.Res->SetIntegerValue(2);
}

using test::MessageOf;

TEST(ExprWord, OverloadSelectionBySlot) {
  TExprFunction f("f", SetOne, 1, 1, "one");
  TExprFunction two("f", SetTwo, 2, 1, "two");
  f.AddOverload(two);
  EXPECT_EQ(f.MaxArgCount(), 2);
  EXPECT_FALSE(f.CanHaveZeroArguments());

  struct Case {
    int n;
    TExprFunc func;
    const char* help;
  } cases[] = {{1, SetOne, "one"}, {2, SetTwo, "two"}};
  for (const Case& c : cases) {
    f.SetNFuncArg(c.n);
    EXPECT_EQ(f.Func(), c.func) << c.n;
    EXPECT_EQ(f.Help(), c.help) << c.n;
  }
  f.SetNFuncArg(3);
  EXPECT_EQ(MessageOf([&] { f.Func(); }), "No \"f\" overload accepts 3 arguments!  ");
  f.SetNFuncArg(0);
  EXPECT_EQ(MessageOf([&] { f.Func(); }), "No \"f\" overload accepts 0 arguments!  ");

  f.RemoveOverload(2);
  EXPECT_FALSE(f.HasOverload(2));
  EXPECT_EQ(f.MaxArgCount(), 2);  // not lowered
}

TEST(ExprWord, VariableArgumentFunctionsUseSlotZero) {
  TExprFunction f("sum", SetOne, -1, 1, "any");
  EXPECT_TRUE(f.VariableArgCount());
  EXPECT_EQ(f.MaxArgCount(), 8);
  EXPECT_FALSE(f.CanHaveZeroArguments());
  for (int n : {0, 3, 17, 40}) {
    f.SetNFuncArg(n);
    EXPECT_EQ(f.Func(), SetOne);
    EXPECT_EQ(f.Help(), "any");
  }
  TExprFunction other("sum", SetTwo, 1, 1, "");
  EXPECT_EQ(MessageOf([&] { f.AddOverload(other); }),
            "Function with variable parameter count cannot be overloaded!");
  f.RemoveOverload(0);
  EXPECT_EQ(MessageOf([&] { f.Func(); }),
            "Variable argument count function \"sum\" has not overload assign for index 0!  ");
}

TEST(ExprWord, ArgumentCountBoundsPerClass) {
  TExprFunction f("f", Noop, 1, 1, "");
  TExprVaryingFunction v("rnd", Noop, 0, 1, "");
  TExprOperator o("+", Noop, 2, 5, "");
  TExprLeftBracket b;
  struct Case {
    TExprWord* word;
    std::string message;
  } cases[] = {
      {&f, "TExprFunction.SetNFuncArg: Too many arguments: f"},
      {&v, "TExprVaryingFunction.SetNFuncArg: Too many arguments: rnd"},
      {&o, "TExprOperator.SetNFuncArg: Too many arguments: +"},
      {&b, "Argument count can not be set for \"(\""},
  };
  for (const Case& c : cases) {
    const int before = c.word->NFuncArg();
    EXPECT_EQ(MessageOf([&] { c.word->SetNFuncArg(18); }), c.message);
    EXPECT_EQ(c.word->NFuncArg(), before) << c.message;
  }
  EXPECT_NO_THROW(f.SetNFuncArg(17));
  EXPECT_EQ(o.OperPrec(), 5);
  EXPECT_EQ(v.LexemeType(), ltVaryingFunction);
  EXPECT_EQ(o.LexemeType(), ltOperator);
  EXPECT_EQ(MessageOf([] { TExprFunction("g", nullptr, 1, 1, ""); }), "Function not assigned!");
}

TEST(ExprConstant, LiteralTextChoosesTheType) {
  struct Case {
    const char* text;
    bool alwaysReal;
    TValueType type;
    double re, im;
  } cases[] = {
      {"3", false, vtIntegerValue, 3, 0},
      {"-42", false, vtIntegerValue, -42, 0},
      {"9223372036854775807", false, vtIntegerValue, 9223372036854775807.0, 0},
      {"9223372036854775808", false, vtDoubleValue, 9223372036854775808.0, 0},
      {"3.0", false, vtDoubleValue, 3, 0},
      {"1e3", false, vtDoubleValue, 1000, 0},
      {"3", true, vtDoubleValue, 3, 0},
      {"2i", false, vtComplexValue, 0, 2},
      {"1+0i", false, vtDoubleValue, 1, 0},
      {"", false, vtUndefined, 0, 0},
  };
  for (const Case& c : cases) {
    TExprConstant k("k", c.text, c.alwaysReal);
    const TValueRec& v = *k.VRec();
    ASSERT_EQ(v.ValueType(), c.type) << c.text;
    if (c.type == vtIntegerValue) {
      EXPECT_EQ(static_cast<double>(v.IntegerValue()), c.re) << c.text;
      EXPECT_EQ(v.DoubleValue(), c.re) << "double mirror of " << c.text;
    } else if (c.type == vtDoubleValue) {
      EXPECT_EQ(v.DoubleValue(), c.re) << c.text;
    } else if (c.type == vtComplexValue) {
      EXPECT_EQ(v.ComplexValue(), TCplx(c.re, c.im)) << c.text;
    }
  }
}

TEST(ExprConstant, StringsAndTypedConstants) {
  TExprStringConstant quoted("\"a b\"");
  EXPECT_EQ(quoted.VRec()->StringValue(), "a b");
  EXPECT_EQ(TExprStringConstant("\"\"").VRec()->ValueType(), vtUndefined);
  TExprStringConstant named("s", "help", "value");
  EXPECT_EQ(named.VRec()->StringValue(), "value");
  EXPECT_EQ(named.Help(), "help");
  EXPECT_EQ(TExprStringConstant("t", "", "").VRec()->ValueType(), vtUndefined);

  TExprRangeConstant range("r", {1, 2, 9});
  EXPECT_EQ(range.VRec()->ValueType(), vtRangeValue);
  EXPECT_EQ(range.VRec()->Range(), (std::vector<std::int32_t>{1, 2, 9}));

  TVec bounds(3);
  bounds.Values(0) = 0;
  bounds.Values(1) = 0.5;
  bounds.Values(2) = 2;
  TExprExtRangeConstant ext("e", bounds);
  EXPECT_TRUE(ext.VRec()->ExtRange());
  EXPECT_EQ(ext.VRec()->ValueType(), vtRangeValue);
  EXPECT_EQ(ext.VRec()->ExtRangeValue()->Length(), 3);
  EXPECT_NE(ext.VRec()->ExtRangeValue(), &bounds);  // a copy

  TExprIntegerConstant eoa("NubraEOA", -1, "end");
  EXPECT_EQ(eoa.VRec()->IntegerValue(), -1);
  EXPECT_EQ(eoa.VRec()->DoubleValue(), -1.0);
}

TEST(ExprVariable, HostVectorIsSharedNotCopied) {
  TVec host(3);
  host.SetVal(1.0);
  TExprVectorVariable var("v", &host);
  TValueRec& rec = *var.VRec();
  EXPECT_FALSE(rec.IsOwned());
  rec.VectorValue().Values(1) = 7;  // what a script assignment does
  EXPECT_EQ(host.Values(1), 7);

  TZel hostM(2, 2);
  { TExprMatrixVariable m("m", &hostM); }  // destroying the variable leaves the host object alone
  EXPECT_EQ(hostM.Rows(), 2);

  TExprVectorVariable own("w");
  EXPECT_TRUE(own.VRec()->IsOwned());
  EXPECT_EQ(own.VRec()->ValueType(), vtVectorValue);
}

TEST(ExprRec, ValueWordsEvaluateToTheirOwnRecord) {
  TExprDoubleConstant k("k", 2.5);
  TExprRec node;
  node.ExprWord = &k;
  node.ResizeArgs(1);
  node.Args[0] = k.VRec();
  k.Func()(node);
  EXPECT_EQ(node.Res, k.VRec());
  EXPECT_EQ(node.tmpRes->ValueType(), vtUndefined);
}

TEST(ExprRec, BoundRoutineIsCachedInTheNode) {
  int calls = 0;
  TExprFunction f(
      "f", 2, 1,
      [&](TExprRec& e) {
        ++calls;
        e.Res->DefineInteger();
        e.Res->SetIntegerValue(e.ArgCount);
      },
      "bound");
  EXPECT_TRUE(f.HasOverload(2));
  TExprRec node;
  node.ExprWord = &f;
  node.ArgCount = 2;
  node.Oper = f.FuncAt(2);
  node.Oper(node);
  TExprFunc afterFirst = node.Oper;
  EXPECT_NE(afterFirst, f.FuncAt(2));  // the trampoline replaced itself
  f.RemoveOverload(2);                 // a cached node no longer needs the word's slot
  node.Oper(node);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(node.Res->IntegerValue(), 2);
}

TEST(UnsupportedValueTypes, AllArities) {
  TExprOperator plus("+", Noop, 2, 5, "");
  TExprRec node;
  node.ExprWord = &plus;
  struct Case {
    std::function<void()> raise;
    const char* message;
  } cases[] = {
      {[&] { UnsupportedValueTypesError(node, vtString); }, "Unsupported value types: + ( string )"},
      {[&] { UnsupportedValueTypesError(node, vtString, vtBoolValue); },
       "Unsupported value types: + ( string, bool )"},
      {[&] { UnsupportedValueTypesError(node, vtDoubleValue, vtIntVectorValue, vtCustomValue); },
       "Unsupported value types: + ( double, integer vector, custom object )"},
      {[&] {
         UnsupportedValueTypesError(node, vtMatrixValue, vtBoolMatrixValue, vtRangeValue, vtComplexValue);
       },
       "Unsupported value types: + ( matrix, bool matrix, range, complex )"},
      {[&] {
         UnsupportedValueTypesError(node, vtVectorValue, vtIntegerValue, vtIntMatrixValue, vtBoolVectorValue,
                                    vtString);
       },
       "Unsupported value types: + ( vector, integer, integer matrix, bool vector, string )"},
      {[&] { UnsupportedValueTypesError(node, vtDoubleValue, vtUndefined); }, UnknownExprWord},
      {[&] {
         UnsupportedValueTypesError(node, vtDoubleValue, vtDoubleValue, vtDoubleValue, vtDoubleValue,
                                    vtUndefined);
       },
       UnknownExprWord},
  };
  for (const Case& c : cases) {
    try {
      c.raise();
      ADD_FAILURE() << "no exception for " << c.message;
    } catch (const EZelParseError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace zel
