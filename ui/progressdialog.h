// TZelProgressDialog runs a host computation on a worker thread (TZelProgressThread) while the caller's
// thread keeps its event loop: once, or as a counted loop from Min to Max. A timer reports progress on the
// caller's thread; an optional small window shows a bar and a Cancel button. Cancel, Stop and Terminate
// are cooperative: they set flags the loop checks between calls of OnCompute (a long OnCompute polls
// Stopped() itself). An exception that escapes OnCompute ends the run; it is kept (class name, message
// and the exception itself, which RethrowTerminatingException raises again on the caller's thread) and
// passed to OnException. With ThreadBypass the run happens on the caller's thread and exceptions simply
// propagate out of Start.
//
// Threads: OnCompute and OnException run on the worker; OnProgressUpdate, OnProgress, OnCleanUp and the
// window on the caller's thread, which must keep processing events (Stop and WaitToFinish do).
#pragma once

#include <QObject>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "core/component.h"

class QProgressBar;
class QPushButton;
class QWidget;

namespace zel {

enum TZelProgressEvent { peInit, peCycle, peCleanUp };

class TZelProgressDialog;

// The worker: runs the dialog's loop once and frees itself after the dialog's termination handler.
class TZelProgressThread : public QThread {
  Q_OBJECT

 public:
  TZelProgressThread(TZelProgressDialog& dialog, const std::string& name);
  const std::string& Name() const { return fName; }

 protected:
  void run() override;

 private:
  TZelProgressDialog& fDialog;
  std::string fName;
};

class TZelProgressDialog : public QObject, public TZelComponent {
  Q_OBJECT

 public:
  using TNotifyEvent = std::function<void(TZelProgressDialog&)>;

  explicit TZelProgressDialog(QObject* parent = nullptr);
  // Stops a running worker (waiting for it), then OnBeforeDestroy.
  ~TZelProgressDialog() override;

  bool FreeOnTerminate = false;
  bool ThreadBypass = false;
  int Loops = 1;
  QThread::Priority ThreadPriority = QThread::NormalPriority;
  bool InternalLoop = true;
  bool InfiniteLoop = false;
  int Min = 0, Max = 0;
  int UpdateInterval = 200;
  std::string ThreadName;
  bool ShowDialog = false;
  // The window the progress window centres on and whose application windows it disables (may be null).
  QPointer<QWidget> Owner;

  TNotifyEvent OnCompute, OnInitialize, OnProgress, OnCleanUp, OnBeforeDestroy;
  std::function<void(TZelProgressDialog&, TZelProgressEvent)> OnProgressUpdate;
  std::function<void(TZelProgressDialog&, const std::exception& e)> OnException;

  // Starts a run unless one is active.
  void Start();
  // The run on the caller's thread, without window and timer.
  void StartWithoutThread();
  // Ends the run and waits (processing events) until the worker has gone.
  void Stop();
  // Asks the worker to end and sets Stopped; does not wait.
  void Terminate();
  // Processes events while a worker exists.
  void WaitToFinish();
  void DefineLoop(int min, int max) {
    Min = min;
    Max = max;
  }
  // Gives `bar` the range Min..Max, position Min.
  void DefineProgressBar(QProgressBar& bar) const;
  // One progress tick (the timer calls it on the caller's thread).
  void Progress();

  bool Stopped() const { return fStopped.load(std::memory_order_relaxed); }
  int Counter() const { return fCounter.load(std::memory_order_relaxed); }
  bool Running() const { return fThread != nullptr; }
  // Class and message of the exception that ended the last run (empty when none).
  const std::string& TerminatingExceptionClass() const { return fExceptionClass; }
  const std::string& TerminatingException() const { return fExceptionMessage; }
  std::exception_ptr TerminatingExceptionPtr() const { return fException; }
  // Raises the exception that ended the last run again, if there was one.
  void RethrowTerminatingException() const;
  // The progress window (built on first use) and its parts.
  QWidget* ProgressWindow();
  QPushButton* CancelButton();
  QProgressBar* ProgressBar();

  std::string ClassName() const override { return "TZelProgressDialog"; }

 private:
  friend class TZelProgressThread;
  void CreateWorker();
  void Body(TZelProgressThread& thread);
  void Terminated();
  void ShowWindow();
  void HideWindow();

  std::atomic<bool> fStopped{true};
  std::atomic<int> fCounter{0};
  TZelProgressThread* fThread = nullptr;
  QTimer fTimer;
  QWidget* fWindow = nullptr;
  QPushButton* fCancel = nullptr;
  QProgressBar* fBar = nullptr;
  std::vector<QPointer<QWidget>> fDisabled;
  std::string fExceptionClass, fExceptionMessage;
  std::exception_ptr fException;
};

}  // namespace zel
