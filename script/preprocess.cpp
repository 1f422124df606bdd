// Preprocessing of a line's word list: syntax that is not an ordinary call is rewritten into one, in a
// fixed order of small rewrites (trailing semicolons, open range ends, flow keyword brackets, multiple
// results, indexed assignment, indexing, square brackets). Each rewrite that can touch many places builds
// a new list in one pass instead of inserting into the old one word by word.
#include <algorithm>

#include "script/stages.h"

namespace zel {

namespace {

using Words = std::vector<TExprWord*>;

// True for the word of the kinds.
bool Is(const TExprWord* w, std::uint32_t kinds) { return IsKind(w, kinds); }

void RewriteIndexing(const TSyntaxWords& k, Words& w, size_t start);
Words RewriteSquareBrackets(const TSyntaxWords& c, const Words& w);

// Trailing semicolons only stop printing: "x = 5;;" → "x = 5".
void DropTrailingSemicolons(TExprWordList& w) {
  while (w.Count() > 0 && w[w.Count() - 1]->LexemeType() == ltSemicolon) w.Delete(w.Count() - 1);
}

// Open range ends: a(:) → a(0:NubraEOA), a(2:) → a(2:NubraEOA), a(:3) → a(0:3). A colon that ends the
// line is left alone.
Words CloseOpenRanges(TCompileState& s, const Words& in) {
  const TSyntaxWords& k = s.words;
  Words out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    TExprWord* word = in[i];
    if (word != k.ewColonOp || i + 1 == in.size()) {
      out.push_back(word);
      continue;
    }
    const bool openEnd = !Is(in[i + 1], kOperandKinds | kCallableKinds | ltOperator | ltLeftBracket);
    const bool openStart = out.empty() || !Is(out.back(), kOperandKinds | kCallableKinds | ltRightBracket);
    if (openStart) {
      auto zero = std::make_unique<TExprConstant>("", "0", false);
      out.push_back(zero.get());
      s.constants.Append(std::move(zero));
    }
    out.push_back(word);
    if (openEnd) out.push_back(k.ewNubraEOA);
  }
  return out;
}

// if/while/for without brackets get them; for's "=" becomes ",": "for k = 1:3" → "for(k, 1:3)".
void BracketFlowKeyword(const TSyntaxWords& k, Words& w) {
  if (w.size() < 2 || w[1]->LexemeType() != ltLeftBracket) {
    w.insert(w.begin() + 1, k.ewLeftBracket);
    w.push_back(k.ewRightBracket);
  }
  if (w[0] != k.ewFor) return;
  for (size_t i = 3; i < w.size(); ++i) {
    if (w[i] == k.ewAssignOp) {
      w[i] = k.ewComma;
      return;
    }
  }
}

// Notes in s.outputError (the first one only) when the output words from..to (inclusive) of a
// multiple-result line do not name a variable. A longer output is named by the root of its tree.
void CheckOutput(TCompileState& s, const Words& w, size_t from, size_t to) {
  if (!s.outputError.empty()) return;
  if (from == to) {
    s.outputError = AssignTargetError(w[from]);
    return;
  }
  Words part(w.begin() + static_cast<std::ptrdiff_t>(from), w.begin() + static_cast<std::ptrdiff_t>(to) + 1);
  TExprWordList list(false);
  RewriteIndexing(s.words, part, 0);
  ReplaceWords(list, RewriteSquareBrackets(s.words, part));
  TNodeTree tree;
  try {
    tree = BuildTree(list);
  } catch (const std::exception&) {
    return;  // a malformed output fails the line later, with the message of its fault
  }
  s.outputError = AssignTargetError(tree.node->ExprWord);
}

// Multiple results: (a, b) = f(x) → f(x, a, b), given p, the index of "=". False when the line has
// another form. Outputs that are not variables are noted in s.outputError.
bool RewriteMultipleResults(TCompileState& s, Words& w, int p) {
  const TSyntaxWords& k = s.words;
  if (p < 2) return false;
  const size_t eq = static_cast<size_t>(p);
  const size_t last = w.size() - 1;
  if (w[0]->LexemeType() != ltLeftBracket || w[eq - 1]->LexemeType() != ltRightBracket ||
      w[last]->LexemeType() != ltRightBracket)
    return false;
  // The outputs are the words 1 .. p-2, separated by commas outside brackets.
  size_t from = 1;
  int depth = 0;
  for (size_t i = 1; i + 1 < eq; ++i) {
    const std::uint32_t t = w[i]->LexemeType();
    if (t & (ltLeftBracket | ltLeftSquareBracket)) ++depth;
    if (t & (ltRightBracket | ltRightSquareBracket)) --depth;
    if (t == ltComma && depth == 0) {
      if (i > from) CheckOutput(s, w, from, i - 1);
      from = i + 1;
    }
  }
  if (eq - 1 > from) CheckOutput(s, w, from, eq - 2);
  // rest-of-line-before-its-")" , outputs ")"
  Words out(w.begin() + static_cast<std::ptrdiff_t>(eq) + 1, w.begin() + static_cast<std::ptrdiff_t>(last));
  out.reserve(w.size());
  out.push_back(k.ewComma);
  out.insert(out.end(), w.begin() + 1, w.begin() + static_cast<std::ptrdiff_t>(eq) - 1);
  out.push_back(w[last]);
  w = std::move(out);
  return true;
}

// Index of the first variable word directly followed by "(", from `start`, or -1.
int FindIndexedVariable(const Words& w, size_t start) {
  for (size_t j = start; j + 1 < w.size(); ++j)
    if (w[j]->LexemeType() == ltVariable && w[j + 1]->LexemeType() == ltLeftBracket)
      return static_cast<int>(j);
  return -1;
}

// Indexed assignment: v(i, ...) = e → assign(v, i, ..., e), given p, the index of "=", when an indexed
// variable comes before it: "=" becomes ",", the word before it (the ")") moves to the end, v and "("
// change places, and "," and assign are inserted. A fixed number of shifts, so linear.
void RewriteIndexedAssignment(const TSyntaxWords& k, Words& w, int p) {
  const int found = FindIndexedVariable(w, 0);
  if (found < 0 || found >= p) return;
  const auto at = [&w](size_t i) { return w.begin() + static_cast<std::ptrdiff_t>(i); };
  const size_t j = static_cast<size_t>(found);
  const size_t eq = static_cast<size_t>(p);
  w[eq] = k.ewComma;
  TExprWord* close = w[eq - 1];
  w.erase(at(eq - 1));
  w.push_back(close);
  std::swap(w[j], w[j + 1]);
  w.insert(at(j + 2), k.ewComma);
  w.insert(w.begin(), k.ewAssign);
}

// Indexing from `start` on: v(i, j) → select(v, i, j).
void RewriteIndexing(const TSyntaxWords& k, Words& w, size_t start) {
  if (FindIndexedVariable(w, start) < 0) return;
  Words out(w.begin(), w.begin() + static_cast<std::ptrdiff_t>(std::min(start, w.size())));
  out.reserve(w.size() + w.size() / 2);
  for (size_t j = start; j < w.size(); ++j) {
    if (j + 1 < w.size() && w[j]->LexemeType() == ltVariable && w[j + 1]->LexemeType() == ltLeftBracket) {
      out.insert(out.end(), {k.ewSelect, w[j + 1], w[j], k.ewComma});
      ++j;
    } else {
      out.push_back(w[j]);
    }
  }
  w = std::move(out);
}

// Square brackets: [a, b; c, d] → rowconcat(colconcat(a, b), colconcat(c, d)); [a, b] → colconcat(a, b).
// A ";" belongs to the innermost open "[" and makes it a matrix of rows. A "[" that nothing closes keeps
// its rewritten opening and rows, and the bracket check reports the line.
Words RewriteSquareBrackets(const TSyntaxWords& c, const Words& w) {
  const auto square = [](const TExprWord* word) { return word->LexemeType() == ltLeftSquareBracket; };
  if (std::none_of(w.begin(), w.end(), square)) return w;
  // Pass 1: which "[" hold rows of their own.
  const size_t n = w.size();
  std::vector<char> rows(n, 0);
  std::vector<size_t> open;
  for (size_t i = 0; i < n; ++i) {
    const std::uint32_t t = w[i]->LexemeType();
    if (t == ltLeftSquareBracket) {
      open.push_back(i);
    } else if (t == ltSemicolon && !open.empty()) {
      rows[open.back()] = 1;
    } else if (t == ltRightSquareBracket && !open.empty()) {
      open.pop_back();
    }
  }
  // Pass 2: the rewrite.
  Words out;
  out.reserve(n + n / 2);
  open.clear();
  for (size_t i = 0; i < n; ++i) {
    TExprWord* word = w[i];
    const std::uint32_t t = word->LexemeType();
    if (t == ltLeftSquareBracket) {
      open.push_back(i);
      if (rows[i]) out.insert(out.end(), {c.ewRowConcat, c.ewLeftBracket});
      out.insert(out.end(), {c.ewColConcat, c.ewLeftBracket});
    } else if (t == ltSemicolon && !open.empty()) {
      out.insert(out.end(), {c.ewRightBracket, c.ewComma, c.ewColConcat, c.ewLeftBracket});
    } else if (t == ltRightSquareBracket && !open.empty()) {
      out.push_back(c.ewRightBracket);
      if (rows[open.back()]) out.push_back(c.ewRightBracket);
      open.pop_back();
    } else {
      out.push_back(word);
    }
  }
  return out;
}

}  // namespace

