// The probability module: about 170 words for 39 probability distributions (density, distribution
// function and its inverse), their statistics (mean, variance, skewness, kurtosis) and special functions
// (beta and gamma families, Dirichlet and zeta functions, the Lerch transcendent, harmonic numbers,
// binomial coefficients). The module adds itself to every symbol table through the word list's category
// hooks: when it is linked it installs RegisterProbabilities as TWordList's OnProbabilities hook and
// TestProbabilities as its OnTestProbabilities hook.
#pragma once

#include "lang/words/wordlist.h"

namespace zel {

// Enters the module's words into a symbol table (unsorted): the special functions, then the PDF, CDF and
// CDFInv words of each distribution, then the statistics functions.
void RegisterProbabilities(TWordList& words);

// The module's self-test: evaluates sample expressions through the test entry points of the expression
// object `sender` (a TExprTester) and raises at the first mismatch.
void TestProbabilities(TObject* sender);

// Sets both hooks unless the registration hook is already set; returns true. Runs when the module is
// loaded; RegisterBuiltins calls it once too, which makes the linker keep the module.
bool InstallProbabilities();

}  // namespace zel
