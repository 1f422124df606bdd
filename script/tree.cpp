// Tree building by operator precedence. A part of the line (a range of its words) becomes a node per
// round: the first round finds the first word that needs arguments, later rounds take the tree so far as
// the left operand of the next operator that binds as loosely as the previous one or looser. Operands,
// call arguments and bracketed groups are parts of their own.
//
// Parts are ranges of one word array, never copies, and the ")" matching every "(" is known in advance,
// so the scans jump over bracketed groups. Parts waiting for a sub-part sit on an explicit stack of
// frames: the tree is built in the same order, with the same checks, as by building each part in turn.
#include "script/stages.h"

namespace zel {

namespace {

// The builder's message for words it cannot make a tree of.
[[noreturn]] void SyntaxError() { throw EZelParseError("Syntax error in expression "); }

// The words of a line and the index of the ")" that closes each "(" (-1 for other words and for a "("
// that nothing closes).
class Line {
 public:
  // Copies the word pointers and pairs the round brackets with a stack.
  explicit Line(const TExprWordList& words)
      : fWords(static_cast<size_t>(words.Count())), fMatch(fWords.size(), -1) {
    std::vector<int> open;
    for (int k = 0; k < words.Count(); ++k) {
      fWords[static_cast<size_t>(k)] = words[k];
      if (Type(k) == ltLeftBracket) {
        open.push_back(k);
      } else if (Type(k) == ltRightBracket && !open.empty()) {
        fMatch[static_cast<size_t>(open.back())] = k;
        open.pop_back();
      }
    }
  }

  // The number of words, the k-th word and its kind.
  int Count() const { return static_cast<int>(fWords.size()); }
  TExprWord* operator[](int k) const { return fWords[static_cast<size_t>(k)]; }
  std::uint32_t Type(int k) const { return fWords[static_cast<size_t>(k)]->LexemeType(); }

  // The ")" closing the "(" at `open` within ..to, or -1.
  int Close(int open, int to) const {
    const int m = fMatch[static_cast<size_t>(open)];
    return m <= to ? m : -1;
  }

  // The first word from `from` to `to` outside brackets that needs arguments (an operator, or a function
  // that cannot be called without them), or -1. Bracket depth counts from `from`: after a ")" that
  // closes nothing the depth is negative, and the words are passed one by one until a "(" brings it back.
  int NextOperator(int from, int to) const {
    int depth = 0;
    for (int k = from; k <= to; ++k) {
      const std::uint32_t t = Type(k);
      if (depth < 0) {
        if (t == ltLeftBracket) ++depth;
        if (t == ltRightBracket) --depth;
      } else if (t == ltLeftBracket) {
        k = Close(k, to);
        if (k < 0) return -1;  // the rest of the part is inside the bracket
      } else if (t == ltRightBracket) {
        depth = -1;
      } else if (!(*this)[k]->CanHaveZeroArguments()) {
        return k;
      }
    }
    return -1;
  }

  // The first "," from `from` before `close` outside inner brackets, or `close`.
  int NextComma(int from, int close) const {
    for (int k = from; k < close; ++k) {
      if (Type(k) == ltLeftBracket) {
        k = Close(k, close);  // brackets inside a call close inside it
        if (k < 0) return close;
      } else if (Type(k) == ltComma) {
        return k;
      }
    }
    return close;
  }

