// Preprocessing of a line's word list: syntax that is not an ordinary call is rewritten into one, in a
// fixed order of small rewrites (trailing semicolons, open range ends, flow keyword brackets, multiple
// results, indexed assignment, indexing, square brackets).
#include "script/stages.h"

namespace zel {

namespace {

// Moves the word at `from` to position `to` (indexes after removal).
void Move(TExprWordList& w, int from, int to) { w.Insert(to, w.Extract(from)); }

// Exchanges the words at i and j.
void Swap(TExprWordList& w, int i, int j) {
  TExprWord* a = w[i];
  w.SetItems(i, w[j]);
  w.SetItems(j, a);
}

// Index of the first variable word directly followed by "(", from `start`, or -1.
int FindIndexedVariable(const TExprWordList& w, int start) {
  for (int j = start; j + 1 < w.Count(); ++j)
    if (w[j]->LexemeType() == ltVariable && w[j + 1]->LexemeType() == ltLeftBracket) return j;
  return -1;
}

// Trailing semicolons only stop printing: "x = 5;;" → "x = 5".
void DropTrailingSemicolons(TExprWordList& w) {
  while (w.Count() > 0 && w[w.Count() - 1]->LexemeType() == ltSemicolon) w.Delete(w.Count() - 1);
}

// Open range ends: a(:) → a(0:NubraEOA), a(2:) → a(2:NubraEOA), a(:3) → a(0:3).
void CloseOpenRanges(TCompileState& s, TExprWordList& w) {
  const TSyntaxWords& k = s.words;
  for (int i = 0; i < w.Count() - 1; ++i) {
    if (w[i] != k.ewColonOp) continue;
    if (!IsKind(w[i + 1], kOperandKinds | kCallableKinds | ltOperator | ltLeftBracket)) {
      w.Insert(i + 1, k.ewNubraEOA);
    }
    const bool openStart = i == 0 || !IsKind(w[i - 1], kOperandKinds | kCallableKinds | ltRightBracket);
    if (openStart) {
      auto zero = std::make_unique<TExprConstant>("", "0", false);
      w.Insert(i, zero.get());
      s.constants.Append(std::move(zero));
      ++i;
    }
    if (w[i + 1] == k.ewNubraEOA) ++i;  // continue after the inserted end marker
  }
}

// if/while/for without brackets get them; for's "=" becomes ",": "for k = 1:3" → "for(k, 1:3)".
void BracketFlowKeyword(const TSyntaxWords& k, TExprWordList& w) {
  if (w.Count() < 2 || w[1]->LexemeType() != ltLeftBracket) {
    w.Insert(1, k.ewLeftBracket);
    w.Append(k.ewRightBracket);
  }
  if (w[0] != k.ewFor) return;
  for (int i = 3; i < w.Count(); ++i) {
    if (w[i] == k.ewAssignOp) {
      w.SetItems(i, k.ewComma);
      return;
    }
  }
}

// Multiple results: (a, b) = f(x) → f(x, a, b), given p, the index of "=". False when the line has
// another form.
bool RewriteMultipleResults(const TSyntaxWords& k, TExprWordList& w, int p) {
  const int last = w.Count() - 1;
  if (p < 2 || w[0]->LexemeType() != ltLeftBracket || w[p - 1]->LexemeType() != ltRightBracket ||
      w[last]->LexemeType() != ltRightBracket)
    return false;
  w.Insert(last, k.ewComma);
  for (int i = 0; i < p - 2; ++i) Move(w, 1, w.Count() - 2);
  w.Delete(0);
  w.Delete(0);
  w.Delete(0);
  return true;
}

// Indexed assignment: v(i, ...) = e → assign(v, i, ..., e), given p, the index of "=", when an indexed
// variable comes before it.
void RewriteIndexedAssignment(const TSyntaxWords& k, TExprWordList& w, int p) {
  const int j = FindIndexedVariable(w, 0);
  if (j < 0 || j >= p) return;
  w.SetItems(p, k.ewComma);
  Move(w, p - 1, w.Count() - 1);
  Swap(w, j, j + 1);
  w.Insert(j + 2, k.ewComma);
  w.Insert(0, k.ewAssign);
}

// Indexing from `start` on: v(i, j) → select(v, i, j).
void RewriteIndexing(const TSyntaxWords& k, TExprWordList& w, int start) {
  for (int j = FindIndexedVariable(w, start); j >= 0; j = FindIndexedVariable(w, j + 4)) {
    Swap(w, j, j + 1);
    w.Insert(j, k.ewSelect);
    w.Insert(j + 3, k.ewComma);
  }
}

// True when the square bracket at i encloses a ";" at its own depth (a matrix of rows).
bool HasRows(const TExprWordList& w, int i) {
  int depth = 0;
  for (int k = i; k < w.Count(); ++k) {
    const std::uint32_t t = w[k]->LexemeType();
    if (t == ltLeftSquareBracket) ++depth;
    if (t == ltRightSquareBracket && --depth == 0) return false;
    if (t == ltSemicolon && depth == 1) return true;
  }
  return false;
}

// Rewrites the square brackets opened at i, leaving inner ones for later rounds.
void RewriteSquareBracket(const TSyntaxWords& c, TExprWordList& w, int i) {
  const bool matrix = HasRows(w, i);
  int depth = 0;
  for (int k = i; k < w.Count(); ++k) {
    const std::uint32_t t = w[k]->LexemeType();
    if (t == ltLeftSquareBracket) {
      if (depth++ == 0) {
        w.Delete(k);
        if (matrix) {
          w.Insert(k, c.ewRowConcat);
          w.Insert(k + 1, c.ewLeftBracket);
          w.Insert(k + 2, c.ewColConcat);
          w.Insert(k + 3, c.ewLeftBracket);
          k += 3;
        } else {
          w.Insert(k, c.ewColConcat);
          w.Insert(k + 1, c.ewLeftBracket);
          k += 1;
        }
      }
    } else if (t == ltSemicolon && depth == 1 && matrix) {
      w.Delete(k);
      w.Insert(k, c.ewRightBracket);
      w.Insert(k + 1, c.ewComma);
      w.Insert(k + 2, c.ewColConcat);
      w.Insert(k + 3, c.ewLeftBracket);
      k += 3;
    } else if (t == ltRightSquareBracket && --depth == 0) {
      w.Delete(k);
      w.Insert(k, c.ewRightBracket);
      if (matrix) w.Insert(k + 1, c.ewRightBracket);
      return;
    }
  }
}

// Square brackets: [a, b; c, d] → rowconcat(colconcat(a, b), colconcat(c, d)); [a, b] → colconcat(a, b).
void RewriteSquareBrackets(const TSyntaxWords& k, TExprWordList& w) {
  for (int i = 0; i < w.Count(); ++i)
    if (w[i]->LexemeType() == ltLeftSquareBracket) RewriteSquareBracket(k, w, i);
}

}  // namespace

void Preprocess(TCompileState& s, TExprWordList& w) {
  const TSyntaxWords& k = s.words;
  if (s.onPreprocessor) s.onPreprocessor(s.sender, w);
  DropTrailingSemicolons(w);
  CloseOpenRanges(s, w);
  if (w.Count() == 0) {
    w.Append(k.ewTrue);  // an empty line is the constant true
    return;
  }
  // Indexing is looked for from the start, or after the "=" of an assignment.
  int start = 0;
  if (w[0] == k.ewFor || w[0] == k.ewWhile || w[0] == k.ewIf) {
    BracketFlowKeyword(k, w);
  } else {
    const int p = w.IndexOf(k.ewAssignOp);
    if (!RewriteMultipleResults(k, w, p) && p >= 0) {
      RewriteIndexedAssignment(k, w, p);
      start = p;
    }
  }
  RewriteIndexing(k, w, start);
  RewriteSquareBrackets(k, w);
}

}  // namespace zel
