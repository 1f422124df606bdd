// The grid model and view: cell texts and headers by source kind, writes with integer clamping and split
// complex parts, rejected text, and the row operations' guards.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>

#include "ui/nubragrid.h"

namespace zel {
namespace {

// One source of each kind the grid shows.
struct Sources {
  TZel real{2, 2};
  TZel cplx{3, 2, true};
  TVecInt i16{3, prInt16};
  TVecInt u8{3, prUInt8};
  TVecInt i32{3, prInt32};
  Sources() {
    real.SetZero();
    cplx.SetZero();
    real.Values(0) = 1.23456;
    real.Values(1) = -2;
    real.Values(3) = 1e6;
    cplx.CValues(0) = {1.5, -2};
    cplx.CValues(5) = {0, 0.25};
  }
};

TEST(NubraGrid, TextsAndShapeBySource) {
  Sources s;
  struct Row {
    TNubra* source;
    bool split;
    int rowCount, colCount;
    std::vector<std::tuple<int, int, std::string>> cells;  // (col, row, text)
  };
  const Row rows[] = {
      {nullptr, false, 2, 2, {{1, 1, ""}, {0, 1, ""}, {1, 0, ""}}},
      {&s.real, false, 3, 3, {{1, 1, "1.2346"}, {2, 1, "-2"}, {2, 2, "1000000"}, {2, 0, "1"}, {0, 2, "1"}}},
      {&s.cplx, false, 4, 3, {{1, 1, "1.5-2i"}, {2, 3, "0+0.25i"}, {1, 0, "0"}}},
      {&s.cplx,
       true,
       4,
       5,
       {{1, 0, "0-Re"},
        {2, 0, "0-Im"},
        {3, 0, "1-Re"},
        {4, 0, "1-Im"},
        {1, 1, "1.5"},
        {2, 1, "-2"},
        {4, 3, "0.25"}}},
  };
  for (const Row& r : rows) {
    TNubraGrid grid;
    grid.SetSplitComplexNumbers(r.split);
    grid.SetDatasource(r.source);
    EXPECT_EQ(grid.RowCount(), r.rowCount);
    EXPECT_EQ(grid.ColCount(), r.colCount);
    for (const auto& [col, row, text] : r.cells)
      EXPECT_EQ(grid.GetEditText(col, row), text) << col << "," << row;
  }
}

TEST(NubraGrid, WritesClampIntegersAndKeepTheOtherComplexPart) {
  Sources s;
  struct Row {
    TNubra* source;
    bool split;
    int col, row;
    std::string text;
    std::function<bool(Sources&)> check;
  };
  const Row rows[] = {
      {&s.i16, false, 1, 1, "40000", [](Sources& x) { return x.i16.Get(0) == 32767; }},
      {&s.i16, false, 1, 2, "-40000", [](Sources& x) { return x.i16.Get(1) == -32768; }},
      {&s.u8, false, 1, 1, "-5", [](Sources& x) { return x.u8.Get(0) == 0; }},
      {&s.u8, false, 1, 3, "300", [](Sources& x) { return x.u8.Get(2) == 255; }},
      {&s.i32, false, 1, 2, "-70000", [](Sources& x) { return x.i32.Get(1) == -70000; }},
      {&s.real, false, 2, 2, "2.5e-3", [](Sources& x) { return x.real.Values(3) == 2.5e-3; }},
      {&s.cplx, true, 2, 1, "7", [](Sources& x) { return x.cplx.CValues(0) == TCplx(1.5, 7); }},
      {&s.cplx, true, 3, 1, "-1", [](Sources& x) { return x.cplx.CValues(1) == TCplx(-1, 0); }},
      {&s.cplx, false, 2, 3, "1-2i", [](Sources& x) { return x.cplx.CValues(5) == TCplx(1, -2); }},
  };
  for (const Row& r : rows) {
    TNubraGrid grid;
    grid.SetSplitComplexNumbers(r.split);
    grid.SetDatasource(r.source);
    grid.SetEditable(true);
    const QModelIndex at = grid.Model().index(r.row - 1, r.col - 1);
    EXPECT_TRUE(grid.Model().flags(at) & Qt::ItemIsEditable);
    EXPECT_TRUE(grid.Model().setData(at, QString::fromStdString(r.text), Qt::EditRole));
    EXPECT_TRUE(r.check(s)) << r.text;
  }
}

TEST(NubraGrid, RejectedTextLeavesTheValue) {
  Sources s;
  const std::pair<TNubra*, const char*> rows[] = {
      {&s.i32, "1.5"}, {&s.i32, "9999999999"}, {&s.real, "abc"}, {&s.cplx, "1+"}};
  for (auto [source, text] : rows) {
    TNubraGrid grid;
    grid.SetDatasource(source);
    const std::string before = grid.GetEditText(1, 1);
    QString message;
    QObject::connect(&grid, &TCustomNubraGrid::EditRejected, [&](const QString& m) { message = m; });
    EXPECT_FALSE(grid.Model().setData(grid.Model().index(0, 0), text, Qt::EditRole)) << text;
    EXPECT_FALSE(message.isEmpty()) << text;
    EXPECT_EQ(grid.GetEditText(1, 1), before);
  }
}

TEST(NubraGrid, RowKeysGrowAndShrinkOnlyWhenAllowed) {
  struct Row {
    bool editable, allowAppend;
    int key;
    Qt::KeyboardModifiers mods;
    int rows;  // of the 3 x 2 source afterwards
  };
  const Row rows[] = {
      {false, true, Qt::Key_Return, Qt::NoModifier, 3},
      {true, false, Qt::Key_Return, Qt::NoModifier, 3},
      {true, true, Qt::Key_Return, Qt::NoModifier, 4},
      {true, true, Qt::Key_Delete, Qt::ControlModifier, 2},
      {false, false, Qt::Key_Delete, Qt::ControlModifier, 3},
  };
  for (const Row& r : rows) {
    TZel m(3, 2);
    m.Ramp(1, 1);
    TNubraGrid grid;
    grid.SetDatasource(&m);
    grid.SetEditable(r.editable);
    grid.SetAllowAppend(r.allowAppend);
    grid.setCurrentIndex(grid.Model().index(2, 0));  // the last row
    QTest::keyClick(&grid, static_cast<Qt::Key>(r.key), r.mods);
    EXPECT_EQ(m.Rows(), r.rows);
    EXPECT_EQ(grid.RowCount(), r.rows + 1);
    EXPECT_EQ(m.Values(0, 1), 2);  // the first row stays where it was
  }
}

}  // namespace
}  // namespace zel
