// Preprocessing of a line's word list: open range ends, flow keyword brackets, multiple results,
// indexed assignment, indexing and square-bracket matrices all become ordinary calls.
#include "script/expression.h"

namespace zel {

namespace {

constexpr std::uint32_t kOperand = ltConstant | ltVariable;
bool Is(const TExprWord* w, std::uint32_t kinds) { return (w->LexemeType() & kinds) != 0; }

// Moves the word at `from` to position `to` (indexes after removal).
void Move(TExprWordList& w, int from, int to) { w.Insert(to, w.Extract(from)); }

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

}  // namespace

void TZelExpression::Preprocessor(TExprWordList& w) {
  if (FOnPreprocessor) FOnPreprocessor(*this, w);

  while (w.Count() > 0 && w[w.Count() - 1]->LexemeType() == ltSemicolon) w.Delete(w.Count() - 1);

  // Open range ends: a(:) → a(0:NubraEOA), a(2:) → a(2:NubraEOA), a(:3) → a(0:3).
  for (int i = 0; i < w.Count() - 1; ++i) {
    if (w[i] != ewColonOp) continue;
    if (!Is(w[i + 1], kOperand | ltFunction | ltVaryingFunction | ltOperator | ltLeftBracket)) {
      w.Insert(i + 1, ewNubraEOA);
    }
    const bool openStart =
        i == 0 || !Is(w[i - 1], kOperand | ltFunction | ltVaryingFunction | ltRightBracket);
    if (openStart) {
      auto* zero = new TExprConstant("", "0", false);
      fConstList.Append(zero);
      w.Insert(i, zero);
      ++i;
    }
    if (w[i + 1] == ewNubraEOA) ++i;  // continue after the inserted end marker
  }

  if (w.Count() == 0) {
    w.Append(ewTrue);
    return;
  }

  int start = 0;
  if (w[0] == ewFor || w[0] == ewWhile || w[0] == ewIf) {
    if (w.Count() < 2 || w[1]->LexemeType() != ltLeftBracket) {
      w.Insert(1, ewLeftBracket);
      w.Append(ewRightBracket);
    }
    if (w[0] == ewFor) {
      for (int k = 3; k < w.Count(); ++k) {
        if (w[k] == ewAssignOp) {
          w.SetItems(k, ewComma);
          break;
        }
      }
    }
  } else {
    int p = w.IndexOf(ewAssignOp);
    const int last = w.Count() - 1;
    if (p >= 2 && w[0]->LexemeType() == ltLeftBracket && w[p - 1]->LexemeType() == ltRightBracket &&
        w[last]->LexemeType() == ltRightBracket) {
      // (a, b) = f(x) → f(x, a, b)
      w.Insert(last, ewComma);
      for (int k = 0; k < p - 2; ++k) Move(w, 1, w.Count() - 2);
      w.Delete(0);
      w.Delete(0);
      w.Delete(0);
      p = -1;
    } else if (p >= 0) {
      // v(i, ...) = e → assign(v, i, ..., e)
      const int j = FindIndexedVariable(w, 0);
      if (j >= 0 && j < p) {
        w.SetItems(p, ewComma);
        Move(w, p - 1, w.Count() - 1);
        Swap(w, j, j + 1);
        w.Insert(j + 2, ewComma);
        w.Insert(0, ewAssign);
      }
    }
    if (p >= 0) start = p;
  }

  // Indexing: v(i, j) → select(v, i, j).
  for (int j = FindIndexedVariable(w, start); j >= 0; j = FindIndexedVariable(w, j + 4)) {
    Swap(w, j, j + 1);
    w.Insert(j, ewSelect);
    w.Insert(j + 3, ewComma);
  }

  // Square brackets: [a, b; c, d] → rowconcat(colconcat(a, b), colconcat(c, d)); [a, b] → colconcat(a, b).
  for (int i = 0; i < w.Count(); ++i) {
    if (w[i]->LexemeType() != ltLeftSquareBracket) continue;
    bool matrix = false;
    int depth = 0;
    for (int k = i; k < w.Count(); ++k) {
      const std::uint32_t t = w[k]->LexemeType();
      if (t == ltLeftSquareBracket) ++depth;
      if (t == ltRightSquareBracket && --depth == 0) break;
      if (t == ltSemicolon && depth == 1) matrix = true;
    }
    depth = 0;
    for (int k = i; k < w.Count(); ++k) {
      const std::uint32_t t = w[k]->LexemeType();
      if (t == ltLeftSquareBracket) {
        if (depth++ == 0) {
          w.Delete(k);
          if (matrix) {
            w.Insert(k, ewRowConcat);
            w.Insert(k + 1, ewLeftBracket);
            w.Insert(k + 2, ewColConcat);
            w.Insert(k + 3, ewLeftBracket);
            k += 3;
          } else {
            w.Insert(k, ewColConcat);
            w.Insert(k + 1, ewLeftBracket);
            k += 1;
          }
        }
      } else if (t == ltSemicolon && depth == 1 && matrix) {
        w.Delete(k);
        w.Insert(k, ewRightBracket);
        w.Insert(k + 1, ewComma);
        w.Insert(k + 2, ewColConcat);
        w.Insert(k + 3, ewLeftBracket);
        k += 3;
      } else if (t == ltRightSquareBracket && --depth == 0) {
        w.Delete(k);
        w.Insert(k, ewRightBracket);
        if (matrix) w.Insert(k + 1, ewRightBracket);
        break;
      }
    }
  }
}

}  // namespace zel
