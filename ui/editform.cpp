// The editor window: construction, actions and menus, settings, showing and closing (see editform.h).
// The data handling behind the actions is in editform_data.cpp.
#include "ui/editform.h"

#include <cmath>

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QShortcut>

#include "core/controller.h"
#include "core/errors.h"
#include "core/linalg.h"
#include "ui/editchart.h"
#include "ui/registry.h"

namespace zel {

namespace {

// Runs `f`, showing a core error in a message box instead of letting it leave the event handler.
template <class F>
void Guarded(QWidget* parent, F&& f) {
  try {
    f();
  } catch (const std::exception& e) {
    QMessageBox::warning(parent, "Error", QString::fromUtf8(e.what()));
  }
}

// Real parts of a real or complex matrix.
void RealPartOf(const TZel& s, TZel& d) {
  d.Size(s.Rows(), s.Cols(), false);
  for (int i = 0; i < s.Length(); ++i) d.Values(i) = s.Complex() ? s.CValues(i).real() : s.Values(i);
}

// Imaginary parts (zero for real data).
void ImagPartOf(const TZel& s, TZel& d) {
  d.Size(s.Rows(), s.Cols(), false);
  for (int i = 0; i < s.Length(); ++i) d.Values(i) = s.Complex() ? s.CValues(i).imag() : 0.0;
}

// Magnitudes.
void MagOf(const TZel& s, TZel& d) {
  d.Size(s.Rows(), s.Cols(), false);
  for (int i = 0; i < s.Length(); ++i)
    d.Values(i) = s.Complex() ? std::abs(s.CValues(i)) : std::abs(s.Values(i));
}

}  // namespace

// The grid fills the window; file dialogs, actions and menus are built once.
TNubraEditForm::TNubraEditForm(QWidget* parent) : QMainWindow(parent), fGrid(new TNubraGrid(this)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle("View values");
  setMinimumWidth(150);
  resize(333, 198);
  setCentralWidget(fGrid);
  fGrid->SetDatasource(&fWorking);
  const QStringList filters = {"Zel files (*.zel)", "Vec files (*.vec)", "text file (*.txt)"};
  fOpenDialog = new QFileDialog(this, "Load values");
  fOpenDialog->setNameFilters(filters);
  fOpenDialog->setFileMode(QFileDialog::ExistingFile);
  fSaveDialog = new QFileDialog(this, "Save values");
  fSaveDialog->setNameFilters(filters + QStringList{"Matrix Market files (*.mtx)"});
  fSaveDialog->setAcceptMode(QFileDialog::AcceptSave);
  fSaveDialog->setDefaultSuffix("zel");
  BuildActions();
  connect(fGrid, &TCustomNubraGrid::EditRejected, this,
          [this](const QString& m) { QMessageBox::warning(this, "Invalid value", m); });
  connect(fGrid, &TCustomNubraGrid::SourceResized, this, [this] { UpdateActions(); });
  // Escape leaves an open cell editor first, then closes the form.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, [this] {
    if (fGrid->IsEditing())
      fGrid->StopEditing(true);
    else
      close();
  });
  DataChanged();
}

