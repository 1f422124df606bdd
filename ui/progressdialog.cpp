// The progress dialog and its worker thread (see progressdialog.h).
#include "ui/progressdialog.h"

#include <cxxabi.h>
#include <QApplication>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <memory>
#include <typeinfo>

#include "core/controller.h"

namespace zel {

namespace {

// The readable class name of an exception object ("zel::ENubraException").
std::string ClassNameOf(const std::type_info& type) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status),
                                              std::free);
  return status == 0 && name ? name.get() : type.name();
}

// Registers the calling thread with the core for one scope, also when it is left by an exception.
struct MarkedThread {
  MarkedThread() { MarkThread(); }
  ~MarkedThread() { UnMarkThread(); }
};

}  // namespace

// The thread takes its name before it starts, so the system (and a debugger) sees it from the start.
TZelProgressThread::TZelProgressThread(TZelProgressDialog& dialog, const std::string& name)
    : fDialog(dialog), fName(name.empty() ? "Nubra Thread (unnamed)" : name) {
  setObjectName(QString::fromStdString(fName));
}

// The worker body runs in the dialog, which owns the loop's state.
void TZelProgressThread::run() { fDialog.Body(*this); }

// The timer ticks on the caller's thread.
TZelProgressDialog::TZelProgressDialog(QObject* parent) : QObject(parent) {
  connect(&fTimer, &QTimer::timeout, this, &TZelProgressDialog::Progress);
}

// A running worker is stopped first; the window goes with the dialog.
TZelProgressDialog::~TZelProgressDialog() {
  Stop();
  fTimer.stop();
  delete fWindow;
  if (OnBeforeDestroy) OnBeforeDestroy(*this);
}

// Counter to Min, then a worker, or the run on this thread with ThreadBypass.
void TZelProgressDialog::Start() {
  if (!Stopped()) return;
  fCounter = Min;
  fStopped = false;
  if (fBar) DefineProgressBar(*fBar);
  if (ThreadBypass) return StartWithoutThread();
  fTimer.start(UpdateInterval);
  CreateWorker();
}

// OnInitialize and the loop on the caller's thread; exceptions leave through Start, the run ending anyway.
void TZelProgressDialog::StartWithoutThread() {
  fStopped = false;
  struct EndRun {
    TZelProgressDialog& d;
    ~EndRun() { d.fStopped = true; }
  } endRun{*this};
  if (OnProgressUpdate) OnProgressUpdate(*this, peInit);
  if (OnInitialize) OnInitialize(*this);
  if (InternalLoop) {
    do {
      if (OnCompute) OnCompute(*this);
      if (!InfiniteLoop && Counter() >= Max) break;
      ++fCounter;
    } while (!Stopped());
  } else if (OnCompute) {
    OnCompute(*this);
  }
  fStopped = true;
  if (OnProgressUpdate) OnProgressUpdate(*this, peCleanUp);
  if (OnCleanUp) OnCleanUp(*this);
}

// Creates the worker, runs the initialisation step (window included) and starts it.
void TZelProgressDialog::CreateWorker() {
  fThread = new TZelProgressThread(*this, ThreadName.empty() ? Name() : ThreadName);
  connect(fThread, &QThread::finished, this, &TZelProgressDialog::Terminated, Qt::QueuedConnection);
  if (OnProgressUpdate) OnProgressUpdate(*this, peInit);
  if (ShowDialog) ShowWindow();
  fExceptionClass.clear();
  fExceptionMessage.clear();
  fException = nullptr;
  fThread->start(ThreadPriority);
}

// The loop on the worker: OnCompute until the count is reached or the run is stopped; an exception ends
// the run and is kept for the caller.
void TZelProgressDialog::Body(TZelProgressThread& thread) {
  MarkedThread marked;
  try {
    if (InternalLoop) {
      while (!Stopped() && !thread.isInterruptionRequested()) {
        if (OnCompute) OnCompute(*this);
        if (!InfiniteLoop && Counter() >= Max) {
          thread.requestInterruption();
          break;
        }
        ++fCounter;
      }
    } else if (OnCompute) {
      OnCompute(*this);
    }
  } catch (const std::exception& e) {
    fException = std::current_exception();
    fExceptionClass = ClassNameOf(typeid(e));
    fExceptionMessage = e.what();
    thread.requestInterruption();
    try {
      if (OnException) OnException(*this, e);
    } catch (...) {
      // The handler's own failure must not take the process down with it.
    }
  } catch (...) {
    fException = std::current_exception();
    fExceptionClass = "unknown";
    fExceptionMessage = "Unknown exception";
    thread.requestInterruption();
  }
}

