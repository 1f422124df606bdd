// The built-in language's words: every family of built-in functions and the operators, registered into a
// symbol table in one call, and the words the compiler rewrites syntax into.
#pragma once

#include "lang/words/wordlist.h"

namespace zel {

// Choices fixed when the symbol table is built.
struct TBuiltinOptions {
  bool concatsAlwaysReal = true;  // colconcat/rowconcat make integer data real
};

// Words the compiler rewrites syntax into.
struct TBuiltinWords {
  TExprWord* select = nullptr;     // a(i), a(i, j)
  TExprWord* assign = nullptr;     // a(i) = x
  TExprWord* colConcat = nullptr;  // [a, b]
  TExprWord* rowConcat = nullptr;  // [a; b]
  TExprWord* colonOp = nullptr;    // ":"
  TExprWord* assignOp = nullptr;   // "="
};

// Registers the function families, then the operators (InitOperators), unsorted, and hands back the words
// the compiler rewrites syntax into.
TBuiltinWords RegisterBuiltins(TWordList& words, const TBuiltinOptions& options);

}  // namespace zel
