// The questions the compiler asks of a built tree: are all arguments there, can the result vary, which
// variable does the line assign, and does every assignment write into a variable. Trees can be as deep
// as a line is long, so each walk keeps its own stack.
#include "script/expression.h"
#include "script/stages.h"

namespace zel {

const char* const AssignOperator = "=";
const char* const EqualOperator = "==";

bool HasAllArguments(const TExprRec* rec) {
  if (!rec) return false;
  std::vector<const TExprRec*> stack{rec};
  while (!stack.empty()) {
    const TExprRec* node = stack.back();
    stack.pop_back();
    for (int k = 0; k < node->ArgCount; ++k) {
      const size_t slot = static_cast<size_t>(k);
      if (slot >= node->ArgList.size() || !node->ArgList[slot]) return false;
      stack.push_back(node->ArgList[slot]);
    }
  }
  return true;
}

bool CanVary(const TExprRec* rec) {
  std::vector<const TExprRec*> stack;
  if (rec) stack.push_back(rec);
  while (!stack.empty()) {
    const TExprRec* node = stack.back();
    stack.pop_back();
    if (node->ExprWord && IsKind(node->ExprWord, ltVariable | ltVaryingFunction)) return true;
    for (const TExprRec* child : node->ArgList)
      if (child) stack.push_back(child);
  }
  return false;
}

bool HasAllArguments(const TNodeTree& tree) {
  if (!tree.Present()) return false;
  std::vector<const TNodeTree*> stack{&tree};
  while (!stack.empty()) {
    const TNodeTree& t = *stack.back();
    stack.pop_back();
    if (!t.node) continue;  // an operand
    for (int k = 0; k < t.node->ArgCount; ++k) {
      const size_t slot = static_cast<size_t>(k);
      if (slot >= t.args.size() || !t.args[slot].Present()) return false;
      stack.push_back(&t.args[slot]);
    }
  }
  return true;
}

std::string ResultNameOf(const TSyntaxWords& words, const TNodeTree& tree) {
  const TExprWord* w = tree.Word();
  if (!w) return "";
  if (IsKind(w, kOperandKinds)) return w->Name();
  if (w->Name() == AssignOperator || w == words.ewAssign) {
    const TExprWord* target = tree.args.empty() ? nullptr : tree.args[0].Word();
    return target ? target->Name() : "";
  }
  return "";
}

std::string ResultNameOf(const TSyntaxWords& words, const TExprRec* rec) {
  if (!rec || !rec->ExprWord) return "";
  const TExprWord* w = rec->ExprWord;
  if (IsKind(w, kOperandKinds)) return w->Name();
  if (w->Name() == AssignOperator || w == words.ewAssign) {
    const TExprRec* target = rec->ArgList.empty() ? nullptr : rec->ArgList[0];
    return target && target->ExprWord ? target->ExprWord->Name() : "";
  }
  return "";
}

bool WritesFirstArgument(const TSyntaxWords& words, const TExprWord* word) {
  return word && (word->Name() == AssignOperator || word == words.ewAssign || word == words.ewFor ||
                  word == words.ewEndFor);
}

std::string AssignTargetError(const TExprWord* w) {
  if (!w || !IsKind(w, kOperandKinds | kCallableKinds | ltOperator) || IsKind(w, ltVariable)) return "";
  if (IsKind(w, ltConstant)) {
    // Literals have no name (numbers) or their quoted text as name (strings).
    const std::string& name = w->Name();
    if (name.empty()) return "Cannot assign to the literal " + (w->VRec() ? w->VRec()->AsString() : "");
    if (name[0] == '"') return "Cannot assign to the literal " + name;
    return "Cannot assign to constant \"" + name + "\"";
  }
  return "Cannot assign to the result of \"" + w->Name() + "\"";
}

void CheckAssignTargets(const TSyntaxWords& words, const TNodeTree& tree) {
  std::vector<const TNodeTree*> stack{&tree};
  while (!stack.empty()) {
    const TNodeTree& t = *stack.back();
    stack.pop_back();
    if (!t.node) continue;  // an operand or a missing argument
    if (WritesFirstArgument(words, t.node->ExprWord) && !t.args.empty()) {
      const std::string error = AssignTargetError(t.args[0].Word());
      if (!error.empty()) throw EZelParseError(error);
    }
    // Arguments in reverse, so the first argument's sub-tree is checked first.
    for (size_t k = t.args.size(); k-- > 0;) stack.push_back(&t.args[k]);
  }
}

}  // namespace zel
