// One-pass element-wise chains: a tree of real element-wise nodes (`a .* b + c`, `(x - 1) ./ y`, `-a`)
// evaluated by its root node as one block-by-block program (core/chainmath.h) instead of node by node,
// written straight into the assigned variable where the root's result may go there (direct.h).
//
// The families register the typed routines that compute such results (a routine and the chain operation
// that gives the same element values); the optimiser that tunes a line (script/fuse_elementwise.cpp)
// picks the trees and hands their nodes to FuseElementwiseNodes. Every evaluation the root checks that
// the operands still are what the program computes (real arrays of the tuned type, all of one shape,
// real scalars) and that its destination takes the result as it stands; otherwise it runs the nodes'
// own routines in chain order, which size results, copy and raise their messages as always.
#pragma once

#include <initializer_list>
#include <span>

#include "core/chainmath.h"
#include "lang/words/words.h"

namespace zel {

// Where a registered routine finds its operands.
enum class TChainForm : std::uint8_t {
  kArrays,         // array Args[0] op array Args[1]
  kArrayScalar,    // array Args[0] op scalar Args[1]
  kScalarArray,    // scalar Args[0] with array Args[1]: the step's x is the array
  kArrayConstant,  // array Args[0] op the row's constant (unary minus: x · −1)
};

// A typed routine whose real result is, element for element, the chain operation `op` of its operands.
struct TChainRoutine {
  TExprFunc routine;
  TChainOp op;
  TChainForm form;
  double constant = 0;
};

// Enters the rows (at static initialisation, next to the routines); returns true.
bool RegisterChainRoutines(std::initializer_list<TChainRoutine> rows);
// The row of a routine, or null.
const TChainRoutine* FindChainRoutine(TExprFunc routine);

// Makes the nodes one program on the last of them, the root, when they form a tree of registered
// routines over real arrays of one type (each node but the root consumed by another of them, given in
// chain order with nothing else evaluated between them); returns false and changes nothing otherwise.
bool FuseElementwiseNodes(std::span<TExprRec* const> nodes);

// The routine of a fused root (its program in Program).
void RunElementwiseChain(TExprRec& root);
// The routine of the other fused nodes: the root computes their part.
void ComputedByChain(TExprRec& node);

}  // namespace zel
