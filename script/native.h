// Machine code for fused trees of real scalar operations: what the scalar optimiser (fuse_scalar.cpp)
// hands to the code generator (native_x64.cpp), and what it gets back.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <vector>

#include "lang/operators/scalar_ops.h"

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
  double* result = nullptr;           // the root's double (for a store, the variable's)
  TExprRec* carrier = nullptr;        // the node whose routine the code becomes
  TExprFunc onGuardFailed = nullptr;  // run instead, with the carrier, when a guard fails
  TExprFunc onRaised = nullptr;       // run with the carrier after a kernel raised
};

// Executable code that owns its memory; its entry is a node routine.
class TNativeCode {
 public:
  virtual ~TNativeCode() = default;
  TExprFunc entry = nullptr;
};

// Compiles the tree into a routine for the carrier: the guards, then every term in the order and with
// the IEEE operations the nodes perform, then the store of the root's value. Null where no code can be
// made (another processor, memory that cannot be made executable).
std::unique_ptr<TNativeCode> CompileNative(const TScalarTree& tree, TKernelErrors& errors,
                                           const TNativeTarget& target);

}  // namespace zel
