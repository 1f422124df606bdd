// The workbench window (see workbench.h).
#include "apps/workbench/workbench.h"

#include <QApplication>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include "apps/zel/runner.h"
#include "core/text.h"
#include "ui/editform.h"

namespace zel::workbench {

namespace {

// "Rows x Cols" of a dense object.
QString SizeText(int rows, int cols) { return QString("%1 x %2").arg(rows).arg(cols); }

}  // namespace

// Type, size and (for scalars) value as the panel shows them.
TVariableRow DescribeVariable(const TValueRec& v) {
  TVariableRow row{QString::fromUtf8(ValTypeName(v.ValueType())), {}, {}};
  switch (v.ValueType()) {
    case vtVectorValue:
      if (v.VectorField()->Complex()) row.type = "complex " + row.type;
      row.size = SizeText(1, v.VectorField()->Length());
      break;
    case vtMatrixValue:
      if (v.MatrixField()->Complex()) row.type = "complex " + row.type;
      row.size = SizeText(v.MatrixField()->Rows(), v.MatrixField()->Cols());
      break;
    case vtIntVectorValue:
    case vtBoolVectorValue:
      row.size = SizeText(1, v.IntVectorField()->Length());
      break;
    case vtIntMatrixValue:
    case vtBoolMatrixValue:
      row.size = SizeText(v.IntMatrixField()->Rows(), v.IntMatrixField()->Cols());
      break;
    case vtDoubleValue:
      row.value = QString::fromStdString(SampleToStr(v.DoubleValue()));
      break;
    case vtIntegerValue:
      row.value = QString::number(v.IntegerValue());
      break;
    case vtBoolValue:
      row.value = v.BoolValue() ? "true" : "false";
      break;
    case vtComplexValue:
      row.value = QString::fromStdString(CplxToStr(v.ComplexValue()));
      break;
    case vtString:
      row.value = '"' + QString::fromStdString(v.StringValue()) + '"';
      break;
    default:
      break;
  }
  return row;
}

// The window and the runner: the script runs once (no counted loop) on the worker; each progress tick
// passes a pressed Cancel on to the expression object.
TWorkbench::TWorkbench(QWidget* parent) : QMainWindow(parent) {
  BuildUi();
  fRunner.SetName("Zel workbench");
  fRunner.InternalLoop = false;
  fRunner.UpdateInterval = 100;
  fRunner.Owner = this;
  fRunner.OnCompute = [this](TZelProgressDialog&) {
    QElapsedTimer t;
    t.start();
    fResult = static_cast<int>(app::RunScript(fExpr, "script", fScript, fOut, fErr));
    fSeconds = t.elapsed() / 1000.0;
  };
  fRunner.OnProgress = [this](TZelProgressDialog& d) {
    if (d.Stopped()) fExpr.RequestCancel();
  };
  fRunner.OnCleanUp = [this](TZelProgressDialog&) { Finished(); };
}

// Editor and output on the left, variables on the right, actions in a tool bar and menus.
void TWorkbench::BuildUi() {
  setWindowTitle("Zel workbench");
  fEditor = new TScriptEditor;
  fOutput = new QPlainTextEdit;
  fOutput->setReadOnly(true);
  fOutput->setFont(fEditor->font());
  fOutput->setPlaceholderText("Output of the last run");
  auto* split = new QSplitter(Qt::Vertical);
  split->addWidget(fEditor);
  split->addWidget(fOutput);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);
  setCentralWidget(split);

  fVariables = new QTreeWidget;
  fVariables->setColumnCount(4);
  fVariables->setHeaderLabels({"Name", "Type", "Size", "Value"});
  fVariables->setRootIsDecorated(false);
  fVariables->setAlternatingRowColors(true);
  fVariables->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  fVariables->setToolTip("Double-click a vector or matrix to open it in the editor");
  connect(fVariables, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { OpenVariable(item->text(0)); });
  auto* dock = new QDockWidget("Variables", this);
  dock->setObjectName("variables");
  dock->setWidget(fVariables);
  dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
  addDockWidget(Qt::RightDockWidgetArea, dock);