// Back on the caller's thread after the worker ended: window, flags, events, and the thread's memory.
void TZelProgressDialog::Terminated() {
  fTimer.stop();
  if (ShowDialog) HideWindow();
  fStopped = true;
  if (fThread) fThread->deleteLater();
  fThread = nullptr;
  if (OnProgressUpdate) OnProgressUpdate(*this, peCleanUp);
  if (OnCleanUp) OnCleanUp(*this);
  if (FreeOnTerminate) deleteLater();
}

// Stops the run and waits for the worker's termination handler.
void TZelProgressDialog::Stop() {
  if (fThread) fStopped = true;
  if (fThread && !fThread->isFinished()) fThread->requestInterruption();
  WaitToFinish();
}

// Asks the worker to end without waiting.
void TZelProgressDialog::Terminate() {
  if (fThread) fThread->requestInterruption();
  fStopped = true;
}

// Processes events until the termination handler has cleared the worker.
void TZelProgressDialog::WaitToFinish() {
  while (fThread) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (fThread && fThread->isRunning()) fThread->wait(5);
  }
}

// Range Min..Max, position Min, step 1 (Qt bars step by one).
void TZelProgressDialog::DefineProgressBar(QProgressBar& bar) const {
  bar.setRange(Min, Max);
  bar.setValue(Min);
}

// Events, then the bar: the counter, or in an endless loop the counter modulo Loops - 1 (a plain busy
// bar when Loops is 1 or less, as there is no period then).
void TZelProgressDialog::Progress() {
  if (OnProgressUpdate) OnProgressUpdate(*this, peCycle);
  if (OnProgress) OnProgress(*this);
  if (!ShowDialog || !fBar) return;
  if (!InfiniteLoop) return fBar->setValue(Counter());
  if (Loops <= 1) return fBar->setRange(0, 0);
  fBar->setRange(Min, Max);
  fBar->setValue(Counter() % (Loops - 1));
}

// The window: "Processing", a 34-pixel panel with the centred Cancel button, the bar below.
QWidget* TZelProgressDialog::ProgressWindow() {
  if (fWindow) return fWindow;
  fWindow = new QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint);
  fWindow->setWindowTitle("Processing");
  if (QScreen* s = QGuiApplication::primaryScreen())
    fWindow->resize(std::max(160, s->size().width() / 8), std::max(80, s->size().height() / 10));
  auto* layout = new QVBoxLayout(fWindow);
  auto* panel = new QWidget(fWindow);
  panel->setFixedHeight(34);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 0, 0, 0);
  fCancel = new QPushButton("&Cancel", panel);
  fCancel->setFixedSize(80, 24);
  fCancel->setFocusPolicy(Qt::NoFocus);
  fCancel->setDefault(true);
  row->addStretch();
  row->addWidget(fCancel);
  row->addStretch();
  fBar = new QProgressBar(fWindow);
  fBar->setTextVisible(false);
  layout->addWidget(panel);
  layout->addWidget(fBar, 1);
  connect(fCancel, &QPushButton::clicked, this, [this] { fStopped = true; });
  DefineProgressBar(*fBar);
  return fWindow;
}

// The Cancel button of the progress window.
QPushButton* TZelProgressDialog::CancelButton() {
  ProgressWindow();
  return fCancel;
}

// The bar of the progress window.
QProgressBar* TZelProgressDialog::ProgressBar() {
  ProgressWindow();
  return fBar;
}

// Disables the application's other windows and shows the progress window over the owner's centre.
void TZelProgressDialog::ShowWindow() {
  QWidget* w = ProgressWindow();
  DefineProgressBar(*fBar);
  fDisabled.clear();
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top != w && top->isVisible() && top->isEnabled()) {
      top->setEnabled(false);
      fDisabled.emplace_back(top);
    }
  }
  if (Owner) w->move(Owner->frameGeometry().center() - w->rect().center());
  w->show();
}

// Closes the progress window and enables the windows disabled for it.
void TZelProgressDialog::HideWindow() {
  if (fWindow) fWindow->hide();
  for (auto& top : fDisabled)
    if (top) top->setEnabled(true);
  fDisabled.clear();
}

// Raises the exception kept from the last run.
void TZelProgressDialog::RethrowTerminatingException() const {
  if (fException) std::rethrow_exception(fException);
}

}  // namespace zel
