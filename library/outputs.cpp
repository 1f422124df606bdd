// Functions that write two output arguments: (s, c) = sincos(x), (sh, ch) = sinhcosh(x) and
// (amplitude, phase) = carttopolar(x), which the preprocessor turns into f(x, s, c). The outputs take the
// shape of x (scalars for a real or complex scalar); the function's own result is the first output: the
// same double, or a reference to the first output's vector or matrix (no copy).
#include <cmath>

#include "core/pairmath.h"
#include "lang/operators/dispatch.h"
#include "lang/words/registration.h"
#include "library/families.h"
#include "library/output_args.h"

namespace zel {

namespace {

using namespace dispatch;

// The typed routines of a two-output function: scalar kernels F and G for a real scalar (Real) or, when
// they take a complex, for a complex scalar (Complex), and the core's two-output function Both for arrays.
template <auto F, auto G, auto Both>
struct TwoOutputs {
  static void Real(TExprRec& e) {
    const double x = e.Args[0]->DoubleValue();
    const double first = F(x);
    DoubleOutput(e, 1).SetDoubleValue(first);
    DoubleOutput(e, 2).SetDoubleValue(G(x));
    e.Res->DefineDouble();
    e.Res->SetDoubleValue(first);
  }
  static void Complex(TExprRec& e) {
    const TCplx z = e.Args[0]->ComplexValue();
    const double first = F(z);
    DoubleOutput(e, 1).SetDoubleValue(first);
    DoubleOutput(e, 2).SetDoubleValue(G(z));
    e.Res->DefineDouble();
    e.Res->SetDoubleValue(first);
  }
  static void Vector(TExprRec& e) {
    TVec& first = VectorOutput(e, 1);
    Both(e.Args[0]->getVectorValue(), first, VectorOutput(e, 2));
    e.Res->DefineVector(&first, false);
  }
  static void Matrix(TExprRec& e) {
    TZel& first = MatrixOutput(e, 1);
    Both(e.Args[0]->MatrixValue(), first, MatrixOutput(e, 2));
    e.Res->DefineMatrix(&first, false);
  }
};

// The scalar kernels of the outputs.
double Sin(double x) { return std::sin(x); }
double Cos(double x) { return std::cos(x); }
double Sinh(double x) { return std::sinh(x); }
double Cosh(double x) { return std::cosh(x); }
double Amplitude(double x) { return std::abs(x); }
double Phase(double x) { return std::atan2(0.0, x); }
double CplxAmplitude(TCplx z) { return std::abs(z); }
double CplxPhase(TCplx z) { return std::arg(z); }

// The core's array forms, as plain functions usable as template arguments.
void SinCosOf(const TNubraVec& x, TNubraVec& s, TNubraVec& c) { SinCos(x, s, c); }
void SinhCoshOf(const TNubraVec& x, TNubraVec& s, TNubraVec& c) { SinhCosh(x, s, c); }
void PolarOf(const TNubraVec& x, TNubraVec& a, TNubraVec& p) { CartToPolar(x, a, p); }

using SinCosRoutines = TwoOutputs<Sin, Cos, SinCosOf>;
using SinhCoshRoutines = TwoOutputs<Sinh, Cosh, SinhCoshOf>;
using PolarRoutines = TwoOutputs<Amplitude, Phase, PolarOf>;
using ComplexPolarRoutines = TwoOutputs<CplxAmplitude, CplxPhase, PolarOf>;

// The cells of a two-output function over reals, vectors and matrices; each routine defines its result.
template <class R>
constexpr UnaryCells TwoOutputCells() {
  UnaryCells t{};
  Set(t, {D, I}, None, R::Real);
  Set(t, {V}, None, R::Vector);
  Set(t, {M}, None, R::Matrix);
  return t;
}

constexpr UnaryCells kSinCosCells = TwoOutputCells<SinCosRoutines>();
constexpr UnaryCells kSinhCoshCells = TwoOutputCells<SinhCoshRoutines>();
constexpr UnaryCells kCartToPolarCells = [] {
  UnaryCells t = TwoOutputCells<PolarRoutines>();
  Set(t, {C}, None, ComplexPolarRoutines::Complex);
  return t;
}();

void _SinCos(TExprRec& e) { Dispatch(e, kSinCosCells); }
void _SinhCosh(TExprRec& e) { Dispatch(e, kSinhCoshCells); }
void _CartToPolar(TExprRec& e) { Dispatch(e, kCartToPolarCells); }

constexpr TFunctionEntry kOutputs[] = {
    {"sincos", "SinCos", _SinCos, 3, "(aSin, aCos) = sincos(x): computes sin(x) and cos(x)",
     "(aSin, aCos) = SinCos(x): computes sin(x) and cos(x)", 2},
    {"sinhcosh", "SinhCosh", _SinhCosh, 3, "(aSinh, aCosh) = sinhcosh(x): computes sin(x) and cos(x)",
     "(aSinh, aCosh) = SinhCosh(x): computes sin(x) and cos(x)", 2},
    {"carttopolar", "CartToPolar", _CartToPolar, 3,
     "(amplt, phase) = carttopolar(x): converts cartesian coordinate to polar coordinate",
     "(amplt, phase) = CartToPolar(x): converts cartesian coordinate to polar coordinate", 2},
};

}  // namespace

void RegisterOutputFunctions(TWordList& words) { RegisterFunctions(words, kOutputs); }

}  // namespace zel