  QMenu* file = menuBar()->addMenu("&File");
  file->addAction("&Open script...", QKeySequence::Open, this, [this] {
    const QString p =
        QFileDialog::getOpenFileName(this, "Open script", {}, "Zel scripts (*.zel);;All files (*)");
    if (!p.isEmpty()) LoadScript(p);
  });
  file->addAction("&Save script", QKeySequence::Save, this, [this] {
    QString p = fPath;
    if (p.isEmpty()) p = QFileDialog::getSaveFileName(this, "Save script", {}, "Zel scripts (*.zel)");
    if (!p.isEmpty()) SaveScript(p);
  });
  file->addSeparator();
  file->addAction("&Quit", QKeySequence::Quit, qApp, &QApplication::closeAllWindows);
  QMenu* run = menuBar()->addMenu("&Run");
  fRunAction = run->addAction("&Run", QKeySequence(Qt::Key_F5), this, &TWorkbench::Run);
  fStopAction = run->addAction("&Stop", QKeySequence(Qt::SHIFT | Qt::Key_F5), this, &TWorkbench::Stop);
  fStopAction->setEnabled(false);
  run->addSeparator();
  run->addAction("&Clear variables", this, [this] {
    if (Running()) return;
    fExpr.ClearVariables();
    RefreshVariables();
  });
  QToolBar* bar = addToolBar("Run");
  bar->setObjectName("run");
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  bar->addAction(fRunAction);
  bar->addAction(fStopAction);
  fStatus = new QLabel("Ready");
  statusBar()->addWidget(fStatus, 1);
  resize(1000, 640);
}

// Takes the script text, clears the marks and starts the worker.
void TWorkbench::Run() {
  if (Running()) return;
  fScript = fEditor->toPlainText().toStdString();
  fOut.str({});
  fErr.str({});
  fEditor->MarkErrorLine(-1);
  fExpr.ClearCancel();
  fRunAction->setEnabled(false);
  fStopAction->setEnabled(true);
  fVariables->setEnabled(false);
  fStatus->setText("Running...");
  fRunner.Start();
}

// Cancel through the expression object: the run loop stops before its next line.
void TWorkbench::Stop() {
  if (!Running()) return;
  fExpr.RequestCancel();
  fRunner.Terminate();
}

// Back on the window's thread: output, error mark, variables, status.
void TWorkbench::Finished() {
  QString out = QString::fromStdString(fOut.str());
  const QString err = QString::fromStdString(fErr.str());
  if (!fRunner.TerminatingException().empty())
    out += "error: " + QString::fromStdString(fRunner.TerminatingException()) + "\n";
  fOutput->setPlainText(out + err);
  const auto m = QRegularExpression("^script:(\\d+): error:", QRegularExpression::MultilineOption).match(err);
  if (m.hasMatch()) fEditor->MarkErrorLine(m.captured(1).toInt() - 1);
  if (!err.isEmpty()) fOutput->moveCursor(QTextCursor::End);  // the message is at the end
  static const char* const endings[] = {"Finished", "Failed", "Stopped"};
  fStatus->setText(QString("%1 in %2 s").arg(endings[std::clamp(fResult, 0, 2)]).arg(fSeconds, 0, 'f', 3));
  fRunAction->setEnabled(true);
  fStopAction->setEnabled(false);
  fVariables->setEnabled(true);
  RefreshVariables();
}

// One row per variable that holds a value.
void TWorkbench::RefreshVariables() {
  fVariables->clear();
  std::vector<std::string> names;
  fExpr.GetVarList(names);
  for (const std::string& name : names) {
    const TValueRec* v = fExpr.GetVarByName(name);
    if (!v || v->ValueType() == vtUndefined) continue;
    const TVariableRow row = DescribeVariable(*v);
    new QTreeWidgetItem(fVariables, {QString::fromStdString(name), row.type, row.size, row.value});
  }
}

// Real and complex data open editable (modal: edits go back into the variable); integer data too,
// rounded back; bool data is shown read-only.
void TWorkbench::OpenVariable(const QString& name, bool modal) {
  if (Running()) return;
  TValueRec* v = fExpr.GetVarByName(name.toStdString());
  if (!v) return;
  switch (v->ValueType()) {
    case vtVectorValue:
      ViewValues(*v->VectorField(), name, modal, true);
      break;
    case vtMatrixValue:
      ViewValues(*v->MatrixField(), name, modal, true);
      break;
    case vtIntVectorValue:
      ViewValues(*v->IntVectorField(), name, modal, true);
      break;
    case vtIntMatrixValue:
      ViewValues(*v->IntMatrixField(), name, modal, true);
      break;
    case vtBoolVectorValue:
      ViewValues(*v->IntVectorField(), name, false, false);
      break;
    case vtBoolMatrixValue:
      ViewValues(*v->IntMatrixField(), name, false, false);
      break;
    default:
      statusBar()->showMessage(name + " is not a vector or matrix", 3000);
      return;
  }
  if (modal) RefreshVariables();
}

// Reads a script file into the editor.
void TWorkbench::LoadScript(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
    return void(QMessageBox::warning(this, "Open script", "Cannot read " + path));
  fEditor->setPlainText(QString::fromUtf8(f.readAll()));
  fPath = path;
  setWindowTitle("Zel workbench - " + path);
}

// Writes the editor's text to a file.
void TWorkbench::SaveScript(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
    return void(QMessageBox::warning(this, "Save script", "Cannot write " + path));
  f.write(fEditor->toPlainText().toUtf8());
  fPath = path;
  setWindowTitle("Zel workbench - " + path);
}

}  // namespace zel::workbench
