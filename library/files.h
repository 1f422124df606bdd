// The words with which scripts reach files: binary file handles (FileOpen, FileRead, FileWrite, ...),
// CSV text files (csvRead, csvWrite) and file and directory management (FileExists, FileCopy, ...), each
// in a capitalised and a lower-case spelling. The expression object enters them in InitFileManagement
// and removes them again for scripts that must not touch files (TZelExpression::SetFileAccess).
#pragma once

#include <string>
#include <vector>

#include "lang/words/wordlist.h"

namespace zel {

// Registers every file word (unsorted): handle functions, then CSV, then file and directory management.
void RegisterFileFunctions(TWordList& words);

// Every name RegisterFileFunctions enters, both spellings.
const std::vector<std::string>& FileFunctionNames();

}  // namespace zel
