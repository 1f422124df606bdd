// The colon operator, and selection: a(index), a(row, col) and typed grid reads, through "select" words of
// 2, 3 and 4 arguments.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "lang/words/gridvar.h"
#include "support/alloc_counter.h"
#include "support/oper_helper.h"

namespace zel::test {
namespace {

TExprWord* SelectWord(std::size_t args) {
  static TExprFunction s1("select", _Select1, 2, 1, ""), s2("select", _Select2, 3, 1, ""),
      s3("select", _Select3, 4, 1, "");
  return args == 2 ? &s1 : args == 3 ? &s2 : &s3;
}

// Numeric contents of any result: scalars as one value (complex as re, im), containers flat.
std::vector<double> Flat(TValueRec& r) {
  switch (r.ValueType()) {
    case vtDoubleValue:
    case vtIntegerValue:
      return {r.DoubleValue()};
    case vtBoolValue:
      return {r.BoolValue() ? 1.0 : 0.0};
    case vtComplexValue:
      return {r.ComplexValue().real(), r.ComplexValue().imag()};
    case vtVectorValue:
      return Values(r.VectorValue());
    case vtMatrixValue:
      return Values(r.MatrixValue());
    case vtIntVectorValue:
    case vtBoolVectorValue:
    case vtIntMatrixValue:
    case vtBoolMatrixValue: {
      const bool matrix = r.ValueType() == vtIntMatrixValue || r.ValueType() == vtBoolMatrixValue;
      const TNubraInt& v = matrix ? static_cast<const TNubraInt&>(*r.IntMatrixField()) : *r.IntVectorField();
      std::vector<double> out;
      for (int x : Values(v)) out.push_back(x);
      return out;
    }
    default:
      return {};
  }
}

Val V5() { return Vec({10, 11, 12, 13, 14}); }
Val M34() { return Mat(3, 4, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}); }
Val IM34() { return IntMat(3, 4, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, prInt16); }
Val BM34() { return BoolMat(3, 4, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1}); }

// An argument written as text: "5" integer, "d2" double, "c1,2" complex, "1:3" or "4:-1:0" integer range,
// "~0.6:2.4" extended range, "v1:3" real vector flagged as extended range, "<1,2>" plain vector, "[4,0]"
// integer vector, "{1,0}" boolean vector, "'s'" string, "BM" the 3 x 4 boolean matrix, "?" undefined.
Val Arg(const std::string& t) {
  if (t == "?") return Undef();
  if (t == "BM") return BM34();
  if (t.front() == '\'') return Str(t.substr(1, t.size() - 2));
  const bool tagged = std::string("dc~v<[{").find(t.front()) != std::string::npos;
  std::vector<double> n;
  for (const char* p = t.c_str() + tagged; *p && *p != ']' && *p != '}' && *p != '>';) {
    char* end = nullptr;
    n.push_back(std::strtod(p, &end));
    p = *end ? end + 1 : end;
  }
  Val v = Undef();
  switch (tagged ? t.front() : t.find(':') != std::string::npos ? ':' : 'i') {
    case 'i':
      return Int(std::stoll(t));
    case 'd':
      return Dbl(n[0]);
    case 'c':
      return Cplx(n[0], n[1]);
    case ':':
      v->DefineRange();
      for (double x : n) v->Range().push_back(static_cast<std::int32_t>(x));
      return v;
    case '~':
      v->DefineExtRange();
      v->ExtRangeValue()->Size(static_cast<int>(n.size()));
      for (std::size_t i = 0; i < n.size(); ++i) v->ExtRangeValue()->Values(static_cast<int>(i)) = n[i];
      return v;
    case 'v':
    case '<':
      v->DefineVector();
      v->VectorValue().Size(static_cast<int>(n.size()));
      for (std::size_t i = 0; i < n.size(); ++i) v->VectorValue().Values(static_cast<int>(i)) = n[i];
      v->SetExtRange(t.front() == 'v');
      return v;
    default: {
      t.front() == '[' ? v->DefineIntVector() : v->DefineBoolVector();
      TVecInt& iv = t.front() == '[' ? v->IntVectorValue() : v->BoolVectorValue();
      iv.Size(static_cast<int>(n.size()));
      for (std::size_t i = 0; i < n.size(); ++i) iv.Set(static_cast<int>(i), static_cast<int>(n[i]));
      return v;
    }
  }
}

