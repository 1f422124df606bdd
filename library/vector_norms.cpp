// Vector norms: normc (largest modulus), norml1, norml2 and sumofsqr. A vector (real or complex data)
// gives a double; a matrix gives a one-column matrix with the norm of each row. The numerics are the
// core's (core/stats.h); other argument types raise the unsupported-types error.
#include "core/stats.h"
#include "lang/operators/dispatch.h"
#include "lang/words/registration.h"
#include "library/families.h"

namespace zel {

namespace {

using namespace dispatch;

// The typed routines and the cell table of the norm Kind.
template <TVecNorm Kind>
struct NormFunction {
  static void OfVector(TExprRec& e) { e.Res->SetDoubleValue(Norm(e.Args[0]->VectorValue(), Kind)); }
  static void OfRows(TExprRec& e) { RowNorms(e.Args[0]->MatrixValue(), Kind, e.Res->MatrixValue()); }

  static constexpr UnaryCells kCells = [] {
    UnaryCells t{};
    Set(t, {V}, D, OfVector);
    Set(t, {M}, M, OfRows);
    return t;
  }();
  static void Routine(TExprRec& e) { Dispatch(e, kCells); }
};

constexpr TFunctionEntry kVectorNorms[] = {
    {"normc", "NormC", NormFunction<TVecNorm::vnC>::Routine, 1, "normc(x): returns C-Norm of data in x."},
    {"norml1", "NormL1", NormFunction<TVecNorm::vnL1>::Routine, 1,
     "norml1(x): returns L1-Norm of data in x."},
    {"norml2", "NormL2", NormFunction<TVecNorm::vnL2>::Routine, 1,
     "norml2(x): returns L2-Norm of data in x."},
    {"sumofsqr", "SumOfSqr", NormFunction<TVecNorm::vnSumOfSquares>::Routine, 1,
     "sumofsqr(x): returns sum of squares of x."},
};

}  // namespace

void RegisterVectorNormFunctions(TWordList& words) { RegisterFunctions(words, kVectorNorms); }

}  // namespace zel
