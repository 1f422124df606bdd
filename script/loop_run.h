// Tuned for-loops: once a loop whose body has no loop or break inside (if, else and continue may be)
// has run its first iteration, its endfor node runs the further iterations itself while EvaluateRun is
// running, without going back to the run loop between lines. Internal to the script layer.
#pragma once

#include "script/expression.h"

namespace zel {

struct TLoopRun {
  // Attaches the loop's plan to the step node of an endfor line that has run once, when the body fits.
  static void Plan(TZelExpression& x, TSingleExpression& endfor);
  // The step node's routine while the plan is attached.
  static void Routine(TExprRec& e);
};

}  // namespace zel
