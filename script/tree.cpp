// Syntax checks, tree building by precedence, result names, constant folding and flattening of one line.
#include <stdexcept>

#include "script/expression.h"

namespace zel {

const char* const AssignOperator = "=";
const char* const EqualOperator = "==";

namespace {

constexpr std::uint32_t kOperand = ltConstant | ltVariable;
constexpr std::uint32_t kCallable = ltFunction | ltVaryingFunction;

bool Is(const TExprWord* w, std::uint32_t kinds) { return (w->LexemeType() & kinds) != 0; }
bool IsBinaryOperator(const TExprWord* w) { return w->LexemeType() == ltOperator && w->NFuncArg() == 2; }

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

// A list of the words from..to (inclusive), not owning them.
std::unique_ptr<TExprWordList> Slice(const TExprWordList& w, int from, int to) {
  auto part = std::make_unique<TExprWordList>(false);
  for (int k = from; k <= to; ++k) part->Append(w[k]);
  return part;
}

[[noreturn]] void SyntaxError() { throw EZelParseError("Syntax error in expression "); }

}  // namespace

void TZelExpression::Check(TExprWordList& w) {
  int balance = 0;
  for (int i = 0; i < w.Count(); ++i) {
    if (w[i]->LexemeType() == ltLeftBracket) ++balance;
    if (w[i]->LexemeType() == ltRightBracket) --balance;
  }
  if (balance != 0) throw EZelParseError("Unequal brackets");

  if (w.Count() > 1) {
    for (int i = 0; i < w.Count(); ++i) {
      if (w[i] == ewElse) ERaise("The \"else\" keyword must be the only word on the line.");
      if (w[i] == ewEnd) ERaise("The \"end\" keyword must be the only word on the line.");
      if (w[i] == ewContinue) ERaise("The \"continue\" keyword must be the only word on the line.");
      if (w[i] == ewBreak) ERaise("The \"break\" keyword must be the only word on the line.");
    }
  }

  for (int i = 1; i < w.Count(); ++i)
    if (w[i]->LexemeType() == ltLeftBracket && Is(w[i - 1], kOperand))
      throw EZelParseError("Missing operand between constant/variable and (");

  // Unary signs: a "+" or "-" at the start or after ",", "(" or a binary operator absorbs the signs that
  // follow it and becomes "+@" or "-@".
  for (int i = 0; i < w.Count() - 1; ++i) {
    const std::string& name = w[i]->Name();
    if (name != "-" && name != "+") continue;
    const bool unary = i == 0 || w[i - 1]->LexemeType() == ltComma ||
                       w[i - 1]->LexemeType() == ltLeftBracket || IsBinaryOperator(w[i - 1]);
    if (!unary) continue;
    int sign = name == "-" ? -1 : 1;
    while (i + 1 < w.Count() && (w[i + 1]->Name() == "-" || w[i + 1]->Name() == "+")) {
      if (w[i + 1]->Name() == "-") sign = -sign;
      w.Delete(i + 1);
    }
    int index = 0;
    if (fWordList.Find(sign < 0 ? "-@" : "+@", index)) w.SetItems(i, fWordList[index]);
  }

  for (int i = 0; i + 1 < w.Count(); ++i) {
    const TExprWord* a = w[i];
    const TExprWord* b = w[i + 1];
    if (Is(a, kOperand) && Is(b, kOperand))
      throw EZelParseError(a->Name() + " two space limited variables/constants");
    if (a->LexemeType() == ltRightBracket && b->LexemeType() == ltLeftBracket)
      throw EZelParseError("Missing operand between )(");
    if (a->LexemeType() == ltLeftBracket && b->LexemeType() == ltRightBracket)
      throw EZelParseError("Empty brackets ()");
    if (a->LexemeType() == ltRightBracket && Is(b, kOperand))
      throw EZelParseError("Missing operand between ) and constant/variable");
  }
}

TExprRec* TZelExpression::MakeTree(TExprWordList& words) {
  // Work on a copy so enclosing brackets can be dropped without touching the caller's list.
  std::unique_ptr<TExprWordList> list = Slice(words, 0, words.Count() - 1);
  TExprWordList& w = *list;
  TExprRec* root = nullptr;
  try {
    int s = 0;
    while (true) {
      auto* node = new TExprRec;
      int a = 0;
      if (root) {
        node->ArgList[0] = root;
        a = 1;
      }
      root = node;
      while (w.Count() >= 2 && w[0]->LexemeType() == ltLeftBracket &&
             MatchingBracket(w, 0) == w.Count() - 1) {
        w.Delete(w.Count() - 1);
        w.Delete(0);
      }
      if (w.Count() == 0) SyntaxError();
      if (w.Count() == 1) {
        TExprWord* word = w[0];
        node->ExprWord = word;
        // A lone function name is a call without arguments (varying functions too, so a count left
        // over from another call of the same word never selects the overload).
        if (Is(word, kCallable)) word->SetNFuncArg(0);
        if (Is(word, kOperand)) {
          node->Oper = word->Func();
          node->Args[0] = word->VRec();
          node->ArgCount = 0;
        } else {
          node->Oper = word->Func();
          node->ArgCount = word->LexemeType() == ltOperator ? word->NFuncArg() : 0;
        }
        break;
      }
      int i = NextOperator(w, s);
      if (i < 0) SyntaxError();
      TExprWord* op = w[i];
      if (!Is(op, ltOperator | kCallable)) throw EZelParseError("Can not find operand/function");
      node->ExprWord = op;
      if (op->LexemeType() == ltOperator) {
        node->Oper = op->Func();
        node->ArgCount = op->NFuncArg();
        if (i > s) {
          if (a >= node->ArgCount) SyntaxError();  // an operand before a prefix operator
          auto left = Slice(w, s, i - 1);
          node->ArgList[static_cast<size_t>(a++)] = MakeTree(*left);
        }
      } else if (i > s || a > 0) {
        SyntaxError();  // a function call directly after an operand or another call
      } else if (i + 1 < w.Count() && w[i + 1]->LexemeType() == ltLeftBracket) {
        const int close = MatchingBracket(w, i + 1);
        if (close < 0) SyntaxError();
        std::vector<int> commas;
        int depth = 0;
        for (int k = i + 1; k <= close; ++k) {
          const std::uint32_t t = w[k]->LexemeType();
          if (t == ltLeftBracket) ++depth;
          if (t == ltRightBracket) --depth;
          if (t == ltComma && depth == 1) commas.push_back(k);
        }
        const int parts = static_cast<int>(commas.size()) + 1;
        if (parts > ExprMaxArgs && !op->VariableArgCount())
          throw EZelParseError(Fmt("No \"%s\" overload accepts %d arguments!  ", op->Name().c_str(), parts));
        node->ResizeArgs(parts);
        int from = i + 2;
        for (int k = 0; k < parts; ++k) {
          const int to = k < parts - 1 ? commas[static_cast<size_t>(k)] - 1 : close - 1;
          if (to < from) SyntaxError();
          auto part = Slice(w, from, to);
          node->ArgList[static_cast<size_t>(k)] = MakeTree(*part);
          from = to + 2;
        }
        op->SetNFuncArg(parts);
        node->Oper = op->Func();
        node->ArgCount = parts;
        i = close;
      } else {
        op->SetNFuncArg(0);
        node->Oper = op->Func();
        node->ArgCount = 0;
      }
      // The right operand runs to the next operator that binds as loosely as this one or looser.
      const int r = i + 1;
      int j = NextOperator(w, r);
      while (j >= 0 && w[j]->OperPrec() < op->OperPrec()) j = NextOperator(w, j + 1);
      const int end = j < 0 ? w.Count() : j;
      if (r < end && op->LexemeType() == ltOperator) {
        if (a >= node->ArgCount) SyntaxError();  // an operand after a postfix operator
        auto right = Slice(w, r, end - 1);
        node->ArgList[static_cast<size_t>(a)] = MakeTree(*right);
      } else if (r < end) {
        SyntaxError();  // words after a function call that no operator joins
      }
      if (j < 0) break;
      s = j;
    }
  } catch (...) {
    DisposeTree(root);
    throw;
  }
  return root;
}

bool TZelExpression::CheckArguments(const TExprRec* rec) const {
  if (!rec) return false;
  for (int k = 0; k < rec->ArgCount; ++k) {
    if (k >= static_cast<int>(rec->ArgList.size()) || !rec->ArgList[static_cast<size_t>(k)]) return false;
    if (!CheckArguments(rec->ArgList[static_cast<size_t>(k)])) return false;
  }
  return true;
}

bool TZelExpression::ResultCanVary(const TExprRec* rec) const {
  if (!rec) return false;
  if (rec->ExprWord && Is(rec->ExprWord, ltVariable | ltVaryingFunction)) return true;
  for (const TExprRec* child : rec->ArgList)
    if (child && ResultCanVary(child)) return true;
  return false;
}

std::string TZelExpression::EvaluateResultName(const TExprRec* rec) const {
  if (!rec || !rec->ExprWord) return "";
  const TExprWord* w = rec->ExprWord;
  if (Is(w, kOperand)) return w->Name();
  if (w->Name() == AssignOperator || w == ewAssign) {
    const TExprRec* target = rec->ArgList.empty() ? nullptr : rec->ArgList[0];
    return target && target->ExprWord ? target->ExprWord->Name() : "";
  }
  return "";
}

void TZelExpression::DisposeTree(TExprRec*& rec) {
  if (!rec) return;
  for (TExprRec*& child : rec->ArgList) DisposeTree(child);
  delete rec;
  rec = nullptr;
}

TExprRec* TZelExpression::MakeLinkedList(TExprRec* root) {
  if (!root->ExprWord || Is(root->ExprWord, kOperand)) return root;
  TExprRec* first = nullptr;
  TExprRec* last = nullptr;
  // Children in argument order before their parent; operand children are replaced by their value record.
  std::function<void(TExprRec*)> visit = [&](TExprRec* node) {
    for (size_t k = 0; k < node->ArgList.size(); ++k) {
      TExprRec* child = node->ArgList[k];
      if (!child) continue;
      if (child->ExprWord && Is(child->ExprWord, kOperand)) {
        node->Args[k] = child->Args[0];
        delete child;
      } else {
        visit(child);
        node->Args[k] = child->Res;
      }
      node->ArgList[k] = nullptr;
    }
    node->Next = nullptr;
    if (last) {
      last->Next = node;
    } else {
      first = node;
    }
    last = node;
  };
  visit(root);
  return first;
}

TExprRec* TZelExpression::EvaluateList(TExprRec* rec) {
  TExprRec* last = rec;
  for (TExprRec* node = rec; node; node = node->Next) {
    node->Oper(*node);
    last = node;
  }
  return last;
}

TExprRec* TZelExpression::RemoveConstants(TExprRec* rec) {
  if (!rec) return rec;
  if (ResultCanVary(rec)) {
    // On failure the whole sub-tree is freed here: each child is detached before it is folded, so a
    // child that failed (and freed itself) is never freed twice.
    try {
      for (TExprRec*& child : rec->ArgList) {
        if (!child) continue;
        TExprRec* c = child;
        child = nullptr;
        child = RemoveConstants(c);
      }
    } catch (...) {
      DisposeTree(rec);
      throw;
    }
    return rec;
  }
  if (rec->ExprWord && Is(rec->ExprWord, kOperand)) return rec;

  TExprRec* list = MakeLinkedList(rec);
  std::unique_ptr<TExprWord> constant;
  try {
    const TValueRec& v = *EvaluateList(list)->Res;
    switch (v.ValueType()) {
      case vtUndefined:
        throw std::runtime_error(
            "The constant elimination procedure was succesfull, but the result of the evaluation has an "
            "undefined "
            "type. Please check, that all functions used also specify type of the result!");
      case vtDoubleValue:
        constant = std::make_unique<TExprDoubleConstant>("", v.DoubleValue());
        break;
      case vtRangeValue:
        if (v.ExtRange()) {
          constant = std::make_unique<TExprExtRangeConstant>("", *v.ExtRangeValue());
        } else {
          constant = std::make_unique<TExprRangeConstant>("", v.Range());
        }
        break;
      case vtString:
        constant = std::make_unique<TExprStringConstant>("", "", v.StringValue());
        break;
      case vtComplexValue:
        constant = std::make_unique<TExprComplexConstant>("", v.ComplexValue());
        break;
      case vtVectorValue:
        constant = std::make_unique<TExprVectorConstant>("", const_cast<TValueRec&>(v).VectorValue());
        break;
      case vtIntegerValue:
        constant = std::make_unique<TExprIntegerConstant>("", v.IntegerValue());
        break;
      case vtIntVectorValue:
        constant = std::make_unique<TExprIntVectorConstant>("", const_cast<TValueRec&>(v).IntVectorValue());
        break;
      case vtIntMatrixValue:
        constant = std::make_unique<TExprIntMatrixConstant>("", v.IntMatrixValue());
        break;
      case vtBoolValue:
        constant = std::make_unique<TExprBoolConstant>("", v.BoolValue());
        break;
      case vtBoolVectorValue:
        constant = std::make_unique<TExprBoolVectorConstant>("", v.BoolVectorValue());
        break;
      case vtBoolMatrixValue:
        constant = std::make_unique<TExprBoolMatrixConstant>("", v.BoolMatrixValue());
        break;
      case vtMatrixValue:
        constant = std::make_unique<TExprMatrixConstant>("", v.MatrixValue());
        break;
      default:
        throw std::runtime_error(std::string("TZelExpression.RemoveConstants: Unexpected type: ") +
                                 ValTypeName(v.ValueType()));
    }
  } catch (...) {
    DisposeList(list);
    throw;
  }
  DisposeList(list);
  TExprWord* word = constant.release();
  fConstList.Append(word);
  auto* node = new TExprRec;
  node->ExprWord = word;
  node->Oper = word->Func();
  node->ResizeArgs(1);
  node->Args[0] = word->VRec();
  return node;
}

void TZelExpression::CreateExprRec(TSingleExpression& expr) {
  CreateExprWords(expr);
  CreateExprRec2(expr);
}

void TZelExpression::CreateExprRec2(TSingleExpression& expr) {
  DisposeList(expr.Rec);
  expr.Res = nullptr;
  TExprRec* root = MakeTree(*expr.Words);
  try {
    expr.ResultName = EvaluateResultName(root);
    if (!CheckArguments(root))
      throw EZelParseError("Syntax error: function or operand has too few arguments");
    TExprRec* tree = root;
    root = nullptr;  // RemoveConstants frees the tree itself when it fails
    root = RemoveConstants(tree);
    if (!Is(root->ExprWord, kOperand)) root = MakeLinkedList(root);
  } catch (...) {
    DisposeTree(root);
    throw;
  }
  expr.Rec = root;
  expr.Words.reset();
}

}  // namespace zel
