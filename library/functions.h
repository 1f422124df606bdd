// The built-in function library: registration of the functions into a symbol table, and the routines
// the expression object refers to directly.
#pragma once

#include <span>

#include "lang/words/wordlist.h"

namespace zel {

// Words of the library the compiler rewrites syntax into.
struct TBuiltinWords {
  TExprWord* select = nullptr;     // a(i), a(i, j)
  TExprWord* assign = nullptr;     // a(i) = x
  TExprWord* colConcat = nullptr;  // [a, b]
  TExprWord* rowConcat = nullptr;  // [a; b]
};

// One row of a registration table: a function, usually with its capitalised twin.
struct TFunctionEntry {
  const char* name;  // the lower-case spelling
  const char* twin;  // the capitalised spelling, or nullptr for a function with one spelling
  TExprFunc routine;
  int argCount;                    // counting output arguments; -1: variable count
  const char* help;                // help of the lower-case word
  const char* twinHelp = nullptr;  // nullptr: `help` with its leading name written as the twin
  int resultCount = 0;             // trailing output arguments
  bool varying = false;            // the result may change between calls with equal arguments
};

// Registers the rows in order (unsorted). A row whose name equals the previous row's name adds an
// overload (another argument count) to the words of that row. Returns the index of the last row's
// lower-case word.
int RegisterFunctions(TWordList& words, std::span<const TFunctionEntry> table);

// Registers the built-in functions (unsorted). `concatsAlwaysReal` picks the concatenation variant.
void InitFunctions(TWordList& words, bool concatsAlwaysReal, TBuiltinWords& refs);

// ifthen(a, b, c): b when a is true, else c (all three evaluated).
void _IfThen(TExprRec& expr);

}  // namespace zel
