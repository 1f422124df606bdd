// Registration tables: the row type in which every family of built-in functions lists its words, and the
// routine that enters such a table into a symbol table. It sits below the operators and the library so
// that both can keep their tables next to their routines.
#pragma once

#include <span>

#include "lang/words/wordlist.h"

namespace zel {

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

}  // namespace zel
