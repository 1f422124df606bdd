// Construction of vectors and matrices: zeros, ones, eye, ramp, primes, hankel, toeplitz, kac, pascl,
// vandermonde and kron. Each function is one cell table over its argument kinds (the messages of refused
// combinations are cells too), and the numbers are the numeric core's (core/construct.h).
#include <algorithm>
#include <climits>

#include "core/construct.h"
#include "lang/operators/dispatch.h"
#include "lang/words/registration.h"
#include "library/families.h"
#include "library/redirect.h"

namespace zel {

namespace {

using namespace dispatch;

// An integer argument as a size or order; values beyond int are clamped, so the core refuses them as
// negative or too large.
int SizeOf(const TValueRec& v) {
  return static_cast<int>(std::clamp<std::int64_t>(v.IntegerValue(), INT_MIN, INT_MAX));
}
int Arg(TExprRec& e, int i) { return SizeOf(*e.Args[i]); }

// A real, integer or complex scalar as a complex.
TCplx CplxOf(const TValueRec& v) {
  return v.ValueType() == vtComplexValue ? v.ComplexValue() : TCplx(v.DoubleValue(), 0.0);
}

// Cells of a two-size function: two integers run `routine`; two defined arguments of different types raise
// through `mismatch`; two of one other type are unsupported.
constexpr BinaryCells SizePairCells(TExprFunc routine, TExprFunc mismatch) {
  BinaryCells t{};
  for (int l = D; l < KindCount; ++l)
    for (int r = D; r < KindCount; ++r)
      if ((l == Re ? int{R} : l) != (r == Re ? int{R} : r)) t.cells[l][r] = Cell{None, Own, mismatch};
  Set(t, {I}, {I}, M, routine);
  return t;
}

// ---- zeros, ones, eye --------------------------------------------------------------------------------

// A real vector of Len elements, or a real r × c matrix, every element `Fill`.
template <int Fill>
struct Filled {
  static void Vector(TExprRec& e) {
    TVec& v = e.Res->VectorValue();
    v.Size(Arg(e, 0), false);
    v.SetVal(static_cast<double>(Fill));
  }
  static void Matrix(TExprRec& e) {
    TZel& m = e.Res->MatrixValue();
    m.Size(Arg(e, 0), Arg(e, 1), false);
    m.SetVal(static_cast<double>(Fill));
  }
};

void ZerosMismatch(TExprRec&) { throw EZelParseError("zeros: Two integer parameters required!"); }
void OnesMismatch(TExprRec&) { throw EZelParseError("ones: Two integer parameters required!"); }
void EyeMismatch(TExprRec&) { throw EZelParseError("eye: Function expects two integer params!"); }

void EyeSquare(TExprRec& e) { Eye(e.Res->MatrixValue(), Arg(e, 0), Arg(e, 0)); }
void EyeShaped(TExprRec& e) { Eye(e.Res->MatrixValue(), Arg(e, 0), Arg(e, 1)); }

constexpr UnaryCells kZeros1 = [] {
  UnaryCells t{};
  Set(t, {I}, V, Filled<0>::Vector);
  return t;
}();
constexpr UnaryCells kOnes1 = [] {
  UnaryCells t{};
  Set(t, {I}, V, Filled<1>::Vector);
  return t;
}();
constexpr UnaryCells kEye1 = [] {
  UnaryCells t{};
  Set(t, {I}, M, EyeSquare);
  return t;
}();
constexpr BinaryCells kZeros2 = SizePairCells(Filled<0>::Matrix, ZerosMismatch);
constexpr BinaryCells kOnes2 = SizePairCells(Filled<1>::Matrix, OnesMismatch);
constexpr BinaryCells kEye2 = SizePairCells(EyeShaped, EyeMismatch);

void _Zeros1(TExprRec& e) { Dispatch(e, kZeros1); }
void _Zeros2(TExprRec& e) { Dispatch(e, kZeros2); }
void _Ones1(TExprRec& e) { Dispatch(e, kOnes1); }
void _Ones2(TExprRec& e) { Dispatch(e, kOnes2); }
void _Eye1(TExprRec& e) { Dispatch(e, kEye1); }
void _Eye2(TExprRec& e) { Dispatch(e, kEye2); }

// ---- ramp --------------------------------------------------------------------------------------------

// samples elements offset + i·step, real or (when offset or step is complex) complex.
void RealRamp(TExprRec& e) {
  TVec& v = e.Res->VectorValue();
  v.Size(Arg(e, 0), false);
  v.Ramp(e.Args[1]->DoubleValue(), e.Args[2]->DoubleValue());
}
void ComplexRamp(TExprRec& e) {
  TVec& v = e.Res->VectorValue();
  v.Size(Arg(e, 0), true);
  v.Ramp(CplxOf(*e.Args[1]), CplxOf(*e.Args[2]));
}

// Three arguments: the types are checked on the first evaluation, which keeps the typed routine.
void _Ramp(TExprRec& e) {
  const auto scalar = [](const TValueRec& v) {
    const TValueType t = v.ValueType();
    return t == vtDoubleValue || t == vtIntegerValue || t == vtComplexValue;
  };
  if (e.Args[0]->ValueType() != vtIntegerValue || !scalar(*e.Args[1]) || !scalar(*e.Args[2]))
    RaiseUnsupportedArgs(e);
  const bool complex = e.Args[1]->ValueType() == vtComplexValue || e.Args[2]->ValueType() == vtComplexValue;
  Run(e, Cell{V, Own, complex ? ComplexRamp : RealRamp});
}

// ---- special matrices --------------------------------------------------------------------------------

void PrimesOf(TExprRec& e) { PrimeNumbers(e.Res->VectorValue(), Arg(e, 0)); }
void HankelOf(TExprRec& e) { Hankel(e.Args[0]->VectorValue(), e.Res->MatrixValue()); }
void ToeplitzOf(TExprRec& e) { Toeplitz(e.Args[0]->VectorValue(), e.Res->MatrixValue()); }
void KacOf(TExprRec& e) { Kac(e.Res->MatrixValue(), Arg(e, 0)); }
void PasclOf(TExprRec& e) { Pascl(e.Res->MatrixValue(), Arg(e, 0)); }
void VanderMondeOf(TExprRec& e) { VanderMonde(Arg(e, 0), e.Args[1]->VectorValue(), e.Res->MatrixValue()); }
void VanderMondeNotVector(TExprRec&) {
  throw EZelParseError("Vandermonde: Second parameter must be a vector!");
}

// One cell: argument kind k gives result kind `result` through `routine`.
constexpr UnaryCells One(Kind k, Kind result, TExprFunc routine) {
  UnaryCells t{};
  Set(t, {k}, result, routine);
  return t;
}
constexpr UnaryCells kPrimes = One(I, V, PrimesOf);
constexpr UnaryCells kHankel = One(V, M, HankelOf);
constexpr UnaryCells kToeplitz = One(V, M, ToeplitzOf);
constexpr UnaryCells kKac = One(I, M, KacOf);
constexpr UnaryCells kPascl = One(I, M, PasclOf);

// An integer column count with a vector; any other defined x is refused with the message.
constexpr BinaryCells kVanderMonde = [] {
  BinaryCells t{};
  for (int r = D; r < KindCount; ++r) t.cells[I][r] = Cell{None, Own, VanderMondeNotVector};
  Set(t, {I}, {V}, M, VanderMondeOf);
  return t;
}();

void _Primes(TExprRec& e) { Dispatch(e, kPrimes); }
void _Hankel(TExprRec& e) { Dispatch(e, kHankel); }
void _Toeplitz(TExprRec& e) { Dispatch(e, kToeplitz); }
void _Kac(TExprRec& e) { Dispatch(e, kKac); }
void _Pascl(TExprRec& e) { Dispatch(e, kPascl); }
void _VanderMonde(TExprRec& e) { Dispatch(e, kVanderMonde); }

// ---- kron --------------------------------------------------------------------------------------------

void KronReal(TExprRec& e) { Kron(e.Args[0]->VectorValue(), e.Args[1]->VectorValue(), e.Res->MatrixValue()); }
void KronInt(TExprRec& e) {
  Kron(e.Args[0]->IntVectorValue(), e.Args[1]->IntVectorValue(), e.Res->IntMatrixValue());
}
void KronNotVectors(TExprRec&) { throw EZelParseError("Kron: second and first parameter must be a vector!"); }
void KronNotIntVectors(TExprRec&) {
  throw EZelParseError("Kron: second and first parameter must be an integer vector!");
}

// Two vectors or two integer vectors; a vector (first looked for in the first argument) with anything
// else raises its kind's message.
constexpr BinaryCells kKron = [] {
  BinaryCells t{};
  for (int other = D; other < KindCount; ++other) {
    t.cells[other][IV] = Cell{None, Own, KronNotIntVectors};
    t.cells[other][V] = Cell{None, Own, KronNotVectors};
  }
  for (int other = D; other < KindCount; ++other) {
    t.cells[IV][other] = Cell{None, Own, KronNotIntVectors};
    t.cells[V][other] = Cell{None, Own, KronNotVectors};
  }
  Set(t, {V}, {V}, M, KronReal);
  Set(t, {IV}, {IV}, IM, KronInt);
  return t;
}();

void _Kron(TExprRec& e) { Dispatch(e, kKron); }

constexpr TFunctionEntry kConstruction[] = {
    {"zeros", "Zeros", _Zeros1, 1, "zeros(Len): returns a vector of zeros Len in size."},
    {"zeros", "Zeros", _Zeros2, 2, "zeros(r,c): returns a vector or a matrix of zeros r x c in size."},
    {"ones", "Ones", _Ones1, 1, "ones(Len): returns a vector of ones Len in size."},
    {"ones", "Ones", _Ones2, 2, "ones(r,c): returns a vector or a matrix of ones r x c in size."},
    {"eye", "Eye", _Eye1, 1,
     "eye(r): returns square matrix size r x r of zeros with ones on the main diagonal."},
    {"eye", "Eye", _Eye2, 2,
     "eye(r,c): returns non-square matrix size r x c of zeros with ones on the main diagonal."},
    {"ramp", "Ramp", _Ramp, 3,
     "ramp(samples,offset,step): creates vector with a ramp with length samples, which starts at offset and "
     "rises with step"},
    {"primes", "Primes", _Primes, 1,
     "primes(n): returns n prime numbers up to value 1000. The values are fetched from a table."},
    {"hankel", "Hankel", _Hankel, 1,
     "hankel(firstColumn): returns hankel matrix with first column vector specified as parameter."},
    {"toeplitz", "Toeplitz", _Toeplitz, 1,
     "toeplitz(firstRow): returns toeplitz matrix with first row vector specified as parameter."},
    {"kac", nullptr, _Kac, 1, "kac(n): returns the Clement matrix of size (n + 1) x (n + 1)."},
    {"pascl", nullptr, _Pascl, 1, "pascl(n): returns the  pascal matrix of size n x n."},
    {"vandermonde", nullptr, _VanderMonde, 2,
     "vandermonde(cols, x): returns the vandermonde matrix of length(x) x cols"},
    {"kron", "Kron", _Kron, 2, "kron(vec1, vec2): returns the Kronecker product between Vec1 and Vec2."},
};

}  // namespace

void RegisterConstructionFunctions(TWordList& words) { RegisterFunctions(words, kConstruction); }

}  // namespace zel