// A case: the index arguments (written as for Arg), then the expected result type and values, or the
// expected message.
struct Case {
  std::vector<const char*> args;
  TValueType type;
  std::vector<double> values;
  std::string message;
};

// A select node over src with index arguments written as for Arg; the runner owns the index values.
struct Selection {
  std::vector<Val> idx;
  std::unique_ptr<NodeRunner> run;
  Selection(TValueRec& src, const std::vector<const char*>& args) {
    std::vector<TValueRec*> raw{&src};
    for (const char* a : args) raw.push_back(idx.emplace_back(Arg(a)).get());
    run = std::make_unique<NodeRunner>(SelectWord(raw.size()), raw);
  }
};

void Check(TValueRec& src, const char* name, const Case& c) {
  std::string what = name;
  for (const char* a : c.args) what += std::string(" ") + a;
  Selection sel(src, c.args);
  try {
    TValueRec& r = sel.run->EvalTwice();
    EXPECT_EQ(c.message, "") << what << ": no exception";
    EXPECT_EQ(r.ValueType(), c.type) << what;
    EXPECT_EQ(Flat(r), c.values) << what;
  } catch (const std::exception& e) {
    EXPECT_EQ(e.what(), c.message) << what;
  }
}
void Check(Val (*source)(), const char* name, const Case& c) { Check(*source(), name, c); }

constexpr TValueType U = vtUndefined;

// ---- the colon operator ----------------------------------------------------------------------------

TEST(Colon, BuildsRangesInSourceOrder) {
  enum Form { kInt, kReal, kComplex };
  const struct {
    const char *left, *right;
    Form form;
    std::vector<TCplx> entries;
  } cases[] = {
      {"1", "5", kInt, {1, 5}},
      {"1", "2:9", kInt, {1, 2, 9}},
      {"1:2", "9", kInt, {1, 2, 9}},
      {"1", "d2.5", kReal, {1, 2.5}},
      {"d0.5", "2", kReal, {0.5, 2}},
      {"d1.5", "2:3", kReal, {1.5, 2, 3}},
      {"0:2", "d2.5", kReal, {0, 2, 2.5}},
      {"0", "~0.5:2", kReal, {0, 0.5, 2}},
      {"~0:0.5", "2", kReal, {0, 0.5, 2}},
      {"c0,1", "3", kComplex, {{0, 1}, 3}},
      {"d2", "c0,1", kComplex, {2, {0, 1}}},
      {"c0,1", "1:2", kComplex, {{0, 1}, 1, 2}},
      {"1:2", "c0,1", kComplex, {1, 2, {0, 1}}},
      {"~0.5:1", "c0,1", kComplex, {0.5, 1, {0, 1}}},
  };
  for (const auto& c : cases) {
    Val a = Arg(c.left), b = Arg(c.right);
    NodeRunner run(":", {a.get(), b.get()});
    const TValueRec& r = run.EvalTwice();
    ASSERT_EQ(r.ValueType(), vtRangeValue) << c.left << ":" << c.right;
    EXPECT_EQ(r.ExtRange(), c.form != kInt) << c.left << ":" << c.right;
    const std::vector<TCplx> got =
        c.form == kInt ? std::vector<TCplx>(r.Range().begin(), r.Range().end()) : CValues(*r.ExtRangeValue());
    EXPECT_EQ(got, c.entries) << c.left << ":" << c.right;
    if (c.form != kInt) {
      EXPECT_EQ(r.ExtRangeValue()->Complex(), c.form == kComplex);
    }
  }
  // A complex extended range paired with a scalar stays complex.
  Val one = Int(1), z = Undef();
  z->DefineExtRange();
  z->ExtRangeValue()->Size(2, true);
  z->ExtRangeValue()->CValues(0) = TCplx(0, 1);
  z->ExtRangeValue()->CValues(1) = TCplx(2, 0);
  NodeRunner run(":", {one.get(), z.get()});
  EXPECT_EQ(CValues(*run.EvalTwice().ExtRangeValue()), (std::vector<TCplx>{1, {0, 1}, 2}));
}

