// Element-wise scalar functions (see scalar_math.h). One template supplies the typed handlers of every
// function from its scalar form and its core array form; the redirector picks the handler by the
// argument's type once per node.
#include "library/scalar_math.h"

#include "core/elemmath.h"
#include "library/redirect.h"

namespace zel {

namespace {

using TArrayFunc = void (*)(const TNubraVec&, TNubraVec&);
using TRedirect = void (*)(TExprRec&, const TOperVector&);

// Writes a scalar result; the scalar form's return type matches the result type of the rule.
void Put(TValueRec& res, double x) { res.SetDoubleValue(x); }
void Put(TValueRec& res, TCplx z) { res.SetComplexValue(z); }

// The typed handlers of the function with scalar form F and array form K.
template <class F, TArrayFunc K>
struct ElementWise {
  static void D(TExprRec& e) { Put(*e.Res, F{}(e.Args[0]->DoubleValue())); }
  static void I(TExprRec& e) { Put(*e.Res, F{}(static_cast<double>(e.Args[0]->IntegerValue()))); }
  static void C(TExprRec& e) { Put(*e.Res, F{}(e.Args[0]->ComplexValue())); }
  static void V(TExprRec& e) { K(e.Args[0]->getVectorValue(), e.Res->VectorValue()); }
  static void M(TExprRec& e) { K(e.Args[0]->MatrixValue(), e.Res->MatrixValue()); }

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

template <class F, TArrayFunc K, TRedirect Redirect>
void Call(TExprRec& expr) {
  Redirect(expr, ElementWise<F, K>::kTable);
}

}  // namespace

void _Exp(TExprRec& expr) { Call<decltype(elem::Exp), Exp, RedirectOper>(expr); }
void _Ln(TExprRec& expr) { Call<decltype(elem::Ln), Ln, RedirectOper>(expr); }
void _Sqrt(TExprRec& expr) { Call<decltype(elem::Sqrt), Sqrt, RedirectOper>(expr); }
void _Sqr(TExprRec& expr) { Call<decltype(elem::Sqr), Sqr, RedirectOper>(expr); }
void _Sin(TExprRec& expr) { Call<decltype(elem::Sin), Sin, RedirectOper>(expr); }
void _Cos(TExprRec& expr) { Call<decltype(elem::Cos), Cos, RedirectOper>(expr); }
void _Tan(TExprRec& expr) { Call<decltype(elem::Tan), Tan, RedirectOper>(expr); }
void _Abs(TExprRec& expr) { Call<decltype(elem::Abs), Abs, RedirectOperReal>(expr); }

}  // namespace zel
