// Tree building by operator precedence, and the questions the later stages ask of a tree: are all
// arguments there, can the result vary, which variable does the line assign.
#include "script/stages.h"

namespace zel {

const char* const AssignOperator = "=";
const char* const EqualOperator = "==";

namespace {

// Index of the ")" matching the "(" at `open`, or -1.
int MatchingBracket(const TExprWordList& w, int open) {
  int depth = 0;
  for (int k = open; k < w.Count(); ++k) {
    if (w[k]->LexemeType() == ltLeftBracket) ++depth;
    if (w[k]->LexemeType() == ltRightBracket && --depth == 0) return k;
  }
  return -1;
}

// The next word from `from` at bracket depth 0 that needs arguments (an operator or a function that
// cannot be called without them), or -1.
int NextOperator(const TExprWordList& w, int from) {
  int depth = 0;
  for (int k = from; k < w.Count(); ++k) {
    const std::uint32_t t = w[k]->LexemeType();
    if (t == ltLeftBracket) {
      ++depth;
    } else if (t == ltRightBracket) {
      --depth;
    } else if (depth == 0 && !w[k]->CanHaveZeroArguments()) {
      return k;
    }
  }
  return -1;
}

// Fills `part` (a list that does not own its words) with the words from..to (inclusive).
void Slice(const TExprWordList& w, int from, int to, TExprWordList& part) {
  part.Reserve(to - from + 1);
  for (int k = from; k <= to; ++k) part.Append(w[k]);
}

// The tree of the words from..to (inclusive).
TNodeTree BuildPart(const TExprWordList& w, int from, int to) {
  TExprWordList part(false);
  Slice(w, from, to, part);
  return BuildTree(part);
}

[[noreturn]] void SyntaxError() { throw EZelParseError("Syntax error in expression "); }

// Fills the node of a list of one word: an operand, or a function called without arguments.
void LeafNode(TExprRec& node, TExprWord* word) {
  node.ExprWord = word;
  // A lone function name is a call without arguments (varying functions too, so a count left over from
  // another call of the same word never selects the overload).
  if (IsKind(word, kCallableKinds)) word->SetNFuncArg(0);
  node.Oper = word->Func();
  if (IsKind(word, kOperandKinds)) {
    node.Args[0] = word->VRec();
    node.ArgCount = 0;
  } else {
    node.ArgCount = word->LexemeType() == ltOperator ? word->NFuncArg() : 0;
  }
}

// Builds the call of function `op` whose "(" is at open into the node's arguments, one sub-tree per
// comma-separated part; returns the index of the matching ")".
int CallNode(TNodeTree& tree, const TExprWordList& w, TExprWord* op, int open) {
  const int close = MatchingBracket(w, open);
  if (close < 0) SyntaxError();
  std::vector<int> commas;
  int depth = 0;
  for (int k = open; k <= close; ++k) {
    const std::uint32_t t = w[k]->LexemeType();
    if (t == ltLeftBracket) ++depth;
    if (t == ltRightBracket) --depth;
    if (t == ltComma && depth == 1) commas.push_back(k);
  }
  const int parts = static_cast<int>(commas.size()) + 1;
  if (parts > ExprMaxArgs && !op->VariableArgCount())
    throw EZelParseError(Fmt("No \"%s\" overload accepts %d arguments!  ", op->Name().c_str(), parts));
  ResizeArgs(tree, parts);
  int from = open + 1;
  for (int k = 0; k < parts; ++k) {
    const int to = k < parts - 1 ? commas[static_cast<size_t>(k)] - 1 : close - 1;
    if (to < from) SyntaxError();
    SetArg(tree, static_cast<size_t>(k), BuildPart(w, from, to));
    from = to + 2;
  }
  op->SetNFuncArg(parts);
  tree.node->Oper = op->Func();
  tree.node->ArgCount = parts;
  return close;
}

}  // namespace

TNodeTree BuildTree(const TExprWordList& words) {
  // Work on a copy so enclosing brackets can be dropped without touching the caller's list.
  TExprWordList w(false);
  Slice(words, 0, words.Count() - 1, w);
  TNodeTree root;
  int s = 0;
  while (true) {
    // Each round makes a new root; the tree so far becomes its first argument.
    TNodeTree next = NewNode();
    int a = 0;
    if (root.node) {
      SetArg(next, 0, std::move(root));
      a = 1;
    }
    root = std::move(next);
    TExprRec& node = *root.node;
    while (w.Count() >= 2 && w[0]->LexemeType() == ltLeftBracket && MatchingBracket(w, 0) == w.Count() - 1) {
      w.Delete(w.Count() - 1);
      w.Delete(0);
    }
    if (w.Count() == 0) SyntaxError();
    if (w.Count() == 1) {
      LeafNode(node, w[0]);
      break;
    }
    int i = NextOperator(w, s);
    if (i < 0) SyntaxError();
    TExprWord* op = w[i];
    if (!IsKind(op, ltOperator | kCallableKinds)) throw EZelParseError("Can not find operand/function");
    node.ExprWord = op;
    if (op->LexemeType() == ltOperator) {
      node.Oper = op->Func();
      node.ArgCount = op->NFuncArg();
      if (i > s) {
        if (a >= node.ArgCount) SyntaxError();  // an operand before a prefix operator
        SetArg(root, static_cast<size_t>(a++), BuildPart(w, s, i - 1));
      }
    } else if (i > s || a > 0) {
      SyntaxError();  // a function call directly after an operand or another call
    } else if (i + 1 < w.Count() && w[i + 1]->LexemeType() == ltLeftBracket) {
      i = CallNode(root, w, op, i + 1);
    } else {
      op->SetNFuncArg(0);
      node.Oper = op->Func();
      node.ArgCount = 0;
    }
    // The right operand runs to the next operator that binds as loosely as this one or looser.
    const int r = i + 1;
    int j = NextOperator(w, r);
    while (j >= 0 && w[j]->OperPrec() < op->OperPrec()) j = NextOperator(w, j + 1);
    const int end = j < 0 ? w.Count() : j;
    if (r < end && op->LexemeType() == ltOperator) {
      if (a >= node.ArgCount) SyntaxError();  // an operand after a postfix operator
      SetArg(root, static_cast<size_t>(a), BuildPart(w, r, end - 1));
    } else if (r < end) {
      SyntaxError();  // words after a function call that no operator joins
    }
    if (j < 0) break;
    s = j;
  }
  return root;
}

bool HasAllArguments(const TExprRec* rec) {
  if (!rec) return false;
  for (int k = 0; k < rec->ArgCount; ++k) {
    if (k >= static_cast<int>(rec->ArgList.size()) || !rec->ArgList[static_cast<size_t>(k)]) return false;
    if (!HasAllArguments(rec->ArgList[static_cast<size_t>(k)])) return false;
  }
  return true;
}

bool CanVary(const TExprRec* rec) {
  if (!rec) return false;
  if (rec->ExprWord && IsKind(rec->ExprWord, ltVariable | ltVaryingFunction)) return true;
  for (const TExprRec* child : rec->ArgList)
    if (child && CanVary(child)) return true;
  return false;
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

}  // namespace zel