TEST(Colon, BareColonAndRejections) {
  NodeRunner bare(":", {nullptr, nullptr});
  EXPECT_EQ(bare.EvalTwice().Range(), (std::vector<std::int32_t>{0, -1}));
  const struct {
    const char *left, *right;
    std::string message;
  } cases[] = {
      {"1:2:3", "4", "Colon operator can only be paired twice to form i:j:k"},
      {"d0", "~1:2:3", "Colon operator can only be paired twice to form i:j:k"},
      {"'a'", "1", "Type combination not supported by colon operator: string : integer "},
      {"1:2", "3:4", "Type combination not supported by colon operator: range : range "},
      {"1", "<1>", "Type combination not supported by colon operator: integer : vector "},
      {"{1}", "1", "Type combination not supported by colon operator: bool vector : integer "},
      {"?", "1", UnknownExprWord},
      {"'a'", "?", UnknownExprWord},
  };
  for (const auto& c : cases) {
    Val a = Arg(c.left), b = Arg(c.right);
    EXPECT_EQ(MessageOf([&] { NodeRunner(":", {a.get(), b.get()}).Eval(); }), c.message);
  }
  Val one = Int(1);
  for (auto args : {std::vector<TValueRec*>{one.get(), nullptr}, std::vector<TValueRec*>{nullptr, one.get()}})
    EXPECT_EQ(MessageOf([&] { NodeRunner(":", args).Eval(); }),
              "Colon operator: missing one of the indices!");
}

// The range follows its operands on every evaluation, also after a selection expanded the result record.
TEST(Colon, RebuildsOnEveryEvaluationWithoutAllocating) {
  Val a = Int(1), b = Int(5), x = Dbl(0.5), y = Dbl(2);
  NodeRunner ints(":", {a.get(), b.get()}), reals(":", {x.get(), y.get()});
  ints.Eval();
  reals.Eval();
  b->SetIntegerValue(7);
  y->SetDoubleValue(3);
  {
    AllocationCounter counter;
    ints.Eval();
    reals.Eval();
    EXPECT_EQ(counter.Count(), 0u);
  }
  EXPECT_EQ(ints.Node().Res->Range(), (std::vector<std::int32_t>{1, 7}));
  EXPECT_EQ(Values(*reals.Node().Res->ExtRangeValue()), (std::vector<double>{0.5, 3}));
  ints.Node().Res->GetIntVectorValue();
  EXPECT_EQ(ints.Eval().Range(), (std::vector<std::int32_t>{1, 7}));
}

// ---- selection with one index -----------------------------------------------------------------------

