// The function evaluator component (see function_evaluator.h).
#include "script/function_evaluator.h"

namespace zel {

void TZelFunctionEvaluator::SetContext(const TExprContext& context) {
  fContext.Assign(context);
  fExpr.LoadContext(fContext);
}

TValueRec* TZelFunctionEvaluator::Recalculate() {
  fExpr.LoadContext(fContext);
  return fExpr.Evaluate();
}

std::string TZelFunctionEvaluator::ResultAsString() const {
  if (fExpr.ExprCount() == 0) return "";
  const TValueRec* result = fExpr.LastResult();
  return result ? result->AsString() : "";
}

void TZelFunctionEvaluator::WriteProperties(TProperties& dst) const {
  TZelComponent::WriteProperties(dst);
  dst.emplace_back("Expression", fContext.Expression());
}

void TZelFunctionEvaluator::ReadProperties(const TProperties& src) {
  TZelComponent::ReadProperties(src);
  if (const std::string* text = FindProperty(src, "Expression")) {
    fContext.SetExpression(*text);
    fExpr.LoadContext(fContext);
  }
}

}  // namespace zel