// Creates every action with its caption and shortcut, hooks it to its handler and fills the menus.
void TNubraEditForm::BuildActions() {
  auto make = [this](const char* name, const QString& caption, QKeySequence key, auto handler) {
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    if (!key.isEmpty()) a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
    connect(a, &QAction::triggered, this, [this, handler] { Guarded(this, [&] { handler(); }); });
    return a;
  };
  ALoad = make("ALoad", "&Load", QKeySequence("Ctrl+O"), [this] {
    if (fOpenDialog->exec() != QDialog::Accepted) return;
    LoadFromFile(fOpenDialog->selectedFiles().value(0),
                 fOpenDialog->nameFilters().indexOf(fOpenDialog->selectedNameFilter()) + 1);
  });
  ASave = make("ASave", "&Save", {}, [this] {
    if (fSaveDialog->exec() != QDialog::Accepted) return;
    SaveToFile(fSaveDialog->selectedFiles().value(0),
               fSaveDialog->nameFilters().indexOf(fSaveDialog->selectedNameFilter()) + 1);
  });
  AClose = make("AClose", "&Close", QKeySequence("Ctrl+X"), [this] { close(); });
  ACopy = make("ACopy", "&Copy", QKeySequence("Ctrl+C"),
               [this] { QApplication::clipboard()->setText(ValuesText()); });
  ACopyReal = make("ACopyReal", "C&opy as real", {},
                   [this] { QApplication::clipboard()->setText(ValuesText(true)); });
  APaste = make("APaste", "&Paste", QKeySequence("Ctrl+V"),
                [this] { PasteText(QApplication::clipboard()->text(), false); });
  APasteComplex = make("APasteComplex", "P&aste as complex", {},
                       [this] { PasteText(QApplication::clipboard()->text(), true); });
  ASize = make("ASize", "&Size", QKeySequence("Ctrl+S"), [this] {
    bool ok = false;
    if (fVectorMode) {
      const int n =
          QInputDialog::getInt(this, "New vector length", "Length:", fWorking.Rows(), 0, 1 << 30, 1, &ok);
      if (ok) ResizeData(n, 1);
      return;
    }
    const int r =
        QInputDialog::getInt(this, "New number of rows", "Rows:", fWorking.Rows(), 0, 1 << 30, 1, &ok);
    if (!ok) return;
    const int c =
        QInputDialog::getInt(this, "New number of cols", "Cols:", fWorking.Cols(), 0, 1 << 30, 1, &ok);
    if (ok) ResizeData(r, c);
  });
  ASetZero = make("ASetZero", "I&nitialize to zero", QKeySequence("Ctrl+I"), [this] {
    fWorking.SetZero();
    DataChanged();
  });
  auto makeOp = [&](const char* name, const QString& caption, void (*apply)(const TZel&, TZel&)) {
    return make(name, caption, {}, [this, apply] { Replace(apply); });
  };
  ARealPart = makeOp("ARealPart", "&Real part", RealPartOf);
  AImagPart = makeOp("AImagPart", "&Imag part", ImagPartOf);
  ATransp = makeOp("ATransp", "&Transp", Transp);
  AAdjung = makeOp("AAdjung", "&Adjung", Adjung);
  AMag = makeOp("AMag", "&Mag", MagOf);
  AEditable = make("AEditable", "&Editable", QKeySequence("Ctrl+E"),
                   [this] { fGrid->SetEditable(AEditable->isChecked()); });
  AEditable->setCheckable(true);
  AColWidth = make("AColWidth", "&Column width", QKeySequence("Ctrl+W"), [this] {
    bool ok = false;
    const int w = QInputDialog::getInt(this, "Column width selection",
                                       "New column width:", fGrid->ColumnWidth(), 0, 10000, 1, &ok);
    if (ok) fGrid->SetColumnWidth(w);
  });
  ASetDelimiter = make("ASetDelimiter", "&Delimiter = #9", {}, [this] {
    bool ok = false;
    const QString s =
        QInputDialog::getText(this, "Set new delimiter", "Delimiter:", QLineEdit::Normal, "#9", &ok);
    if (ok) SetDelimiterInput(s);
  });
  AStrFmt = make("AStrFmt", "S&tring format", {}, [this] {
    bool ok = false;
    const QString s =
        QInputDialog::getText(this, "String format selection", "New string format:", QLineEdit::Normal,
                              QString::fromStdString(fGrid->StringFormat()), &ok);
    if (ok) fGrid->SetStringFormat(s.toStdString());
  });
  SciFormatAction = make("SciFormatAction", "&Use scientific format", {},
                         [this] { fGrid->SetScientific(SciFormatAction->isChecked()); });
  SciFormatAction->setCheckable(true);
  ASplitCplx = make("ASplitCplx", "&Split complex numbers", {},
                    [this] { fGrid->SetSplitComplexNumbers(ASplitCplx->isChecked()); });
  ASplitCplx->setCheckable(true);
  ChartColsAction = make("ChartColsAction", "S&eries in columns", {}, [] {});
  ChartRowsAction = make("ChartRowsAction", "&Series in rows", {}, [] {});
  auto* series = new QActionGroup(this);
  for (QAction* a : {ChartColsAction, ChartRowsAction}) {
    a->setCheckable(true);
    series->addAction(a);
  }
  ChartColsAction->setChecked(true);

  QMenu* file = menuBar()->addMenu("&File");
  file->addActions({ALoad, ASave});
  file->addSeparator();
  file->addAction(AClose);
  QMenu* edit = menuBar()->addMenu("&Edit");
  edit->addActions({ACopy, ACopyReal, APaste, APasteComplex});
  edit->addSeparator();
  edit->addActions({ASize, ASetZero});
  QMenu* ops = edit->addMenu("&Operations");
  ops->addActions({ARealPart, AImagPart, ATransp, AAdjung, AMag});
  QMenu* options = menuBar()->addMenu("&Options");
  options->addActions({AEditable, AColWidth, ASetDelimiter, AStrFmt, SciFormatAction, ASplitCplx});
  fChartMenu = menuBar()->addMenu("&Chart");
  // Every action also works from the keyboard when the menu bar is hidden.
  addActions({ALoad, ASave, AClose, ACopy, APaste, ASize, ASetZero, AEditable, AColWidth});
}

