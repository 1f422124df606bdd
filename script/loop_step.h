// The typed step of a for-loop over an integer range with an integer loop variable, shared by the endfor
// routine (keywords.cpp) and the tuned loop (loop_run.cpp), which runs it inline.
#pragma once

#include "script/expression.h"

namespace zel {

// Steps the loop variable and tests it against the range's stop, reading the bounds straight from the
// range record (a folded range is a constant; an expression's range is the one just evaluated on the
// endfor line). False, with nothing changed, when a type is no longer what the first run gave.
inline bool StepIntRange(TExprRec& e) {
  TValueRec& i = *e.Args[0];
  const TValueRec& r = *e.Args[1];
  const std::vector<std::int32_t>& b = r.Range();
  if (i.ValueType() != vtIntegerValue || r.ValueType() != vtRangeValue || r.ExtRange() ||
      e.Res->ValueType() != vtBoolValue || (b.size() != 2 && b.size() != 3)) [[unlikely]]
    return false;
  const std::int32_t stop = b.back();
  std::int64_t step = b.front() <= stop ? 1 : -1;
  if (b.size() == 3) {
    if (b[1] == 0) [[unlikely]]
      ERaise("Invalid Range specification with zero step!");
    step = b[1];
  }
  const std::int64_t x = i.IntegerValue() + step;
  i.SetIntegerValue(x);
  e.Res->SetBoolValue(step > 0 ? x <= stop : x >= stop);
  return true;
}

// The endfor of a loop over an integer range with an integer loop variable, once the first run has
// given both their types: StepIntRange, or the generic routine when a type has changed under the node.
void EndForIntRange(TExprRec& e);

}  // namespace zel
