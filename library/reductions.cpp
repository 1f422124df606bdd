// Reductions of a whole value to one scalar: sum, product, mean, and min and max of one value or of two.
// Scalars pass through (with the type each function gives them); vectors and matrices are reduced by the
// numeric core (core/stats.h) to a double, or to a complex number when their data is complex, so those
// routines define the result themselves on every run; integer vectors and matrices give an integer (a
// double for mean).
//
// min(a, b) and max(a, b) reduce each argument to its own extreme and compare the two: the result is
// complex when either side is complex (then both sides are reduced in the order of complex numbers, by
// modulus), an integer when an integer vector or matrix meets an integer kind, and a double otherwise
// (two integer scalars too). An empty vector or matrix contributes nothing.
#include <cmath>
#include <cstdint>

#include "core/errors.h"
#include "core/stats.h"
#include "lang/operators/dispatch.h"
#include "lang/words/registration.h"
#include "library/families.h"

namespace zel {

namespace {

using namespace dispatch;

TValueRec& Arg(TExprRec& e) { return *e.Args[0]; }

// ---- one argument --------------------------------------------------------------------------------

void CopyDouble(TExprRec& e) { e.Res->SetDoubleValue(Arg(e).DoubleValue()); }
void CopyInt(TExprRec& e) { e.Res->SetIntegerValue(Arg(e).IntegerValue()); }
void CopyCplx(TExprRec& e) { e.Res->SetComplexValue(Arg(e).ComplexValue()); }
// An integer's value as a double.
void IntToDouble(TExprRec& e) { e.Res->SetDoubleValue(static_cast<double>(Arg(e).IntegerValue())); }

// A real result for real data, a complex one for complex data, defined on every run.
template <auto Real, auto Cplx>
void ByData(TExprRec& e) {
  const TNubraVec& x = Arg(e).RealElements();
  if (x.Complex()) {
    e.Res->DefineComplex();
    e.Res->SetComplexValue(Cplx(x));
  } else {
    e.Res->DefineDouble();
    e.Res->SetDoubleValue(Real(x));
  }
}

// The core's reduction of integer data, as an integer or a double result.
template <auto F>
void OfIntegers(TExprRec& e) {
  e.Res->SetIntegerValue(F(Arg(e).IntElements()));
}
void MeanOfIntegers(TExprRec& e) { e.Res->SetDoubleValue(Mean(Arg(e).IntElements())); }

// The core's functions by the kind of data they take, so that templates can name one overload.
constexpr auto kSum = [](const TNubraVec& x) { return Sum(x); };
constexpr auto kSumInt = [](const TNubraInt& x) { return Sum(x); };
constexpr auto kProduct = [](const TNubraVec& x) { return Product(x); };
constexpr auto kMean = [](const TNubraVec& x) { return Mean(x); };

// The direction of min and max: the core's reductions and the comparison of two results.
struct Smallest {
  static constexpr const char* kName = "Min";
  static double Of(const TNubraVec& x) { return Min(x); }
  static TCplx CplxOf(const TNubraVec& x) { return MinCplx(x); }
  static TCplx CplxOf(const TNubraInt& x) { return MinCplx(x); }
  static std::int64_t IntOf(const TNubraInt& x) { return Min(x); }
  static bool Better(double a, double b) { return a < b; }
  static bool Better(std::int64_t a, std::int64_t b) { return a < b; }
  static bool Better(TCplx a, TCplx b) { return LessByModulus(a, b); }
};
struct Largest {
  static constexpr const char* kName = "Max";
  static double Of(const TNubraVec& x) { return Max(x); }
  static TCplx CplxOf(const TNubraVec& x) { return MaxCplx(x); }
  static TCplx CplxOf(const TNubraInt& x) { return MaxCplx(x); }
  static std::int64_t IntOf(const TNubraInt& x) { return Max(x); }
  static bool Better(double a, double b) { return a > b; }
  static bool Better(std::int64_t a, std::int64_t b) { return a > b; }
  static bool Better(TCplx a, TCplx b) { return LessByModulus(b, a); }
};

// The cell table shared by sum and min/max of one argument: scalars are copied.
template <auto Real, auto Cplx, auto Int>
constexpr UnaryCells OneArgumentCells() {
  UnaryCells t{};
  Set(t, {D}, D, CopyDouble);
  Set(t, {I}, I, CopyInt);
  Set(t, {C}, C, CopyCplx);
  Set(t, {V, M}, None, ByData<Real, Cplx>);
  Set(t, {IV, IM}, I, OfIntegers<Int>);
  return t;
}

template <auto Real, auto Cplx, auto Int>
void OneArgument(TExprRec& e) {
  static constexpr UnaryCells kCells = OneArgumentCells<Real, Cplx, Int>();
  Dispatch(e, kCells);
}

template <class Dir>
void Extreme(TExprRec& e) {
  OneArgument<Dir::Of, static_cast<TCplx (*)(const TNubraVec&)>(Dir::CplxOf), Dir::IntOf>(e);
}

constexpr UnaryCells kProductCells = [] {
  UnaryCells t{};
  Set(t, {D}, D, CopyDouble);
  Set(t, {I}, D, IntToDouble);
  Set(t, {C}, C, CopyCplx);
  Set(t, {V, M}, None, ByData<kProduct, ProductCplx>);
  return t;
}();

constexpr UnaryCells kMeanCells = [] {
  UnaryCells t = kProductCells;
  Set(t, {V, M}, None, ByData<kMean, MeanCplx>);
  Set(t, {IV, IM}, D, MeanOfIntegers);
  return t;
}();

void _Sum(TExprRec& e) { OneArgument<kSum, SumCplx, kSumInt>(e); }
void _Product(TExprRec& e) { Dispatch(e, kProductCells); }
void _Mean(TExprRec& e) { Dispatch(e, kMeanCells); }

// ---- two arguments -------------------------------------------------------------------------------

// One argument of min(a, b) or max(a, b) reduced to its extreme, in the order of complex numbers when
// either argument is complex. The kind follows the argument's type even when it has no elements (then
// `empty` is set and the value is unused).
struct Side {
  enum Kind { kReal, kInt, kIntArray, kCplx } kind = kReal;
  bool empty = false;
  double real = 0;
  std::int64_t integer = 0;
  TCplx z;

