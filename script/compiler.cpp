// TZelExpression's compiler methods: thin forwards to the stage functions (script/stages.h) over this
// object's compile state. The tree methods take and return raw trees, converted to and from the owned
// form at this boundary.
#include "script/expression.h"
#include "script/stages.h"

namespace zel {

TCompileState TZelExpression::CompileState() {
  return {*this, fWordList, fConstList, *this, FConstantsAlwaysReal, FOnPreprocessor, nullptr, {}};
}

void TZelExpression::CreateExprWords(TSingleExpression& expr) {
  TCompileState s = CompileState();
  ScanLine(s, expr);
}

std::unique_ptr<TExprWordList> TZelExpression::ParseString(const std::string& text) {
  TCompileState s = CompileState();
  return ParseLine(s, text);
}

void TZelExpression::Preprocessor(TExprWordList& words) {
  TCompileState s = CompileState();
  Preprocess(s, words);
}

void TZelExpression::Check(TExprWordList& words) {
  TCompileState s = CompileState();
  CheckSyntax(s, words);
}

TExprRec* TZelExpression::MakeTree(TExprWordList& words) { return ReleaseTree(BuildTree(words)); }

bool TZelExpression::CheckArguments(const TExprRec* rec) const { return HasAllArguments(rec); }

bool TZelExpression::ResultCanVary(const TExprRec* rec) const { return CanVary(rec); }

TExprRec* TZelExpression::RemoveConstants(TExprRec* rec) {
  TCompileState s = CompileState();
  return ReleaseTree(FoldConstants(s, AdoptTree(rec)));
}

TExprRec* TZelExpression::MakeLinkedList(TExprRec* root) { return ReleaseChain(Flatten(AdoptTree(root))); }

TExprRec* TZelExpression::EvaluateList(TExprRec* rec) { return RunList(rec); }

std::string TZelExpression::EvaluateResultName(const TExprRec* rec) const { return ResultNameOf(*this, rec); }

void TZelExpression::DisposeTree(TExprRec*& rec) {
  std::vector<TExprRec*> stack;
  if (rec) stack.push_back(rec);
  rec = nullptr;
  while (!stack.empty()) {
    const std::unique_ptr<TExprRec> node(stack.back());
    stack.pop_back();
    for (TExprRec* child : node->ArgList)
      if (child) stack.push_back(child);
  }
}

void TZelExpression::CreateExprRec(TSingleExpression& expr) {
  CreateExprWords(expr);
  CreateExprRec2(expr);
}

void TZelExpression::CreateExprRec2(TSingleExpression& expr) {
  TCompileState s = CompileState();
  CompileLine(s, expr);
}

TExprFlowKeyword TZelExpression::EvaluateFlowKeyword(const TExprWordList& words) const {
  return FlowKeywordOf(*this, words);
}

void TZelExpression::DoDeleteWord(TObject*) {
  for (int i = 0; i < ExprCount(); ++i) fExprList[i]->ClearChain();
}

}  // namespace zel
