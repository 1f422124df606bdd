// The syntax check of a preprocessed line: bracket balance, keywords that must stand alone, operands
// without an operator between them, empty brackets; and the marking of unary signs.
#include "script/stages.h"

namespace zel {

namespace {

// True for an operator that takes two operands.
bool IsBinaryOperator(const TExprWord* w) { return w->LexemeType() == ltOperator && w->NFuncArg() == 2; }

// Raises unless "(" and ")" balance.
void CheckBrackets(const TExprWordList& w) {
  int balance = 0;
  for (int i = 0; i < w.Count(); ++i) {
    if (w[i]->LexemeType() == ltLeftBracket) ++balance;
    if (w[i]->LexemeType() == ltRightBracket) --balance;
  }
  if (balance != 0) throw EZelParseError("Unequal brackets");
}

// Raises when else, end, continue or break shares its line with other words.
void CheckLoneKeywords(const TSyntaxWords& k, const TExprWordList& w) {
  if (w.Count() <= 1) return;
  for (int i = 0; i < w.Count(); ++i) {
    if (w[i] == k.ewElse) ERaise("The \"else\" keyword must be the only word on the line.");
    if (w[i] == k.ewEnd) ERaise("The \"end\" keyword must be the only word on the line.");
    if (w[i] == k.ewContinue) ERaise("The \"continue\" keyword must be the only word on the line.");
    if (w[i] == k.ewBreak) ERaise("The \"break\" keyword must be the only word on the line.");
  }
}

// A "+" or "-" at the start or after ",", "(" or a binary operator absorbs the signs that follow it and
// becomes "+@" or "-@". The last word is never examined. The list is rebuilt once, not shortened word by
// word.
void MarkUnarySigns(const TWordList& symbols, TExprWordList& w) {
  const int n = w.Count();
  std::vector<TExprWord*> out;
  out.reserve(static_cast<size_t>(n));
  bool changed = false;
  for (int i = 0; i < n; ++i) {
    TExprWord* word = w[i];
    const std::string& name = word->Name();
    const bool sign = name == "-" || name == "+";
    const bool unary = sign && i < n - 1 &&
                       (out.empty() || out.back()->LexemeType() == ltComma ||
                        out.back()->LexemeType() == ltLeftBracket || IsBinaryOperator(out.back()));
    if (!unary) {
      out.push_back(word);
      continue;
    }
    int value = name == "-" ? -1 : 1;
    while (i + 1 < n && (w[i + 1]->Name() == "-" || w[i + 1]->Name() == "+")) {
      if (w[i + 1]->Name() == "-") value = -value;
      ++i;
    }
    int index = 0;
    if (symbols.Find(value < 0 ? "-@" : "+@", index)) word = symbols[index];
    out.push_back(word);
    changed = true;
  }
  if (changed) ReplaceWords(w, out);
}

// Raises at the first pair of neighbours that no operator joins.
void CheckNeighbours(const TExprWordList& w) {
  for (int i = 0; i + 1 < w.Count(); ++i) {
    const TExprWord* a = w[i];
    const TExprWord* b = w[i + 1];
    if (IsKind(a, kOperandKinds) && IsKind(b, kOperandKinds))
      throw EZelParseError(a->Name() + " two space limited variables/constants");
    if (a->LexemeType() == ltRightBracket && b->LexemeType() == ltLeftBracket)
      throw EZelParseError("Missing operand between )(");
    if (a->LexemeType() == ltLeftBracket && b->LexemeType() == ltRightBracket)
      throw EZelParseError("Empty brackets ()");
    if (a->LexemeType() == ltRightBracket && IsKind(b, kOperandKinds))
      throw EZelParseError("Missing operand between ) and constant/variable");
  }
}

}  // namespace

void CheckSyntax(TCompileState& s, TExprWordList& w) {
  CheckBrackets(w);
  CheckLoneKeywords(s.words, w);
  for (int i = 1; i < w.Count(); ++i)
    if (w[i]->LexemeType() == ltLeftBracket && IsKind(w[i - 1], kOperandKinds))
      throw EZelParseError("Missing operand between constant/variable and (");
  MarkUnarySigns(s.symbols, w);
  CheckNeighbours(w);
}

}  // namespace zel
