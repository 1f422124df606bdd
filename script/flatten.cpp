// Flattening: a folded tree becomes the chain of nodes the run loop walks along Next, children in
// argument order before their parent.
#include "script/stages.h"

namespace zel {

namespace {

// True for the node of a constant or variable.
bool IsOperandNode(const TExprRec& node) { return node.ExprWord && IsKind(node.ExprWord, kOperandKinds); }

// A node whose children are being appended: `next` is the first argument not yet visited.
struct Visit {
  TNodeTree* tree;
  size_t next;
};

// Appends the tree's nodes to the chain, children first. An operand child is freed: its parent reads the
// operand word's value record directly.
void AppendNodes(TNodeTree& root, TNodeChain& chain) {
  std::vector<Visit> stack{{&root, 0}};
  while (!stack.empty()) {
    Visit& v = stack.back();
    TNodeTree& tree = *v.tree;
    TExprRec& node = *tree.node;
    if (v.next < tree.args.size()) {
      const size_t k = v.next++;
      TNodeTree& child = tree.args[k];
      if (!child.node) {
        if (child.operand) node.Args[k] = child.operand->VRec();
        continue;
      }
      node.ArgList[k] = nullptr;
      if (IsOperandNode(*child.node)) {
        node.Args[k] = child.node->Args[0];
        child.node.reset();
      } else {
        node.Args[k] = child.node->Res;  // the node lives on in the chain
        child.node->Consumer = &node;
        stack.push_back({&child, 0});  // invalidates v
      }
      continue;
    }
    node.Next = nullptr;
    if (!chain.empty()) chain.back()->Next = &node;
    chain.push_back(std::move(tree.node));
    stack.pop_back();
  }
}

}  // namespace

TNodeChain Flatten(TNodeTree tree) {
  TNodeChain chain;
  if (!tree.node && tree.operand) tree.node = OperandNode(tree.operand);
  if (!tree.node) return chain;
  if (!tree.node->ExprWord || IsOperandNode(*tree.node)) {
    // A lone operand: nothing to link. Sub-trees it may have are freed, so its ArgList forgets them.
    for (size_t k = 0; k < tree.args.size(); ++k) tree.node->ArgList[k] = nullptr;
    chain.push_back(std::move(tree.node));
    return chain;
  }
  AppendNodes(tree, chain);
  return chain;
}

}  // namespace zel
