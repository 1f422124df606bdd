// threshbottom(x, level) and threshtop(x, level): x with every element below (above) the level replaced
// by the level. x keeps its type (rule T of library/redirect.h). The level is a double or an integer for
// real and complex x, an integer for integer kinds; complex values are clipped on their modulus (see
// core/pairmath.h). One cell table per function, by the types of x and of the level.
#include "core/intmath.h"
#include "core/pairmath.h"
#include "lang/operators/dispatch.h"
#include "lang/words/registration.h"
#include "library/families.h"

namespace zel {

namespace {

using namespace dispatch;

// The value and the level of a threshold node.
TValueRec& X(TExprRec& e) { return *e.Args[0]; }
TValueRec& Level(TExprRec& e) { return *e.Args[1]; }

// The elements of an integer vector or matrix.
TNubraInt& IntArray(TValueRec& v) {
  if (v.ValueType() == vtIntMatrixValue) return v.IntMatrixValue();
  return v.IntVectorValue();
}

// The direction of a threshold: its scalar forms and the core's array forms.
struct Bottom {
  static constexpr const char* kLevelComplex =
      "Function ThreshBottom second parameter (level) may not be complex ";
  static double Of(double x, double level) { return ThreshBottom(x, level); }
  static TCplx Of(TCplx x, double level) { return ThreshBottom(x, level); }
  static std::int64_t Of(std::int64_t x, std::int64_t level) { return x < level ? level : x; }
  static void Of(const TNubraVec& x, double level, TNubraVec& dst) { ThreshBottom(x, level, dst); }
  static void Of(const TNubraInt& x, std::int64_t level, TNubraInt& dst) { ThreshBottom(x, level, dst); }
};
struct Top {
  static constexpr const char* kLevelComplex =
      "Function ThreshTop second parameter (level) may not be complex ";
  static double Of(double x, double level) { return ThreshTop(x, level); }
  static TCplx Of(TCplx x, double level) { return ThreshTop(x, level); }
  static std::int64_t Of(std::int64_t x, std::int64_t level) { return x > level ? level : x; }
  static void Of(const TNubraVec& x, double level, TNubraVec& dst) { ThreshTop(x, level, dst); }
  static void Of(const TNubraInt& x, std::int64_t level, TNubraInt& dst) { ThreshTop(x, level, dst); }
};

// The typed routines and the cell table of a threshold in direction Dir.
template <class Dir>
struct Threshold {
  static void Real(TExprRec& e) {
    e.Res->SetDoubleValue(Dir::Of(X(e).DoubleValue(), Level(e).DoubleValue()));
  }
  static void Complex(TExprRec& e) {
    e.Res->SetComplexValue(Dir::Of(X(e).ComplexValue(), Level(e).DoubleValue()));
  }
  static void Int(TExprRec& e) {
    e.Res->SetIntegerValue(Dir::Of(X(e).IntegerValue(), Level(e).IntegerValue()));
  }
  static void Array(TExprRec& e) {
    Dir::Of(X(e).RealElements(), Level(e).DoubleValue(), e.Res->RealElements());
  }
  static void IntArrayOf(TExprRec& e) { Dir::Of(IntArray(X(e)), Level(e).IntegerValue(), IntArray(*e.Res)); }
  static void ComplexLevel(TExprRec&) { throw EZelParseError(Dir::kLevelComplex); }

  static constexpr BinaryCells kCells = [] {
    BinaryCells t{};
    Set(t, {D}, {D, I}, D, Real);
    Set(t, {C}, {D, I}, C, Complex);
    Set(t, {C}, {C}, None, ComplexLevel);
    Set(t, {V}, {D, I}, V, Array);
    Set(t, {M}, {D, I}, M, Array);
    Set(t, {I}, {I}, I, Int);
    Set(t, {IV}, {I}, IV, IntArrayOf);
    Set(t, {IM}, {I}, IM, IntArrayOf);
    return t;
  }();
  static void Routine(TExprRec& e) { Dispatch(e, kCells); }
};

constexpr TFunctionEntry kThresholds[] = {
    {"threshbottom", "ThreshBottom", Threshold<Bottom>::Routine, 2,
     "threshbottom(x, Bottom): returns Bottom, if x < Bottom. Bottom must be a scalar."},
    {"threshtop", "ThreshTop", Threshold<Top>::Routine, 2,
     "threshtop(x, Top): returns Top, if x > Top. Top must be a scalar."},
};

}  // namespace

void RegisterThresholdFunctions(TWordList& words) { RegisterFunctions(words, kThresholds); }

}  // namespace zel
