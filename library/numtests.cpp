// Tests of numbers (rule B): isnan, isinf and isinfnan (alias isnaninf) give a boolean for a scalar and a
// boolean vector or matrix of the argument's shape for arrays. A complex value counts as NaN (infinite)
// when either part is; integers are never NaN or infinite.
#include "core/elemmath.h"
#include "lang/words/registration.h"
#include "library/families.h"
#include "library/redirect.h"

namespace zel {

namespace {

// All-false result of an integer array's shape.
void NoneOf(const TNubraInt& src, TNubraInt& dst) {
  dst.SizeShape(src.Rows(), src.Cols(), prInt32);
  dst.SetZero();
}

// The typed handlers of the test with kernel K (a predicate on doubles and TCplx).
template <auto K>
struct Tests {
  static void D(TExprRec& e) { e.Res->SetBoolValue(K(e.Args[0]->DoubleValue())); }
  static void I(TExprRec& e) { e.Res->SetBoolValue(false); }
  static void C(TExprRec& e) { e.Res->SetBoolValue(K(e.Args[0]->ComplexValue())); }
  static void V(TExprRec& e) { TestElements(e.Args[0]->getVectorValue(), e.Res->BoolVectorValue(), K); }
  static void M(TExprRec& e) { TestElements(e.Args[0]->MatrixValue(), e.Res->BoolMatrixValue(), K); }
  static void IV(TExprRec& e) { NoneOf(e.Args[0]->IntVectorValue(), e.Res->BoolVectorValue()); }
  static void IM(TExprRec& e) { NoneOf(e.Args[0]->IntMatrixValue(), e.Res->BoolMatrixValue()); }

  static constexpr TOperVector kTable = [] {
    TOperVector t{};
    t[vtDoubleValue] = D;
    t[vtIntegerValue] = I;
    t[vtComplexValue] = C;
    t[vtVectorValue] = V;
    t[vtMatrixValue] = M;
    t[vtIntVectorValue] = IV;
    t[vtIntMatrixValue] = IM;
    return t;
  }();
};

// The routine of a test.
template <auto K>
void NumberTest(TExprRec& expr) {
  RedirectOperBool(expr, Tests<K>::kTable);
}

constexpr TFunctionEntry kNumberTests[] = {
    {"isnan", "IsNaN", NumberTest<elem::IsNaN>, 1, "isnan(x): TRUE if 'x' is NAN"},
    {"isinf", "IsInf", NumberTest<elem::IsInf>, 1, "isinf(x): TRUE if 'x' is INF"},
    {"isinfnan", "IsInfNan", NumberTest<elem::IsInfNaN>, 1, "isinfnan(x): TRUE if 'x' is NAN or INF"},
    {"isnaninf", "IsNanInf", NumberTest<elem::IsInfNaN>, 1, "isnaninf(x): TRUE if 'x' is NAN or INF"},
};

}  // namespace

void RegisterNumberTests(TWordList& words) { RegisterFunctions(words, kNumberTests); }

}  // namespace zel
