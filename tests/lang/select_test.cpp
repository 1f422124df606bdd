// The colon operator, and selection: a(index), a(row, col) and typed grid reads, through "select" words of
// 2, 3 and 4 arguments.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

#include "lang/words/gridvar.h"
#include "support/alloc_counter.h"
#include "support/oper_helper.h"

namespace zel::test {
namespace {

// Sources: a vector of five, and 3 x 4 matrices of each kind (real and integer ones hold 0 to 11).
const std::string v5 = "[10,11,12,13,14]", m34 = "[0,1,2,3;4,5,6,7;8,9,10,11]",
                  im34 = "i16[0,1,2,3;4,5,6,7;8,9,10,11]", bm34 = "b[1,0,0,0;0,1,0,0;0,0,1,1]";

// Selection from `source` with index arguments written as for V.
std::string Select(TValueRec& source, const std::vector<std::string>& index) {
  std::vector<Val> owned;
  std::vector<TValueRec*> args{&source};
  for (const std::string& a : index) args.push_back(owned.emplace_back(V(a)).get());
  return Eval(SelectWord(args.size()), args);
}

// ---- the colon operator ----------------------------------------------------------------------------

TEST(Colon, BuildsRangesInSourceOrderAndRejectsOthers) {
  const std::string twice = "Colon operator can only be paired twice to form i:j:k";
  CheckCases({
      {":", {"1", "5"}, "range 1:5"},
      {":", {"1", "2:9"}, "range 1:2:9"},
      {":", {"1:2", "9"}, "range 1:2:9"},
      {":", {"1", "2.5"}, "range ~1:2.5"},
      {":", {"0.5", "2"}, "range ~0.5:2"},
      {":", {"1.5", "2:3"}, "range ~1.5:2:3"},
      {":", {"0:2", "2.5"}, "range ~0:2:2.5"},
      {":", {"0", "~0.5:2"}, "range ~0:0.5:2"},
      {":", {"~0:0.5", "2"}, "range ~0:0.5:2"},
      {":", {"0+1i", "3"}, "range ~0+1i:3+0i"},
      {":", {"2.0", "0+1i"}, "range ~2+0i:0+1i"},
      {":", {"0+1i", "1:2"}, "range ~0+1i:1+0i:2+0i"},
      {":", {"1:2", "0+1i"}, "range ~1+0i:2+0i:0+1i"},
      {":", {"~0.5:1", "0+1i"}, "range ~0.5+0i:1+0i:0+1i"},
      {":", {"1", "~0+1i:2"}, "range ~1+0i:0+1i:2+0i"},
      {":", {"1:2:3", "4"}, twice},
      {":", {"0.0", "~1:2:3"}, twice},
      {":", {"'a'", "1"}, "Type combination not supported by colon operator: string : integer "},
      {":", {"1:2", "3:4"}, "Type combination not supported by colon operator: range : range "},
      {":", {"1", "[1]"}, "Type combination not supported by colon operator: integer : vector "},
      {":", {"b[1]", "1"}, "Type combination not supported by colon operator: bool vector : integer "},
      {":", {"?", "1"}, UnknownExprWord},
      {":", {"'a'", "?"}, UnknownExprWord},
  });
  NodeRunner bare(":", {nullptr, nullptr});
  EXPECT_EQ(bare.EvalTwice().Range(), (std::vector<std::int32_t>{0, -1}));
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

TEST(Select1, EverySourceKind) {
  CheckCases({
      {"select", {v5, "0"}, "double 10"},
      {"select", {v5, "4"}, "double 14"},
      {"select", {v5, "5"}, "Vector index out of range: 0 <= 5 < 5"},
      {"select", {v5, "-1"}, "Vector index out of range: 0 <= -1 < 5"},
      {"select", {v5, "4294967297"}, "double 11"},  // the low 32 bits
      {"select", {v5, "1:3"}, "vector 11; 12; 13"},
      {"select", {v5, "3:1"}, "vector"},
      {"select", {v5, "4:-1:0"}, "vector 14; 13; 12; 11; 10"},
      {"select", {v5, "0:-2:4"}, "vector 14; 12; 10"},
      {"select", {v5, "0:2:3"}, "vector 10; 12"},
      {"select", {v5, "2:-1"}, "vector 12; 13; 14"},
      {"select", {v5, "1:2:-1"}, "vector 11; 13"},
      {"select", {v5, "1:7"}, "Vector index out of range: 0 <= 7 < 5"},
      {"select", {v5, "-2:1"}, "Vector index out of range: 0 <= -2 < 5"},
      {"select", {v5, "0:0:4"}, "Invalid Range specification with zero step!"},
      {"select", {v5, "1:2:3:4"}, "Invalid range parameter length!"},
      {"select", {v5, "~0.6:2.4"}, "vector 11; 12"},  // bounds rounded to the nearest index
      {"select", {v5, "~3.5:-1:0"}, "vector 14; 13; 12; 11; 10"},
      {"select", {v5, "i[4,0,4]"}, "vector 14; 10; 14"},
      {"select", {v5, "i[5]"}, "GatherByIndex: index[0] = 5 out of range 0 <= index < 5"},
      {"select", {v5, "b[1,0,1,0,1]"}, "vector 10; 12; 14"},
      {"select", {v5, "b[1,0]"}, "GatherByMask: mask length 2 does not match source length 5"},
      {"select", {v5, bm34}, "Unsupported value selection types: vector ( bool matrix )"},
      {"select", {v5, "[1,2]"}, "Unsupported value selection types: vector ( vector )"},
      {"select", {v5, "'1'"}, "Unsupported value selection types: vector ( string )"},
      {"select", {v5, "2.0"}, "Unsupported value selection types: vector ( double )"},
      {"select", {v5, "?"}, UnknownExprWord},
      {"select", {"[1+2i,3+4i]", "1"}, "complex 3+4i"},
      // matrices are flat row-major sequences; a negative step takes the elements counted up from the
      // lower bound, in reverse
      {"select", {m34, "7"}, "double 7"},
      {"select", {m34, "12"}, "Matrix index out of range: 0 <= 12 < 12"},
      {"select", {m34, "3:5"}, "vector 3; 4; 5"},
      {"select", {m34, "11:-4:0"}, "vector 8; 4; 0"},
      {"select", {m34, "~0:1"}, "Matrix range parameter must be an integer range!"},
      {"select", {m34, bm34}, "vector 0; 5; 10; 11"},
      {"select", {m34, "i[11,0]"}, "vector 11; 0"},
      {"select", {im34, "7"}, "integer 7"},
      {"select", {im34, "12"}, "Matrix index out of Range: 0 <= 12 < 12"},
      {"select", {im34, "0:5:11"}, "integer vector 0; 5; 10"},
      {"select", {im34, "~0:1"}, "Matrix Range parameter must be an integer Range!"},
      {"select", {im34, bm34}, "integer vector 0; 5; 10; 11"},
      {"select", {bm34, "5"}, "bool True"},
      {"select", {bm34, "12"}, "Vector index out of Range: 0 <= 12 < 12"},
      {"select", {bm34, "4:6"}, "bool vector 0; 1; 0"},
      {"select", {bm34, "~0:1"}, "Vector Range parameter must be an integer Range!"},
      {"select", {bm34, "i[0,5]"}, "bool vector 1; 1"},
      // integer, boolean and range sources
      {"select", {"i16[5,6,7,8]", "3"}, "integer 8"},
      {"select", {"i16[5,6,7,8]", "4"}, "Vector index out of range: 0 <= 4 < 4"},
      {"select", {"i16[5,6,7,8]", "1:2"}, "integer vector 6; 7"},
      {"select", {"i16[5,6,7,8]", "3:-2:0"}, "integer vector 7; 5"},
      {"select", {"i16[5,6,7,8]", "~0.4:1.6"}, "integer vector 5; 6; 7"},
      {"select", {"i16[5,6,7,8]", "1:2:3:4"}, "Invalid Range parameter length!"},
      {"select", {"i16[5,6,7,8]", "b[0,1,1,0]"}, "integer vector 6; 7"},
      {"select", {"b[1,0,1]", "0"}, "bool True"},
      {"select", {"b[1,0,1]", "3"}, "Vector index out of Range: 0 <= 3 < 3"},
      {"select", {"b[1,0,1]", "1:2"}, "bool vector 0; 1"},
      {"select", {"b[1,0,1]", "b[1,1,0]"}, "bool vector 1; 0"},
      {"select", {"1:5", "2"}, "integer 3"},
      {"select", {"1:2:9", "1:2"}, "integer vector 3; 5"},
      {"select", {"~0:0.5:2", "1"}, "double 0.5"},
  });
  // A real vector flagged as an extended range indexes like one.
  Val v = V(v5), r = V("[1,3]");  // the bounds 1:3
  r->SetExtRange(true);
  EXPECT_EQ(Eval(SelectWord(2), std::vector<TValueRec*>{v.get(), r.get()}), "vector 11; 12; 13");
  // A range source is expanded in place: afterwards the variable holds the integer vector.
  Val range = Range({1, 5}), i = Int(0);
  NodeRunner("select", {range.get(), i.get()}).Eval();
  EXPECT_EQ(Show(*range), "integer vector 1; 2; 3; 4; 5");
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
      {"i[0]", "Unsupported value selection types: string ( integer vector )", false},
  };
  for (const auto& c : cases) {
    Val s =
            Str("a\xC3\xA9"
                "c"),
        idx = V(c.index);
    NodeRunner run("select", {s.get(), idx.get()});
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
  Val v = Vec({10, 11, 12, 13, 14}), idx = Range({1, 3});
  NodeRunner run("select", {v.get(), idx.get()});
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
  NodeRunner irun("select", {iv.get(), all.get()});
  TVecInt& iview = irun.EvalTwice().IntVectorValue();
  EXPECT_TRUE(iview.IsView());
  EXPECT_EQ(iview.PIValues(), iv->IntVectorValue().PIValues());
}

// Rows and columns: a row selection is 1 x n, a column selection n x 1.
TEST(Select2, MatricesOfEveryKind) {
  CheckCases({
      {"select", {m34, "2", "3"}, "double 11"},
      {"select", {m34, "3", "0"}, "Matrix element (3,0) out of range [0..2,0..3]"},
      {"select", {m34, "0", "-1"}, "Matrix element (0,-1) out of range [0..2,0..3]"},
      {"select", {m34, "1", "0:-1"}, "matrix 4,5,6,7"},
      {"select", {m34, "0:-1", "0"}, "matrix 0; 4; 8"},
      {"select", {m34, "1", "3:-2:0"}, "matrix 6,4"},
      {"select", {m34, "2:-2:0", "1"}, "matrix 9; 1"},
      {"select", {m34, "0:2:2", "3"}, "matrix 3; 11"},
      {"select", {m34, "0:1", "1:2"}, "matrix 1,2; 5,6"},
      {"select", {m34, "1:0", "0:-1"}, "matrix"},
      {"select", {m34, "0:1", "0:2:3"}, "colon: range x:y:z not supported on matrices"},
      {"select", {m34, "3", "0:1"}, "Row index exceeds source Rows: 0 <= 3 < 3"},
      {"select", {m34, "0", "4:5"}, "Range[0] exceeds source Cols: 0 <= 4 < 4"},
      {"select", {m34, "0", "1:4"}, "Range[1] exceeds source Cols: 0 <= 4 < 4"},
      {"select", {m34, "0", "0:1:4"}, "Range[2] index exceeds source Cols: 0 <= 4 < 4"},
      {"select", {m34, "0:1", "4"}, "Column index exceeds source Cols: 0 <= 4 < 4"},
      {"select", {m34, "3:4", "0"}, "Range[0] exceeds source Rows: 0 <= 3 < 3"},
      {"select", {m34, "0:3", "0"}, "Range[1] exceeds source Rows: 0 <= 3 < 3"},
      {"select", {m34, "0:1:3", "0"}, "Range[2] exceeds source Rows: 0 <= 3 < 3"},
      {"select", {m34, "0", "~0:1"}, "Matrix range parameter must be an integer range!"},
      {"select", {m34, "0", "0:0:3"}, "Invalid Range specification with zero step!"},
      {"select", {m34, "1.0", "0"}, "Unsupported value selection types: matrix ( double, integer )"},
      {"select", {m34, "?", "0"}, UnknownExprWord},
      {"select", {v5, "0", "0"}, "Unsupported value selection types: vector ( integer, integer )"},
      {"select", {"[1+2i,3+4i;]", "0", "1"}, "complex 3+4i"},
      {"select", {"[1+2i,3+4i;]", "0", "0:-1"}, "matrix 1+2i,3+4i"},
      {"select", {im34, "2", "3"}, "integer 11"},
      {"select", {im34, "0:1", "2:3"}, "integer matrix 2,3; 6,7"},
      {"select", {im34, "0:-1", "1"}, "integer matrix 1; 5; 9"},
      {"select", {im34, "3", "0:1"}, "Row index exceeds row count 0 <= 3 < 3"},
      {"select", {im34, "0", "0:1:4"}, "Range[2] exceeds source Cols: 0 <= 4 < 4"},
      {"select", {bm34, "1", "1"}, "bool True"},
      {"select", {bm34, "2", "0:-1"}, "bool matrix 0,0,1,1"},
      {"select", {bm34, "3", "0"}, "Matrix element (3,0) out of range [0..2,0..3]"},
  });
  Val im = V(im34), m = V(m34), two = Int(2), all = Range({0, -1});
  NodeRunner imRun("select", {im.get(), two.get(), all.get()});
  EXPECT_EQ(imRun.EvalTwice().IntMatrixValue().IntPrecision(), prInt16);
  Val i3 = Int(3), i0 = Int(0);
  EXPECT_THROW(NodeRunner("select", {m.get(), i3.get(), i0.get()}).Eval(), ENubraRangeError);
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
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"1", "2"}, "double 12"},
      {{"40", "2"}, "double 402"},  // indices reach the host as written
      {{"1:2", "2:3"}, "matrix 12,13; 22,23"},
      {{"1:0", "2"}, "matrix"},
      {{"0:-1", "0"}, noColon},
      {{"0", "1:-1"}, "Automatic Range expansion from colon (:) not support for grid variable!"},
      {{"0", "0:1:2"}, "colon: range x:y:z not supported on matrices"},
      {{"1", "2", "'integer'"}, "integer 12"},
      {{"1", "2", "'double'"}, "double 12"},
      {{"0", "1", "'boolean'"}, "bool False"},
      {{"1", "1", "'boolean'"}, "bool True"},
      {{"0", "0", "'complex'"}, "complex 1+2i"},
      {{"0", "2", "'integer'"}, "\"1.5\" is not a valid integer value"},
      {{"0", "0", "'float'"}, "Unrecognized parameter \"float\""},
      {{"1:2", "2:3", "'integer'"}, "integer matrix 12,13; 22,23"},
      {{"1:2", "2:3", "'boolean'"}, "bool matrix 1,1; 1,1"},
      {{"0", "0:1", "'complex'"}, "matrix 1+2i,0+0i"},
      {{"1:2", "2:3", "'string'"}, "Unrecognized parameter \"string\""},
      {{"0", "0:-1", "'double'"}, noColon},
      {{"~0:1", "0", "'double'"}, "Matrix range parameter must be an integer range!"},
      {{"0", "0", "1"}, "Unsupported value types: select ( custom object, integer, integer, integer )"},
      {{"?", "0", "'double'"}, UnknownExprWord},
  };
  for (const auto& [index, expected] : cases) {
    Grid g;
    EXPECT_EQ(Select(*g.value, index), expected) << index[0] << " " << index[1];
  }
  Grid g;
  Val r = Int(0), c = Int(0), s = Str("string");
  EXPECT_EQ(NodeRunner("select", {g.value.get(), r.get(), c.get(), s.get()}).Eval().StringValue(), "1+2i");
  EXPECT_EQ(g.reads, (std::vector<std::pair<int, int>>{{0, 0}}));
  EXPECT_EQ(Eval("select", {m34, "0", "0", "'double'"}),
            "Unsupported value types: select ( matrix, integer, integer, string )");
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
    EXPECT_EQ(Select(*o.source, {"0", "0"}), o.message);
    EXPECT_EQ(Select(*o.source, {"0", "0:1", "'double'"}), o.message);
  }
}

}  // namespace
}  // namespace zel::test