// Enables the actions that need complex data.
void TNubraEditForm::UpdateActions() {
  const bool complex = fWorking.Complex();
  for (QAction* a : {ARealPart, AImagPart, AAdjung, AMag, ACopyReal}) a->setEnabled(complex);
  AEditable->setChecked(fGrid->Editable());
  SciFormatAction->setChecked(fGrid->Scientific());
  ASplitCplx->setChecked(fGrid->SplitComplexNumbers());
}

// The series choices, then one entry per registered item; without items the choices stay disabled.
void TNubraEditForm::UpdateChartActions() {
  fChartMenu->clear();
  fChartMenu->addActions({ChartColsAction, ChartRowsAction});
  const TZelEditChartItems* items = ZelEditChartItems();
  ChartColsAction->setEnabled(items != nullptr);
  ChartRowsAction->setEnabled(items != nullptr);
  if (!items) return;
  fChartMenu->addSeparator();
  for (TZelEditChartItem* item : *items) {
    QAction* a = fChartMenu->addAction(QString::fromStdString(item->Caption));
    a->setEnabled(!item->OnUpdate || item->OnUpdate(*this));
    connect(a, &QAction::triggered, this, [this, item] {
      if (item->OnExecute) Guarded(this, [&] { item->OnExecute(*this, SeriesInColumns()); });
    });
  }
}

// True when the matrix columns are the data series.
bool TNubraEditForm::SeriesInColumns() const { return ChartColsAction->isChecked(); }

// The arguments first, then the saved settings; then the form is shown.
void TNubraEditForm::ShowValues(const QString& caption, bool modal, bool editable, bool stayOnTop) {
  auto reg = OpenRegistry();
  reg->beginGroup("NubraEditor");
  fGrid->SetEditable(editable);
  const bool onTop = stayOnTop || reg->value("FormStyle", 0).toInt() == 3;
  setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
  setWindowTitle(!caption.isEmpty() ? caption : fVectorMode ? "Vector values" : "Matrix values");
  ReadSettings(*reg);
  reg->endGroup();
  reg.reset();
  Present(modal);
}

// Position and size, then modal (waiting until the form has gone) or modeless.
void TNubraEditForm::Present(bool modal) {
  fModal = modal;
  DataChanged();
  UpdateChartActions();
  if (fPosition == 4) {
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
  }
  if (!modal) return show();
  setWindowModality(Qt::ApplicationModal);
  QEventLoop loop;
  connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
  show();
  loop.exec();  // `this` is gone when the loop returns
}

