// The probability module's registration and hook installation. Loading the module installs its
// registration routine as TWordList's OnProbabilities hook and its self-test as OnTestProbabilities, so
// every symbol table built afterwards gets the words (InitSymbols calls the hook after the built-in
// functions, before the one sort). The installation runs from a static initialiser; because zel_library
// is a static archive, RegisterBuiltins also calls InstallProbabilities once, which makes the linker keep
// this file (and with it the initialiser) in every program that builds a symbol table.
#include "library/probabilities/dist_words.h"
#include "library/probabilities/probabilities.h"

namespace zel {

void RegisterProbabilities(TWordList& words) {
  prob::RegisterSpecialFunctions(words);
  prob::RegisterDistributions(words);
  prob::RegisterStatistics(words);
}

bool InstallProbabilities() {
  if (!TWordList::OnProbabilities()) {
    TWordList::SetOnProbabilities(RegisterProbabilities);
    TWordList::SetOnTestProbabilities(TestProbabilities);
  }
  return true;
}

namespace {

// Installs the hooks when the module is loaded, before main.
[[maybe_unused]] const bool kInstalled = InstallProbabilities();

}  // namespace

}  // namespace zel
