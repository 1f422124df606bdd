// Owned node trees: building blocks for the tree builder and the folder, and the conversions to and from
// the raw trees of TZelExpression's public tree methods.
#include <algorithm>

#include "script/stages.h"

namespace zel {

TNodeTree NewNode() { return {std::make_unique<TExprRec>(), {}}; }

void SetArg(TNodeTree& parent, size_t k, TNodeTree child) {
  if (parent.args.size() <= k) {
    // Operators take one or two arguments: one allocation serves both.
    if (parent.args.capacity() <= k) parent.args.reserve(std::max<size_t>(k + 1, 2));
    parent.args.resize(k + 1);
  }
  parent.node->ArgList[k] = child.node.get();
  parent.args[k] = std::move(child);
}

void ResizeArgs(TNodeTree& tree, int n) {
  tree.node->ResizeArgs(n);
  tree.args.clear();
  tree.args.reserve(static_cast<size_t>(n));
}

TNodeTree AdoptTree(TExprRec* root) {
  TNodeTree tree{std::unique_ptr<TExprRec>(root), {}};
  if (!root) return tree;
  size_t n = root->ArgList.size();
  while (n > 0 && !root->ArgList[n - 1]) --n;
  tree.args.reserve(n);
  for (size_t k = 0; k < n; ++k) tree.args.push_back(AdoptTree(root->ArgList[k]));
  return tree;
}

TExprRec* ReleaseTree(TNodeTree tree) {
  for (TNodeTree& child : tree.args) ReleaseTree(std::move(child));
  return tree.node.release();
}

TExprRec* ReleaseChain(TNodeChain chain) {
  TExprRec* first = chain.empty() ? nullptr : chain.front().get();
  for (std::unique_ptr<TExprRec>& node : chain) static_cast<void>(node.release());
  return first;
}

}  // namespace zel
