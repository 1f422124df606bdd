// The compile state: what the compiler's stages work on besides the line itself. The expression object
// builds one per compilation from its symbol table, constant list, syntax words and settings, and passes
// it by reference to every stage function (script/stages.h).
#pragma once

#include <functional>
#include <memory>
#include <string>
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

// What the scan of a whole script collects. Variables the script names for the first time wait here and
// join the sorted symbol table in one merge (EnterNewVariables) instead of shifting the table for every
// new name. Literals of the same text share one constant word: nothing writes into a literal (assignments
// to literals are refused), so each occurrence reading its own copy would only cost memory.
struct TScriptScan {
  std::vector<std::unique_ptr<TExprWord>> variables;
  std::unordered_map<std::string_view, TExprWord*> variablesByName;  // keys view the words' own names
  std::unordered_map<std::string, TExprWord*> literals;              // by literal text
};

struct TCompileState {
  TZelExpression& sender;                    // the expression object, handed to the preprocessor event
  TWordList& symbols;                        // the symbol table; unknown names enter it as variables
  TExprWordList& constants;                  // owns the literal and folded constant words
  const TSyntaxWords& words;                 // the syntax words of the symbol table
  bool constantsAlwaysReal;                  // integer literals become doubles
  const TPreprocessorEvent& onPreprocessor;  // the host's hook before each line is preprocessed
  TScriptScan* script = nullptr;             // set while a whole script is scanned
  std::string outputError;                   // a multiple-result output that is not a variable
};

}  // namespace zel
