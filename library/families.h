// The families of built-in functions. Each family file ends with its registration table and the register
// function declared here, which enters the table into a symbol table (unsorted); RegisterBuiltins
// (functions.h) calls them in turn.
#pragma once

#include "lang/words/wordlist.h"

namespace zel {

// elementwise.cpp: the one-argument element-wise functions (exp, ln/log, sqrt, trigonometry, complex parts,
// rounding to doubles, gamma, erf, ...) and their capitalised twins.
void RegisterElementWiseFunctions(TWordList& words);

// concat.cpp: colconcat and rowconcat in the variant that makes integer data real (`alwaysReal`) or the
// one that keeps it integer; hands back both words.
void RegisterConcatFunctions(TWordList& words, bool alwaysReal, TExprWord*& colConcat, TExprWord*& rowConcat);

// ifthen.cpp: ifthen.
void RegisterIfThen(TWordList& words);

// strings.cpp: inttostr, sampletostr, cplxtostr, formatsample, formatcplx, upper, lower, trim, replacestr,
// replacetext, pos, comparestr, comparetext and their capitalised twins.
void RegisterStringFunctions(TWordList& words);
// conversions.cpp: double, boolean and their capitalised twins.
void RegisterConversionFunctions(TWordList& words);
// tointeger.cpp: roundtoint, trunctoint, integer and their capitalised twins.
void RegisterToIntegerFunctions(TWordList& words);

// numtests.cpp: isnan, isinf, isinfnan, isnaninf and their capitalised twins.
void RegisterNumberTests(TWordList& words);

// binary_math.cpp: logN, power/pow, intpower/intpow, rem, arctan2, pythag, polartocart, root.
void RegisterBinaryMathFunctions(TWordList& words);
// binary_math.cpp: the routine of cplx(re, im), registered in elementwise.cpp right after the 1-argument
// cplx row (the overloads of one name are adjacent rows of one table).
void MakeComplex(TExprRec& expr);
// outputs.cpp: sincos, sinhcosh, carttopolar (two output arguments each).
void RegisterOutputFunctions(TWordList& words);
// integer_math.cpp: gcd, lcm, remdiv.
void RegisterIntegerFunctions(TWordList& words);
// thresholds.cpp: threshbottom, threshtop.
void RegisterThresholdFunctions(TWordList& words);
// random.cpp: random, randomg, randg.
void RegisterRandomFunctions(TWordList& words);
// misc.cpp: undefine, IsEqual.
void RegisterMiscFunctions(TWordList& words);

// ---- reductions, statistics and matrix measures ----
// reductions.cpp: sum, product, min and max (one and two arguments), mean.
void RegisterReductionFunctions(TWordList& words);
// statistics.cpp: rms, stddev, kurtosis and skewness (one and three arguments), median.
void RegisterStatisticsFunctions(TWordList& words);
// vector_norms.cpp: normc, norml1, norml2, sumofsqr.
void RegisterVectorNormFunctions(TWordList& words);
// sizes.cpp: length, rows, cols, iscomplex.
void RegisterSizeFunctions(TWordList& words);
// measures.cpp: meanrows, meancols, sumrows, sumcols, stddevrows, stddevcols, norm1, normfro, norminf,
// trace, zscore.
void RegisterMatrixMeasureFunctions(TWordList& words);
// ---- signal processing and polynomials ----
// transforms.cpp: fft, ifft, iffttoreal, fft2d, ifft2d, ifft2dtoreal, dct/Dct, idct/Idct, hilbert.
void RegisterTransformFunctions(TWordList& words);
// signal.cpp: convolve, crosscorr, autocorrnormal, autocorrbiased, autocorrunbiased, dotprod, normalize.
void RegisterSignalFunctions(TWordList& words);
// cumulative.cpp: cumsum, difference, integrate.
void RegisterCumulativeFunctions(TWordList& words);
// polynomials.cpp: polyeval, polyroots, polycoeff, deconv.
void RegisterPolynomialFunctions(TWordList& words);
// ---- construction, rearrangement and linear algebra ----
// construction.cpp: zeros, ones, eye, ramp, primes, hankel, toeplitz, kac, pascl, vandermonde, kron.
void RegisterConstructionFunctions(TWordList& words);
// rearrangement.cpp: reverse, rotate, rotate90, flipver, fliphor, sortascend, sortdescend, diag,
// uppertriangle, lowertriangle.
void RegisterRearrangementFunctions(TWordList& words);
// linear_algebra.cpp: determinant, cholesky, eig, svd, svdsolve, lqr, zelintpower, zelpower, zelsqrt.
void RegisterLinearAlgebraFunctions(TWordList& words);

}  // namespace zel
