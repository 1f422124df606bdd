// Machine code for fused trees of real scalar operations: what the scalar optimiser (fuse_scalar.cpp)
// hands to the code generator (native_x64.cpp), and what it gets back.
#pragma once

#include <cstdint>
#include <exception>
#include <vector>

#include "lang/operators/scalar_ops.h"
#include "script/code_arena.h"

namespace zel {

// One operation of a fused tree. Terms are in evaluation order (operands before the terms that read
// them, the root last); an operand is either an earlier term or a value record read directly.
struct TScalarTerm {
  TScalarOp op;
  int child[2] = {-1, -1};
  const TValueRec* leaf[2] = {nullptr, nullptr};
};

// A record whose type must still be `type` for the code to be valid.
struct TScalarGuard {
  const TValueRec* rec;
  TValueType type;
};

struct TScalarTree {
  std::vector<TScalarTerm> terms;
  std::vector<TScalarGuard> guards;
};

// Where compiled code leaves an exception a kernel raised (the first one, for onRaised to rethrow).
struct TKernelErrors {
  bool raised = false;
  std::exception_ptr first;
};

// What the code does with the root's value, and whom it hands over to when it cannot go on.
struct TNativeTarget {
  double* result = nullptr;           // the root's double (for a store, the variable's) ...
  bool* flag = nullptr;               // ... or, for a comparison, the root's bool
  std::int64_t* integer = nullptr;    // for an integer tree, the root's integer (result: its mirror)
  TExprRec* carrier = nullptr;        // the node whose routine the code becomes
  TExprFunc onGuardFailed = nullptr;  // run instead, with the carrier, when a guard fails (or an integer
                                      // operation overflows: the nodes then raise it themselves)
  TExprFunc onRaised = nullptr;       // run with the carrier after a kernel raised
};

// A for-loop whose passes can run as one piece of code: every body line one fused tree ending in a store
// into a double variable, an integer loop variable stepping over a constant range.
struct TNativeLoop {
  std::vector<const TScalarTree*> body;  // in line order
  TValueRec* counter = nullptr;          // the loop variable (integer)
  std::int64_t step = 1, stop = 0;       // of the range
  std::uint64_t* stepsLeft = nullptr;    // the run's budget ...
  std::uint64_t lines = 0;               // ... and what a pass draws from it
  const bool* cancel = nullptr;          // the cancel request (a lock-free atomic's storage)
  TValueRec* result = nullptr;           // the step node's boolean result
};

// Code for a loop that has stepped its variable into a pass: it runs passes while the budget has a
// pass's steps and no cancel is pending, keeping the stored variables and the loop variable in
// registers, and writes them back when it stops. It returns 1 with the result true when it stopped for
// the budget or a cancel (the pass is still to run), 1 with the result false when the range ended, and
// 0 without doing anything when a guard failed. Null when the loop does not fit: calls in a tree (they
// do not preserve registers), trees too high, more than four stored variables.
using TNativeLoopEntry = int (*)();
TNativeLoopEntry CompileNativeLoop(const TNativeLoop& loop, TCodeArena& arena);

// The tree a node runs as machine code (script/fuse_scalar.cpp), or null.
const TScalarTree* FusedTreeOf(const TExprRec& node);

// Compiles the tree into a routine for the carrier, placed in the arena: the guards, then every term in
// the order and with the IEEE operations the nodes perform, then the store of the root's value. Null
// where no code can be made (another processor, memory that cannot be made executable).
TExprFunc CompileNative(const TScalarTree& tree, TKernelErrors& errors, const TNativeTarget& target,
                        TCodeArena& arena);

}  // namespace zel