  bool IsInt() const { return kind == kInt || kind == kIntArray; }
  double AsReal() const { return kind == kReal ? real : static_cast<double>(integer); }
};

// True for a complex scalar and for a vector or matrix with complex data.
bool IsComplex(TValueRec& v) {
  const TValueType t = v.ValueType();
  return t == vtComplexValue || ((t == vtVectorValue || t == vtMatrixValue) && v.RealElements().Complex());
}

template <class Dir>
Side Reduce(TValueRec& v, bool complex) {
  Side s;
  switch (v.ValueType()) {
    case vtDoubleValue:
      s.real = v.DoubleValue();
      s.z = s.real;
      break;
    case vtIntegerValue:
      s.kind = Side::kInt;
      s.integer = v.IntegerValue();
      s.z = static_cast<double>(s.integer);
      break;
    case vtComplexValue:
      s.kind = Side::kCplx;
      s.z = v.ComplexValue();
      break;
    case vtIntVectorValue:
    case vtIntMatrixValue: {
      const TNubraInt& x = v.IntElements();
      s.kind = Side::kIntArray;
      s.empty = x.Length() == 0;
      if (!s.empty && complex) s.z = Dir::CplxOf(x);
      if (!s.empty && !complex) s.integer = Dir::IntOf(x);
      break;
    }
    default: {  // vector, matrix
      const TNubraVec& x = v.RealElements();
      s.empty = x.Length() == 0;
      if (!s.empty && complex) s.z = Dir::CplxOf(x);
      if (!s.empty && !complex) s.real = Dir::Of(x);
    }
  }
  return s;
}

bool HasNaN(double x) { return std::isnan(x); }
bool HasNaN(TCplx z) { return std::isnan(z.real()) || std::isnan(z.imag()); }
bool HasNaN(std::int64_t) { return false; }

// The preferred one of two values (an empty side loses; NaN wins, as in one argument).
template <class Dir, class T>
T Pick(T x, bool xEmpty, T y, bool yEmpty) {
  if (xEmpty) return y;
  if (yEmpty || HasNaN(x)) return x;
  return HasNaN(y) || Dir::Better(y, x) ? y : x;
}

// The extreme of both arguments, defining the result's type from theirs.
template <class Dir>
void ExtremeOfTwo(TExprRec& e) {
  const bool complex = IsComplex(*e.Args[0]) || IsComplex(*e.Args[1]);
  const Side a = Reduce<Dir>(*e.Args[0], complex), b = Reduce<Dir>(*e.Args[1], complex);
  if (a.empty && b.empty) ERaise(std::string(Dir::kName) + ": no elements");
  if (complex) {
    e.Res->DefineComplex();
    e.Res->SetComplexValue(Pick<Dir>(a.z, a.empty, b.z, b.empty));
  } else if (a.IsInt() && b.IsInt() && (a.kind == Side::kIntArray || b.kind == Side::kIntArray)) {
    e.Res->DefineInteger();
    e.Res->SetIntegerValue(Pick<Dir>(a.integer, a.empty, b.integer, b.empty));
  } else {
    e.Res->DefineDouble();
    e.Res->SetDoubleValue(Pick<Dir>(a.AsReal(), a.empty, b.AsReal(), b.empty));
  }
}

// Two real scalars, the common case, without reducing anything.
template <class Dir>
void TwoReals(TExprRec& e) {
  e.Res->SetDoubleValue(Pick<Dir>(e.Args[0]->DoubleValue(), false, e.Args[1]->DoubleValue(), false));
}

template <class Dir>
constexpr BinaryCells ExtremeOfTwoCells() {
  BinaryCells t{};
  Set(t, {D, I, C, V, IV, IM, M}, {D, I, C, V, IV, IM, M}, None, ExtremeOfTwo<Dir>);
  Set(t, {D, I}, {D, I}, D, TwoReals<Dir>);
  return t;
}

template <class Dir>
void TwoArguments(TExprRec& e) {
  static constexpr BinaryCells kCells = ExtremeOfTwoCells<Dir>();
  Dispatch(e, kCells);
}

constexpr TFunctionEntry kReductions[] = {
    {"sum", "Sum", _Sum, 1, "sum(x): sum of elements in x"},
    {"product", "Product", _Product, 1, "product(x): product of elements in x"},
    {"min", "Min", Extreme<Smallest>, 1, "min(x): smallest element in x"},
    {"min", "Min", TwoArguments<Smallest>, 2, "min(a,b): minimum of two values 'a' and 'b'"},
    {"max", "Max", Extreme<Largest>, 1, "max(x): largest element in x"},
    {"max", "Max", TwoArguments<Largest>, 2, "max(a,b): maximum of two values 'a' and 'b'"},
    {"mean", "Mean", _Mean, 1, "mean(x): average value of elements in x"},
};

}  // namespace

void RegisterReductionFunctions(TWordList& words) { RegisterFunctions(words, kReductions); }

}  // namespace zel
