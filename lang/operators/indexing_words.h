// The function words the compiler rewrites indexing into: "select" for a(i), a(i, j) and typed grid
// reads, "assign" for a(i) = x and a(i, j) = x. Their routines are the selection and assignment operators.
#pragma once

#include "lang/words/wordlist.h"

namespace zel {

// Registers "select" (2, 3 and 4 arguments) and "assign" (3 and 4 arguments) in `words` (unsorted) and
// hands back both words.
void RegisterIndexingWords(TWordList& words, TExprWord*& selectWord, TExprWord*& assignWord);

}  // namespace zel
