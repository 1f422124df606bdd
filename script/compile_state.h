// The compile state: what the compiler's stages work on besides the line itself. The expression object
// builds one per compilation from its symbol table, constant list, syntax words and settings, and passes
// it by reference to every stage function (script/stages.h).
#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "lang/words/wordlist.h"

namespace zel {

class TZelExpression;

// Called before each line is preprocessed; may change the line's word list in place.
using TPreprocessorEvent = std::function<void(TZelExpression& sender, TExprWordList& words)>;

// Words of the symbol table that the compiler compares by identity or inserts when it rewrites syntax.
struct TSyntaxWords {
  TExprWord* ewWhile = nullptr;
  TExprWord* ewEnd = nullptr;
  TExprWord* ewIf = nullptr;
  TExprWord* ewElse = nullptr;
  TExprWord* ewFor = nullptr;
  TExprWord* ewEndFor = nullptr;
  TExprWord* ewBreak = nullptr;
  TExprWord* ewContinue = nullptr;
  TExprWord* ewTrue = nullptr;
  TExprWord* ewNubraEOA = nullptr;
  TExprWord* ewComma = nullptr;
  TExprWord* ewLeftBracket = nullptr;
  TExprWord* ewRightBracket = nullptr;
  TExprWord* ewRowConcat = nullptr;
  TExprWord* ewColConcat = nullptr;
  TExprWord* ewAssign = nullptr;
  TExprWord* ewSelect = nullptr;
  TExprWord* ewAssignOp = nullptr;
  TExprWord* ewColonOp = nullptr;
};

// Variables a script names for the first time, waiting to join the symbol table. While a whole script
// is scanned they are collected here and merged into the sorted table once (EnterNewVariables), instead
// of shifting the table for every new name.
struct TNewVariables {
  std::vector<std::unique_ptr<TExprWord>> words;
  std::unordered_map<std::string_view, TExprWord*> byName;  // keys view the words' own names
};

struct TCompileState {
  TZelExpression& sender;                    // the expression object, handed to the preprocessor event
  TWordList& symbols;                        // the symbol table; unknown names enter it as variables
  TExprWordList& constants;                  // owns the literal and folded constant words
  const TSyntaxWords& words;                 // the syntax words of the symbol table
  bool constantsAlwaysReal;                  // integer literals become doubles
  const TPreprocessorEvent& onPreprocessor;  // the host's hook before each line is preprocessed
  TNewVariables* newVariables = nullptr;     // set while a whole script is scanned
};

}  // namespace zel