// Reads the "NubraEditor" group (the caller has opened it).
void TNubraEditForm::ReadSettings(QSettings& s) {
  fPosition = s.value("FormPosition", 4).toInt();
  const QRect screenRect = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
  resize(s.value("Width", screenRect.width() / 2).toInt(),
         s.value("Height", screenRect.height() / 2).toInt());
  if (fPosition == 0) move(s.value("FormLeft", x()).toInt(), s.value("FormTop", y()).toInt());
  fGrid->SetSplitComplexNumbers(s.value("SplitCplx", false).toBool());
  SetDelimiterInput(DelimiterInput(s.value("Delimiter", "\t").toString().toStdString()));
  fGrid->SetScientific(s.value("Scientific", false).toBool());
  fGrid->SetStringFormat(
      s.value("StringFormat", QString::fromStdString(DefaultNumberFormat())).toString().toStdString());
  fGrid->SetColumnWidth(s.value("ColumnWidth", 0).toInt());
  SetLastSaveDir(s.value("LastSaveDir", "").toString());
  SetLastOpenDir(s.value("LastOpenDir", "").toString());
}

// Writes the "NubraEditor" group (the caller has opened it).
void TNubraEditForm::WriteSettings(QSettings& s) const {
  s.setValue("FormStyle", (windowFlags() & Qt::WindowStaysOnTopHint) ? 3 : 0);
  s.setValue("FormLeft", x());
  s.setValue("FormTop", y());
  s.setValue("FormPosition", fPosition);
  s.setValue("Delimiter", QString::fromStdString(fDelimiter));
  s.setValue("StringFormat", QString::fromStdString(fGrid->StringFormat()));
  s.setValue("ColumnWidth", fGrid->ColumnWidth());
  s.setValue("SplitCplx", fGrid->SplitComplexNumbers());
  s.setValue("Scientific", fGrid->Scientific());
  s.setValue("LastSaveDir", LastSaveDir());
  s.setValue("LastOpenDir", LastOpenDir());
  s.setValue("Width", width());
  s.setValue("Height", height());
}

// A modal, editable form gives its data back to the source; then the settings are kept.
void TNubraEditForm::closeEvent(QCloseEvent* event) {
  if (fModal && fGrid->Editable()) Guarded(this, [this] { WriteBack(); });
  auto reg = OpenRegistry();
  reg->beginGroup("NubraEditor");
  WriteSettings(*reg);
  reg->endGroup();
  if (OnClosing) OnClosing(*this);
  event->accept();
}

// The delimiter as typed into the delimiter box: "#" and the code for control characters.
QString DelimiterInput(const std::string& d) {
  if (d.size() == 1 && static_cast<unsigned char>(d[0]) < 32) return "#" + QString::number(d[0]);
  return QString::fromStdString(d);
}

// Opens a form on a copy of `src` and shows it (shared by the ViewValues overloads).
template <class Source>
void OpenEditor(Source& src, const QString& caption, bool modal, bool editable, bool stayOnTop) {
  auto* form = new TNubraEditForm;
  form->SetSource(&src);
  form->ShowValues(caption, modal, editable, stayOnTop);
}

// Editor on a matrix.
void ViewValues(TZel& m, const QString& caption, bool modal, bool editable, bool stayOnTop) {
  OpenEditor(m, caption, modal, editable, stayOnTop);
}

// Editor on a vector (one column).
void ViewValues(TVec& v, const QString& caption, bool modal, bool editable, bool stayOnTop) {
  OpenEditor(v, caption, modal, editable, stayOnTop);
}

// Editor on an integer vector, edited as reals.
void ViewValues(TVecInt& v, const QString& caption, bool modal, bool editable, bool stayOnTop) {
  OpenEditor(v, caption, modal, editable, stayOnTop);
}

// Editor on an integer matrix, edited as reals.
void ViewValues(TZelInt& m, const QString& caption, bool modal, bool editable, bool stayOnTop) {
  OpenEditor(m, caption, modal, editable, stayOnTop);
}

}  // namespace zel
