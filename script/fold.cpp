// Constant folding: a sub-tree without variables, varying functions and assignments is evaluated once at
// compile time and replaced by a node of a new nameless constant word, which the constant list keeps.
#include <stdexcept>

#include "script/stages.h"

namespace zel {

namespace {

// A nameless constant word holding a copy of the value.
std::unique_ptr<TExprWord> ConstantOf(const TValueRec& v) {
  switch (v.ValueType()) {
    case vtUndefined:
      throw std::runtime_error(
          "The constant elimination procedure was succesfull, but the result of the evaluation has an "
          "undefined "
          "type. Please check, that all functions used also specify type of the result!");
    case vtDoubleValue:
      return std::make_unique<TExprDoubleConstant>("", v.DoubleValue());
    case vtRangeValue:
      if (v.ExtRange()) return std::make_unique<TExprExtRangeConstant>("", *v.ExtRangeValue());
      return std::make_unique<TExprRangeConstant>("", v.Range());
    case vtString:
      return std::make_unique<TExprStringConstant>("", "", v.StringValue());
    case vtComplexValue:
      return std::make_unique<TExprComplexConstant>("", v.ComplexValue());
    case vtVectorValue:
      return std::make_unique<TExprVectorConstant>("", const_cast<TValueRec&>(v).VectorValue());
    case vtIntegerValue:
      return std::make_unique<TExprIntegerConstant>("", v.IntegerValue());
    case vtIntVectorValue:
      return std::make_unique<TExprIntVectorConstant>("", const_cast<TValueRec&>(v).IntVectorValue());
    case vtIntMatrixValue:
      return std::make_unique<TExprIntMatrixConstant>("", v.IntMatrixValue());
    case vtBoolValue:
      return std::make_unique<TExprBoolConstant>("", v.BoolValue());
    case vtBoolVectorValue:
      return std::make_unique<TExprBoolVectorConstant>("", v.BoolVectorValue());
    case vtBoolMatrixValue:
      return std::make_unique<TExprBoolMatrixConstant>("", v.BoolMatrixValue());
    case vtMatrixValue:
      return std::make_unique<TExprMatrixConstant>("", v.MatrixValue());
    default:
      throw std::runtime_error(std::string("TZelExpression.RemoveConstants: Unexpected type: ") +
                               ValTypeName(v.ValueType()));
  }
}

// A node that evaluates a constant word.
TNodeTree ConstantNode(TExprWord* word) {
  TNodeTree tree = NewNode();
  TExprRec& node = *tree.node;
  node.ExprWord = word;
  node.Oper = word->Func();
  node.ResizeArgs(1);
  node.Args[0] = word->VRec();
  return tree;
}

}  // namespace

TNodeTree FoldConstants(TCompileState& s, TNodeTree tree) {
  if (!tree.Present()) return tree;
  // The nodes in pre-order (so a sub-tree is the range [i, i + size[i])), with their parent and slot.
  std::vector<TNodeTree*> nodes;
  std::vector<size_t> parent, slot;
  {
    std::vector<std::pair<TNodeTree*, std::pair<size_t, size_t>>> stack{{&tree, {0, 0}}};
    while (!stack.empty()) {
      const auto [t, place] = stack.back();
      stack.pop_back();
      const size_t index = nodes.size();
      nodes.push_back(t);
      parent.push_back(place.first);
      slot.push_back(place.second);
      for (size_t k = t->args.size(); k-- > 0;)
        if (t->args[k].Present()) stack.push_back({&t->args[k], {index, k}});
    }
  }
  // Children come after their parent: one backward pass gives every sub-tree's size and whether it
  // contains a variable, a varying function or an assignment (which is never run at compile time).
  const size_t n = nodes.size();
  std::vector<size_t> size(n, 1);
  std::vector<char> varies(n, 0);
  for (size_t i = n; i-- > 0;) {
    const TExprWord* w = nodes[i]->Word();
    if (w && (IsKind(w, ltVariable | ltVaryingFunction) || WritesFirstArgument(s.words, w))) varies[i] = 1;
    if (i == 0) break;  // the root has no parent
    size[parent[i]] += size[i];
    if (varies[i]) varies[parent[i]] = 1;
  }
  // Top down, left to right: the largest constant sub-trees below varying nodes are evaluated once and
  // replaced by a node of a new constant word.
  for (size_t i = 0; i < n;) {
    const TExprWord* w = nodes[i]->Word();
    if (varies[i]) {
      ++i;  // only its constant sub-trees fold
      continue;
    }
    if (w && IsKind(w, kOperandKinds)) {
      i += size[i];
      continue;
    }
    std::unique_ptr<TExprWord> constant;
    {
      const TNodeChain chain = Flatten(std::move(*nodes[i]));
      constant = ConstantOf(*RunList(chain.front().get())->Res);
    }  // the evaluated nodes are freed here
    TExprWord* word = constant.get();
    s.constants.Append(std::move(constant));
    if (i == 0) return ConstantNode(word);
    SetArg(*nodes[parent[i]], slot[i], TNodeTree::Operand(word));
    i += size[i];
  }
  return tree;
}

}  // namespace zel
