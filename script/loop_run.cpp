// Tuned for-loops (loop_run.h). Each iteration does what the run loop does for its lines: it draws one
// step per line from the budget (it checks first that the budget holds the most steps an iteration can
// take; when it does not, or a cancel is pending, the run loop takes over and stops at the exact line),
// runs the body lines' chains, following the jumps of if, else, end and continue as the run loop does,
// then the endfor line's own nodes and its step, and keeps each line's result. An error names the line
// it came from. Evaluate and EvaluateStep, which take one line at a time, get one step as before.
#include "script/loop_run.h"

#include <memory>
#include <vector>

#include "script/loop_step.h"
#include "script/native.h"
#include "script/stages.h"

namespace zel {

namespace {

class LoopPlan : public TNodeProgram {
 public:
  TZelExpression* owner = nullptr;
  std::vector<TSingleExpression*> body;  // the body lines in order
  int firstLine = 0;                     // the index of the first body line
  int endLine = 0;                       // the index of the endfor line
  bool straight = true;                  // no jumps in the body: every line runs once an iteration
  TExprRec* prefix = nullptr;            // the endfor line's nodes before the step node, if any
  TExprFunc step = nullptr;              // the step node's own routine
  std::uint64_t lines = 0;               // steps per iteration: the body lines and the endfor line
  TNativeLoopEntry runNative = nullptr;  // whole passes as machine code, when the loop fits
};

// Machine code for whole passes (native.h) when every body line is one fused tree ending in a store and
// the loop steps an integer variable over a constant range; the plan runs it before its own passes.
void PlanNative(TCodeArena& arena, LoopPlan& p, TExprRec& stepNode, std::uint64_t* stepsLeft,
                const bool* cancel) {
  if (!NativeCodeEnabled() || p.step != EndForIntRange || p.prefix || p.body.empty() || !p.straight) return;
  TValueRec& counter = *stepNode.Args[0];
  const TValueRec& range = *stepNode.Args[1];
  if (counter.ValueType() != vtIntegerValue || range.ValueType() != vtRangeValue || range.ExtRange() ||
      !range.IsConstant() || stepNode.Res->ValueType() != vtBoolValue)
    return;
  const std::vector<std::int32_t>& b = range.Range();
  if (b.size() != 2 && b.size() != 3) return;
  TNativeLoop loop;
  loop.step = b.size() == 3 ? b[1] : (b.front() <= b.back() ? 1 : -1);
  if (loop.step == 0) return;
  loop.stop = b.back();
  for (TSingleExpression* line : p.body) {
    if (!line->Rec || line->Rec->Next) return;
    const TScalarTree* tree = FusedTreeOf(*line->Rec);
    if (!tree) return;
    loop.body.push_back(tree);
  }
  loop.counter = &counter;
  loop.stepsLeft = stepsLeft;
  loop.lines = p.lines;
  loop.cancel = cancel;
  loop.result = stepNode.Res;
  p.runNative = CompileNativeLoop(loop, arena);
}

}  // namespace

void TLoopRun::Plan(TZelExpression& x, TSingleExpression& endfor) {
  TExprRec* last = endfor.Rec;
  if (!last) return;
  while (last->Next) last = last->Next;
  if (last->Program || last->OperObj) return;
  auto plan = std::make_unique<LoopPlan>();
  const int count = x.ExprCount();
  int k = endfor.NextLineIndex;
  for (; k >= 0 && k < count && &x.fExprList.At(k) != &endfor; ++k) plan->body.push_back(&x.fExprList.At(k));
  if (k < 0 || k >= count) return;
  // Jumps of if, else, end and continue lines go forward and stay within the iteration (to the endfor
  // line at most), so each line runs at most once an iteration; loops, break and backward jumps do not
  // fit.
  for (int i = 0; i < static_cast<int>(plan->body.size()); ++i) {
    const TSingleExpression& line = *plan->body[i];
    const int at = endfor.NextLineIndex + i;
    const auto inside = [&](int target) { return target > at && target <= k; };
    switch (line.FlowKeyword) {
      case eccNone:
        if (line.FlowControl == efcNone && line.Rec) continue;
        break;
      case eccIf:
      case eccElse:
      case eccEnd:
      case eccContinue:
        break;
      default:
        return;
    }
    if (!inside(line.NextLineIndex) ||
        (line.FlowControl == efcConditionalJump && !inside(line.JumpLineIndex)))
      return;
    plan->straight = false;
  }
  plan->owner = &x;
  plan->firstLine = endfor.NextLineIndex;
  plan->endLine = k;
  plan->prefix = endfor.Rec == last ? nullptr : endfor.Rec;
  plan->step = last->Oper;
  plan->lines = plan->body.size() + 1;
  static_assert(sizeof(std::atomic<bool>) == sizeof(bool) && std::atomic<bool>::is_always_lock_free);
  PlanNative(x.CodeArena(), *plan, *last, &x.fStepsLeft, reinterpret_cast<const bool*>(&x.fCancel));
  last->Program = std::move(plan);
  last->Oper = Routine;
}

void TLoopRun::Routine(TExprRec& e) {
  auto& p = static_cast<LoopPlan&>(*e.Program);
  TZelExpression& x = *p.owner;
  p.step(e);
  if (!x.fInRun || !x.fIsCompiled) return;
  // Whole passes as machine code; it returns having written everything back, or 0 when a guard failed.
  if (p.runNative && e.Oper == Routine && e.Res->BoolValue() && p.runNative()) return;
  // The step routine may give the node back to the generic one (a type changed): the run loop goes on.
  while (e.Oper == Routine && e.Res->BoolValue()) {
    if (x.fStepsLeft < p.lines || x.fCancel.load(std::memory_order_relaxed)) return;
    x.fStepsLeft -= p.lines;
    int at = p.firstLine;
    try {
      if (p.straight) {
        for (TSingleExpression* line : p.body) {
          line->Res = RunList(line->Rec);
          ++at;
        }
      } else {
        // Lines skipped so far get their chain and their tuning on their first run, as in EvaluateLine;
        // the steps not taken go back to the budget.
        std::uint64_t skipped = p.lines - 1;
        while (at != p.endLine) {
          TSingleExpression& line = *p.body[at - p.firstLine];
          if (!line.Rec) [[unlikely]]
            x.CreateExprRec(line);
          line.Res = RunList(line.Rec);
          if (!line.Tuned) [[unlikely]]
            x.Tune(line);
          --skipped;
          at = line.FlowControl == efcConditionalJump && !line.Res->Res->BoolValue() ? line.JumpLineIndex
                                                                                     : line.NextLineIndex;
        }
        x.fStepsLeft += skipped;
      }
      for (TExprRec* n = p.prefix; n && n != &e; n = n->Next) n->Oper(*n);
    } catch (...) {
      x.fFailedLine = at;
      throw;
    }
    // The common integer step inline; when its guard fails, the routine it belongs to takes over.
    if (p.step != EndForIntRange || !StepIntRange(e)) p.step(e);
  }
}

}  // namespace zel
