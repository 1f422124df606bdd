// The special-function words of the probability module: Binomial, Beta, the incomplete gamma family
// (GammaSer, GammaFrac, IGamma, JGamma), BetaIncomplete, the Dirichlet and zeta functions, Lerch,
// GenHarmonic and Harmonic. Each routine checks its arguments with the word's own messages, picks the
// result's shape from them and lets the numeric core fill it (arrays element by element into the
// result's existing object). The checks are a few type comparisons, repeated on every evaluation.
#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "core/elemmath.h"
#include "core/pairmath.h"
#include "core/special_functions.h"
#include "library/probabilities/dist_words.h"

namespace zel::prob {

namespace {

bool IsReal(TValueType t) { return t == vtDoubleValue || t == vtIntegerValue; }
bool IsArray(TValueType t) { return t == vtVectorValue || t == vtMatrixValue; }

// The result as a double, complex, vector or matrix (keeping the node's object from earlier runs).
void SetDouble(TExprRec& e, double x) {
  e.Res->DefineDouble();
  e.Res->SetDoubleValue(x);
}
void SetComplex(TExprRec& e, TCplx z) {
  e.Res->DefineComplex();
  e.Res->SetComplexValue(z);
}
TNubraVec& ArrayResult(TExprRec& e, bool matrix) {
  if (matrix) {
    e.Res->DefineMatrix();
    return e.Res->MatrixValue();
  }
  e.Res->DefineVector();
  return e.Res->VectorValue();
}

// Raises "NAME: The length of the params must be the same!".
[[noreturn]] void RaiseLength(const TExprRec& e) {
  throw EZelParseError(WordName(e) + ": The length of the params must be the same!");
}

// ---- Binomial and Beta -----------------------------------------------------------------------------

// Binomial(n, k): integers, or integer vectors or matrices element by element.
void _Binomial(TExprRec& e) {
  TValueRec& n = *e.Args[0];
  TValueRec& k = *e.Args[1];
  const TValueType t = n.ValueType();
  if (t != k.ValueType()) throw EZelParseError("Binomial: The type of the parameters must be the same!");
  switch (t) {
    case vtIntegerValue:
      return SetDouble(e, BinomialCoefficient(n.IntegerValue(), k.IntegerValue()));
    case vtIntVectorValue:
    case vtIntMatrixValue:
      if (n.IntElements().Length() != k.IntElements().Length()) RaiseLength(e);
      return BinomialCoefficient(n.IntElements(), k.IntElements(), ArrayResult(e, t == vtIntMatrixValue));
    default:
      UnsupportedValueTypesError(e, t, t);
  }
}

// Beta(x, y): two numbers, or two vectors or two matrices of one shape element by element.
void _Beta(TExprRec& e) {
  TValueRec& a = *e.Args[0];
  TValueRec& b = *e.Args[1];
  const TValueType ta = a.ValueType(), tb = b.ValueType();
  if (IsReal(ta) && IsReal(tb)) return SetDouble(e, BetaFunction(a.DoubleValue(), b.DoubleValue()));
  if (ta == tb && IsArray(ta)) {
    const TNubraVec &x = a.RealElements(), &y = b.RealElements();
    if (x.Rows() != y.Rows() || x.Cols() != y.Cols()) RaiseLength(e);
    return MapPairs("Beta", x, y, ArrayResult(e, ta == vtMatrixValue),
                    [](double p, double q) { return BetaFunction(p, q); });
  }
  UnsupportedValueTypesError(e, ta, tb);
}

// ---- the incomplete gamma family -------------------------------------------------------------------

// One incomplete gamma word: its name and its real and complex forms.
struct GammaWord {
  const char* name;
  double (*real)(double, double);
  TCplx (*complex)(double, TCplx);
};

constexpr GammaWord kGammaSer{"GammaSer", GammaSeries, GammaSeries};
constexpr GammaWord kGammaFrac{"GammaFrac", GammaFraction, GammaFraction};
constexpr GammaWord kIGamma{"IGamma", IncGamma, IncGamma};
constexpr GammaWord kJGamma{"JGamma", IncGammaComplement, IncGammaComplement};

// (a, x): reals give a double, a real a with a complex x a complex; a vector with a vector a vector, a
// matrix with a vector or a matrix a matrix (complex when x is), element by element.
template <const GammaWord& W>
void GammaRoutine(TExprRec& e) {
  TValueRec& a = *e.Args[0];
  TValueRec& x = *e.Args[1];
  const TValueType ta = a.ValueType(), tx = x.ValueType();
  const auto complexFirst = [&] {
    throw EZelParseError(std::string(W.name) + ": First parameter must be real, not complex!");
  };
  if (ta == vtComplexValue) complexFirst();
  if (IsReal(ta) && IsReal(tx)) return SetDouble(e, W.real(a.DoubleValue(), x.DoubleValue()));
  if (IsReal(ta) && tx == vtComplexValue) return SetComplex(e, W.complex(a.DoubleValue(), x.ComplexValue()));
  if (IsArray(ta) && IsArray(tx)) {
    const TNubraVec &av = a.RealElements(), &xv = x.RealElements();
    if (av.Complex()) complexFirst();
    if (av.Length() != xv.Length()) RaiseLength(e);
    const bool matrix = ta == vtMatrixValue || tx == vtMatrixValue;
    return MapPairs(W.name, av, xv, ArrayResult(e, matrix), [](double p, auto z) {
      if constexpr (std::is_same_v<decltype(z), TCplx>) {
        return W.complex(p, z);
      } else {
        return W.real(p, z);
      }
    });
  }
  UnsupportedValueTypesError(e, ta, tx);
}

// ---- BetaIncomplete --------------------------------------------------------------------------------

// BetaIncomplete(x, a, b): three numbers, or three vectors of one length.
void _BetaIncomplete(TExprRec& e) {
  TValueRec &x = *e.Args[0], &a = *e.Args[1], &b = *e.Args[2];
  const TValueType tx = x.ValueType(), ta = a.ValueType(), tb = b.ValueType();
  if (IsReal(tx) && IsReal(ta) && IsReal(tb))
    return SetDouble(e, IncBeta(x.DoubleValue(), a.DoubleValue(), b.DoubleValue()));
  if (tx == vtVectorValue && ta == vtVectorValue && tb == vtVectorValue) {
    TVec &xv = x.VectorValue(), &av = a.VectorValue(), &bv = b.VectorValue();
    if (av.Length() != xv.Length() || bv.Length() != xv.Length()) RaiseLength(e);
    return IncBeta(xv, av, bv, ArrayResult(e, false));
  }
  UnsupportedValueTypesError(e, tx, ta, tb);
}

// ---- Dirichlet and zeta functions ------------------------------------------------------------------

// z as a double, integer or complex scalar, or a vector or matrix: always a complex result, element by
// element for arrays.
template <class F>
void ComplexOf(TExprRec& e, F f) {
  TValueRec& z = *e.Args[0];
  const TValueType t = z.ValueType();
  if (IsReal(t)) return SetComplex(e, f(TCplx(z.DoubleValue(), 0)));
  if (t == vtComplexValue) return SetComplex(e, f(z.ComplexValue()));
  if (IsArray(t))
    return MapElements(z.RealElements(), ArrayResult(e, t == vtMatrixValue),
                       [&](auto v) { return f(TCplx(v)); });
  UnsupportedValueTypesError(e, t);
}

// The number of terms of the two-argument forms: an integer, else the word's own message.
int TermsOf(const TExprRec& e, const char* message) {
  const TValueRec& n = *e.Args[1];
  if (n.ValueType() != vtIntegerValue) throw EZelParseError(message);
  return static_cast<int>(std::clamp<std::int64_t>(n.IntegerValue(), -1, 1 << 20));
}

// DirichletBeta(z), DirichletLambda(z[, n]), DirichletEta(z[, n]), RiemannZeta(z[, n]): complex results.
void _DirichletBeta(TExprRec& e) {
  ComplexOf(e, [](TCplx s) { return DirichletBeta(s); });
}
void _DirichletLambda(TExprRec& e) {
  ComplexOf(e, [](TCplx s) { return DirichletLambda(s); });
}
void _DirichletLambdaN(TExprRec& e) {
  const int n = TermsOf(e, "DirichletLambda: second parameter must be an integer!");
  ComplexOf(e, [n](TCplx s) { return DirichletLambda(s, n); });
}
void _DirichletEta(TExprRec& e) {
  ComplexOf(e, [](TCplx s) { return DirichletEta(s); });
}
void _DirichletEtaN(TExprRec& e) {
  const int n = TermsOf(e, "DirichletEta: second parameter must be integer!");
  ComplexOf(e, [n](TCplx s) { return DirichletEta(s, n); });
}
void _RiemannZeta(TExprRec& e) {
  ComplexOf(e, [](TCplx s) { return RiemannZeta(s); });
}
void _RiemannZetaN(TExprRec& e) {
  const int n = TermsOf(e, "RiemmanZeta: second parameter must be integer!");
  ComplexOf(e, [n](TCplx s) { return RiemannZeta(s, n); });
}

// ---- Lerch and harmonic numbers --------------------------------------------------------------------

// Lerch(z, s, a): z a number, vector or matrix; s and a numbers.
void _Lerch(TExprRec& e) {
  if (!IsReal(e.Args[1]->ValueType())) throw EZelParseError("Lerch: second parameter must be real!");
  if (!IsReal(e.Args[2]->ValueType())) throw EZelParseError("Lerch: third parameter must be real!");
  const double s = e.Args[1]->DoubleValue(), a = e.Args[2]->DoubleValue();
  TValueRec& z = *e.Args[0];
  const TValueType t = z.ValueType();
  if (IsReal(t)) return SetDouble(e, Lerch(z.DoubleValue(), s, a));
  if (IsArray(t)) {
    const TNubraVec& zv = z.RealElements();
    if (zv.Complex()) throw EZelParseError("Lerch: Argument can not be complex");
    return MapElements(zv, ArrayResult(e, t == vtMatrixValue), [s, a](double v) { return Lerch(v, s, a); });
  }
  UnsupportedValueTypesError(e, t, e.Args[1]->ValueType());
}

// GenHarmonic(n, m): n an integer or integer vector, m a number.
void _GenHarmonic(TExprRec& e) {
  TValueRec& n = *e.Args[0];
  const TValueType t = n.ValueType();
  if (t != vtIntegerValue && t != vtIntVectorValue)
    throw EZelParseError("GenHarmonic: first parameter must be 32bit integer!");
  if (!IsReal(e.Args[1]->ValueType())) throw EZelParseError("GenHarmonic: second parameter must be real!");
  const double m = e.Args[1]->DoubleValue();
  if (t == vtIntegerValue) return SetDouble(e, GenHarmonic(n.IntegerValue(), m));
  GenHarmonic(n.IntVectorValue(), m, ArrayResult(e, false));
}

// Harmonic(n): n an integer or integer vector.
void _Harmonic(TExprRec& e) {
  TValueRec& n = *e.Args[0];
  const TValueType t = n.ValueType();
  if (t == vtIntegerValue) return SetDouble(e, Harmonic(n.IntegerValue()));
  if (t == vtIntVectorValue) return Harmonic(n.IntVectorValue(), ArrayResult(e, false));
  throw EZelParseError("Harmonic: parameter must be 32bit integer!");
}

// One special-function word; `overload` marks the second argument count of the previous row's name.
struct SpecialWord {
  const char* name;
  TExprFunc routine;
  int argCount;
  const char* help;
  bool overload = false;
};

// clang-format off
constexpr SpecialWord kSpecial[] = {
    {"Binomial", _Binomial, 2, "binomial(n, k): returns the binomial coefficient C(n,k)."},
    {"Beta", _Beta, 2, "beta(x, y): returns the value of the beta function."},
    {"GammaSer", GammaRoutine<kGammaSer>, 2, "GammaSer(a, x): returns the value Incomplete Gamma function (series expansion). "},
    {"GammaFrac", GammaRoutine<kGammaFrac>, 2, "GammaFrac(a, x): returns incomplete Gamma function : continued fraction expansion."},
    {"IGamma", GammaRoutine<kIGamma>, 2, "IGamma(a, x): returns the incomplete gamma function."},
    {"JGamma", GammaRoutine<kJGamma>, 2, "JGamma(a, x): returns the complement to the incomplete gamma function."},
    {"BetaIncomplete", _BetaIncomplete, 3, "BetaIncomplete(x,a,b): returns the incomplete beta function."},
    {"DirichletBeta", _DirichletBeta, 1, "DirichletBeta(z): returns dirichlet beta function."},
    {"DirichletLambda", _DirichletLambda, 1, "DirichletLambda(z): returns dirichlet lambda with n = 64."},
    {"DirichletLambda", _DirichletLambdaN, 2, "DirichletLambda(z, n): returns dirichlet lambda with user specified n.", true},
    {"DirichletEta", _DirichletEta, 1, "DirichletEta(z): returns the dirichlet eta function with n = 64."},
    {"DirichletEta", _DirichletEtaN, 2, "DirichletEta(z, n): returns the dirichlet eta function with user specified n (approximation terms).", true},
    {"RiemannZeta", _RiemannZeta, 1, "RiemannZeta(z): returns the riemann zeta function with 64 approximation terms."},
    {"RiemannZeta", _RiemannZetaN, 2, "RiemannZeta(z,n): returns the riemann zeta function with n user defined approximation terms.", true},
    {"Lerch", _Lerch, 3, "Lerch(z, s, a): returns the estimate of the Lerch transcendent function."},
    {"GenHarmonic", _GenHarmonic, 2, "GenHarmonic(n, m): returns the generalized harmonic number H(n,m)."},
    {"Harmonic", _Harmonic, 1, "Harmonic(n): returns the harmonic number H(n)."},
};
// clang-format on

}  // namespace

void RegisterSpecialFunctions(TWordList& words) {
  int last = -1;
  for (const SpecialWord& w : kSpecial)
    last = words.DefineFunctionUnsorted(w.name, w.routine, w.argCount, w.help, w.overload ? last : -1);
}

}  // namespace zel::prob
