// Constant folding: a sub-tree without variables and varying functions is evaluated once at compile time
// and replaced by a node of a new nameless constant word, which the constant list keeps.
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
  if (!tree.node) return tree;
  if (CanVary(tree.node.get())) {
    // Below a variable or varying function only the constant sub-trees fold.
    for (size_t k = 0; k < tree.args.size(); ++k)
      if (tree.args[k].node) SetArg(tree, k, FoldConstants(s, std::move(tree.args[k])));
    return tree;
  }
  if (tree.node->ExprWord && IsKind(tree.node->ExprWord, kOperandKinds)) return tree;

  std::unique_ptr<TExprWord> constant;
  {
    const TNodeChain chain = Flatten(std::move(tree));
    constant = ConstantOf(*RunList(chain.front().get())->Res);
  }  // the evaluated nodes are freed here
  TExprWord* word = constant.get();
  s.constants.Append(std::move(constant));
  return ConstantNode(word);
}

}  // namespace zel