TEST(Select1, VectorOfLengthFive) {
  const Case cases[] = {
      {{"0"}, vtDoubleValue, {10}, ""},
      {{"4"}, vtDoubleValue, {14}, ""},
      {{"5"}, U, {}, "Vector index out of range: 0 <= 5 < 5"},
      {{"-1"}, U, {}, "Vector index out of range: 0 <= -1 < 5"},
      {{"4294967297"}, vtDoubleValue, {11}, ""},  // the low 32 bits
      {{"1:3"}, vtVectorValue, {11, 12, 13}, ""},
      {{"3:1"}, vtVectorValue, {}, ""},
      {{"4:-1:0"}, vtVectorValue, {14, 13, 12, 11, 10}, ""},
      {{"0:-2:4"}, vtVectorValue, {14, 12, 10}, ""},
      {{"0:2:3"}, vtVectorValue, {10, 12}, ""},
      {{"2:-1"}, vtVectorValue, {12, 13, 14}, ""},
      {{"1:2:-1"}, vtVectorValue, {11, 13}, ""},
      {{"1:7"}, U, {}, "Vector index out of range: 0 <= 7 < 5"},
      {{"-2:1"}, U, {}, "Vector index out of range: 0 <= -2 < 5"},
      {{"0:0:4"}, U, {}, "Invalid Range specification with zero step!"},
      {{"1:2:3:4"}, U, {}, "Invalid range parameter length!"},
      {{"~0.6:2.4"}, vtVectorValue, {11, 12}, ""},  // bounds rounded to the nearest index
      {{"~3.5:-1:0"}, vtVectorValue, {14, 13, 12, 11, 10}, ""},
      {{"v1:3"}, vtVectorValue, {11, 12, 13}, ""},
      {{"[4,0,4]"}, vtVectorValue, {14, 10, 14}, ""},
      {{"[5]"}, U, {}, "GatherByIndex: index[0] = 5 out of range 0 <= index < 5"},
      {{"{1,0,1,0,1}"}, vtVectorValue, {10, 12, 14}, ""},
      {{"{1,0}"}, U, {}, "GatherByMask: mask length 2 does not match source length 5"},
      {{"BM"}, U, {}, "Unsupported value selection types: vector ( bool matrix )"},
      {{"<1,2>"}, U, {}, "Unsupported value selection types: vector ( vector )"},
      {{"'1'"}, U, {}, "Unsupported value selection types: vector ( string )"},
      {{"d2"}, U, {}, "Unsupported value selection types: vector ( double )"},
      {{"?"}, U, {}, UnknownExprWord},
  };
  for (const Case& c : cases) Check(V5, "v", c);
  Check([] { return CVec({{1, 2}, {3, 4}}); }, "z", {{"1"}, vtComplexValue, {3, 4}, ""});
}

TEST(Select1, MatricesAreFlatRowMajorSequences) {
  const Case real[] = {
      {{"7"}, vtDoubleValue, {7}, ""},
      {{"12"}, U, {}, "Matrix index out of range: 0 <= 12 < 12"},
      {{"3:5"}, vtVectorValue, {3, 4, 5}, ""},
      // A negative step takes the elements counted up from the lower bound, in reverse.
      {{"11:-4:0"}, vtVectorValue, {8, 4, 0}, ""},
      {{"~0:1"}, U, {}, "Matrix range parameter must be an integer range!"},
      {{"BM"}, vtVectorValue, {0, 5, 10, 11}, ""},
      {{"[11,0]"}, vtVectorValue, {11, 0}, ""},
  };
  for (const Case& c : real) Check(M34, "m", c);
  const Case ints[] = {
      {{"7"}, vtIntegerValue, {7}, ""},
      {{"12"}, U, {}, "Matrix index out of Range: 0 <= 12 < 12"},
      {{"0:5:11"}, vtIntVectorValue, {0, 5, 10}, ""},
      {{"~0:1"}, U, {}, "Matrix Range parameter must be an integer Range!"},
      {{"BM"}, vtIntVectorValue, {0, 5, 10, 11}, ""},
  };
  for (const Case& c : ints) Check(IM34, "im", c);
  const Case bools[] = {
      {{"5"}, vtBoolValue, {1}, ""},
      {{"12"}, U, {}, "Vector index out of Range: 0 <= 12 < 12"},
      {{"4:6"}, vtBoolVectorValue, {0, 1, 0}, ""},
      {{"~0:1"}, U, {}, "Vector Range parameter must be an integer Range!"},
      {{"[0,5]"}, vtBoolVectorValue, {1, 1}, ""},
  };
  for (const Case& c : bools) Check(BM34, "bm", c);
}

