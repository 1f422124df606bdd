// Custom values, custom-value variables and grid variables, and cell writes a(row, col) = value through
// the grid's events.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <utility>

#include "core/text.h"
#include "lang/words/gridvar.h"
#include "support/oper_helper.h"

namespace zel::test {
namespace {

constexpr const char* kNone = "<no exception>";

// A host object that reports its destruction.
struct THostObject : TObject {
  explicit THostObject(bool& destroyed) : fDestroyed(destroyed) {}
  ~THostObject() override { fDestroyed = true; }
  bool& fDestroyed;
};

TEST(CustomValue, RefersToTheHostObjectWithoutOwningIt) {
  TCustomValue empty;
  EXPECT_EQ(empty.ValueType(), vtCustomValue);
  EXPECT_EQ(empty.Value(), nullptr);
  EXPECT_FALSE(empty.IsOwned());
  TCustomValue alsoEmpty(nullptr);
  EXPECT_EQ(alsoEmpty.ValueType(), vtCustomValue);

  bool destroyed = false;
  {
    THostObject host(destroyed);
    {
      TCustomValue value(&host);
      EXPECT_EQ(value.Value(), &host);
      EXPECT_FALSE(value.IsOwned());
      value.Undefine();
    }
    {
      TExprCustomValueVariable variable("g", &host);
      EXPECT_EQ(variable.CustomRec().Value(), &host);
      EXPECT_EQ(variable.LexemeType(), ltVariable);
    }
    EXPECT_FALSE(destroyed) << "neither Undefine nor the variable's destruction frees the host object";
  }
  EXPECT_TRUE(destroyed);
  TExprCustomValueVariable unset("h");
  EXPECT_EQ(unset.VRec()->ValueType(), vtCustomValue);
  EXPECT_EQ(unset.CustomRec().Value(), nullptr);
}

TEST(GridVariable, IndexingFormsAreNotImplemented) {
  TExprGridVariable g;
  TValueRec v;
  const std::pair<std::function<void()>, const char*> cases[] = {
      {[&] { g.GetValue(v, 0); }, "Read access not implemented for: a(i)"},
      {[&] { g.GetValue(v, 0, 1, 2); }, "Read access not implemented for: a(i:j:k)"},
      {[&] { g.GetValue(v, 0, 1); }, "Read access not implemented for: a(row, col)"},
      {[&] { g.GetValue(v, 0, 1, 2, 3, 4, 5); }, "Read access not implemented for: a(i:j:k, m:n:p)"},
      {[&] { g.GetColValue(v, 0, 1, 2); }, "Read access not implemented for: a(k:j, col)"},
      {[&] { g.GetRowValue(v, 0, 1, 2); }, "Read access not implemented for: a(row, k:j)"},
      {[&] { g.SetValue(v, 0); }, "Write access not implemented for: a(i)"},
      {[&] { g.SetValue(v, 0, 1, 2); }, "Write access not implemented for: a(i:j:k)"},
      {[&] { g.SetValue(v, 0, 1); }, "Write access not implemented for: a(row, col)"},
      {[&] { g.SetValue(v, 0, 1, 2, 3, 4, 5); }, "Write access not implemented for: a(i:j:k, m:n:p)"},
      {[&] { g.SetColValue(v, 0, 1, 2, 3); }, "Write access not implemented for: a(i:j:k, col)"},
      {[&] { g.SetRowValue(v, 0, 1, 2, 3); }, "Write access not implemented for: a(row, i:j:k)"},
  };
  for (const auto& [call, text] : cases) {
    EXPECT_EQ(MessageOf(call), text);
    EXPECT_THROW(call(), std::runtime_error);
  }
}

// A host table of cell texts behind the two events.
struct THostGrid {
  TExprGridVariable grid;
  std::map<std::pair<int, int>, std::string> cells;
  THostGrid() {
    grid.SetRows(3);
    grid.SetCols(3);
    grid.SetOnSetValue([this](TExprGridVariable&, const std::string& s, int r, int c) { cells[{r, c}] = s; });
    grid.SetOnGetValue([this](TExprGridVariable&, std::string& s, int r, int c) { s = cells[{r, c}]; });
  }
  std::string Read(int r, int c) {
    std::string s;
    grid.OnGetValue()(grid, s, r, c);
    return s;
  }
};

std::string Write(TValueRec& dst, TValueRec& row, TValueRec& col, TValueRec& src) {
  return MessageOf([&] { NodeRunner("assign", {&dst, &row, &col, &src}).EvalTwice(); });
}

TEST(GridAssign, CellTextsPerValueType) {
  const struct {
    bool scientific;
    const char *reFormat, *imFormat;
    Val src;
    std::string text;
  } cases[] = {
      {true, "", "", Int(42), "42"},
      {true, "0.00", "", Dbl(3.14159), "3.14159"},
      {false, "0.00", "", Dbl(3.14159), "3.14"},
      {false, "", "", Dbl(0.1), "0.1"},
      {true, "", "", Cplx(1, -2), "1-2i"},
      {false, "0.0", "+0.00i;-0.00i", Cplx(1, -2), "1.0-2.00i"},
      {true, "", "", Bool(true), "1"},
      {true, "", "", Bool(false), "0"},
      {true, "", "", Str("a b"), "a b"},
  };
  for (const auto& c : cases) {
    THostGrid host;
    host.grid.SetScientific(c.scientific);
    host.grid.SetReFormat(c.reFormat);
    host.grid.SetImFormat(c.imFormat);
    TCustomValue g(&host.grid);
    Val row = Int(1), col = Int(2);
    ASSERT_EQ(Write(g, *row, *col, *c.src), kNone) << c.text;
    EXPECT_EQ(host.cells.size(), 1u);
    EXPECT_EQ(host.Read(1, 2), c.text);
  }
}

// Values written through the set event read back through the get event as the same numbers.
TEST(GridAssign, RoundTripThroughTheEvents) {
  THostGrid host;
  host.grid.SetScientific(true);
  TCustomValue g(&host.grid);
  Val rows = Range({0, 1}), cols = Range({1, 2}), m = V("[1.5+0i,-2+0.25i;1e-20+3i,0-1i]");
  ASSERT_EQ(Write(g, *rows, *cols, *m), kNone);
  EXPECT_EQ(host.cells.size(), 4u);
  EXPECT_EQ(StrToCplx(host.Read(0, 1)), TCplx(1.5, 0));
  EXPECT_EQ(StrToCplx(host.Read(0, 2)), TCplx(-2, 0.25));
  EXPECT_EQ(StrToCplx(host.Read(1, 1)), TCplx(1e-20, 3));
  EXPECT_EQ(StrToCplx(host.Read(1, 2)), TCplx(0, -1));

  Val row = Int(2), all = Range({0, 2}), v = Vec({0.1, 1.0 / 3, -7});
  ASSERT_EQ(Write(g, *row, *all, *v), kNone);
  EXPECT_EQ(StrToSample(host.Read(2, 0)), 0.1);
  EXPECT_NEAR(StrToSample(host.Read(2, 1)), 1.0 / 3, 1e-15);  // 15 significant digits
  EXPECT_EQ(StrToSample(host.Read(2, 2)), -7);

  Val col = Int(0), iv = IntVec({-5, 6}), bv = V("b[1,0]");
  ASSERT_EQ(Write(g, *rows, *col, *iv), kNone);
  EXPECT_EQ(host.Read(0, 0), "-5");
  EXPECT_EQ(host.Read(1, 0), "6");
  ASSERT_EQ(Write(g, *rows, *col, *bv), kNone);
  EXPECT_EQ(host.Read(0, 0), "1");
  EXPECT_EQ(host.Read(1, 0), "0");
}

TEST(GridAssign, ScalarFillsEveryAddressedCellAsGiven) {
  THostGrid host;
  EXPECT_EQ(host.grid.Length(), 9);  // the shape the host gave, not the cells written
  TCustomValue g(&host.grid);
  Val rows = Range({5, 6}), col = Int(-1), x = Int(3);
  ASSERT_EQ(Write(g, *rows, *col, *x), kNone);
  EXPECT_EQ(host.cells, (std::map<std::pair<int, int>, std::string>{{{5, -1}, "3"}, {{6, -1}, "3"}}))
      << "rows and columns reach the host exactly as given";
}

TEST(GridAssign, Errors) {
  TExprGridVariable noSet;
  noSet.SetOnGetValue([](TExprGridVariable&, std::string&, int, int) {});
  TExprGridVariable noGet;
  noGet.SetOnSetValue([](TExprGridVariable&, const std::string&, int, int) {});
  TObject other;
  THostGrid host;
  const struct {
    TObject* object;
    Val row, col, src;
    std::string message;
  } cases[] = {
      {nullptr, Int(0), Int(0), Int(1), "Assign: Destination \"custom value\" object is nil!"},
      {&other, Int(0), Int(0), Int(1),
       "Assign: Destination \"custom value\" object is not of supported type for assignment!"},
      {&noSet, Int(0), Int(0), Int(1), "TExprGridVariable.OnSetValue is not assigned."},
      {&noGet, Int(0), Int(0), Int(1), "TExprGridVariable.OnGetValue is not assigned."},
      {&host.grid, Range({0, -1}), Int(0), Int(1),
       "Automatic range expansion from colon (:) not supported for grid variable!"},
      {&host.grid, Int(0), Range({0, 2}), Vec({1, 2}),
       "Assign: Source vector does not fit in to the specified range: Src.Length = 2, Len = 3"},
      {&host.grid, Range({0, 1}), Range({0, 1}), V("[0,0,0,0;]"),
       "Assign: Source matrix does not fit in to the specified Range: Src.Rows = 1, Src.Cols = 4, Len = 4"},
      {&host.grid, Range({0, 1, 2}), Int(0), Int(1), "Assign: matrix ranges with x:y:z are not supported!"},
      {&host.grid, ExtRange({0, 1}), Int(0), Int(1), "Assign: matrix range must be an integer range!"},
  };
  for (const auto& c : cases) {
    TCustomValue g(c.object);
    EXPECT_EQ(Write(g, *c.row, *c.col, *c.src), c.message);
    EXPECT_THROW(NodeRunner("assign", {&g, c.row.get(), c.col.get(), c.src.get()}).Eval(), ENubraException);
  }
  EXPECT_TRUE(host.cells.empty()) << "no cell is written when a check fails";
  TCustomValue g(&host.grid);
  Val i = Int(0), u = Undef(), cv = Sample(vtCustomValue);
  EXPECT_EQ(Write(g, *i, *i, *u), UnknownExprWord);
  EXPECT_EQ(Write(g, *i, *i, *cv),
            "Unsupported value type combination: custom object ( integer, integer ) = custom object)");
}

}  // namespace
}  // namespace zel::test
