// Linear algebra on matrices: determinant, cholesky, eig, svd, svdsolve, lqr and the matrix functions
// zelintpower, zelpower and zelsqrt. The first argument must be a matrix (any other type raises the
// unsupported-types error); output arguments become vectors or matrices and are filled by the numeric
// core (core/decompositions.h, core/matfunc.h, core/linalg.h), whose definitions docs/functions.md
// states.
#include "core/decompositions.h"
#include "core/linalg.h"
#include "core/matfunc.h"
#include "lang/operators/dispatch.h"
#include "lang/words/registration.h"
#include "library/families.h"
#include "library/output_args.h"

namespace zel {

namespace {

using namespace dispatch;

const TZel& A(TExprRec& e) { return e.Args[0]->MatrixValue(); }

// The cells of a function of one matrix: the matrix gives `result` through `routine`.
constexpr UnaryCells OfMatrix(Kind result, TExprFunc routine) {
  UnaryCells t{};
  Set(t, {M}, result, routine);
  return t;
}

// ---- determinant and cholesky ------------------------------------------------------------------------

// A double for real data, a complex for complex data; the node's own result changes type with the data.
void DeterminantOf(TExprRec& e) {
  const TCplx d = Determinant(A(e));
  const TValueType want = A(e).Complex() ? vtComplexValue : vtDoubleValue;
  if (e.Res->ValueType() != want) e.Res->Undefine();
  if (want == vtComplexValue) {
    e.Res->DefineComplex();
    e.Res->SetComplexValue(d);
  } else {
    e.Res->DefineDouble();
    e.Res->SetDoubleValue(d.real());
  }
}
void CholeskyOf(TExprRec& e) { e.Res->SetBoolValue(Cholesky(A(e))); }

constexpr UnaryCells kDeterminant = OfMatrix(None, DeterminantOf);
constexpr UnaryCells kCholesky = OfMatrix(B, CholeskyOf);

// ---- eig and svd -------------------------------------------------------------------------------------

void EigValues(TExprRec& e) { Eig(A(e), e.Res->VectorValue()); }
void EigLeft(TExprRec& e) { Eig(A(e), e.Res->VectorValue(), &MatrixOutput(e, 1)); }
void EigBoth(TExprRec& e) { Eig(A(e), e.Res->VectorValue(), &MatrixOutput(e, 1), &MatrixOutput(e, 2)); }
void SVDValues(TExprRec& e) { SVD(A(e), e.Res->VectorValue()); }
void SVDVectors(TExprRec& e) { SVD(A(e), e.Res->VectorValue(), &MatrixOutput(e, 1), &MatrixOutput(e, 2)); }

constexpr UnaryCells kEig1 = OfMatrix(V, EigValues);
constexpr UnaryCells kEig2 = OfMatrix(V, EigLeft);
constexpr UnaryCells kEig3 = OfMatrix(V, EigBoth);
constexpr UnaryCells kSVD1 = OfMatrix(V, SVDValues);
constexpr UnaryCells kSVD3 = OfMatrix(V, SVDVectors);

// ---- svdsolve ----------------------------------------------------------------------------------------

// The rejection tolerance: 1E-9, or the fourth argument, which must be a double.
double Tolerance(TExprRec& e) {
  if (e.ArgCount < 4) return 1e-9;
  const TValueRec& tol = *e.Args[3];
  if (tol.ValueType() != vtDoubleValue)
    throw EZelParseError("svdsolve: fourth parameter (Tol) must be a real number!");
  return tol.DoubleValue();
}
void SolveVector(TExprRec& e) {
  const double tol = Tolerance(e);
  SVDSolve(A(e), e.Args[1]->VectorValue(), e.Res->VectorValue(), VectorOutput(e, 2), tol);
}
void SolveMatrix(TExprRec& e) {
  const double tol = Tolerance(e);
  SVDSolve(A(e), e.Args[1]->MatrixValue(), e.Res->MatrixValue(), VectorOutput(e, 2), tol);
}

constexpr BinaryCells kSVDSolve = [] {
  BinaryCells t{};
  Set(t, {M}, {V}, V, SolveVector);
  Set(t, {M}, {M}, M, SolveMatrix);
  return t;
}();

// ---- lqr ---------------------------------------------------------------------------------------------

// Q and R must be matrices, or variables not defined yet (which become matrices); both are checked
// before anything is written.
void CheckFactor(TExprRec& e, int i, const char* message) {
  const TValueType t = e.Args[i]->ValueType();
  if (t != vtMatrixValue && t != vtUndefined) throw EZelParseError(message);
}
void LQROf(TExprRec& e) {
  CheckFactor(e, 1, "LQR: second parameter must be a matrix!");
  CheckFactor(e, 2, "LQR: third parameter must be a matrix!");
  LQR(A(e), e.Res->MatrixValue(), MatrixOutput(e, 1), MatrixOutput(e, 2));
}

constexpr UnaryCells kLQR = OfMatrix(M, LQROf);

// ---- matrix functions --------------------------------------------------------------------------------

void IntPowerOf(TExprRec& e) { ZelIntPower(A(e), e.Args[1]->IntegerValue(), e.Res->MatrixValue()); }
void PowerOf(TExprRec& e) { ZelPower(A(e), e.Args[1]->DoubleValue(), e.Res->MatrixValue()); }
void SqrtOf(TExprRec& e) { ZelSqrt(A(e), e.Res->MatrixValue()); }
void IntPowerNotInteger(TExprRec&) {
  throw EZelParseError("ZelIntPower: second parameter must be an integer!");
}
void PowerNotReal(TExprRec&) { throw EZelParseError("ZelPower: second parameter must be a real number!"); }

// A matrix with one of the `accepted` kinds; with any other defined second argument the message.
constexpr BinaryCells MatrixWith(Kinds accepted, TExprFunc routine, TExprFunc refused) {
  BinaryCells t{};
  for (int r = D; r < KindCount; ++r) t.cells[M][r] = Cell{None, Own, refused};
  Set(t, {M}, accepted, M, routine);
  return t;
}

constexpr BinaryCells kIntPower = MatrixWith({I}, IntPowerOf, IntPowerNotInteger);
constexpr BinaryCells kPower = MatrixWith({D, I}, PowerOf, PowerNotReal);
constexpr UnaryCells kSqrt = OfMatrix(M, SqrtOf);

void _Determinant(TExprRec& e) { Dispatch(e, kDeterminant); }
void _Cholesky(TExprRec& e) { Dispatch(e, kCholesky); }
void _Eig1(TExprRec& e) { Dispatch(e, kEig1); }
void _Eig2(TExprRec& e) { Dispatch(e, kEig2); }
void _Eig3(TExprRec& e) { Dispatch(e, kEig3); }
void _SVD1(TExprRec& e) { Dispatch(e, kSVD1); }
void _SVD3(TExprRec& e) { Dispatch(e, kSVD3); }
void _SVDSolve(TExprRec& e) { Dispatch(e, kSVDSolve); }
void _LQR(TExprRec& e) { Dispatch(e, kLQR); }
void _IntPower(TExprRec& e) { Dispatch(e, kIntPower); }
void _Power(TExprRec& e) { Dispatch(e, kPower); }
void _Sqrt(TExprRec& e) { Dispatch(e, kSqrt); }

constexpr TFunctionEntry kLinearAlgebra[] = {
    {"determinant", "Determinant", _Determinant, 1, "determinant(x): returns the determinant of the matrix."},
    {"cholesky", "Cholesky", _Cholesky, 1,
     "cholesky(x): returns true, if matrix is symmetric and positive definite."},
    {"eig", "Eig", _Eig1, 1, "eig(x): returns eigevalues (d) of x"},
    {"eig", "Eig", _Eig2, 2, "eig(x, l): returns eigevalues (d) and stores left eigenvectors in l."},
    {"eig", "Eig", _Eig3, 3,
     "eig(x, l, r): returns eigevalues (d) and stores left eigenvectors in l and right eigenvectors in r."},
    {"svd", "SVD", _SVD1, 1, "svd(x): returns singular values of matrix x."},
    {"svd", "SVD", _SVD3, 3,
     "svd(x, u, v): returns singular values of matrix x and U and V values in parameters.."},
    {"svdsolve", "SVDSolve", _SVDSolve, 3,
     "svdsolve(a,b,s): returns the svd solution of a linear system AX = B. Singular values are returned "
     "in s. Function returns solution x."},
    {"svdsolve", "SVDSolve", _SVDSolve, 4,
     "svdsolve(a,b,s, tol): returns the svd solution of a linear system AX = B. Singular values are "
     "returned in s. Rejection tolerance is specified with tol. Function returns solution x."},
    {"lqr", "LQR", _LQR, 3,
     "lqr(x, Q, R): returns the LQR composition. The L is returned as function result and Q and R are "
     "stored in to the parameters."},
    {"zelintpower", "ZelIntPower", _IntPower, 2,
     "zelintpower(x, n): returns matrix x raised to integer power of n."},
    {"zelpower", "ZelPower", _Power, 2, "zelpower(x, r): returns matrix x raised to arbitrary power r."},
    {"zelsqrt", "ZelSqrt", _Sqrt, 2, "zelsqrt(x, n): returns square root of the matrix."},
};

}  // namespace

void RegisterLinearAlgebraFunctions(TWordList& words) { RegisterFunctions(words, kLinearAlgebra); }

}  // namespace zel
