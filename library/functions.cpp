// The list of built-in function families; each family file holds its own registration table.
#include "library/functions.h"

#include "lang/operators/indexing_words.h"
#include "lang/operators/operators.h"
#include "library/families.h"
#include "library/probabilities/probabilities.h"

namespace zel {

TBuiltinWords RegisterBuiltins(TWordList& words, const TBuiltinOptions& options) {
  TBuiltinWords refs;
  // The probability module installs its hooks when it is loaded; this once-only call keeps it in the link.
  [[maybe_unused]] static const bool probabilities = InstallProbabilities();
  RegisterIndexingWords(words, refs.select, refs.assign);
  RegisterConcatFunctions(words, options.concatsAlwaysReal, refs.colConcat, refs.rowConcat);
  RegisterElementWiseFunctions(words);
  RegisterIfThen(words);
  RegisterStringFunctions(words);
  RegisterConversionFunctions(words);
  RegisterToIntegerFunctions(words);
  RegisterNumberTests(words);
  RegisterBinaryMathFunctions(words);
  RegisterOutputFunctions(words);
  RegisterIntegerFunctions(words);
  RegisterThresholdFunctions(words);
  RegisterRandomFunctions(words);
  RegisterMiscFunctions(words);
  // reductions, statistics and matrix measures
  RegisterReductionFunctions(words);
  RegisterStatisticsFunctions(words);
  RegisterVectorNormFunctions(words);
  RegisterSizeFunctions(words);
  RegisterMatrixMeasureFunctions(words);
  // signal processing and polynomials
  RegisterTransformFunctions(words);
  RegisterSignalFunctions(words);
  RegisterCumulativeFunctions(words);
  RegisterPolynomialFunctions(words);
  // construction, rearrangement and linear algebra
  RegisterConstructionFunctions(words);
  RegisterRearrangementFunctions(words);
  RegisterLinearAlgebraFunctions(words);
  InitOperators(words, refs.colonOp, refs.assignOp);
  return refs;
}

}  // namespace zel
