// Symbol tables: search order, merging and replacing, bulk registration, hooks; variables and contexts.
#include "lang/words/wordlist.h"

#include <gtest/gtest.h>

#include "support/oper_helper.h"

#include <stdexcept>

#include "lang/words/context.h"

namespace zel {
namespace {

void Noop(TExprRec&) {}

using test::MessageOf;

std::vector<std::string> Names(const TExprWordList& list) {
  std::vector<std::string> names;
  for (int i = 0; i < list.Count(); ++i) names.push_back(list[i]->Name());
  return names;
}

TEST(WordList, FindReportsMatchOrInsertionPoint) {
  TWordList list;
  int index = -1;
  EXPECT_FALSE(list.Find("a", index));
  EXPECT_EQ(index, 0);
  for (const char* n : {"c", "a", "e"}) list.AddUnsorted(std::make_unique<TExprVariable>(n), -1);
  list.Sort();
  struct Case {
    const char* name;
    bool found;
    int index;
  } cases[] = {{"a", true, 0}, {"b", false, 1}, {"c", true, 1},  {"d", false, 2},
               {"e", true, 2}, {"f", false, 3}, {"A", false, 0}, {"", false, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(list.Find(c.name, index), c.found) << c.name;
    EXPECT_EQ(index, c.index) << c.name;
  }
}

TEST(WordList, SortIsOrdinalAndCaseSensitive) {
  TWordList list;
  for (const char* n : {"sin", "Sin", "abs", "Zeta", "_x", "a1", "a"})
    list.AddUnsorted(std::make_unique<TExprVariable>(n), -1);
  list.Sort();
  EXPECT_EQ(Names(list), (std::vector<std::string>{"Sin", "Zeta", "_x", "a", "a1", "abs", "sin"}));
  EXPECT_NO_THROW(list.CheckForDuplicates());
  int index = 0;
  EXPECT_TRUE(list.Find("Sin", index));
  EXPECT_EQ(index, 0);
  EXPECT_TRUE(list.Find("sin", index));
  EXPECT_EQ(index, 6);
}

TEST(WordList, CheckForDuplicatesNamesTheFirstPair) {
  TWordList list;
  for (const char* n : {"b", "a", "b", "c", "c"}) list.AddUnsorted(std::make_unique<TExprVariable>(n), -1);
  list.Sort();
  try {
    list.CheckForDuplicates();
    FAIL();
  } catch (const ENubraException& e) {
    EXPECT_STREQ(e.what(), "TExprWordList.CheckForDuplicates returned true at Index = 1, for expression: b");
  }
}

TEST(WordList, AddMergesFunctionsAndReplacesEverythingElse) {
  TWordList list;
  list.Add(std::make_unique<TExprFunction>("f", Noop, 1, 1, "f1"));
  list.Add(std::make_unique<TExprVariable>("x"));
  list.Add(std::make_unique<TExprDoubleConstant>("k", 1));
  ASSERT_EQ(Names(list), (std::vector<std::string>{"f", "k", "x"}));

  TExprWord* f = list[0];
  EXPECT_EQ(list.Add(std::make_unique<TExprFunction>("f", Noop, 2, 1, "f2")), 0);
  EXPECT_EQ(list[0], f);  // same word, one more overload
  EXPECT_EQ(list.Count(), 3);
  EXPECT_TRUE(f->HasOverload(1));
  EXPECT_TRUE(f->HasOverload(2));
  f->SetNFuncArg(2);
  EXPECT_EQ(f->Help(), "f2");

  auto replacement = std::make_unique<TExprVariable>("k");
  const TExprWord* k = replacement.get();
  EXPECT_EQ(list.Add(std::move(replacement)), 1);
  EXPECT_EQ(list[1], k);
  EXPECT_EQ(list[1]->LexemeType(), ltVariable);
  EXPECT_EQ(list.Count(), 3);

  // Only an existing plain function merges: a function named like a varying function replaces it.
  list.Add(std::make_unique<TExprVaryingFunction>("g", Noop, 0, 0, ""));
  auto plain = std::make_unique<TExprFunction>("g", Noop, 1, 1, "");
  const TExprWord* g = plain.get();
  EXPECT_EQ(list[list.Add(std::move(plain))], g);
  EXPECT_EQ(list.Count(), 4);
}

// The raw-pointer forms take ownership (the sanitizer build reports leaks and double frees), except that
// a refused AddUnsorted overload leaves the word with the caller.
TEST(WordList, RawPointerFormsTakeOwnership) {
  TWordList list;
  EXPECT_EQ(list.Add(new TExprVariable("x")), 0);
  EXPECT_EQ(list.Add(new TExprVariable("x")), 0);  // replaces and frees the first x
  const int f = list.AddUnsorted(new TExprFunction("f", Noop, 1, 1, ""), -1);
  EXPECT_EQ(list.AddUnsorted(new TExprFunction("f", Noop, 2, 1, ""), f), f);  // merged and freed
  list.Append(new TExprVariable("y"));
  list.Insert(0, new TExprVariable("w"));
  list.SetItems(0, new TExprVariable("v"));  // frees w
  EXPECT_EQ(Names(list), (std::vector<std::string>{"v", "x", "f", "y"}));
  auto refused = std::make_unique<TExprVariable>("f");
  EXPECT_THROW(list.AddUnsorted(refused.get(), 0), ENubraException);  // "v" is not a function

  TExprWordList view(false);
  EXPECT_EQ(MessageOf([&] { view.Append(std::make_unique<TExprVariable>("z")); }),
            "TExprWordList: the list does not own its words and cannot take one");
  EXPECT_EQ(view.Count(), 0);
}

TEST(WordList, BulkRegistrationMergesByIndex) {
  TWordList list;
  const int sin = list.DefineFunctionUnsorted("sin", Noop, 1, "sine", -1);
  EXPECT_EQ(list.DefineFunctionUnsorted("sin", Noop, 2, "sine of two", sin), sin);
  list.DefineDoubleConstantUnsorted("pi", 3.14159, "pi");
  const int rnd = list.DefineVaryingFunctionUnsorted("rnd", Noop, 0, "random", -1);
  EXPECT_EQ(list.DefineVaryingFunctionUnsorted("rnd", Noop, 1, "random n", rnd), rnd);
  const int plus = list.DefineOperatorUnsorted('+', Noop, 2, 6, "add");
  EXPECT_EQ(list.DefineIntegerConstantUnsorted("NubraEOA", -1), 4);
  EXPECT_EQ(list.Count(), 5);
  EXPECT_EQ(list[sin]->MaxArgCount(), 2);
  EXPECT_EQ(list[rnd]->MaxArgCount(), 1);
  EXPECT_EQ(list[4]->VRec()->IntegerValue(), -1);
  EXPECT_EQ(list[plus]->OperPrec(), 6);

  EXPECT_EQ(MessageOf([&] { list.DefineFunctionUnsorted("pi", Noop, 1, "", 1); }),
            "Attempt to overload a non-function!");
  EXPECT_EQ(MessageOf([&] { list.DefineFunctionUnsorted("cos", Noop, 1, "", sin); }),
            "Attemped to add overload for a different function: sin <> cos");
  EXPECT_EQ(list.Count(), 5);
}

std::vector<std::string> hookCalls;
void ProbHook(TWordList& l) {
  hookCalls.push_back("prob");
  l.DefineFunctionUnsorted("normpdf", Noop, 1, "", -1);
}
void StatHook(TWordList&) { hookCalls.push_back("stat"); }

TEST(WordList, ClassWideHooksReachEveryList) {
  hookCalls.clear();
  TWordList::SetOnProbabilities(ProbHook);
  TWordList::SetOnStatistics(StatHook);
  TWordList a, b;
  for (TWordList* l : {&a, &b}) {
    l->DoOnProbabilities();
    l->DoOnStatistics();
    l->DoOnSignal();  // unset: nothing happens
    l->DoOnCustom();
  }
  TWordList::SetOnProbabilities(nullptr);
  TWordList::SetOnStatistics(nullptr);
  EXPECT_EQ(hookCalls, (std::vector<std::string>{"prob", "stat", "prob", "stat"}));
  EXPECT_EQ(a.Count(), 1);
  EXPECT_EQ(b.Count(), 1);
}

TEST(WordList, NonOwningListLeavesWordsAlive) {
  TWordList owner;
  owner.Add(std::make_unique<TExprVariable>("x"));
  {
    TExprWordList view(false);
    view.Append(owner[0]);
  }
  EXPECT_EQ(owner[0]->Name(), "x");  // the sanitizer reports a use after free otherwise
}

TEST(Variables, NamesAreUniqueAndCaseSensitive) {
  TVariableCollection vars;
  TNamedVariable* a = vars.Add("a");
  vars.Add("A");
  EXPECT_EQ(vars.Count(), 2);
  EXPECT_EQ(vars.FindByName("a"), a);
  EXPECT_EQ(vars.FindByName("b"), nullptr);
  EXPECT_EQ(MessageOf([&] { vars.Add("a"); }),
            "TVariableCollection.Add: Can't add variable a. Variable already exists.");
  EXPECT_NO_THROW(a->SetVarName("a"));
  EXPECT_EQ(MessageOf([&] { a->SetVarName("A"); }),
            "TNamedVariable.SetVarName: Can't rename variable a to A. Variable already exists.");
  a->SetVarName("b");
  EXPECT_EQ(vars.FindByName("b"), a);
  EXPECT_EQ(vars.Count(), 2);
  TNamedVariable* first = vars.Insert(0);
  EXPECT_EQ(first->VarName(), "");
  EXPECT_EQ(vars.Items(1), a);
}

TEST(Context, AssignCopiesExpressionAndValues) {
  TExprContext src;
  src.SetExpression("y = x*2");
  TNamedVariable* x = src.Variables().Add("x");
  x->Value().DefineDouble();
  x->Value().SetDoubleValue(2.5);
  TNamedVariable* v = src.Variables().Add("v");
  v->Value().DefineVector();
  v->Value().VectorValue().Size(3);
  v->Value().VectorValue().SetVal(1.0);
  TNamedVariable* s = src.Variables().Add("s");
  s->Value().DefineString();
  s->Value().SetStringValue("text");
  src.Variables().Add("u");

  TExprContext dst;
  dst.Variables().Add("old");
  dst.Assign(src);
  EXPECT_EQ(dst.Expression(), "y = x*2");
  ASSERT_EQ(dst.Variables().Count(), 4);
  EXPECT_EQ(dst.Variables().FindByName("old"), nullptr);
  EXPECT_EQ(dst.Variables().Items(0)->Value().DoubleValue(), 2.5);
  TVec& copy = dst.Variables().Items(1)->Value().VectorValue();
  EXPECT_NE(&copy, &v->Value().VectorValue());  // deep copy of an owned vector
  EXPECT_EQ(copy.Length(), 3);
  EXPECT_EQ(dst.Variables().Items(2)->Value().StringValue(), "text");
  EXPECT_EQ(dst.Variables().Items(3)->Value().ValueType(), vtUndefined);

  // Changing the copy leaves the source alone.
  copy.Values(0) = 9;
  EXPECT_EQ(v->Value().VectorValue().Values(0), 1.0);

  TVariableCollection notAContext;
  EXPECT_EQ(MessageOf([&] { src.AssignTo(notAContext); }),
            "TExprContext.AssignTo: dest is not TExprContext!");
}

TEST(ExprList, LinesOwnTheirChains) {
  TExprList lines;
  auto line = std::make_unique<TSingleExpression>();
  line->Str = "x = 1";
  line->Rec = new TExprRec;  // a chain linked by hand is owned too
  line->Rec->Next = new TExprRec;
  lines.Add(std::move(line));
  lines.Insert(0, std::make_unique<TSingleExpression>());
  EXPECT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines[1]->Str, "x = 1");
  EXPECT_THROW(lines.Items(2), ENubraRangeError);
  lines.Delete(1);  // frees the node chain
  EXPECT_EQ(lines.Count(), 1);

  // A handed-over chain is freed by the line, or by DisposeList(Rec) and then not again.
  TSingleExpression& compiled = *lines[0];
  for (bool disposeByHand : {false, true}) {
    TNodeChain chain;
    chain.push_back(std::make_unique<TExprRec>());
    chain.push_back(std::make_unique<TExprRec>());
    chain[0]->Next = chain[1].get();
    const TExprRec* first = chain[0].get();
    compiled.SetChain(std::move(chain));
    EXPECT_EQ(compiled.Rec, first);
    compiled.Res = compiled.Rec->Next;
    if (disposeByHand) DisposeList(compiled.Rec);
    compiled.ClearChain();
    EXPECT_EQ(compiled.Rec, nullptr);
    EXPECT_EQ(compiled.Res, nullptr);
  }
}

}  // namespace
}  // namespace zel
