// Writing a node's result straight into the variable that an assignment stores it in, so `y = a + b`
// makes one pass over the elements instead of a pass into the node's result and a copy into y.
//
// Nothing is decided at compile time: a variable can be undefined, redefined, resized or rebound by its
// host between two evaluations. At every evaluation the node that computes the source asks Target for
// the variable's object; it gets one only while the assignment that reads it is the typed vector or
// matrix copy and the variable holds an object of the node's result type. The node then asks the core
// whether its result fits that object as it stands (real, double precision, no view, the result's shape,
// no overlap with an operand other than in place: FitsElementwise, FitsProduct), writes there and marks
// the assignment Delivered; the assignment, the next node in the chain, clears the mark and copies
// nothing. In every other case the node writes into its own result and the assignment copies as before.
// Internal to lang/operators.
#pragma once

#include "core/vecmath.h"
#include "lang/operators/dispatch.h"

namespace zel::direct {

// The real vector or matrix object of the variable that e's consumer assigns e's result to, when that
// consumer is the typed copy of a vector into a vector or a matrix into a matrix and the variable holds
// an object of e's result type; null otherwise. Defined next to the assignment routines (assign.cpp).
TNubraVec* Target(const TExprRec& e);

// Tells e's consumer that its variable already holds the result.
inline void MarkDelivered(TExprRec& e) { e.Consumer->Delivered = true; }

// Runs kernel(dst) into Target(e) when the element-wise result of a and b (b null for a real scalar
// operand) fits it, else into e's own result.
template <class Kernel>
void Elementwise(TExprRec& e, const TNubraVec& a, const TNubraVec* b, Kernel&& kernel) {
  if (TNubraVec* y = Target(e); y && FitsElementwise(*y, a, b)) {
    kernel(*y);
    MarkDelivered(e);
    return;
  }
  kernel(e.Res->RealElements());
}

}  // namespace zel::direct
