// Flattening: a folded tree becomes the chain of nodes the run loop walks along Next, children in
// argument order before their parent.
#include "script/stages.h"

namespace zel {

namespace {

// True for the node of a constant or variable.
bool IsOperandNode(const TExprRec& node) { return node.ExprWord && IsKind(node.ExprWord, kOperandKinds); }

// Number of nodes in the tree (an upper bound of the chain's length).
size_t CountNodes(const TNodeTree& tree) {
  size_t n = 1;
  for (const TNodeTree& child : tree.args)
    if (child.node) n += CountNodes(child);
  return n;
}

// Appends the tree's nodes to the chain, children first. An operand child is freed: its parent reads the
// operand word's value record directly.
void AppendNodes(TNodeTree& tree, TNodeChain& chain) {
  TExprRec& node = *tree.node;
  for (size_t k = 0; k < tree.args.size(); ++k) {
    TNodeTree& child = tree.args[k];
    if (!child.node) continue;
    if (IsOperandNode(*child.node)) {
      node.Args[k] = child.node->Args[0];
      child.node.reset();
    } else {
      const TExprRec& childNode = *child.node;
      AppendNodes(child, chain);
      node.Args[k] = childNode.Res;
    }
    node.ArgList[k] = nullptr;
  }
  node.Next = nullptr;
  if (!chain.empty()) chain.back()->Next = &node;
  chain.push_back(std::move(tree.node));
}

}  // namespace

TNodeChain Flatten(TNodeTree tree) {
  TNodeChain chain;
  if (!tree.node) return chain;
  if (!tree.node->ExprWord || IsOperandNode(*tree.node)) {
    // A lone operand: nothing to link. Sub-trees it may have are freed, so its ArgList forgets them.
    for (size_t k = 0; k < tree.args.size(); ++k) tree.node->ArgList[k] = nullptr;
    chain.push_back(std::move(tree.node));
    return chain;
  }
  chain.reserve(CountNodes(tree));
  AppendNodes(tree, chain);
  return chain;
}

}  // namespace zel
