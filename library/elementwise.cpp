// Element-wise scalar functions: one registration row per function. A row names the function's scalar
// kernel (namespace `elem` of core/elemmath.h) and its result-type rule (a redirector), and the template
// routine ElementWise<Kernel, Rule> supplies the typed handlers from the kernel: doubles and integers (as
// their double value) give the kernel's scalar result, complex values complex arithmetic, vectors (and
// ranges, expanded) and matrices are mapped element by element into a result of the same shape. The
// redirector picks the handler by the argument's type once per node.
//
// A function that refuses complex arguments names its message as a third template argument; its
// handler raises it after the redirector has defined the result. A complex vector or matrix is refused
// too when the kernel has no complex form (erf); a kernel with one still maps it (degtorad scales it).
// sgn keeps integers (rule K) and norm refuses real vectors and matrices: their tables adapt the
// generic one.
#include <cstddef>
#include <type_traits>

#include "core/elemmath.h"
#include "lang/operators/scalar_ops.h"
#include "lang/words/registration.h"
#include "library/families.h"
#include "library/redirect.h"

namespace zel {

namespace {

using Redirector = void (*)(TExprRec&, const TOperVector&);

// A message as a template argument; the empty text means "no message".
template <std::size_t N>
struct Text {
  char chars[N];
  constexpr Text(const char (&s)[N]) {  // NOLINT: implicit, so rows can write the literal
    for (std::size_t i = 0; i < N; ++i) chars[i] = s[i];
  }
  constexpr bool Empty() const { return N == 1; }
};

// Writes a scalar result; the kernel's return type matches the result type of the rule.
void Put(TValueRec& res, double x) { res.SetDoubleValue(x); }
void Put(TValueRec& res, TCplx z) { res.SetComplexValue(z); }

// The typed handlers of the function with scalar kernel K, indexed by the argument's type. `Refusal`,
// when not empty, is raised for complex arguments.
template <auto K, Text Refusal = "">
struct Handlers {
  static constexpr bool kComplexForm = std::is_invocable_v<decltype(K), TCplx>;
  static_assert(kComplexForm || !Refusal.Empty(), "a kernel without a complex form needs a message");

  [[noreturn]] static void Refuse() { throw EZelParseError(Refusal.chars); }

  // The element-wise map, refusing complex data the kernel cannot take.
  static void Map(const TNubraVec& src, TNubraVec& dst) {
    if constexpr (!kComplexForm) {
      if (src.Complex()) Refuse();
    }
    MapElements(src, dst, K);
  }

  static void D(TExprRec& e) { Put(*e.Res, K(e.Args[0]->DoubleValue())); }
  static void I(TExprRec& e) { Put(*e.Res, K(static_cast<double>(e.Args[0]->IntegerValue()))); }
  static void C(TExprRec& e) {
    if constexpr (Refusal.Empty()) {
      Put(*e.Res, K(e.Args[0]->ComplexValue()));
    } else {
      Refuse();
    }
  }
  static void V(TExprRec& e) { Map(e.Args[0]->getVectorValue(), e.Res->VectorValue()); }
  static void M(TExprRec& e) { Map(e.Args[0]->MatrixValue(), e.Res->MatrixValue()); }

  // What D computes, for the scalar optimiser (lang/operators/scalar_ops.h): kernels of a double that
  // give a double; the square root, square, modulus and roundings by kind, since they are single
  // instructions (the roundings where the processor has SSE4.1; elsewhere Fn is called).
  static constexpr bool kRaises = !std::is_nothrow_invocable_v<decltype(K), double>;
  static double Fn(double x) noexcept(!kRaises) { return K(x); }
  static bool RegisterScalar() {
    if constexpr (std::is_same_v<std::invoke_result_t<decltype(K), double>, double>) {
      // Every kernel is a lambda of its own type.
      constexpr auto is = [](const auto& kernel) {
        return std::is_same_v<std::remove_cvref_t<decltype(kernel)>, std::remove_cvref_t<decltype(K)>>;
      };
      const TScalarOpKind kind = is(elem::Sqrt)    ? TScalarOpKind::Sqrt
                                 : is(elem::Sqr)   ? TScalarOpKind::Sqr
                                 : is(elem::Abs)   ? TScalarOpKind::Abs
                                 : is(elem::Floor) ? TScalarOpKind::Floor
                                 : is(elem::Ceil)  ? TScalarOpKind::Ceil
                                 : is(elem::Trunc) ? TScalarOpKind::Trunc
                                 : is(elem::Round) ? TScalarOpKind::Round
                                                   : TScalarOpKind::Call;
      return RegisterScalarOp(D, {kind, Fn, kRaises});
    }
    return false;
  }
  static inline const bool kScalarOp = RegisterScalar();

