// Inside the probability module: the description of a distribution's words, the shared parameter checks
// and the routines that run a PDF, CDF or CDFInv word, a statistics word, and the registration parts.
#pragma once

#include <string>

#include "core/distributions.h"
#include "lang/words/wordlist.h"

namespace zel::prob {

// The words of one distribution: PDF, CDF and (when it has a help text) CDFInv.
struct TDistWords {
  TDistribution dist;
  const char* stem;     // "Normal": the words are NormalPDF, NormalCDF, NormalCDFInv
  int argCount;         // x and the parameters
  const char* kinds;    // the parameters' kinds by position 1, 2, ...: 'R' real, 'I' integer, 'B' boolean
  const char* help[3];  // PDF, CDF, CDFInv; nullptr: no CDFInv word
  const char* realMessage = nullptr;   // the distribution's own message for a failing real parameter
  const char* firstMessage = nullptr;  // own message when x is not of an integer kind (else the type error)
};

// The name of the node's word, for messages.
std::string WordName(const TExprRec& e);
// Raises EZelParseError unless arguments from..to-1 of the node match the kinds (kinds[0] for argument
// `from`), naming the node's word: "%s : parameter %d must be a real number!" (or realMessage with the
// name), "%s : parameter %d must be an integer!", "%s: <ordinal> parameter must be true or false!".
void CheckParameters(const TExprRec& e, const char* kinds, int from, int to,
                     const char* realMessage = nullptr);
// The values of arguments from..to-1 (a boolean as 0 or 1).
TDistParams ParametersOf(const TExprRec& e, int from, int to);

// Runs function f of the distribution on the node: parameter checks, then x (argument 0) by its type.
void RunDistribution(TExprRec& e, const TDistWords& w, TDistFunction f);

// The registration parts, in the order the module registers them.
void RegisterSpecialFunctions(TWordList& words);
void RegisterDistributions(TWordList& words);
void RegisterStatistics(TWordList& words);

}  // namespace zel::prob
