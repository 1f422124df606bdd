// Shared pieces of the file word families (file_handles.cpp, file_text.cpp): the registration row of a
// word registered in two spellings, argument checks, results, and the element type names.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "lang/words/wordlist.h"

namespace zel::files {

// One overload of a file word: registered as `name` with `help`, then as the all-lower-case name with
// `lowerHelp` (or `help` with every occurrence of the name written in lower case).
struct TFileWordRow {
  const char* name;
  TExprFunc routine;
  int argCount;
  int resultCount;
  bool varying;
  const char* help;
  const char* lowerHelp = nullptr;
};

// Registers the rows: the overloads of one name are adjacent rows; each name's capitalised overloads come
// before its lower-case ones.
void RegisterRows(TWordList& words, std::span<const TFileWordRow> rows, std::vector<std::string>* names);

// The text of argument i; any other type raises the unsupported-types error naming every argument.
const std::string& TextArg(const TExprRec& e, int i);
// The simple type named by string argument i (compared in lower case; the type is also stored as that
// argument's tag). Unknown names raise "Unrecognized type: NAME".
TSimpleType SimpleTypeArg(TExprRec& e, int i);
// A boolean result.
void PutBool(TExprRec& e, bool value);

// The rows of the handle words (file_handles.cpp) and of the CSV and file management words
// (file_text.cpp), in registration order.
std::span<const TFileWordRow> HandleRows();
std::span<const TFileWordRow> TextRows();

}  // namespace zel::files
