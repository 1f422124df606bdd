// Picks the element-wise trees of a tuned line for one-pass evaluation (lang/operators/elementwise_chain.h).
//
// A tree is a run of consecutive nodes in the chain whose routines are registered element-wise ones,
// each consumed by a later node of the run; the last is the root. Keeping the run consecutive means no
// other node runs between the first of them and the root, so the root, reading every operand when it
// runs, reads what the nodes would have read. Walking the chain backwards from each root and taking
// nodes while they feed the run gives the largest such tree; the walk stops at the first node that does
// not (a function call, a node consumed elsewhere), and a new run may start there.
#include <algorithm>
#include <vector>

#include "lang/operators/elementwise_chain.h"
#include "script/stages.h"

namespace zel {

namespace {

// Longest run made into one program; a longer tree becomes several.
constexpr std::size_t kMaxRun = 64;

// True for a node whose routine the chains can compute and that no other optimiser has taken.
bool Fusable(const TExprRec& node) { return !node.Program && FindChainRoutine(node.Oper); }

}  // namespace

void FuseElementwiseChains(TSingleExpression& line) {
  std::vector<TExprRec*> chain;
  for (TExprRec* n = line.Rec; n; n = n->Next) chain.push_back(n);
  std::vector<TExprRec*> run;
  for (std::size_t end = chain.size(); end > 0;) {
    std::size_t first = end - 1;
    if (!Fusable(*chain[first])) {
      end = first;
      continue;
    }
    run.assign(1, chain[first]);
    while (first > 0 && run.size() < kMaxRun && Fusable(*chain[first - 1]) &&
           std::find(run.begin(), run.end(), chain[first - 1]->Consumer) != run.end())
      run.push_back(chain[--first]);
    std::reverse(run.begin(), run.end());
    FuseElementwiseNodes(run);
    end = first;
  }
}

}  // namespace zel
