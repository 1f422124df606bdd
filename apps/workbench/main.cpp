// The Zel workbench: `workbench [SCRIPT]` opens the window (with the script's text when given).
// `workbench --screenshots DIR` runs a demonstration, saves pictures of the windows as PNG files in DIR
// (workbench.png, workbench-error.png, editor.png, editor-complex.png) and exits; the pictures are taken
// by the windows themselves, so any Qt platform works (a virtual X server or "offscreen").
#include <QApplication>
#include <QDir>
#include <QTimer>
#include <cstdio>

#include "apps/workbench/workbench.h"
#include "ui/editform.h"

namespace {

// The demonstration script: scalars, a complex number, vectors, matrices and a short loop.
const char* const kDemo = R"(// Zel workbench demo: press F5 to run, double-click a vector or matrix
n = 8
x = ramp(n, 0, 1/n);
y = sin(2*pi*x) + 0.1*x
m = [4, -2, 1; -2, 4, -2; 1, -2, 4]
b = [11, -16, 17]'
sol = m \ b
z = (1 + 2i) * (3 - 1i)
c = [1+2i, 3-1i; -0.5i, 2]
total = 0.0;
for k = 0:(n-1)
  total = total + y(k);
end
counts = [3, 1, 4, 1, 5, 9, 2, 6]
label = "demo"
)";

// Saves a window picture; false when the file cannot be written.
bool Save(QWidget& w, const QString& path) {
  const bool ok = w.grab().save(path, "PNG");
  std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "cannot write", qPrintable(path));
  return ok;
}

// Lets the windows lay themselves out and paint.
void Settle() {
  for (int i = 0; i < 10; ++i) QApplication::processEvents();
}

// The demonstration run and its pictures.
int Screenshots(const QString& dir) {
  using zel::workbench::TWorkbench;
  QDir().mkpath(dir);
  TWorkbench wb;
  wb.resize(1100, 680);
  wb.show();
  wb.Editor().setPlainText(kDemo);
  wb.Run();
  wb.WaitForRun();
  Settle();
  bool ok = Save(wb, dir + "/workbench.png");

  auto* form = new zel::TNubraEditForm;
  form->SetSource(wb.Expression().GetVarByName("m")->MatrixField());
  form->ShowValues("m", false, true, false);
  form->resize(420, 220);
  Settle();
  ok = Save(*form, dir + "/editor.png") && ok;
  form->close();

  auto* cform = new zel::TNubraEditForm;
  cform->SetSource(wb.Expression().GetVarByName("c")->MatrixField());
  cform->ShowValues("c", false, true, false);
  cform->Grid().SetSplitComplexNumbers(true);
  cform->resize(460, 200);
  Settle();
  ok = Save(*cform, dir + "/editor-complex.png") && ok;
  cform->Grid().SetSplitComplexNumbers(false);
  cform->close();

  wb.Editor().setPlainText(QString(kDemo).replace("sol = m \\ b", "sol = m \\ [1, 2]'"));
  wb.Run();
  wb.WaitForRun();
  Settle();
  ok = Save(wb, dir + "/workbench-error.png") && ok;
  return ok ? 0 : 1;
}

}  // namespace

// Opens the window, or takes the pictures with --screenshots.
int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Zel workbench");
  const QStringList args = QApplication::arguments();
  const int shots = args.indexOf("--screenshots");
  if (shots > 0) return Screenshots(args.value(shots + 1, "."));
  zel::workbench::TWorkbench wb;
  if (args.size() > 1)
    wb.LoadScript(args[1]);
  else
    wb.Editor().setPlainText(kDemo);
  wb.show();
  return QApplication::exec();
}