 private:
  std::vector<TExprWord*> fWords;
  std::vector<int> fMatch;
};

// Fills the node of a part of one word: an operand, or a function called without arguments.
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

enum class Step { kRound, kCallArgument, kRightOperand, kNextRound, kDone };

// A part being built: its words, the tree so far and where the round has got to.
struct Frame {
  int from = 0, to = 0;  // the part's words (inclusive); enclosing brackets are dropped
  size_t slot = 0;       // the argument of the parent's node this part becomes
  Step step = Step::kRound;
  int s = 0;                   // where the round's operator search starts
  size_t a = 0;                // the next argument slot of the round's node
  int i = 0;                   // the round's operator (for a call: its ")")
  int j = -1;                  // the operator after the right operand, or -1
  TExprWord* op = nullptr;     // the round's operator or function
  int close = 0, parts = 0;    // a call: its ")" and its argument count
  int part = 0, partFrom = 0;  // a call: the next argument and its first word
  TNodeTree root;
};

// A sub-part to build before the frame can go on.
struct SubPart {
  int from, to;
  size_t slot;
};

// Starts a round: a new node, with the tree so far as its first argument, and the round's operator.
// True when a sub-part (the left operand) must be built first.
bool StartRound(const Line& w, Frame& f, bool isRoot, SubPart& sub) {
  const bool first = !f.root.node;
  if (first) {
    // Only a part's first round can find it enclosed: later rounds see the same words.
    while (f.to > f.from && w.Type(f.from) == ltLeftBracket && w.Close(f.from, f.to) == f.to) {
      f.s = ++f.from;
      --f.to;
    }
    if (f.to == f.from && !isRoot && IsKind(w[f.from], kOperandKinds)) {
      f.root = TNodeTree::Operand(w[f.from]);  // an operand argument needs no node
      f.step = Step::kDone;
      return false;
    }
  }
  TNodeTree next = NewNode();
  f.a = 0;
  if (!first) {
    SetArg(next, 0, std::move(f.root));
    f.a = 1;
  }
  f.root = std::move(next);
  TExprRec& node = *f.root.node;
  if (f.to < f.from) SyntaxError();
  if (f.to == f.from) {
    LeafNode(node, w[f.from]);
    f.step = Step::kDone;
    return false;
  }
  const int i = w.NextOperator(f.s, f.to);
  if (i < 0) SyntaxError();
  TExprWord* op = w[i];
  if (!IsKind(op, ltOperator | kCallableKinds)) throw EZelParseError("Can not find operand/function");
  node.ExprWord = op;
  f.op = op;
  f.i = i;
  f.step = Step::kRightOperand;
  if (op->LexemeType() == ltOperator) {
    node.Oper = op->Func();
    node.ArgCount = op->NFuncArg();
    if (i == f.s) return false;
    if (f.a >= static_cast<size_t>(node.ArgCount)) SyntaxError();  // an operand before a prefix operator
    sub = {f.s, i - 1, f.a++};
    return true;
  }
  if (i > f.s || f.a > 0) SyntaxError();  // a function call directly after an operand or another call
  if (i < f.to && w.Type(i + 1) == ltLeftBracket) {
    const int close = w.Close(i + 1, f.to);
    if (close < 0) SyntaxError();
    int parts = 1;
    for (int k = w.NextComma(i + 2, close); k < close; k = w.NextComma(k + 1, close)) ++parts;
    if (parts > ExprMaxArgs && !op->VariableArgCount())
      throw EZelParseError(Fmt("No \"%s\" overload accepts %d arguments!  ", op->Name().c_str(), parts));
    ResizeArgs(f.root, parts);
    f.close = close;
    f.parts = parts;
    f.part = 0;
    f.partFrom = i + 2;
    f.step = Step::kCallArgument;
    return false;
  }
  op->SetNFuncArg(0);
  node.Oper = op->Func();
  node.ArgCount = 0;
  return false;
}

// The next argument of a call, or the call's routine once all are built.
bool NextCallArgument(const Line& w, Frame& f, SubPart& sub) {
  if (f.part < f.parts) {
    const int to = w.NextComma(f.partFrom, f.close) - 1;
    if (to < f.partFrom) SyntaxError();  // an empty argument
    sub = {f.partFrom, to, static_cast<size_t>(f.part)};
    ++f.part;
    f.partFrom = to + 2;
    return true;
  }
  TExprRec& node = *f.root.node;
  f.op->SetNFuncArg(f.parts);
  node.Oper = f.op->Func();
  node.ArgCount = f.parts;
  f.i = f.close;
  f.step = Step::kRightOperand;
  return false;
}

// The right operand runs to the next operator that binds as loosely as the round's or looser.
bool RightOperand(const Line& w, Frame& f, SubPart& sub) {
  const int r = f.i + 1;
  int j = w.NextOperator(r, f.to);
  while (j >= 0 && w[j]->OperPrec() < f.op->OperPrec()) j = w.NextOperator(j + 1, f.to);
  const int end = j < 0 ? f.to + 1 : j;
  f.j = j;
  f.step = Step::kNextRound;
  if (r >= end) return false;
  if (f.op->LexemeType() != ltOperator) SyntaxError();  // words after a function call that no operator joins
  if (f.a >= static_cast<size_t>(f.root.node->ArgCount)) {
    // No slot is left. When the tree so far lacks an operand (`not not x`: the first "not" got none), that
    // is the fault to report; otherwise an operand follows a postfix operator (`x' y`).
    if (!f.root.args.empty() && !HasAllArguments(f.root.args[0]))
      throw EZelParseError("Syntax error: function or operand has too few arguments");
    SyntaxError();
  }
  sub = {r, end - 1, f.a};
  return true;
}

// Advances the frame until it needs a sub-part (true) or its tree is complete (false).
bool Advance(const Line& w, Frame& f, bool isRoot, SubPart& sub) {
  while (true) {
    bool needs = false;
    switch (f.step) {
      case Step::kRound:
        needs = StartRound(w, f, isRoot, sub);
        break;
      case Step::kCallArgument:
        needs = NextCallArgument(w, f, sub);
        break;
      case Step::kRightOperand:
        needs = RightOperand(w, f, sub);
        break;
      case Step::kNextRound:
        if (f.j < 0) return false;
        f.s = f.j;
        f.step = Step::kRound;
        break;
      case Step::kDone:
        return false;
    }
    if (needs) return true;
  }
}

}  // namespace

TNodeTree BuildTree(const TExprWordList& words) {
  const Line w(words);
  std::vector<Frame> frames(1);
  frames[0].from = 0;
  frames[0].to = w.Count() - 1;
  while (true) {
    SubPart sub{};
    if (Advance(w, frames.back(), frames.size() == 1, sub)) {
      Frame& child = frames.emplace_back();
      child.from = child.s = sub.from;
      child.to = sub.to;
      child.slot = sub.slot;
      continue;
    }
    TNodeTree done = std::move(frames.back().root);
    const size_t slot = frames.back().slot;
    frames.pop_back();
    if (frames.empty()) return done;
    SetArg(frames.back().root, slot, std::move(done));
  }
}

}  // namespace zel
