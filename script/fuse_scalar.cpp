// The scalar optimiser: after a line's first run, each stretch of its chain that computes a tree of real
// scalars (the routines registered in lang/operators/scalar_ops.h, ending perhaps in the store into a
// double variable) becomes one call of machine code that reads the variables' storage, keeps the
// intermediate values in registers and returns the root's value; no node result record is written
// on the way. The first node of the stretch carries the code (TExprRec::Program) and is linked past the
// others to the node after the stretch's root.
//
// The guard checks what the replaced routines check. The arithmetic routines, once picked, read the double
// (or an exponent's integer) field of their operands whatever the operands' types, and never pick again;
// the code reads the same fields, so it needs no check there. The store of a double into a double
// variable checks both type tags and hands over to the generic assignment when one differs: the code
// checks the same tags (the variable's, and the source's when it is a record) and, when one differs,
// the carrier gives the chain back its nodes and the line runs node by node from then on.
#include <algorithm>
#include <atomic>
#include <memory>
#include <utility>
#include <vector>

#include "script/expression.h"
#include "script/native.h"
#include "script/stages.h"

namespace zel {

namespace {

std::atomic<bool> gNativeCode{true};

// What the carrier node holds: the code, the nodes it stands for and where the value goes.
class FusedScalars : public TNodeProgram {
 public:
  TKernelErrors errors;
  TScalarTree tree;               // what the code computes (for loops that compile whole passes)
  TExprFunc entry = nullptr;      // the code, in the expression object's arena
  TExprFunc savedOper = nullptr;  // the carrier's own routine
  TExprRec* savedNext = nullptr;  // the carrier's place in the chain
  TValueRec* savedRes = nullptr;  // the carrier's result (while fused, the root's: the line's result)
  TExprRec* root = nullptr;       // the last node of the stretch
  TValueRec* store = nullptr;     // the variable a store at the root assigns, else null
};

// Gives the chain back its nodes and runs the carrier's own routine; the run loop goes on along the
// restored links.
void Unfuse(TExprRec& e) {
  auto& p = static_cast<FusedScalars&>(*e.Program);
  const TExprFunc own = p.savedOper;
  e.Oper = own;
  e.Next = p.savedNext;
  e.Res = p.savedRes;
  e.Program.reset();
  own(e);
}

// Raises the exception a kernel raised while the code ran; nothing was stored.
void RaiseKept(TExprRec& e) {
  auto& p = static_cast<FusedScalars&>(*e.Program);
  p.errors.raised = false;
  std::rethrow_exception(std::exchange(p.errors.first, nullptr));
}

// The chain of one line with what the optimiser knows of each node.
struct Chain {
  std::vector<TExprRec*> nodes;
  std::vector<const TScalarOp*> ops;  // the node's scalar operation, null when it cannot be fused
  std::vector<int> args[2];           // the chain position of the node computing each operand, or -1
};

// A node can join a fused tree when its routine is a registered scalar one, it has nothing attached
// and its result is a double (a bool for a comparison).
const TScalarOp* FusableOp(const TExprRec& n) {
  if (n.Program || n.OperObj || !n.Res) return nullptr;
  const TScalarOp* op = FindScalarOp(n.Oper);
  if (!op || n.ArgCount != ScalarOpArity(op->kind) || static_cast<int>(n.Args.size()) < n.ArgCount)
    return nullptr;
  const TValueType result = IsScalarComparison(op->kind) ? vtBoolValue
                            : IsScalarInteger(op->kind)  ? vtIntegerValue
                                                         : vtDoubleValue;
  if (n.Res->ValueType() != result) return nullptr;
  // The integer store reads a bool source as a bool; the code reads integers only.
  if (op->kind == TScalarOpKind::IntStore && n.Args[1]->ValueType() != vtIntegerValue) return nullptr;
  for (int k = 0; k < n.ArgCount; ++k)
    if (!n.Args[k]) return nullptr;
  return op;
}

// The chain's nodes and, for each operand, the earlier node that computes it for this node (its
// result record is the operand and this node is its consumer).
Chain ReadChain(TExprRec* first) {
  Chain c;
  for (TExprRec* n = first; n; n = n->Next) c.nodes.push_back(n);
  const int count = static_cast<int>(c.nodes.size());
  // Result records to chain positions, sorted for lookups.
  std::vector<std::pair<const TValueRec*, int>> byResult;
  byResult.reserve(count);
  for (int i = 0; i < count; ++i) byResult.emplace_back(c.nodes[i]->tmpRes.get(), i);
  std::sort(byResult.begin(), byResult.end());
  c.ops.reserve(count);
  for (int k = 0; k < 2; ++k) c.args[k].reserve(count);
  for (int i = 0; i < count; ++i) {
    const TExprRec* n = c.nodes[i];
    c.ops.push_back(FusableOp(*n));
    for (int k = 0; k < 2; ++k) {
      int from = -1;
      if (k < n->ArgCount && k < static_cast<int>(n->Args.size()) && n->Args[k]) {
        const std::pair<const TValueRec*, int> key{n->Args[k], -1};
        const auto it = std::lower_bound(byResult.begin(), byResult.end(), key);
        if (it != byResult.end() && it->first == n->Args[k] && it->second < i &&
            c.nodes[it->second]->Consumer == n)
          from = it->second;
      }
      c.args[k].push_back(from);
    }
  }
  return c;
}

// Trees at most this high are fused (code generation recurses along a tree's height).
constexpr int kMaxHeight = 200;

// True when operand k of node i is computed by a node that can be fused into it.
bool FusedOperand(const Chain& c, int i, int k) {
  const int j = c.args[k][i];
  // A comparison's bool is never an operand of the code, and a tree is all integer or all real.
  if (j < 0 || !c.ops[j] || IsScalarComparison(c.ops[j]->kind)) return false;
  const TScalarOpKind kind = c.ops[i]->kind;
  if (IsScalarInteger(kind) != IsScalarInteger(c.ops[j]->kind)) return false;
  // The exponent of an integer power and the target of a store are records, never fused values.
  if (k == 1 && kind == TScalarOpKind::IntPow) return false;
  if (k == 0 && IsScalarStore(kind)) return false;
  return true;
}

// Appends the tree under node i (operands first) and its guards; returns the term index of node i.
int AddTerms(const Chain& c, int i, TScalarTree& tree, std::vector<int>& members) {
  const TScalarOp& op = *c.ops[i];
  TScalarTerm t;
  t.op = op;
  const TExprRec& n = *c.nodes[i];
  for (int k = 0; k < ScalarOpArity(op.kind); ++k) {
    if (FusedOperand(c, i, k)) {
      t.child[k] = AddTerms(c, c.args[k][i], tree, members);
      continue;
    }
    const TValueRec* rec = n.Args[k];
    t.leaf[k] = rec;
    // A constant's type never changes; a record is guarded once (a store has at most two).
    if (IsScalarStore(op.kind) && !rec->IsConstant() &&
        std::none_of(tree.guards.begin(), tree.guards.end(),
                     [&](const TScalarGuard& g) { return g.rec == rec; }))
      tree.guards.push_back({rec, rec->ValueType()});
  }
  members.push_back(i);
  tree.terms.push_back(t);
  return static_cast<int>(tree.terms.size()) - 1;
}

// Fuses the tree whose root is node i when its nodes are one unbroken stretch of the chain ending at
// i (so nothing else runs between them and moving them into one call changes no order); otherwise
// tries the trees of its operands.
void FuseTree(Chain& c, int i, TCodeArena& arena) {
  TScalarTree tree;
  std::vector<int> members;
  AddTerms(c, i, tree, members);
  const int first = i - static_cast<int>(members.size()) + 1;
  bool unbroken = first >= 0;
  for (int m : members) unbroken = unbroken && m >= first && m <= i;
  if (!unbroken) {
    for (int k = 0; k < 2; ++k)
      if (k < ScalarOpArity(c.ops[i]->kind) && FusedOperand(c, i, k)) FuseTree(c, c.args[k][i], arena);
    return;
  }
  if (members.size() < 2) return;  // a lone node gains nothing
  TExprRec& carrier = *c.nodes[first];
  TExprRec& root = *c.nodes[i];
  // The root's result record (for a store, the variable: the store made it the node's result).
  TValueRec* result = root.Res;
  if (IsScalarStore(c.ops[i]->kind) && result != root.Args[0]) return;
  auto p = std::make_unique<FusedScalars>();
  const bool comparison = IsScalarComparison(c.ops[i]->kind);
  const bool integer = IsScalarInteger(c.ops[i]->kind);
  p->entry =
      CompileNative(tree, p->errors,
                    {comparison ? nullptr : result->DoubleField(), comparison ? result->BoolField() : nullptr,
                     integer ? result->IntegerField() : nullptr, &carrier, Unfuse, RaiseKept},
                    arena);
  if (!p->entry) return;
  p->tree = std::move(tree);
  p->savedOper = carrier.Oper;
  p->savedNext = carrier.Next;
  p->savedRes = carrier.Res;
  carrier.Next = root.Next;
  carrier.Res = root.Res;  // the run loop takes the last node's result as the line's
  carrier.Oper = p->entry;
  carrier.Program = std::move(p);
}

}  // namespace

const TScalarTree* FusedTreeOf(const TExprRec& node) {
  const auto* p = dynamic_cast<const FusedScalars*>(node.Program.get());
  return p && node.Oper == p->entry ? &p->tree : nullptr;
}

void SetNativeCode(bool enabled) { gNativeCode.store(enabled, std::memory_order_relaxed); }
bool NativeCodeEnabled() { return gNativeCode.load(std::memory_order_relaxed); }

void FuseScalarChains(TSingleExpression& line, TCodeArena& arena) {
  if (!NativeCodeEnabled()) return;
  Chain c = ReadChain(line.Rec);
  const int n = static_cast<int>(c.nodes.size());
  // Heights (operands come first in the chain); a node above the limit is left out, so the trees
  // below it are fused on their own.
  std::vector<int> height(n, 1);
  std::vector<bool> inner(n, false);
  for (int i = 0; i < n; ++i) {
    if (!c.ops[i]) continue;
    for (int k = 0; k < 2; ++k)
      if (k < ScalarOpArity(c.ops[i]->kind) && FusedOperand(c, i, k))
        height[i] = std::max(height[i], height[c.args[k][i]] + 1);
    if (height[i] > kMaxHeight) c.ops[i] = nullptr;
  }
  for (int i = 0; i < n; ++i)
    for (int k = 0; c.ops[i] && k < ScalarOpArity(c.ops[i]->kind); ++k)
      if (FusedOperand(c, i, k)) inner[c.args[k][i]] = true;
  // Roots: fusable nodes whose consumer does not fuse them, from the end of the chain.
  for (int i = n - 1; i >= 0; --i)
    if (c.ops[i] && !inner[i]) FuseTree(c, i, arena);
}

}  // namespace zel