TEST(Select1, IntegerBooleanAndRangeSources) {
  const Case ints[] = {
      {{"3"}, vtIntegerValue, {8}, ""},
      {{"4"}, U, {}, "Vector index out of range: 0 <= 4 < 4"},
      {{"1:2"}, vtIntVectorValue, {6, 7}, ""},
      {{"3:-2:0"}, vtIntVectorValue, {7, 5}, ""},
      {{"~0.4:1.6"}, vtIntVectorValue, {5, 6, 7}, ""},
      {{"1:2:3:4"}, U, {}, "Invalid Range parameter length!"},
      {{"{0,1,1,0}"}, vtIntVectorValue, {6, 7}, ""},
  };
  for (const Case& c : ints) Check([] { return IntVec({5, 6, 7, 8}, prInt16); }, "iv", c);
  const Case bools[] = {
      {{"0"}, vtBoolValue, {1}, ""},
      {{"3"}, U, {}, "Vector index out of Range: 0 <= 3 < 3"},
      {{"1:2"}, vtBoolVectorValue, {0, 1}, ""},
      {{"{1,1,0}"}, vtBoolVectorValue, {1, 0}, ""},
  };
  for (const Case& c : bools) Check([] { return BoolVec({1, 0, 1}); }, "bv", c);
  Check([] { return Range({1, 5}); }, "(1:5)", {{"2"}, vtIntegerValue, {3}, ""});
  Check([] { return Range({1, 2, 9}); }, "(1:2:9)", {{"1:2"}, vtIntVectorValue, {3, 5}, ""});
  Check([] { return ExtRange({0, 0.5, 2}); }, "(0:0.5:2)", {{"1"}, vtDoubleValue, {0.5}, ""});
  // A range source is expanded in place: afterwards the variable holds the integer vector.
  Val r = Range({1, 5}), i = Int(0);
  NodeRunner(SelectWord(2), {r.get(), i.get()}).Eval();
  EXPECT_EQ(r->ValueType(), vtIntVectorValue);
  EXPECT_EQ(Values(r->IntVectorValue()), (std::vector<int>{1, 2, 3, 4, 5}));
}

// Strings are indexed by character: the source "aéc" has three, é taking two bytes.
TEST(Select1, Strings) {
  const struct {
    const char* index;
    std::string result;
    bool coreError;  // raised through the core's error routine, not as a language error
  } cases[] = {
      {"1", "\xC3\xA9", false},
      {"0:1", "a\xC3\xA9", false},
      {"2:2", "c", false},
      {"2:1", "", false},
      {"0:2:2", "Range must be a simple integer range a:b", true},
      {"~0:1", "Range must be a simple integer range a:b", true},
      {"0:-1", "String index must be wtihin [0..Length(Str)-1]", true},
      {"1:3", "String index must be wtihin [0..Length(Str)-1]", true},
      {"3", "String index must be wtihin [0..Length(Str)-1]", true},
      {"-1", "String index must be wtihin [0..Length(Str)-1]", true},
      {"[0]", "Unsupported value selection types: string ( integer vector )", false},
  };
  for (const auto& c : cases) {
    Val s =
            Str("a\xC3\xA9"
                "c"),
        idx = Arg(c.index);
    NodeRunner run(SelectWord(2), {s.get(), idx.get()});
    try {
      EXPECT_EQ(run.EvalTwice().StringValue(), c.result);
    } catch (const EZelParseError& e) {
      EXPECT_FALSE(c.coreError) << c.index;
      EXPECT_EQ(e.what(), c.result);
    } catch (const ENubraException& e) {
      EXPECT_TRUE(c.coreError) << c.index;
      EXPECT_EQ(e.what(), c.result);
    }
  }
}

// A contiguous range of a vector is a window on the source's storage, re-pointed on every evaluation.
TEST(Select1, ContiguousRangesAreViewsOfTheSource) {
  Val v = V5(), idx = Range({1, 3});
  NodeRunner run(SelectWord(2), {v.get(), idx.get()});
  TVec& view = run.EvalTwice().VectorValue();
  EXPECT_TRUE(view.IsView());
  EXPECT_EQ(view.PValues(), v->VectorValue().PValues() + 1);
  v->VectorValue().Values(2) = 99;
  EXPECT_EQ(view.Values(1), 99);
  v->VectorValue().Resize(1000);  // the source moves to new storage
  v->VectorValue().Values(1) = -1;
  run.Eval();
  EXPECT_EQ(view.PValues(), v->VectorValue().PValues() + 1);
  EXPECT_EQ(view.Values(0), -1);
  // The same node meeting a stepped range copies, and never writes through the old window.
  idx->Range().assign({3, -1, 1});
  const std::vector<double> before = Values(v->VectorValue());
  run.Eval();
  EXPECT_FALSE(view.IsView());
  EXPECT_EQ(Values(view), (std::vector<double>{13, 99, -1}));
  EXPECT_EQ(Values(v->VectorValue()), before);
  // Integer sources give integer windows.
  Val iv = IntVec({1, 2, 3}), all = Range({0, -1});
  NodeRunner irun(SelectWord(2), {iv.get(), all.get()});
  TVecInt& iview = irun.EvalTwice().IntVectorValue();
  EXPECT_TRUE(iview.IsView());
  EXPECT_EQ(iview.PIValues(), iv->IntVectorValue().PIValues());
}

