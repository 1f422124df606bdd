// Compiling and running a script: the run loop of one line's chain, evaluation of every line in order,
// and the program run that follows the jumps of the flow keywords, with the step budget and the cancel
// request checked before every line.
#include <stdexcept>
#include <utility>

#include "script/code_arena.h"
#include "script/expression.h"
#include "script/stages.h"

namespace zel {

void TZelExpression::Compile() {
  fIsCompiled = false;
  TCompileState s = CompileState();
  CompileScript(s, fExprList);
  // Every line has a fresh chain: no code placed before can run again.
  if (fCodeArena) fCodeArena->Reset();
  fIsCompiled = ExprCount() == 1 ? kCompiledOneLine : 1;
}

void TZelExpression::SetMaxSteps(std::uint64_t lines) {
  fMaxSteps = lines;
  ResetSteps();
}

void TZelExpression::RaiseStopped() const {
  if (CancelRequested()) throw EZelEvaluationStopped("Evaluation cancelled");
  throw EZelEvaluationStopped(Fmt("Evaluation stopped: the step limit of %llu lines was reached",
                                  static_cast<unsigned long long>(fMaxSteps)));
}

// The one place every evaluation passes once per line: the stop checks cost a compare, a decrement and a
// relaxed load per line, nothing per node. Inline (every caller is in this file), so running a line is
// the node loop itself.
inline TValueRec* TZelExpression::EvaluateLine(TSingleExpression& line) {
  if (fStepsLeft == 0 || fCancel.load(std::memory_order_relaxed)) [[unlikely]]
    RaiseStopped();
  --fStepsLeft;
  if (!line.Rec) [[unlikely]]
    CreateExprRec(line);
  line.Res = RunList(line.Rec);
  if (!line.Tuned) [[unlikely]]
    Tune(line);
  return line.Res->Res;
}

// The path of a host that evaluates a compiled script again and again: the line loop with the stop
// checks and each line's node loop, nothing else. A one-line script (a formula) skips the line loop.
TValueRec* TZelExpression::Evaluate() {
  if (fIsCompiled == kCompiledOneLine) [[likely]] {
    // EvaluateLine after ResetSteps, whose budget is never 0 (no limit, 0, wraps to UINT64_MAX).
    fStepsLeft = fMaxSteps - 1;
    if (fCancel.load(std::memory_order_relaxed)) [[unlikely]]
      RaiseStopped();
    TSingleExpression& line = fExprList.At(0);
    if (line.Tuned) [[likely]] {
      line.Res = RunList(line.Rec);
      return line.Res->Res;
    }
    return RunFirst(line);
  }
  return EvaluateLines();
}

// A line's first run after compiling (a tuned line has its chain): the chain is made if need be, and the
// line tuned after the run. Kept out of Evaluate so that its short path saves fewer registers.
[[gnu::noinline]] TValueRec* TZelExpression::RunFirst(TSingleExpression& line) {
  if (!line.Rec) CreateExprRec(line);
  line.Res = RunList(line.Rec);
  Tune(line);
  return line.Res->Res;
}

TValueRec* TZelExpression::EvaluateLines() {
  if (!fIsCompiled) [[unlikely]]
    Compile();
  ResetSteps();
  if (ExprCount() == 0) [[unlikely]]
    throw EZelParseError("TZelExpression.Evaluate: No expressions");
  TValueRec* result;
  int k = 0;
  do {
    result = EvaluateLine(fExprList.At(k));
  } while (++k < ExprCount());
  return result;
}

TValueRec* TZelExpression::Evaluate(int index) {
  if (index == -1) return Evaluate();
  if (!fIsCompiled) Compile();
  ResetSteps();
  return EvaluateLine(*fExprList[index]);
}

TValueRec* TZelExpression::EvaluateCompiled() {
  if (!fIsCompiled) Compile();
  return EvaluateRun(0);
}

TValueRec* TZelExpression::EvaluateRun(int line) {
  TValueRec* result = nullptr;
  int n = line;
  const int count = ExprCount();
  ResetSteps();
  // Loops may run their own bodies only inside this run (Evaluate and EvaluateStep take one line at a
  // time); the flag is restored however the run ends.
  struct InRun {
    bool& flag;
    bool was;
    ~InRun() { flag = was; }
  } inRun{fInRun, fInRun};
  fInRun = true;
  fFailedLine = -1;
  try {
    while (static_cast<unsigned>(n) < static_cast<unsigned>(count)) {
      TSingleExpression& x = fExprList.At(n);
      result = EvaluateLine(x);
      n = x.FlowControl == efcConditionalJump && !result->BoolValue() ? x.JumpLineIndex : x.NextLineIndex;
    }
  } catch (const std::exception& e) {
    if (fFailedLine >= 0) n = std::exchange(fFailedLine, -1);
    throw std::runtime_error(Fmt("Line %d: %s", n, e.what()));
  }
  return result;
}

int TZelExpression::EvaluateStep(int line) {
  if (!fIsCompiled) Compile();
  TSingleExpression& x = *fExprList[line];
  const TValueRec* result = EvaluateLine(x);
  return x.FlowControl == efcConditionalJump && !result->BoolValue() ? x.JumpLineIndex : x.NextLineIndex;
}

}  // namespace zel
