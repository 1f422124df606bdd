// The workbench window: a script editor, Run and Stop, an output pane and a variables panel. Scripts run
// on a worker thread under a TZelProgressDialog; Stop asks the expression object to cancel. Variables
// keep their values between runs; double-clicking a vector or matrix opens it in the editor form, where
// edits go back into the variable when the editor closes.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <sstream>

#include "apps/workbench/scripteditor.h"
#include "script/expression.h"
#include "ui/progressdialog.h"

namespace zel::workbench {

class TWorkbench : public QMainWindow {
  Q_OBJECT

 public:
  explicit TWorkbench(QWidget* parent = nullptr);

  TScriptEditor& Editor() { return *fEditor; }
  TZelExpression& Expression() { return fExpr; }
  QTreeWidget& Variables() { return *fVariables; }
  // Runs the editor's script on the worker thread (ignored while a run is active).
  void Run();
  // Asks the running script to stop at its next line.
  void Stop();
  bool Running() const { return fRunner.Running(); }
  // Waits, processing events, until the current run has ended.
  void WaitForRun() { fRunner.WaitToFinish(); }
  // Opens the variable in the editor form (vectors and matrices); modal waits until it closes.
  void OpenVariable(const QString& name, bool modal = true);
  // Re-reads the variables panel from the expression object.
  void RefreshVariables();
  // Loads or saves the script text.
  void LoadScript(const QString& path);
  void SaveScript(const QString& path);

 private:
  void BuildUi();
  void Finished();

  TZelExpression fExpr;
  TZelProgressDialog fRunner;
  TScriptEditor* fEditor;
  QPlainTextEdit* fOutput;
  QTreeWidget* fVariables;
  QLabel* fStatus;
  QAction *fRunAction, *fStopAction;
  QString fPath;
  std::string fScript;  // the text of the current run
  std::ostringstream fOut, fErr;
  int fResult = 0;
  double fSeconds = 0;
};

// One line of the variables panel: type name ("complex matrix") and size ("3 x 4", "" for scalars),
// and a short value for scalars.
struct TVariableRow {
  QString type, size, value;
};
TVariableRow DescribeVariable(const TValueRec& v);

}  // namespace zel::workbench