TEST(Select2, MatrixThreeByFour) {
  const Case cases[] = {
      {{"2", "3"}, vtDoubleValue, {11}, ""},
      {{"3", "0"}, U, {}, "Matrix element (3,0) out of range [0..2,0..3]"},
      {{"0", "-1"}, U, {}, "Matrix element (0,-1) out of range [0..2,0..3]"},
      {{"1", "0:-1"}, vtMatrixValue, {4, 5, 6, 7}, ""},
      {{"0:-1", "0"}, vtMatrixValue, {0, 4, 8}, ""},
      {{"1", "3:-2:0"}, vtMatrixValue, {6, 4}, ""},
      {{"2:-2:0", "1"}, vtMatrixValue, {9, 1}, ""},
      {{"0:2:2", "3"}, vtMatrixValue, {3, 11}, ""},
      {{"0:1", "1:2"}, vtMatrixValue, {1, 2, 5, 6}, ""},
      {{"1:0", "0:-1"}, vtMatrixValue, {}, ""},
      {{"0:1", "0:2:3"}, U, {}, "colon: range x:y:z not supported on matrices"},
      {{"3", "0:1"}, U, {}, "Row index exceeds source Rows: 0 <= 3 < 3"},
      {{"0", "4:5"}, U, {}, "Range[0] exceeds source Cols: 0 <= 4 < 4"},
      {{"0", "1:4"}, U, {}, "Range[1] exceeds source Cols: 0 <= 4 < 4"},
      {{"0", "0:1:4"}, U, {}, "Range[2] index exceeds source Cols: 0 <= 4 < 4"},
      {{"0:1", "4"}, U, {}, "Column index exceeds source Cols: 0 <= 4 < 4"},
      {{"3:4", "0"}, U, {}, "Range[0] exceeds source Rows: 0 <= 3 < 3"},
      {{"0:3", "0"}, U, {}, "Range[1] exceeds source Rows: 0 <= 3 < 3"},
      {{"0:1:3", "0"}, U, {}, "Range[2] exceeds source Rows: 0 <= 3 < 3"},
      {{"0", "~0:1"}, U, {}, "Matrix range parameter must be an integer range!"},
      {{"0", "0:0:3"}, U, {}, "Invalid Range specification with zero step!"},
      {{"d1", "0"}, U, {}, "Unsupported value selection types: matrix ( double, integer )"},
      {{"?", "0"}, U, {}, UnknownExprWord},
  };
  for (const Case& c : cases) Check(M34, "m", c);
  Check(V5, "v", {{"0", "0"}, U, {}, "Unsupported value selection types: vector ( integer, integer )"});
  const auto z = [] { return CMat(1, 2, {{1, 2}, {3, 4}}); };
  Check(z, "z", {{"0", "1"}, vtComplexValue, {3, 4}, ""});
  Check(z, "z", {{"0", "0:-1"}, vtMatrixValue, {1, 2, 3, 4}, ""});
}

