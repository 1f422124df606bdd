// Stopping a run from outside the script: the step budget and the cancel request, each leaving the
// variables as the lines before the stop left them.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "script/expression.h"
#include "support/oper_helper.h"

namespace zel::test {
namespace {

// A loop that never ends on its own: k counts the passes through its body.
constexpr const char* kCompletes = "<no exception>";  // what MessageOf reports for a run that ends
constexpr const char* kEndless = "k = 0\nwhile true\nk = k + 1\nend";

TEST(StepLimit, StopsRunsAtTheBudget) {
  const struct {
    const char* script;
    std::uint64_t limit;
    const char* message;  // kCompletes when the run ends by itself
    std::int64_t k;       // the value of k afterwards
  } cases[] = {
      // k = 0 takes one step, every pass three (while, k = k + 1, end): 10 steps are three passes and
      // the 11th line, the while, is refused.
      {kEndless, 10, "Line 1: Evaluation stopped: the step limit of 10 lines was reached", 3},
      {kEndless, 1, "Line 1: Evaluation stopped: the step limit of 1 lines was reached", 0},
      // The 11th line is the fourth while; k = k + 1 is refused after it.
      {kEndless, 11, "Line 2: Evaluation stopped: the step limit of 11 lines was reached", 3},
      // A budget of exactly the lines run is enough: for, body and endfor three times, then k = 0: 8 lines.
      {"for i = 1:3\nk = i\nend\nk = k * 2", 8, kCompletes, 6},
      {"for i = 1:3\nk = i\nend\nk = k * 2", 7,
       "Line 3: Evaluation stopped: the step limit of 7 lines was reached", 3},
      // After its first pass a for-loop runs its passes itself, drawing a pass's steps at once: with
      // fewer left than a pass needs, the lines run one by one again and the same line is refused.
      {"for i = 1:100\nk = i\nend", 10, "Line 2: Evaluation stopped: the step limit of 10 lines was reached",
       5},
      {"for i = 1:100\nk = i\nk = k + 1\nend", 12,
       "Line 3: Evaluation stopped: the step limit of 12 lines was reached", 5},
      // With if and else in the body a pass takes four of the six lines between for and end; a tuned
      // pass checks that the budget holds six, so with fewer the lines run one by one and the same line
      // is refused: pass i = 5 stops at its endfor (20) or at its else (19).
      {"for i = 1:100\nif i > 2\nk = i\nelse\nk = 0\nend\nend", 20,
       "Line 6: Evaluation stopped: the step limit of 20 lines was reached", 5},
      {"for i = 1:100\nif i > 2\nk = i\nelse\nk = 0\nend\nend", 19,
       "Line 3: Evaluation stopped: the step limit of 19 lines was reached", 5},
      // continue goes to the endfor line.
      {"for i = 1:10\nk = i\nif i > 3\ncontinue\nend\nk = 0\nend", 0, kCompletes, 10},
      // The range of an endfor line is evaluated on every pass: n changes the stop from the body.
      {"n = 50\nfor i = 1:n\nk = i\nn = 3\nend", 0, kCompletes, 3},
      // 0 is no limit.
      {"k = 0\nwhile k < 100000\nk = k + 1\nend", 0, kCompletes, 100000},
  };
  for (const auto& c : cases) {
    TZelExpression x;
    x.SetMaxSteps(c.limit);
    x.SetExpressions(c.script);
    EXPECT_EQ(MessageOf([&] { x.EvaluateCompiled(); }), c.message) << c.script << " / " << c.limit;
    EXPECT_EQ(x.GetVarByName("k")->IntegerValue(), c.k) << c.script << " / " << c.limit;
  }
}

TEST(StepLimit, EveryRunStartsWithAFullBudgetButStepsShareOne) {
  TZelExpression x;
  x.SetMaxSteps(2);
  x.SetExpressions("a = 1\nb = 2");
  for (int run = 0; run < 3; ++run) EXPECT_NO_THROW(x.EvaluateCompiled());
  for (int run = 0; run < 3; ++run) EXPECT_NO_THROW(x.Evaluate());
  EXPECT_NO_THROW(x.Evaluate(1));

  // Steps draw on one budget until the host restarts it.
  x.ResetSteps();
  EXPECT_EQ(x.EvaluateStep(0), 1);
  EXPECT_EQ(x.EvaluateStep(1), 2);
  EXPECT_EQ(MessageOf([&] { x.EvaluateStep(0); }),
            "Evaluation stopped: the step limit of 2 lines was reached");
  EXPECT_THROW(x.EvaluateStep(0), EZelEvaluationStopped);
  x.ResetSteps();
  EXPECT_EQ(x.EvaluateStep(0), 1);
}

TEST(Cancel, FromAnotherThreadStopsAnEndlessLoop) {
  TZelExpression x;
  x.SetExpressions(kEndless);
  x.Compile();
  std::thread canceller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    x.RequestCancel();
  });
  const std::string message = MessageOf([&] { x.EvaluateCompiled(); });
  canceller.join();
  // Stopped before one of the loop's lines, with k counting the passes completed so far.
  EXPECT_TRUE(message == "Line 1: Evaluation cancelled" || message == "Line 2: Evaluation cancelled" ||
              message == "Line 3: Evaluation cancelled")
      << message;
  EXPECT_GT(x.GetVarByName("k")->IntegerValue(), 0);
}

TEST(Cancel, RequestStaysUntilCleared) {
  TZelExpression x;
  x.SetExpressions("a = 1\nb = a + 1");
  x.RequestCancel();  // made before the run starts: not lost
  EXPECT_EQ(MessageOf([&] { x.EvaluateCompiled(); }), "Line 0: Evaluation cancelled");
  EXPECT_THROW(x.Evaluate(), EZelEvaluationStopped);
  EXPECT_TRUE(x.CancelRequested());
  x.ClearCancel();
  x.EvaluateCompiled();
  EXPECT_EQ(x.GetVarByName("b")->IntegerValue(), 2);
}

}  // namespace
}  // namespace zel::test
