// Unary minus "-@" and plus "+@". Minus negates every kind it accepts (integers with overflow detection,
// integer arrays saturating like all integer array arithmetic); plus copies its operand. Ranges stay
// ranges: an integer range negates its stored bounds, an extended range its bound vector. The rules of
// RedirectOperInt (unary) are the results of the two operators' cell table.
#include <cstdint>

#include "core/intarith.h"
#include "core/vecmath.h"
#include "lang/operators/arith.h"
#include "lang/operators/elementwise_chain.h"
#include "lang/operators/scalar_ops.h"

namespace zel {

namespace {

using namespace arith;
using namespace dispatch;

struct NegateOp {
  static double Real(double x) { return -x; }
  static TCplx Cplx(TCplx z) { return -z; }
  static std::int64_t Int(std::int64_t x) { return CheckedNeg(x); }
  static std::int32_t Bound(std::int32_t x) { return CheckedSub32(0, x); }
  static void Arr(const TNubraVec& a, TNubraVec& d) { Mul(a, -1.0, d); }
  static void Arr(const TNubraInt& a, TNubraInt& d) { Mul(a, std::int64_t{-1}, d); }
};

struct PlusOp {
  static double Real(double x) { return x; }
  static TCplx Cplx(TCplx z) { return z; }
  static std::int64_t Int(std::int64_t x) { return x; }
  static std::int32_t Bound(std::int32_t x) { return x; }
  static void Arr(const TNubraVec& a, TNubraVec& d) { d.Copy(a); }
  static void Arr(const TNubraInt& a, TNubraInt& d) { d.Copy(a); }
};

template <class Op>
void SignReal(TExprRec& e) {
  e.Res->SetDoubleValue(Op::Real(e.Args[0]->DoubleValue()));
}

template <class Op>
void SignCplx(TExprRec& e) {
  e.Res->SetComplexValue(Op::Cplx(e.Args[0]->ComplexValue()));
}

template <class Op>
void SignInt(TExprRec& e) {
  e.Res->SetIntegerValue(Op::Int(e.Args[0]->IntegerValue()));
}

template <class Op>
void SignArray(TExprRec& e) {
  Op::Arr(e.Args[0]->RealElements(), e.Res->RealElements());
}

template <class Op>
void SignIntArray(TExprRec& e) {
  TValueRec& a = *e.Args[0];
  const TNubraInt& src =
      a.ValueType() == vtIntMatrixValue ? static_cast<TNubraInt&>(a.IntMatrixValue()) : a.GetIntVectorValue();
  Op::Arr(src, IntResult(*e.Res));
}

// A range stays a range. A range operand that another node has expanded in place is negated (or
// copied) as the vector it has become.
template <class Op>
void SignRange(TExprRec& e) {
  TValueRec& a = *e.Args[0];
  TValueRec& r = *e.Res;
  if (IsIntRange(a)) {
    const std::vector<std::int32_t>& bounds = a.Range();
    std::int32_t out[3];
    const std::size_t n = bounds.size();
    for (std::size_t i = 0; i < n; ++i) out[i] = Op::Bound(bounds[i]);  // every bound checked before writing
    RangeResult(r).assign(out, out + n);
  } else if (a.ValueType() == vtRangeValue && a.ExtRange() && a.ExtRangeValue()) {
    if (r.ValueType() != vtRangeValue || !r.ExtRange()) {
      r.Undefine();
      r.DefineExtRange();
    }
    Op::Arr(*a.ExtRangeValue(), *r.ExtRangeValue());
  } else if (a.ValueType() == vtVectorValue || a.ValueType() == vtIntVectorValue) {
    Redefine(r, a.ValueType());
    a.ValueType() == vtVectorValue ? SignArray<Op>(e) : SignIntArray<Op>(e);
  } else {
    UnsupportedValueTypesError(e, a.ValueType());
  }
}

// Every kind keeps its kind; both range forms are served by the range routine.
template <class Op>
constexpr UnaryCells kSignCells = [] {
  UnaryCells t{};
  Set(t, {D}, D, SignReal<Op>);
  Set(t, {I}, I, SignInt<Op>);
  Set(t, {C}, C, SignCplx<Op>);
  Set(t, {V}, V, SignArray<Op>);
  Set(t, {M}, M, SignArray<Op>);
  Set(t, {IV}, IV, SignIntArray<Op>);
  Set(t, {IM}, IM, SignIntArray<Op>);
  Set(t, {R}, R, SignRange<Op>);
  Set(t, {Re}, Re, SignRange<Op>);
  return t;
}();

// The rules of RedirectOperInt (unary) are the results of the two operators' table.
constexpr UnaryCells kSignRules = Results(kSignCells<NegateOp>);

// What the real scalar routines compute, for the scalar optimiser (scalar_ops.h).
[[maybe_unused]] const bool kScalarOps = RegisterScalarOp(SignReal<NegateOp>, {TScalarOpKind::Neg}) &&
                                         RegisterScalarOp(SignReal<PlusOp>, {TScalarOpKind::Copy});

// ---- one-pass element-wise chains (elementwise_chain.h): Mul(a, -1.0) ---------------------------------

[[maybe_unused]] const bool kChainRoutines =
    RegisterChainRoutines({{SignArray<NegateOp>, TChainOp::kMulScalar, TChainForm::kArrayConstant, -1.0}});

}  // namespace

void _Negate(TExprRec& expr) { Dispatch(expr, kSignCells<NegateOp>); }
void _Plus(TExprRec& expr) { Dispatch(expr, kSignCells<PlusOp>); }

void RedirectOperInt(TExprRec& expr, const TOperVector& table) { Dispatch(expr, kSignRules, table); }

}  // namespace zel
