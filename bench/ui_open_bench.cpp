// How long the grid and the editor form take to open a large matrix: from setting the data source to the
// first painted picture of the window. The grid formats only the cells it draws, so the time should not
// grow with the matrix. `zel_ui_bench [N]` (default 1000) prints the median of 7 runs for an N x N matrix;
// run it with QT_QPA_PLATFORM=offscreen on a machine without a display.
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "ui/editform.h"
#include "ui/nubragrid.h"

namespace {

// Median milliseconds of `runs` calls of `f`.
double MedianMs(const std::function<void()>& f, int runs = 7) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    QElapsedTimer t;
    t.start();
    f();
    ms.push_back(t.nsecsElapsed() / 1e6);
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

}  // namespace

// Grid alone, then the editor form (which also copies the data into its working matrix).
int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int n = argc > 1 ? std::atoi(argv[1]) : 1000;
  zel::TZel m(n, n);
  m.Ramp(0.5, 1.0 / 3);
  zel::TZel c(n, n, true);
  c.Ramp(zel::TCplx(1, -1), zel::TCplx(0.25, 0.5));
  const double grid = MedianMs([&] {
    zel::TNubraGrid g;
    g.resize(800, 600);
    g.SetDatasource(&m);
    g.show();
    g.grab();
  });
  const double complexGrid = MedianMs([&] {
    zel::TNubraGrid g;
    g.resize(800, 600);
    g.SetDatasource(&c);
    g.show();
    g.grab();
  });
  const double form = MedianMs([&] {
    auto* f = new zel::TNubraEditForm;
    f->resize(800, 600);
    f->SetSource(&m);
    f->show();
    f->grab();
    delete f;
  });
  std::printf("%d x %d matrix, median of 7 (ms): grid %.1f, complex grid %.1f, editor form %.1f\n", n, n,
              grid, complexGrid, form);
  return 0;
}
