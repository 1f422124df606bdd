// Registration of function tables (see registration.h): twins, overload rows, output arguments and
// varying functions.
#include "lang/words/registration.h"

#include <cstring>
#include <string>

namespace zel {

namespace {

// The twin's help: the explicit text, or the lower-case help with its leading name respelled.
std::string TwinHelp(const TFunctionEntry& e) {
  if (e.twinHelp) return e.twinHelp;
  const std::size_t n = std::strlen(e.name);
  if (std::strncmp(e.help, e.name, n) == 0) return e.twin + std::string(e.help + n);
  return e.help;
}

// Defines one spelling of a row, as a new word or as an overload of the word at `overload`.
int Define(TWordList& w, const char* name, const TFunctionEntry& e, const std::string& help, int overload) {
  if (e.varying)
    return w.DefineVaryingFunctionUnsorted(name, e.routine, e.argCount, e.resultCount, help, overload);
  return w.DefineFunctionUnsorted(name, e.routine, e.argCount, e.resultCount, help, overload);
}

}  // namespace

int RegisterFunctions(TWordList& words, std::span<const TFunctionEntry> table) {
  int last = -1;
  int lastTwin = -1;
  const char* previous = nullptr;
  for (const TFunctionEntry& e : table) {
    const bool overload = previous && std::strcmp(previous, e.name) == 0;
    last = Define(words, e.name, e, e.help, overload ? last : -1);
    if (e.twin) lastTwin = Define(words, e.twin, e, TwinHelp(e), overload ? lastTwin : -1);
    previous = e.name;
  }
  return last;
}

}  // namespace zel