TEST(Select2, ShapesAndIntegerKinds) {
  Val m = M34(), one = Int(1), all = Range({0, -1});
  NodeRunner rowRun(SelectWord(3), {m.get(), one.get(), all.get()});
  NodeRunner colRun(SelectWord(3), {m.get(), all.get(), one.get()});
  const TZel& row = rowRun.EvalTwice().MatrixValue();
  const TZel& col = colRun.EvalTwice().MatrixValue();
  EXPECT_EQ(std::make_pair(row.Rows(), row.Cols()), std::make_pair(1, 4));
  EXPECT_EQ(std::make_pair(col.Rows(), col.Cols()), std::make_pair(3, 1));
  const Case ints[] = {
      {{"2", "3"}, vtIntegerValue, {11}, ""},
      {{"0:1", "2:3"}, vtIntMatrixValue, {2, 3, 6, 7}, ""},
      {{"0:-1", "1"}, vtIntMatrixValue, {1, 5, 9}, ""},
      {{"3", "0:1"}, U, {}, "Row index exceeds row count 0 <= 3 < 3"},
      {{"0", "0:1:4"}, U, {}, "Range[2] exceeds source Cols: 0 <= 4 < 4"},
  };
  for (const Case& c : ints) Check(IM34, "im", c);
  const Case bools[] = {
      {{"1", "1"}, vtBoolValue, {1}, ""},
      {{"2", "0:-1"}, vtBoolMatrixValue, {0, 0, 1, 1}, ""},
      {{"3", "0"}, U, {}, "Matrix element (3,0) out of range [0..2,0..3]"},
  };
  for (const Case& c : bools) Check(BM34, "bm", c);
  Val im = IM34(), two = Int(2);
  NodeRunner imRun(SelectWord(3), {im.get(), two.get(), all.get()});
  EXPECT_EQ(imRun.EvalTwice().IntMatrixValue().IntPrecision(), prInt16);
  Val i3 = Int(3), i0 = Int(0);
  EXPECT_THROW(NodeRunner(SelectWord(3), {m.get(), i3.get(), i0.get()}).Eval(), ENubraRangeError);
}

// Element reads, views, strided, index and mask gathers and block copies reuse the result's storage.
TEST(Select, SecondEvaluationAllocatesNothing) {
  const struct {
    Val (*source)();
    std::vector<const char*> args;
  } nodes[] = {
      {V5, {"1:3"}},         {V5, {"4:-2:0"}},       {V5, {"~0:2"}},
      {V5, {"[0,2]"}},       {V5, {"{1,0,1,0,1}"}},  {V5, {"1"}},
      {M34, {"BM"}},         {IM34, {"1:3"}},        {IM34, {"0:3:11"}},
      {IM34, {"[1,1]"}},     {M34, {"1", "1"}},      {M34, {"1", "0:-1"}},
      {M34, {"0:-1", "1"}},  {M34, {"1", "3:-2:0"}}, {M34, {"0:1", "0:-1"}},
      {IM34, {"0:-1", "1"}}, {BM34, {"0:1", "1:2"}}, {[] { return Str("abc"); }, {"0"}},
  };
  for (const auto& n : nodes) {
    Val src = n.source();
    Selection sel(*src, n.args);
    sel.run->Eval();
    AllocationCounter counter;
    sel.run->Eval();
    EXPECT_EQ(counter.Count(), 0u) << ValTypeName(src->ValueType()) << " " << n.args[0];
  }
}

// ---- grid variables ---------------------------------------------------------------------------------

// A host table whose cell (r, c) holds the text of 10·r + c unless set otherwise; it records the reads.
struct Grid {
  TExprGridVariable grid;
  std::map<std::pair<int, int>, std::string> cells{{{0, 0}, "1+2i"}, {{0, 1}, " 0 "}, {{0, 2}, "1.5"}};
  std::vector<std::pair<int, int>> reads;
  Val value = Undef();
  Grid() {
    grid.SetOnGetValue([this](TExprGridVariable&, std::string& dst, int r, int c) {
      reads.emplace_back(r, c);
      auto it = cells.find({r, c});
      dst = it != cells.end() ? it->second : std::to_string(10 * r + c);
    });
    grid.SetOnSetValue([](TExprGridVariable&, const std::string&, int, int) {});
    value->DefineCustomValue(&grid, false);
  }
};

