// The editor form: file round trips by filter, delimited text in and out, the delimiter box, ViewValues'
// caption and write-back rule, and the Chart menu's dependence on registered items.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "ui/editchart.h"
#include "ui/editform.h"

namespace zel {
namespace {

// A form on a 2 x 2 matrix [1, 2.5; -3, 4].
TNubraEditForm* MakeForm(TZel& m) {
  m.Size(2, 2);
  m.Values(0) = 1;
  m.Values(1) = 2.5;
  m.Values(2) = -3;
  m.Values(3) = 4;
  auto* form = new TNubraEditForm;
  form->SetSource(&m);
  return form;
}

TEST(NubraEditForm, FileRoundTripsByFilter) {
  QTemporaryDir dir;
  // filter, file, expected rows x cols after loading back with the same filter (vector files load as a row)
  const std::tuple<int, const char*, int, int> rows[] = {
      {1, "a.zel", 2, 2}, {2, "a.vec", 1, 4}, {3, "a.txt", 2, 2}};
  for (auto [filter, name, r, c] : rows) {
    TZel m;
    TNubraEditForm* form = MakeForm(m);
    const QString path = dir.filePath(name);
    form->SaveToFile(path, filter);
    form->Working().SetZero();
    form->LoadFromFile(path, filter);
    ASSERT_EQ(form->Working().Rows(), r) << name;
    ASSERT_EQ(form->Working().Cols(), c) << name;
    EXPECT_EQ(form->Working().Values(1), 2.5) << name;
    EXPECT_EQ(form->Working().Values(2), -3) << name;
    EXPECT_EQ(form->LastOpenDir(), dir.path());
    delete form;
  }
}

TEST(NubraEditForm, MatrixMarketFileIsColumnMajor) {
  QTemporaryDir dir;
  TZel m;
  TNubraEditForm* form = MakeForm(m);
  form->SaveToFile(dir.filePath("a.mtx"), 4);
  std::ifstream in(dir.filePath("a.mtx").toStdString());
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "%%MatrixMarket matrix array real general\n2 2\n1\n-3\n2.5\n4\n");
  delete form;
}

TEST(NubraEditForm, DelimitedTextInAndOut) {
  struct Row {
    const char* delimiterInput;
    const char* paste;
    bool asComplex;
    const char* copy;  // ValuesText after the paste
    const char* copyReal;
  };
  const Row rows[] = {
      {"#9", "1\t2\r\n3\t4\r\n", false, "1\t2\n3\t4", "1\t2\n3\t4"},
      {"#44", "1,2\n3,4\n", false, "1,2\n3,4", "1,2\n3,4"},
      {";", "1;2;3;4", true, "1+2i;3+4i", "1;2;3;4"},
      {"#9", "1+2i\t-1i", false, "1+2i\t0-1i", "1\t2\t0\t-1"},
  };
  for (const Row& r : rows) {
    TZel m;
    TNubraEditForm* form = MakeForm(m);
    form->SetDelimiterInput(r.delimiterInput);
    EXPECT_EQ(form->ASetDelimiter->text(), QString("&Delimiter = ") + r.delimiterInput);
    QApplication::clipboard()->setText(r.paste);
    (r.asComplex ? form->APasteComplex : form->APaste)->trigger();
    form->ACopy->trigger();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), r.copy);
    EXPECT_EQ(form->ValuesText(true).toStdString(), r.copyReal);
    EXPECT_EQ(form->ARealPart->isEnabled(), form->Working().Complex());
    delete form;
  }
}

TEST(NubraEditForm, ViewValuesWritesBackOnlyFromModalEditableForms) {
  // modal, editable: the source's first element after a cell edit and close
  const std::tuple<bool, bool, double> rows[] = {{false, true, 1}, {true, false, 1}, {true, true, 42}};
  for (auto [modal, editable, expected] : rows) {
    TVec v(3);
    v.Ramp(1, 1);
    QString caption;
    int columns = 0;
    QTimer::singleShot(0, [&] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* f = qobject_cast<TNubraEditForm*>(w); f && f->isVisible()) {
          caption = f->windowTitle();
          columns = f->Grid().MaxDataCols();
          f->Grid().Model().setData(f->Grid().Model().index(0, 0), "42", Qt::EditRole);
          f->close();
        }
      }
    });
    ViewValues(v, {}, modal, editable);
    if (!modal) QApplication::processEvents();
    EXPECT_EQ(caption, "Vector values");
    EXPECT_EQ(columns, 1);
    EXPECT_EQ(v.Values(0), expected) << modal << editable;
  }
}

TEST(NubraEditForm, ChartActionsFollowTheRegisteredItems) {
  TZelEditChartItem item;
  item.Caption = "Plot";
  bool ranInColumns = false;
  item.OnExecute = [&](TNubraEditForm&, bool inColumns) { ranInColumns = inColumns; };
  TZel m;
  TNubraEditForm* form = MakeForm(m);
  form->UpdateChartActions();
  EXPECT_FALSE(form->ChartColsAction->isEnabled());
  RegisterZelEditItem(&item);
  RegisterZelEditItem(&item);
  ASSERT_EQ(ZelEditChartItems()->size(), 1u);
  form->UpdateChartActions();
  EXPECT_TRUE(form->ChartRowsAction->isEnabled());
  form->ChartMenu()->actions().back()->trigger();
  EXPECT_TRUE(ranInColumns);
  UnRegisterZelEditItem(&item);
  EXPECT_EQ(ZelEditChartItems(), nullptr);
  delete form;
}

}  // namespace
}  // namespace zel
