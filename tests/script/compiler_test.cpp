// The compiler's front end: normalisation, scanning, word creation, preprocessing rewrites, the syntax
// check and tree building by precedence.
#include <gtest/gtest.h>

#include <cmath>

#include "script/expression.h"
#include "support/oper_helper.h"

namespace zel::test {
namespace {

void Noop(TExprRec&) {}

// Words as text: names, or the value of nameless constants.
std::string Render(const TExprWordList& words) {
  std::string out;
  for (int i = 0; i < words.Count(); ++i) {
    const TExprWord* w = words[i];
    std::string text = w->Name();
    if (text.empty()) text = w->VRec() && w->VRec()->ValueType() != vtUndefined ? w->VRec()->AsString() : "?";
    out += (i ? " " : "") + text;
  }
  return out;
}

// A tree as prefix text: op(arg, arg).
std::string RenderTree(const TExprRec* node) {
  if (!node) return "_";
  const TExprWord* w = node->ExprWord;
  std::string name = w->Name().empty() ? w->VRec()->AsString() : w->Name();
  if (node->ArgCount == 0) return name;
  name += "(";
  for (int k = 0; k < node->ArgCount; ++k)
    name += (k ? ", " : "") + RenderTree(node->ArgList[static_cast<size_t>(k)]);
  return name + ")";
}

class Compiler : public ::testing::Test {
 protected:
  Compiler() {
    x.DefineFunction("f", Noop, 1, "f(x)");
    x.DefineFunction("f", Noop, 2, "f(x, y)");
    x.DefineFunction("g", Noop, 0, "g()");
    x.DefineFunction("max", Noop, 3, "max(v, m, i)");
  }
  std::string Words(const std::string& line) {
    TSingleExpression e;
    e.Str = line;
    x.CreateExprWords(e);
    return Render(*e.Words);
  }
  std::string Tree(const std::string& line) {
    TSingleExpression e;
    e.Str = line;
    x.CreateExprWords(e);
    TExprRec* root = x.MakeTree(*e.Words);
    std::string text = RenderTree(root);
    x.DisposeTree(root);
    return text;
  }
  TZelExpression x;
};

TEST_F(Compiler, RewritesLinesIntoCalls) {
  const struct {
    const char* line;
    const char* words;
  } cases[] = {
      {"a .* b", "a *. b"},
      {"a *. b", "a *. b"},
      {"a ./ b + c .- d .+ e", "a /. b + c -. d +. e"},
      {"x = 1 // note", "x = 1"},
      {"x = 5;", "x = 5"},
      {"x = 5;;", "x = 5"},
      {"", "true"},
      {"   // only a comment", "true"},
      {"a(:)", "select ( a , 0 : NubraEOA )"},
      {"a(2:)", "select ( a , 2 : NubraEOA )"},
      {"a(:, 1)", "select ( a , 0 : NubraEOA , 1 )"},
      {"(m, i) = max(v)", "max ( v , m , i )"},
      {"v(2) = 7", "assign ( v , 2 , 7 )"},
      {"m(1, 2) = v(0)", "assign ( m , 1 , 2 , select ( v , 0 ) )"},
      {"y = v(2)", "y = select ( v , 2 )"},
      {"y = v(w(1))", "y = select ( v , select ( w , 1 ) )"},
      {"for k = 1:3", "for ( k , 1 : 3 )"},
      {"for(k = 1:3)", "for ( k , 1 : 3 )"},
      {"while k < 3", "while ( k < 3 )"},
      {"if (k)", "if ( k )"},
      {"--x", "+@ x"},
      {"2*-+-x", "2 * +@ x"},
      {"-x + -1", "-@ x + -@ 1"},
      {"$FF", "255"},
      {"x <= y", "x <= y"},
      {"a<-1", "a < -@ 1"},
      {"\"a b\" + s", "\"a b\" + s"},
      {"x = \"abc", "x = \"abc"},
      {"f(1, g)", "f ( 1 , g )"},
      {"[a, b]", "colconcat ( a , b )"},
      {"[1, 2; 3, 4]", "rowconcat ( colconcat ( 1 , 2 ) , colconcat ( 3 , 4 ) )"},
      {"[[1, 2]; [3]]", "rowconcat ( colconcat ( colconcat ( 1 , 2 ) ) , colconcat ( colconcat ( 3 ) ) )"},
      {"v(1) = [1, 2]", "assign ( v , 1 , colconcat ( 1 , 2 ) )"},
  };
  for (const auto& c : cases) EXPECT_EQ(Words(c.line), c.words) << c.line;
}

TEST_F(Compiler, LiteralsBecomeTypedConstants) {
  const struct {
    const char* text;
    bool alwaysReal;
    TValueType type;
  } cases[] = {{"3", false, vtIntegerValue},  {"3.5", false, vtDoubleValue},  {"1e3", false, vtDoubleValue},
               {"2i", false, vtComplexValue}, {"$FF", false, vtIntegerValue}, {"3", true, vtDoubleValue},
               {".5", false, vtDoubleValue},  {"\"s\"", false, vtString}};
  for (const auto& c : cases) {
    x.SetConstantsAlwaysReal(c.alwaysReal);
    auto words = x.ParseString(c.text);
    ASSERT_EQ(words->Count(), 1) << c.text;
    EXPECT_EQ((*words)[0]->VRec()->ValueType(), c.type) << c.text;
  }
  EXPECT_THROW(x.ParseString("2e"), ENubraException);
}

TEST_F(Compiler, PreprocessorEventSeesTheScannedWords) {
  const TZelExpression* sender = nullptr;
  std::string seen;
  x.SetOnPreprocessor([&](TZelExpression& from, TExprWordList& words) {
    sender = &from;
    seen = Render(words);
  });
  EXPECT_EQ(Words("v(1);"), "select ( v , 1 )");
  EXPECT_EQ(sender, &x);
  EXPECT_EQ(seen, "v ( 1 ) ;");
}

TEST_F(Compiler, UnknownNamesBecomeVariablesCaseSensitively) {
  Words("Pi + pi + TRUE");
  int index = 0;
  ASSERT_TRUE(x.Words().Find("Pi", index));
  EXPECT_EQ(x.Words()[index]->LexemeType(), ltVariable);
  ASSERT_TRUE(x.Words().Find("pi", index));
  EXPECT_EQ(x.Words()[index]->LexemeType(), ltConstant);
  ASSERT_TRUE(x.Words().Find("TRUE", index));
  EXPECT_EQ(x.Words()[index]->LexemeType(), ltVariable);
}

TEST_F(Compiler, SyntaxMessagesInOrder) {
  const struct {
    const char* line;
    const char* message;
  } cases[] = {
      {"(1+2", "Unequal brackets"},
      {")1+2(", "Missing operand between constant/variable and ("},
      {"(1)2", "Missing operand between ) and constant/variable"},
      {"x = end", "The \"end\" keyword must be the only word on the line."},
      {"else x", "The \"else\" keyword must be the only word on the line."},
      {"break + 1", "The \"break\" keyword must be the only word on the line."},
      {"continue()", "The \"continue\" keyword must be the only word on the line."},
      {"2(3)", "Missing operand between constant/variable and ("},
      {"a b", "a two space limited variables/constants"},
      {"g()", "Empty brackets ()"},
      {"(a)(b)", "Missing operand between )("},
  };
  for (const auto& c : cases) EXPECT_EQ(MessageOf([&] { x.ParseString(c.line); }), c.message) << c.line;
}

TEST_F(Compiler, TreesFollowPrecedenceAndGroupLeft) {
  const struct {
    const char* line;
    const char* tree;
  } cases[] = {
      {"-x^2", "^(-@(x), 2)"},
      {"2^-1", "^(2, -@(1))"},
      {"a-b-c", "-(-(a, b), c)"},
      {"1+2*3", "+(1, *(2, 3))"},
      {"2*3+1", "+(*(2, 3), 1)"},
      {"a = b = c", "=(=(a, b), c)"},
      {"x'", "'(x)"},
      {"x' * y'", "*('(x), '(y))"},
      {"(a+b)*c", "*(+(a, b), c)"},
      {"((a))", "a"},
      {"f(a+1, b) * 2", "*(f(+(a, 1), b), 2)"},
      {"1 + f(2)", "+(1, f(2))"},
      {"a:b:c", ":(:(a, b), c)"},
      {"y = 1:n", "=(y, :(1, n))"},
      {"not a and b", "and(not(a), b)"},
      {"a < b == c > d", "==(<(a, b), >(c, d))"},
  };
  for (const auto& c : cases) EXPECT_EQ(Tree(c.line), c.tree) << c.line;
}

TEST_F(Compiler, MalformedTreesAreRejected) {
  const struct {
    const char* line;
    const char* message;
  } cases[] = {
      {"1 +", "Syntax error: function or operand has too few arguments"},
      {"* 3", "Syntax error: function or operand has too few arguments"},
      {"f(1,,2)", "Syntax error in expression "},
      {"f(1) f(2)", "Syntax error in expression "},
      {"f(1, 2, 3)", "No \"f\" overload accepts 3 arguments!  "},
      {"not not true", "Syntax error: function or operand has too few arguments"},
      {"x' y", "Syntax error in expression "},
  };
  for (const auto& c : cases) {
    x.ClearExpressions();
    x.AddExpr(c.line);
    EXPECT_EQ(MessageOf([&] { x.Compile(); }), c.message) << c.line;
  }
}

TEST_F(Compiler, ResultNames) {
  const struct {
    const char* line;
    const char* name;
  } cases[] = {{"x = 1", "x"}, {"x(2) = 1", "x"}, {"x", "x"}, {"f(1)", ""}, {"y = x + 1", "y"}};
  for (const auto& c : cases) {
    TSingleExpression e;
    e.Str = c.line;
    x.CreateExprWords(e);
    TExprRec* root = x.MakeTree(*e.Words);
    EXPECT_EQ(x.EvaluateResultName(root), c.name) << c.line;
    x.DisposeTree(root);
  }
}

void LeavesResultUndefined(TExprRec&) {}

TEST_F(Compiler, ConstantSubTreesFoldAtCompileTime) {
  const struct {
    const char* line;
    bool single;  // the whole line became one constant node
  } cases[] = {{"2+3", true}, {"x+1", false}, {"sin(pi/4)*2", true}, {"y = sin(pi/4)*2", false}, {"3", true}};
  for (const auto& c : cases) {
    TSingleExpression e;
    e.Str = c.line;
    x.CreateExprRec(e);
    ASSERT_NE(e.Rec, nullptr);
    EXPECT_EQ(e.Rec->Next == nullptr && e.Rec->ExprWord->LexemeType() == ltConstant, c.single) << c.line;
  }
  // In y = sin(pi/4)*2 only the assignment runs: its right operand is one folded constant.
  TSingleExpression e;
  e.Str = "y = sin(pi/4)*2";
  x.CreateExprRec(e);
  EXPECT_EQ(e.Rec->Next, nullptr);
  EXPECT_NEAR(e.Rec->Args[1]->DoubleValue(), std::sqrt(2.0), 1e-15);
  EXPECT_EQ(x.Run("2+3")->IntegerValue(), 5);

  x.DefineFunction("u", LeavesResultUndefined, 1, "");
  e.Str = "u(1)";
  EXPECT_EQ(
      MessageOf([&] { x.CreateExprRec(e); }),
      "The constant elimination procedure was succesfull, but the result of the evaluation has an undefined "
      "type. Please check, that all functions used also specify type of the result!");
}

// The raw tree methods hand ownership along (the sanitizer build reports leaks and double frees).
TEST_F(Compiler, RawTreeMethodsHandOwnershipAlong) {
  x.DefineDouble("x").SetDoubleValue(1.5);
  TSingleExpression e;
  e.Str = "y = 2*3 + x";
  x.CreateExprWords(e);
  TExprRec* root = x.MakeTree(*e.Words);
  ASSERT_TRUE(x.CheckArguments(root));
  EXPECT_TRUE(x.ResultCanVary(root));
  root = x.RemoveConstants(root);
  EXPECT_EQ(RenderTree(root), "=(y, +(6, x))");
  TExprRec* chain = x.MakeLinkedList(root);
  EXPECT_EQ(chain->ExprWord->Name(), "+");
  EXPECT_EQ(x.EvaluateList(chain)->Res->DoubleValue(), 7.5);
  DisposeList(chain);

  // A fold that fails frees the tree it was given.
  x.DefineFunction("u", LeavesResultUndefined, 1, "");
  e.Str = "u(1)";
  x.CreateExprWords(e);
  EXPECT_THROW(x.RemoveConstants(x.MakeTree(*e.Words)), std::runtime_error);
}

TEST(Scanner, SemicolonTerminationAndWordUnderCaret) {
  EXPECT_TRUE(TerminatedWithSemicolon("x = 1;  "));
  EXPECT_FALSE(TerminatedWithSemicolon("x = 1"));
  EXPECT_FALSE(TerminatedWithSemicolon("   "));
  const struct {
    const char* src;
    int idx;
    const char* word;
  } cases[] = {{"y = sin(x1)", 6, "sin"},
               {"y = sin(x1)", 10, "x1"},
               {"y = sin(x1)", 8, ""},
               {"a + 12b", 6, ""},
               {"", 3, ""},
               {"abc", 99, "abc"},
               {"abc", -5, "abc"},
               {"_q+1", 1, "_q"}};
  for (const auto& c : cases) EXPECT_EQ(ExpandCharToWord(c.src, c.idx), c.word) << c.src << " @" << c.idx;
}

}  // namespace
}  // namespace zel::test
