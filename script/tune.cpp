// Tuning a line after its first run. The nodes have picked their typed routines by then, so what each
// sub-tree computes and over which types is known; the optimisers below replace stretches of the chain
// that can run faster as a whole. Each keeps the nodes it replaced and a guard, and gives the line back
// its nodes as they were when the guard fails, so tuning never changes a result.
#include "script/code_arena.h"
#include "script/loop_run.h"
#include "script/stages.h"

namespace zel {

void TuneLine(TSingleExpression& line, TCodeArena& arena) {
  line.Tuned = true;
  // Only a chain the line owns may be relinked: a chain a host linked to Rec by hand is freed along Next.
  if (!line.OwnsChain()) return;
  FuseScalarChains(line, arena);
  FuseElementwiseChains(line);
}

TCodeArena& TZelExpression::CodeArena() {
  if (!fCodeArena) fCodeArena = std::make_unique<TCodeArena>();
  return *fCodeArena;
}

void TZelExpression::Tune(TSingleExpression& line) {
  TuneLine(line, CodeArena());
  // The end of a for-loop is the one end line that jumps on a condition (its endfor step's).
  const bool endfor =
      line.FlowKeyword == eccEndFor || (line.FlowKeyword == eccEnd && line.FlowControl == efcConditionalJump);
  if (endfor && line.OwnsChain()) TLoopRun::Plan(*this, line);
}

}  // namespace zel