  static constexpr TOperVector kTable = [] {
    TOperVector t{};
    t[vtDoubleValue] = D;
    t[vtIntegerValue] = I;
    t[vtComplexValue] = C;
    t[vtVectorValue] = V;
    t[vtMatrixValue] = M;
    return t;
  }();
};

// The routine of an element-wise function: kernel K under the result-type rule of `Rule`, refusing
// complex arguments with `Refusal` when it is given.
template <auto K, Redirector Rule, Text Refusal = "">
void ElementWise(TExprRec& expr) {
  static_cast<void>(Handlers<K, Refusal>::kScalarOp);  // instantiates the registration
  Rule(expr, Handlers<K, Refusal>::kTable);
}

// sgn (rule K): an integer argument gives an integer.
void _Sgn(TExprRec& expr) {
  static constexpr TOperVector kTable = [] {
    TOperVector t = Handlers<elem::Sgn>::kTable;
    t[vtIntegerValue] = [](TExprRec& e) { e.Res->SetIntegerValue(elem::Sgn(e.Args[0]->IntegerValue())); };
    return t;
  }();
  RedirectOperKeepInt(expr, kTable);
}

// norm (rule R): squared moduli of complex vectors and matrices; real ones are refused.
void _Norm(TExprRec& expr) {
  using H = Handlers<elem::Norm>;
  static constexpr auto kComplexOnly = [](const TNubraVec& src, TNubraVec& dst) {
    if (!src.Complex()) throw EZelParseError("Function Norm is not applicable for real values");
    H::Map(src, dst);
  };
  static constexpr TOperVector kTable = [] {
    TOperVector t = H::kTable;
    t[vtVectorValue] = [](TExprRec& e) { kComplexOnly(e.Args[0]->getVectorValue(), e.Res->VectorValue()); };
    t[vtMatrixValue] = [](TExprRec& e) { kComplexOnly(e.Args[0]->MatrixValue(), e.Res->MatrixValue()); };
    return t;
  }();
  RedirectOperReal(expr, kTable);
}

constexpr TFunctionEntry kElementWise[] = {
    {"exp", "Exp", ElementWise<elem::Exp, RedirectOper>, 1, "exp(x): e^", "exp(x): e^"},
    {"ln", "Ln", ElementWise<elem::Ln, RedirectOper>, 1, "ln(x): natural logarithm of 'x'"},
    {"log", "Log", ElementWise<elem::Ln, RedirectOper>, 1, "log(x): natural logarithm of 'x'"},
    {"sqr", "Sqr", ElementWise<elem::Sqr, RedirectOper>, 1, "sqr(x): x*x"},
    {"sqrt", "Sqrt", ElementWise<elem::Sqrt, RedirectOper>, 1, "sqrt(x): square root of 'x'"},
    {"abs", "Abs", ElementWise<elem::Abs, RedirectOperReal>, 1, "abs(x): absolute value of 'x'"},
    {"sin", "Sin", ElementWise<elem::Sin, RedirectOper>, 1, "sin(x): sine of 'x'"},
    {"cos", "Cos", ElementWise<elem::Cos, RedirectOper>, 1, "cos(x): cosine of 'x'"},
    {"tan", "Tan", ElementWise<elem::Tan, RedirectOper>, 1, "tan(x): tangens of 'x'"},
    // Exponentials, logarithms, roots.
    {"exp2", "Exp2", ElementWise<elem::Exp2, RedirectOper>, 1, "exp2(x): 2^x"},
    {"exp10", "Exp10", ElementWise<elem::Exp10, RedirectOper>, 1, "exp10(x): 10^x"},
    {"log10", "Log10", ElementWise<elem::Log10, RedirectOper>, 1, "log10(x): decimal logarithm of 'x'"},
    {"log2", "Log2", ElementWise<elem::Log2, RedirectOper>, 1, "log2(x): logarithm of base 2"},
    {"cbrt", "Cbrt", ElementWise<elem::Cbrt, RedirectOper>, 1,
     "cbrt(x): computes the cube root 1/x^3 from the data in x."},
    // Trigonometry.
    {"sec", "Sec", ElementWise<elem::Sec, RedirectOper>, 1, "sec(x): secant of 'x'"},
    {"csc", "Csc", ElementWise<elem::Csc, RedirectOper>, 1, "csc(x): cosecant of 'x'"},
    {"cot", "Cot", ElementWise<elem::Cot, RedirectOper>, 1, "cot(x): cotangens of 'x'"},
    {"arcsin", "ArcSin", ElementWise<elem::ArcSin, RedirectOper>, 1, "arcsin(x): inverse sine of 'x'"},
    {"arccos", "ArcCos", ElementWise<elem::ArcCos, RedirectOper>, 1, "arccos(x): inverse cosine of 'x'"},
    {"arctan", "ArcTan", ElementWise<elem::ArcTan, RedirectOper>, 1, "arctan(x): inverse tangens"},
    {"arcsec", "ArcSec", ElementWise<elem::ArcSec, RedirectOper>, 1, "arcsec(x): inverse secant of 'x'"},
    {"arccsc", "ArcCsc", ElementWise<elem::ArcCsc, RedirectOper>, 1, "arccsc(x): inverse cosecant of 'x'"},
    {"arccot", "ArcCot", ElementWise<elem::ArcCot, RedirectOper>, 1, "arccot(x): inverse cotangens of 'x'"},
    // Hyperbolic functions.
    {"sinh", "Sinh", ElementWise<elem::Sinh, RedirectOper>, 1, "sinh(x): hyperbolic sine of 'x'"},
    {"cosh", "Cosh", ElementWise<elem::Cosh, RedirectOper>, 1, "cosh(x): hyperbolic cosine of 'x'"},
    {"tanh", "Tanh", ElementWise<elem::Tanh, RedirectOper>, 1, "tanh(x): hyperbolic tangens of 'x'"},
    {"sech", "Sech", ElementWise<elem::Sech, RedirectOper>, 1, "sech(x): hyperbolic secant of 'x'"},
    {"csch", "Csch", ElementWise<elem::Csch, RedirectOper>, 1, "csch(x): hyperbolic cosecant of 'x'"},
    {"coth", "Coth", ElementWise<elem::Coth, RedirectOper>, 1, "coth(x): hyperbolic cotangens of 'x'"},
    {"arcsinh", "ArcSinh", ElementWise<elem::ArcSinh, RedirectOper>, 1,
     "arcsinh(x): inverse hyperbolic sine of 'x'"},
    {"arccosh", "ArcCosh", ElementWise<elem::ArcCosh, RedirectOper>, 1,
     "arccosh(x): inverse hyperbolic cosine of 'x'"},
    {"arctanh", "ArcTanh", ElementWise<elem::ArcTanh, RedirectOper>, 1,
     "arctanh(x): inverse hyperbolic tangens of 'x'"},
    {"arcsech", "ArcSech", ElementWise<elem::ArcSech, RedirectOper>, 1,
     "arcsech(x): inverse hyperbolic secant of 'x'"},
    {"arccsch", "ArcCsch", ElementWise<elem::ArcCsch, RedirectOper>, 1,
     "arccsch(x): inverse hyperbolic cosecant of 'x'"},
    {"arccoth", "ArcCoth", ElementWise<elem::ArcCoth, RedirectOper>, 1,
     "arccoth(x): inverse hyperbolic cotangens of 'x'"},
    // Angles.
    {"degtorad", "DegToRad",
     ElementWise<elem::DegToRad, RedirectOper, "DegToRad: Argument can not be complex">, 1,
     "degtorad(x): converts 'x' degrees to radian"},
    {"radtodeg", "RadToDeg",
     ElementWise<elem::RadToDeg, RedirectOper, "RadToDeg: Argument can not be complex">, 1,
     "radtodeg(x): converts 'x' radian to degrees"},
    {"fixangle", "FixAngle",
     ElementWise<elem::FixAngle, RedirectOper, "Function FixAngle is not applicable for complex values">, 1,
     "fixangle(x): moves big number in to interval [-Pi...Pi] to improve accuracy of angular functions like "
     "sin and cos."},
    {"expj", "Expj", ElementWise<elem::Expj, RedirectOperCplx, "Expj: argument can not be complex">, 1,
     "expj(x): SinCos of 'x' (cos(x)+sin(x)*I)"},
    {"cis", "Cis", ElementWise<elem::Expj, RedirectOperCplx, "Expj: argument can not be complex">, 1,
     "cis(x): SinCos of 'x' (cos(x)+sin(x)*I)"},
    // Complex numbers.
    {"real", "Real", ElementWise<elem::Real, RedirectOperReal>, 1, "real(x): real part of complex value"},
    {"imag", "Imag", ElementWise<elem::Imag, RedirectOperReal>, 1, "imag(x): image part of complex value"},
    {"cplx", "Cplx", ElementWise<elem::ToCplx, RedirectOperCplx>, 1, "cplx(x): convert x to complex"},
    {"cplx", "Cplx", MakeComplex, 2, "cplx(re,im): make complex value (re+im*I)"},  // binary_math.cpp
    {"conj", "Conj", ElementWise<elem::Conj, RedirectOper>, 1, "conj(x): conjunction of 'x' value"},
    {"flip", "Flip", ElementWise<elem::Flip, RedirectOperCplx>, 1,
     "flip(x): swaps real and image parts of complex value"},
    {"norm", "Norm", _Norm, 1, "norm(x): squared norm of complex value"},
    {"arg", "Arg", ElementWise<elem::Arg, RedirectOperReal>, 1, "arg(x): atan2(x.Im, x.Re)"},
    // Signs and rounding.
    {"sgn", "Sgn", _Sgn, 1, "sgn(x): {x > 0: 1, x < 0: -1, x = 0: 0}"},
    {"ceil", "Ceil", ElementWise<elem::Ceil, RedirectOper>, 1,
     "ceil(x): the smallest integer greater than or equal to 'x'"},
    {"floor", "Floor", ElementWise<elem::Floor, RedirectOper>, 1,
     "floor(x): the biggest integer less than or equal to 'x'"},
    {"round", "Round", ElementWise<elem::Round, RedirectOper>, 1,
     "round(x): rounds 'x' value to the nearest whole number and returns double"},
    {"trunc", "Trunc", ElementWise<elem::Trunc, RedirectOper>, 1,
     "trunc(x): truncates 'x' value towards zero and returns double"},
    {"frac", "Frac", ElementWise<elem::Frac, RedirectOper>, 1,
     "frac(x): returns fractional part of a real number."},
    // Special functions.
    {"gamma", "Gamma", ElementWise<elem::Gamma, RedirectOper>, 1, "gamma(x): gamma function G(x)"},
    {"lngamma", "LnGamma", ElementWise<elem::LnGamma, RedirectOper>, 1,
     "lngamma(x): natural logarithm of the gamma function ln(G(x))"},
    {"erf", "Erf", ElementWise<elem::Erf, RedirectOper, "Function Erf is not applicable for complex values">,
     1, "erf(x): computes the error function from the data in x."},
    {"erfc", "Erfc",
     ElementWise<elem::Erfc, RedirectOper, "Function Erfc is not applicable for complex values">, 1,
     "erfc(x): computes completementary error function from the data in x."},
    {"erfinv", "ErfInv",
     ElementWise<elem::ErfInv, RedirectOper, "Function ErfInv is not applicable for complex values">, 1,
     "erfinv(x): computes inverse of the error function from the data in x."},
};

}  // namespace

void RegisterElementWiseFunctions(TWordList& words) { RegisterFunctions(words, kElementWise); }

}  // namespace zel