void ReplaceWords(TExprWordList& list, const std::vector<TExprWord*>& words) {
  // Taken out from the end, so an owning list neither frees nor shifts them.
  while (list.Count() > 0) static_cast<void>(list.Extract(list.Count() - 1));
  list.Reserve(static_cast<int>(words.size()));
  for (TExprWord* word : words) list.Append(word);
}

void Preprocess(TCompileState& s, TExprWordList& list) {
  const TSyntaxWords& k = s.words;
  if (s.onPreprocessor) {
    EnterNewVariables(s);  // the host may look names up in the symbol table
    s.onPreprocessor(s.sender, list);
  }
  DropTrailingSemicolons(list);
  Words w;
  w.reserve(static_cast<size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i) w.push_back(list[i]);
  w = CloseOpenRanges(s, w);
  if (w.empty()) {
    ReplaceWords(list, {k.ewTrue});  // an empty line is the constant true
    return;
  }
  // Indexing is looked for from the start, or after the "=" of an assignment.
  size_t start = 0;
  if (w[0] == k.ewFor || w[0] == k.ewWhile || w[0] == k.ewIf) {
    BracketFlowKeyword(k, w);
  } else {
    const auto eq = std::find(w.begin(), w.end(), k.ewAssignOp);
    const int p = eq == w.end() ? -1 : static_cast<int>(eq - w.begin());
    if (!RewriteMultipleResults(s, w, p) && p >= 0) {
      RewriteIndexedAssignment(k, w, p);
      start = static_cast<size_t>(p);
    }
  }
  RewriteIndexing(k, w, start);
  ReplaceWords(list, RewriteSquareBrackets(k, w));
}

}  // namespace zel
