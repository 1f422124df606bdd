// Registration of the built-in words: the rules of a registration table (twins and their help, overload
// rows, output arguments, varying functions) and the words RegisterBuiltins hands to the compiler.
#include <gtest/gtest.h>

#include "lang/words/registration.h"
#include "library_helper.h"

namespace zel::test {
namespace {

void One(TExprRec&) {}
void Two(TExprRec&) {}

TEST(Registration, TableRules) {
  const TFunctionEntry table[] = {
      {"fa", "Fa", One, 1, "fa(x): one"},
      {"fa", "Fa", Two, 2, "fa(x,y): two", "FA(x,y): two"},  // overload row, explicit twin help
      {"fb", "Fb", One, 1, "the fb function"},               // help not led by the name
      {"fc", nullptr, One, 3, "fc(a,b,c): one output", nullptr, 1},
      {"fr", nullptr, Two, 0, "fr(): varies", nullptr, 0, true},
  };
  TWordList words;
  const int last = RegisterFunctions(words, table);
  ASSERT_EQ(words.Count(), 6);
  EXPECT_EQ(words[last]->Name(), "fr");
  const struct {
    int index, slot;
    const char* name;
    TExprFunc routine;
    const char* help;
  } expected[] = {
      {0, 1, "fa", One, "fa(x): one"},
      {0, 2, "fa", Two, "fa(x,y): two"},
      {1, 1, "Fa", One, "Fa(x): one"},
      {1, 2, "Fa", Two, "FA(x,y): two"},
      {2, 1, "fb", One, "the fb function"},
      {3, 1, "Fb", One, "the fb function"},
      {4, 3, "fc", One, "fc(a,b,c): one output"},
      {5, 0, "fr", Two, "fr(): varies"},
  };
  for (const auto& e : expected) {
    const TExprWord* w = words[e.index];
    EXPECT_EQ(w->Name(), e.name);
    EXPECT_EQ(w->FuncAt(e.slot), e.routine) << e.name << " " << e.slot;
    EXPECT_EQ(w->HelpAt(e.slot), e.help) << e.name << " " << e.slot;
  }
  EXPECT_EQ(words[4]->NResultArg(), 1);
  EXPECT_EQ(words[4]->LexemeType(), ltFunction);
  EXPECT_EQ(words[5]->LexemeType(), ltVaryingFunction);
}

TEST(Registration, BuiltinsHandBackTheRewriteTargets) {
  const Functions& f = Functions::Get();
  const TBuiltinWords& refs = f.Refs();
  EXPECT_EQ(refs.select, f.Word("select"));
  EXPECT_EQ(refs.assign, f.Word("assign"));
  EXPECT_EQ(refs.colonOp, f.Word(":"));
  EXPECT_EQ(refs.assignOp, f.Word("="));
  for (bool alwaysReal : {true, false}) {  // both concatenation variants
    const Functions& g = Functions::Get(alwaysReal);
    EXPECT_EQ(g.Refs().colConcat, g.Word("colconcat"));
    EXPECT_EQ(g.Refs().rowConcat, g.Word("rowconcat"));
    EXPECT_TRUE(g.Word("colconcat")->VariableArgCount());
  }
  for (int n : {2, 3, 4}) EXPECT_TRUE(refs.select->HasOverload(n)) << n;
  for (int n : {3, 4}) EXPECT_TRUE(refs.assign->HasOverload(n)) << n;
  EXPECT_TRUE(f.Word("ifthen")->HasOverload(3));
  EXPECT_NO_THROW(f.Words().CheckForDuplicates());
}

}  // namespace
}  // namespace zel::test
