// The progress dialog: counted runs on the worker and on the caller's thread, cancel, exceptions kept
// for the caller, and Start while a run is active.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <atomic>

#include "core/controller.h"
#include "core/errors.h"
#include "ui/progressdialog.h"

namespace zel {
namespace {

TEST(ZelProgressDialog, RunsFinishCancelAndThrow) {
  struct Row {
    bool bypass, internalLoop;
    int min, max;
    int throwAt;   // OnCompute call (1-based) that throws, 0 for none
    int cancelAt;  // call after which Cancel is pressed, 0 for none
    int calls;
    const char* exception;
  };
  const Row rows[] = {
      {false, true, 0, 0, 0, 0, 1, ""},       {false, true, 0, 9, 0, 0, 10, ""},
      {false, false, 0, 9, 0, 0, 1, ""},      {false, true, 0, 9, 3, 0, 3, "third"},
      {false, true, 0, 1000000, 0, 4, 4, ""}, {true, true, 0, 0, 0, 0, 1, ""},
      {true, true, 2, 6, 0, 0, 5, ""},
  };
  for (const Row& r : rows) {
    TZelProgressDialog d;
    d.ThreadBypass = r.bypass;
    d.InternalLoop = r.internalLoop;
    d.DefineLoop(r.min, r.max);
    d.UpdateInterval = 5;
    std::atomic<int> calls{0};
    std::atomic<bool> marked{false};
    std::vector<TZelProgressEvent> events;
    int cleanUps = 0;
    d.OnCompute = [&](TZelProgressDialog& self) {
      marked = marked || ThreadIsMarked();
      if (++calls == r.throwAt) throw ENubraException("third");
      if (calls == r.cancelAt)
        QMetaObject::invokeMethod(self.CancelButton(), "click", Qt::BlockingQueuedConnection);
    };
    d.OnProgressUpdate = [&](TZelProgressDialog&, TZelProgressEvent e) {
      if (e != peCycle) events.push_back(e);
    };
    d.OnCleanUp = [&](TZelProgressDialog&) { ++cleanUps; };
    if (r.cancelAt) d.CancelButton();  // built on this thread before the worker clicks it
    d.Start();
    d.WaitToFinish();
    EXPECT_EQ(calls, r.calls) << r.max;
    EXPECT_TRUE(d.Stopped());
    EXPECT_EQ(cleanUps, 1);
    EXPECT_EQ(events, (std::vector<TZelProgressEvent>{peInit, peCleanUp}));
    EXPECT_EQ(d.TerminatingException(), r.exception);
    EXPECT_EQ(marked, !r.bypass);
    if (*r.exception) {
      EXPECT_EQ(d.TerminatingExceptionClass(), "zel::ENubraException");
      EXPECT_THROW(d.RethrowTerminatingException(), ENubraException);
    }
  }
}

TEST(ZelProgressDialog, StartWhileRunningIsIgnoredAndStopWaits) {
  TZelProgressDialog d;
  d.InfiniteLoop = true;
  std::atomic<int> calls{0};
  d.OnCompute = [&](TZelProgressDialog&) {
    ++calls;
    QThread::msleep(1);
  };
  d.Start();
  EXPECT_TRUE(d.Running());
  const int counterBefore = d.Counter();
  d.Start();
  EXPECT_GE(d.Counter(), counterBefore);  // not reset to Min by a second Start
  QTest::qWait(30);
  d.Stop();
  EXPECT_FALSE(d.Running());
  EXPECT_GT(calls, 1);
}

TEST(ZelProgressDialog, BypassedExceptionsReachTheCaller) {
  TZelProgressDialog d;
  d.ThreadBypass = true;
  d.OnCompute = [](TZelProgressDialog&) { throw ENubraException("boom"); };
  EXPECT_THROW(d.Start(), ENubraException);
  EXPECT_TRUE(d.Stopped());
}

}  // namespace
}  // namespace zel
