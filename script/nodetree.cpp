// Owned node trees: building blocks for the tree builder and the folder, and the conversions to and from
// the raw trees of TZelExpression's public tree methods. Trees can be as deep as a line is long, so every
// walk here uses an explicit stack.
#include <algorithm>
#include <utility>

#include "script/stages.h"

namespace zel {

TNodeTree TNodeTree::Operand(TExprWord* word) {
  TNodeTree tree;
  tree.operand = word;
  return tree;
}

// Moves keep at most one owner of an operand: the source forgets it.
TNodeTree::TNodeTree(TNodeTree&& other) noexcept
    : node(std::move(other.node)),
      args(std::move(other.args)),
      operand(std::exchange(other.operand, nullptr)) {}

TNodeTree& TNodeTree::operator=(TNodeTree&& other) noexcept {
  if (this != &other) {
    node = std::move(other.node);
    args = std::move(other.args);
    operand = std::exchange(other.operand, nullptr);
  }
  return *this;
}

TNodeTree::~TNodeTree() {
  if (args.empty()) return;
  // Sub-trees are moved onto the stack before their parent dies, so every destructor that runs finds
  // its own argument list empty and returns at once.
  std::vector<TNodeTree> stack = std::move(args);
  while (!stack.empty()) {
    TNodeTree last = std::move(stack.back());
    stack.pop_back();
    for (TNodeTree& child : last.args)
      if (child.node || !child.args.empty()) stack.push_back(std::move(child));
  }
}

// Two argument slots serve operators and leaves; calls resize to their argument count (ResizeArgs) and
// SetArg grows a node that needs more.
TNodeTree NewNode() { return TNodeTree(std::make_unique<TExprRec>(2)); }

std::unique_ptr<TExprRec> OperandNode(TExprWord* word) {
  auto node = std::make_unique<TExprRec>(1);
  node->ExprWord = word;
  node->Oper = word->Func();
  node->Args[0] = word->VRec();
  node->ArgCount = 0;
  return node;
}

void SetArg(TNodeTree& parent, size_t k, TNodeTree child) {
  if (parent.args.size() <= k) {
    // Operators take one or two arguments: one allocation serves both.
    if (parent.args.capacity() <= k) parent.args.reserve(std::max<size_t>(k + 1, 2));
    parent.args.resize(k + 1);
  }
  TExprRec& node = *parent.node;
  if (node.ArgList.size() <= k) {
    node.ArgList.resize(k + 1, nullptr);
    node.Args.resize(k + 1, nullptr);
  }
  node.ArgList[k] = child.node.get();
  if (child.operand) node.Args[k] = child.operand->VRec();
  parent.args[k] = std::move(child);
}

void ResizeArgs(TNodeTree& tree, int n) {
  tree.node->ResizeArgs(n);
  tree.args.clear();
  tree.args.reserve(static_cast<size_t>(n));
}

TNodeTree AdoptTree(TExprRec* root) {
  TNodeTree tree(std::unique_ptr<TExprRec>{root});
  // Each entry is a tree that owns its node but has not taken the node's children yet.
  std::vector<TNodeTree*> stack;
  if (root) stack.push_back(&tree);
  while (!stack.empty()) {
    TNodeTree& t = *stack.back();
    stack.pop_back();
    const std::vector<TExprRec*>& children = t.node->ArgList;
    size_t n = children.size();
    while (n > 0 && !children[n - 1]) --n;
    t.args.reserve(n);
    for (size_t k = 0; k < n; ++k) t.args.emplace_back(std::unique_ptr<TExprRec>{children[k]});
    // The argument vector is complete: pointers into it stay valid.
    for (TNodeTree& child : t.args)
      if (child.node) stack.push_back(&child);
  }
  return tree;
}

TExprRec* ReleaseTree(TNodeTree tree) {
  if (!tree.node && tree.operand) tree.node = OperandNode(tree.operand);
  // First every operand argument gets its node (this can fail, and the tree still owns everything),
  // then the nodes are released: their ArgList already refers to the children.
  std::vector<TNodeTree*> stack{&tree};
  while (!stack.empty()) {
    TNodeTree& t = *stack.back();
    stack.pop_back();
    for (size_t k = 0; k < t.args.size(); ++k) {
      TNodeTree& child = t.args[k];
      if (!child.node && child.operand) {
        child.node = OperandNode(child.operand);
        t.node->ArgList[k] = child.node.get();
      }
      if (child.node) stack.push_back(&child);
    }
  }
  TExprRec* root = tree.node.get();
  stack.push_back(&tree);
  while (!stack.empty()) {
    TNodeTree& t = *stack.back();
    stack.pop_back();
    static_cast<void>(t.node.release());
    for (TNodeTree& child : t.args) stack.push_back(&child);
  }
  return root;
}

TExprRec* ReleaseChain(TNodeChain chain) {
  TExprRec* first = chain.empty() ? nullptr : chain.front().get();
  for (std::unique_ptr<TExprRec>& node : chain) static_cast<void>(node.release());
  return first;
}

}  // namespace zel
