// A component that binds an expression object to a context (a script and its variables) for repeated
// recalculation: a host sets the context once and calls Recalculate whenever it needs the result again.
#pragma once

#include <string>

#include "core/component.h"
#include "script/expression.h"

namespace zel {

class TZelFunctionEvaluator : public TZelComponent {
 public:
  TZelFunctionEvaluator() = default;

  // The evaluator's own copy of the context.
  const TExprContext& Context() const { return fContext; }
  // Copies the context (values are copied, never shared with the source's) and loads it.
  void SetContext(const TExprContext& context);
  // The expression object that runs the context.
  TZelExpression& Expressions() { return fExpr; }

  // Loads the context afresh (so every run starts from the context's values) and evaluates every line;
  // the value of the last line.
  TValueRec* Recalculate();
  // The text of the last line's result ("" before the first recalculation).
  std::string ResultAsString() const;

  // Saves and loads the script text of the context as the property "Expression".
  void WriteProperties(TProperties& dst) const override;
  void ReadProperties(const TProperties& src) override;
  std::string ClassName() const override { return "TZelFunctionEvaluator"; }

 private:
  TZelExpression fExpr;
  TExprContext fContext;
};

}  // namespace zel