TEST(SelectGrid, CellsAndBlocks) {
  const std::string noColon = "Automatic range expansion from colon (:) not support for grid variable!";
  const Case cases[] = {
      {{"1", "2"}, vtDoubleValue, {12}, ""},
      {{"40", "2"}, vtDoubleValue, {402}, ""},  // indices reach the host as written
      {{"1:2", "2:3"}, vtMatrixValue, {12, 13, 22, 23}, ""},
      {{"1:0", "2"}, vtMatrixValue, {}, ""},
      {{"0:-1", "0"}, U, {}, noColon},
      {{"0", "1:-1"}, U, {}, "Automatic Range expansion from colon (:) not support for grid variable!"},
      {{"0", "0:1:2"}, U, {}, "colon: range x:y:z not supported on matrices"},
      {{"1", "2", "'integer'"}, vtIntegerValue, {12}, ""},
      {{"1", "2", "'double'"}, vtDoubleValue, {12}, ""},
      {{"0", "1", "'boolean'"}, vtBoolValue, {0}, ""},
      {{"1", "1", "'boolean'"}, vtBoolValue, {1}, ""},
      {{"0", "0", "'complex'"}, vtComplexValue, {1, 2}, ""},
      {{"0", "2", "'integer'"}, U, {}, "\"1.5\" is not a valid integer value"},
      {{"0", "0", "'float'"}, U, {}, "Unrecognized parameter \"float\""},
      {{"1:2", "2:3", "'integer'"}, vtIntMatrixValue, {12, 13, 22, 23}, ""},
      {{"1:2", "2:3", "'boolean'"}, vtBoolMatrixValue, {1, 1, 1, 1}, ""},
      {{"0", "0:1", "'complex'"}, vtMatrixValue, {1, 2, 0, 0}, ""},
      {{"1:2", "2:3", "'string'"}, U, {}, "Unrecognized parameter \"string\""},
      {{"0", "0:-1", "'double'"}, U, {}, noColon},
      {{"~0:1", "0", "'double'"}, U, {}, "Matrix range parameter must be an integer range!"},
      {{"0", "0", "1"},
       U,
       {},
       "Unsupported value types: select ( custom object, integer, integer, integer )"},
      {{"?", "0", "'double'"}, U, {}, UnknownExprWord},
  };
  for (const Case& c : cases) {
    Grid g;
    Check(*g.value, "grid", c);
  }
  Grid g;
  Val r = Int(0), c = Int(0), s = Str("string");
  EXPECT_EQ(NodeRunner(SelectWord(4), {g.value.get(), r.get(), c.get(), s.get()}).Eval().StringValue(),
            "1+2i");
  EXPECT_EQ(g.reads, (std::vector<std::pair<int, int>>{{0, 0}}));
  Check(M34, "m",
        {{"0", "0", "'double'"},
         U,
         {},
         "Unsupported value types: select ( matrix, integer, integer, string )"});
}

// The custom value must hold a grid variable with both callbacks.
TEST(SelectGrid, CustomObjectChecks) {
  struct Other : TObject {
    std::string ClassName() const override { return "TOther"; }
  } other;
  Val none = Undef(), wrong = Undef();
  none->DefineCustomValue(nullptr, false);
  wrong->DefineCustomValue(&other, false);
  Grid noGet, noSet;
  noGet.grid.SetOnGetValue(nullptr);
  noSet.grid.SetOnSetValue(nullptr);
  const struct {
    TValueRec* source;
    std::string message;
  } objects[] = {
      {none.get(), "TExprGridVariable custom object value is nil"},
      {wrong.get(), "Unsupported custom object type: TOther"},
      {noGet.value.get(), "TExprGridVariable.OnGetValue = nil"},
      {noSet.value.get(), "TExprGridVariable.OnSetValue = nil"},
  };
  for (const auto& o : objects) {
    Check(*o.source, "custom", {{"0", "0"}, U, {}, o.message});
    Check(*o.source, "custom", {{"0", "0:1", "'double'"}, U, {}, o.message});
  }
}

}  // namespace
}  // namespace zel::test
