// Addition, subtraction and multiplication: "+", "+.", "-", "-.", "*" and "*.".
//
// Every typed routine is a template over the operation (AddOp, SubOp, MulOp), so one routine serves a
// whole family of type cells: scalars, scalars with arrays, arrays with arrays, and their integer
// counterparts. Array work goes to the element-wise kernels of core/vecmath.h and writes into the
// result's existing object (or, feeding an assignment, straight into the variable's: direct.h), so a
// compiled node allocates nothing once its result has its size.
// The operators differ only in a few cells: "+" and "-" check matrix shapes, "*" forms matrix products,
// integer ranges combine with integers and ranges into ranges under "+" and "-". Each operator is one
// cell table: the rules of RedirectOperInt (arith.h) combined at compile time with its routines.
#include <cstdint>
#include <cstdlib>

#include "core/intarith.h"
#include "core/linalg.h"
#include "core/vecmath.h"
#include "lang/operators/arith.h"
#include "lang/operators/direct.h"
#include "lang/operators/elementwise_chain.h"
#include "lang/operators/scalar_ops.h"
#include "lang/operators/shape.h"

namespace zel {

namespace {

using namespace arith;
using namespace dispatch;

// ---- operations ------------------------------------------------------------------------------------

// Each operation gives its scalar forms and forwards its array forms to the core kernels. `Arr` takes an
// array on the left (and an array or scalar on the right); `ScalarArr` a scalar on the left.
struct AddOp {
  static double Real(double a, double b) { return a + b; }
  static TCplx Cplx(TCplx a, TCplx b) { return a + b; }
  static std::int64_t Int(std::int64_t a, std::int64_t b) { return CheckedAdd(a, b); }
  static std::int32_t Int32(std::int32_t a, std::int32_t b) { return CheckedAdd32(a, b); }
  template <class A, class B, class D>
  static void Arr(const A& a, const B& b, D& d) {
    Add(a, b, d);
  }
  template <class S, class B, class D>
  static void ScalarArr(S a, const B& b, D& d) {
    Add(b, a, d);
  }
};

struct SubOp {
  static double Real(double a, double b) { return a - b; }
  static TCplx Cplx(TCplx a, TCplx b) { return a - b; }
  static std::int64_t Int(std::int64_t a, std::int64_t b) { return CheckedSub(a, b); }
  static std::int32_t Int32(std::int32_t a, std::int32_t b) { return CheckedSub32(a, b); }
  template <class A, class B, class D>
  static void Arr(const A& a, const B& b, D& d) {
    Sub(a, b, d);
  }
  template <class S, class B, class D>
  static void ScalarArr(S a, const B& b, D& d) {
    SubFrom(a, b, d);
  }
};

struct MulOp {
  static double Real(double a, double b) { return a * b; }
  static TCplx Cplx(TCplx a, TCplx b) { return a * b; }
  static std::int64_t Int(std::int64_t a, std::int64_t b) { return CheckedMul(a, b); }
  template <class A, class B, class D>
  static void Arr(const A& a, const B& b, D& d) {
    Mul(a, b, d);
  }
  template <class S, class B, class D>
  static void ScalarArr(S a, const B& b, D& d) {
    Mul(b, a, d);
  }
};

// ---- shape checks of "+" and "-" -------------------------------------------------------------------

enum ShapeCheck { kNoCheck, kPlusDiffer, kPlusDifferent, kMinusDifferent };
constexpr const char* kShapeMessages[] = {
    "",
    "Operator \"+\" is not applicable to matrices having differ sizes",
    "Operator \"+\" is not applicable to matrices having different sizes.",
    "Operator \"-\" is not applicable on matrices having different sizes.",
};

template <int Check>
void CheckShapes(TValueRec& a, TValueRec& b) {
  if constexpr (Check != kNoCheck) {
    if (!ShapeOf(a).SameSize(ShapeOf(b))) throw EZelParseError(kShapeMessages[Check]);
  }
}

// ---- typed routines --------------------------------------------------------------------------------

template <class Op>
void RealScalars(TExprRec& e) {
  e.Res->SetDoubleValue(Op::Real(e.Args[0]->DoubleValue(), e.Args[1]->DoubleValue()));
}

template <class Op>
void CplxScalars(TExprRec& e) {
  e.Res->SetComplexValue(Op::Cplx(CplxOf(*e.Args[0]), CplxOf(*e.Args[1])));
}

template <class Op>
void IntScalars(TExprRec& e) {
  e.Res->SetIntegerValue(Op::Int(e.Args[0]->IntegerValue(), e.Args[1]->IntegerValue()));
}

// Real results go straight into an assigned variable where they can (direct.h).
template <class Op>
void ArrayScalar(TExprRec& e) {
  const TNubraVec& a = e.Args[0]->RealElements();
  const TValueRec& s = *e.Args[1];
  if (s.ValueType() == vtComplexValue) {
    Op::Arr(a, s.ComplexValue(), e.Res->RealElements());
  } else {
    const double x = s.DoubleValue();
    direct::Elementwise(e, a, nullptr, [&](TNubraVec& d) { Op::Arr(a, x, d); });
  }
}

template <class Op>
void ScalarArray(TExprRec& e) {
  const TValueRec& s = *e.Args[0];
  const TNubraVec& b = e.Args[1]->RealElements();
  if (s.ValueType() == vtComplexValue) {
    Op::ScalarArr(s.ComplexValue(), b, e.Res->RealElements());
  } else {
    const double x = s.DoubleValue();
    direct::Elementwise(e, b, nullptr, [&](TNubraVec& d) { Op::ScalarArr(x, b, d); });
  }
}

template <class Op, int Check>
void Arrays(TExprRec& e) {
  const TNubraVec& a = e.Args[0]->RealElements();
  const TNubraVec& b = e.Args[1]->RealElements();
  CheckShapes<Check>(*e.Args[0], *e.Args[1]);
  direct::Elementwise(e, a, &b, [&](TNubraVec& d) { Op::Arr(a, b, d); });
}

template <class Op>
void IntArrayScalar(TExprRec& e) {
  const TNubraInt& a = IntArray(*e.Args[0], *e.Args[1]);
  Op::Arr(a, e.Args[1]->IntegerValue(), IntResult(*e.Res));
}

template <class Op>
void IntScalarArray(TExprRec& e) {
  const TNubraInt& b = IntArray(*e.Args[1], *e.Args[0]);
  Op::ScalarArr(e.Args[0]->IntegerValue(), b, IntResult(*e.Res));
}

template <class Op, int Check>
void IntArrays(TExprRec& e) {
  const TNubraInt& a = IntArray(*e.Args[0], *e.Args[1]);
  const TNubraInt& b = IntArray(*e.Args[1], *e.Args[0]);
  CheckShapes<Check>(*e.Args[0], *e.Args[1]);
  Op::Arr(a, b, IntResult(*e.Res));
}

void Concat(TExprRec& e) { e.Res->SetStringValue(e.Args[0]->StringValue() + e.Args[1]->StringValue()); }

// ---- integer range arithmetic ----------------------------------------------------------------------

// A range bound shifted by an integer must stay a 32-bit bound.
std::int32_t RangeShift(std::int64_t k) {
  if (k < INT32_MIN || k > INT32_MAX) throw EIntOverflow();
  return static_cast<std::int32_t>(k);
}

// Runs the element-wise routine f into an integer vector result: for range operands that another node
// has already expanded into integer vectors.
void Expanded(TExprRec& e, TExprFunc f) {
  Redefine(*e.Res, vtIntVectorValue);
  f(e);
}

// range op integer: start and stop shifted, the step kept.
template <class Op>
void RangeWithInt(TExprRec& e) {
  if (!IsIntRange(*e.Args[0])) return Expanded(e, IntArrayScalar<Op>);
  const std::vector<std::int32_t>& r = e.Args[0]->Range();
  const std::int32_t k = RangeShift(e.Args[1]->IntegerValue());
  const std::int32_t start = Op::Int32(r.front(), k), stop = Op::Int32(r.back(), k);
  std::vector<std::int32_t>& out = RangeResult(*e.Res);
  out.assign(r.begin(), r.end());
  out.front() = start;
  out.back() = stop;
}

// integer op range: start and stop become k op bound; under "-" the step changes its sign.
template <class Op>
void IntWithRange(TExprRec& e) {
  if (!IsIntRange(*e.Args[1])) return Expanded(e, IntScalarArray<Op>);
  const std::int32_t k = RangeShift(e.Args[0]->IntegerValue());
  const std::vector<std::int32_t>& r = e.Args[1]->Range();
  const std::int32_t start = Op::Int32(k, r.front()), stop = Op::Int32(k, r.back());
  const std::int32_t step = r.size() == 3 ? Op::Int32(0, r[1]) : 0;
  std::vector<std::int32_t>& out = RangeResult(*e.Res);
  out.assign(r.begin(), r.end());
  out.front() = start;
  out.back() = stop;
  if (out.size() == 3) out[1] = step;
}

struct Span {
  std::int32_t start, step, stop;
  long long length;
};

// Start, step and element count of a range. A two-bound range steps by 1 towards its stop (-1 when it
// counts down, as its expansion does).
Span SpanOf(const std::vector<std::int32_t>& r) {
  const long long distance = std::llabs(static_cast<long long>(r.back()) - r.front());
  if (r.size() == 2) return {r[0], r[1] < r[0] ? -1 : 1, r[1], distance + 1};
  if (r[1] == 0) throw EZelParseError("Invalid range with step equal to zero!");
  const long long step = std::llabs(static_cast<long long>(r[1]));
  return {r[0], r[1], r[2], (distance + step) / step};
}

// range op range: a three-bound range of the combined starts, steps and stops; both must count the same
// number of elements.
template <class Op>
void RangeWithRange(TExprRec& e) {
  if (!IsIntRange(*e.Args[0]) || !IsIntRange(*e.Args[1])) return Expanded(e, IntArrays<Op, kNoCheck>);
  const Span a = SpanOf(e.Args[0]->Range());
  const Span b = SpanOf(e.Args[1]->Range());
  const std::int32_t start = Op::Int32(a.start, b.start);
  const std::int32_t step = Op::Int32(a.step, b.step);
  const std::int32_t stop = Op::Int32(a.stop, b.stop);
  if (step == 0) throw EZelParseError(Fmt("Range step cannot be zero: %d:%d:%d ", start, step, stop));
  if (a.length != b.length)
    throw EZelParseError(Fmt("Range lengths must match: %lld <> %lld ", a.length, b.length));
  std::vector<std::int32_t>& out = RangeResult(*e.Res);
  out.resize(3);
  out[0] = start;
  out[1] = step;
  out[2] = stop;
}

// ---- matrix cells of "*" ---------------------------------------------------------------------------

// Straight into an assigned matrix variable where the product fits it (direct.h).
void MatrixProduct(TExprRec& e) {
  const TZel& a = e.Args[0]->MatrixValue();
  const TZel& b = e.Args[1]->MatrixValue();
  TNubraVec* y = direct::Target(e);
  if (y && y->IsMatrix() && FitsProduct(static_cast<TZel&>(*y), a, b)) {
    MatMul(a, b, static_cast<TZel&>(*y));
    direct::MarkDelivered(e);
    return;
  }
  MatMul(a, b, e.Res->MatrixValue());
}

// Row vector times matrix: the result is a vector.
void RowTimesMatrix(TExprRec& e) {
  const TVec& v = e.Args[0]->getVectorValue();
  Redefine(*e.Res, vtVectorValue);
  TensorProd(v, e.Args[1]->MatrixValue(), e.Res->getVectorValue());
}

// One-column matrix times row vector: the outer product.
void ColumnTimesRow(TExprRec& e) {
  TZel& m = e.Args[0]->MatrixValue();
  if (m.Cols() != 1) ERaise("Multiplying matrix and row vector, but matrix column count is not 1!");
  const TVec& row = e.Args[1]->getVectorValue();
  TVec column;  // a view of the matrix's only column: no copy
  column.SetSubRange(m, 0, m.Rows());
  TensorProd(column, row, e.Res->MatrixValue());
}

enum Symbol { kMinus, kMinusElem, kStar, kStarElem };
constexpr const char* kSymbols[] = {"-", "-.", "*", "*."};

template <int Sym>
void Unsupported(TExprRec& e) {
  throw EZelParseError(Fmt("Unsupported operand combination: (%s) %s (%s)",
                           ValTypeName(e.Args[0]->ValueType()), kSymbols[Sym],
                           ValTypeName(e.Args[1]->ValueType())));
}

// ---- cell tables ----------------------------------------------------------------------------------

// The routines every operator of this file shares: element-wise on arrays, integer kinds kept integer.
// A range cell meets an integer range whenever the other operand is an integer kind (the rules send
// extended ranges there to the vector cells).
template <class Op>
constexpr TOperMatrix CommonRoutines() {
  TOperMatrix t{};
  Set(t, {D, I}, {D, I}, RealScalars<Op>);
  Set(t, {I}, {I}, IntScalars<Op>);
  Set(t, {D, I, C}, {C}, CplxScalars<Op>);
  Set(t, {C}, {D, I}, CplxScalars<Op>);
  Set(t, {D, I, C}, {R, V, M}, ScalarArray<Op>);
  Set(t, {R, V, M}, {D, I, C}, ArrayScalar<Op>);
  Set(t, {R, V, M}, {R, V, M}, Arrays<Op, kNoCheck>);
  Set(t, {I}, {R, IV, IM}, IntScalarArray<Op>);
  Set(t, {R, IV, IM}, {I}, IntArrayScalar<Op>);
  Set(t, {R, IV, IM}, {R, IV, IM}, IntArrays<Op, kNoCheck>);
  return t;
}

// "+", "+.", "-", "-.": integer ranges with integers and ranges stay ranges; "+" and "-" check shapes
// where a matrix meets another array (`First` and `Second` are the messages of the two groups of cells);
// `Strings` joins two strings or refuses them.
template <class Op, int First, int Second, TExprFunc Strings>
constexpr BinaryCells AddSubCells() {
  TOperMatrix t = CommonRoutines<Op>();
  Set(t, {R}, {I}, RangeWithInt<Op>);
  Set(t, {I}, {R}, IntWithRange<Op>);
  Set(t, {R}, {R}, RangeWithRange<Op>);
  Set(t, {M}, {M, V}, Arrays<Op, First>);
  Set(t, {R, V}, {M}, Arrays<Op, First>);
  Set(t, {M}, {R}, Arrays<Op, Second>);
  Set(t, {IM}, {IM}, IntArrays<Op, First>);
  Set(t, {R, IV}, {IM}, IntArrays<Op, Second>);
  Set(t, {IM}, {R, IV}, IntArrays<Op, Second>);
  Set(t, {S}, {S}, Strings);
  return Combine(kIntRules, t);
}

constexpr BinaryCells kAddCells = AddSubCells<AddOp, kPlusDiffer, kPlusDifferent, Concat>();
constexpr BinaryCells kAddElemCells = AddSubCells<AddOp, kNoCheck, kNoCheck, Concat>();
constexpr BinaryCells kMinusCells =
    AddSubCells<SubOp, kMinusDifferent, kMinusDifferent, Unsupported<kMinus>>();
constexpr BinaryCells kMinusElemCells = AddSubCells<SubOp, kNoCheck, kNoCheck, Unsupported<kMinusElem>>();

constexpr BinaryCells kMultCells = [] {
  TOperMatrix t = CommonRoutines<MulOp>();
  Set(t, {M}, {M}, MatrixProduct);
  Set(t, {R, V}, {M}, RowTimesMatrix);
  Set(t, {M}, {R, V}, ColumnTimesRow);
  Set(t, {R, IV, IM}, {IM}, Unsupported<kStar>);
  Set(t, {IM}, {R, IV}, Unsupported<kStar>);
  Set(t, {S}, {S}, Unsupported<kStar>);
  return Combine(kIntRules, t);
}();

constexpr BinaryCells kMultElemCells = [] {
  TOperMatrix t = CommonRoutines<MulOp>();
  Set(t, {S}, {S}, Unsupported<kStarElem>);
  return Combine(kIntRules, t);
}();

// What the real scalar routines compute, for the scalar optimiser (scalar_ops.h).
[[maybe_unused]] const bool kScalarOps = RegisterScalarOp(RealScalars<AddOp>, {TScalarOpKind::Add}) &&
                                         RegisterScalarOp(RealScalars<SubOp>, {TScalarOpKind::Sub}) &&
                                         RegisterScalarOp(RealScalars<MulOp>, {TScalarOpKind::Mul}) &&
                                         RegisterScalarOp(IntScalars<AddOp>, {TScalarOpKind::IntAdd}) &&
                                         RegisterScalarOp(IntScalars<SubOp>, {TScalarOpKind::IntSub}) &&
                                         RegisterScalarOp(IntScalars<MulOp>, {TScalarOpKind::IntMul});

// ---- one-pass element-wise chains (elementwise_chain.h) -----------------------------------------------

[[maybe_unused]] const bool kChainRoutines = RegisterChainRoutines({
    {Arrays<AddOp, kNoCheck>, TChainOp::kAdd, TChainForm::kArrays},
    {Arrays<AddOp, kPlusDiffer>, TChainOp::kAdd, TChainForm::kArrays},
    {Arrays<AddOp, kPlusDifferent>, TChainOp::kAdd, TChainForm::kArrays},
    {Arrays<SubOp, kNoCheck>, TChainOp::kSub, TChainForm::kArrays},
    {Arrays<SubOp, kMinusDifferent>, TChainOp::kSub, TChainForm::kArrays},
    {Arrays<MulOp, kNoCheck>, TChainOp::kMul, TChainForm::kArrays},
    {ArrayScalar<AddOp>, TChainOp::kAddScalar, TChainForm::kArrayScalar},
    {ArrayScalar<SubOp>, TChainOp::kSubScalar, TChainForm::kArrayScalar},
    {ArrayScalar<MulOp>, TChainOp::kMulScalar, TChainForm::kArrayScalar},
    {ScalarArray<AddOp>, TChainOp::kAddScalar, TChainForm::kScalarArray},  // Add(b, s): b + s
    {ScalarArray<SubOp>, TChainOp::kScalarSub, TChainForm::kScalarArray},  // SubFrom(s, b): s - b
    {ScalarArray<MulOp>, TChainOp::kMulScalar, TChainForm::kScalarArray},  // Mul(b, s): b * s
});

}  // namespace

void _Add(TExprRec& expr) { Dispatch(expr, kAddCells); }
void _AddElem(TExprRec& expr) { Dispatch(expr, kAddElemCells); }
void _Minus(TExprRec& expr) { Dispatch(expr, kMinusCells); }
void _MinusElem(TExprRec& expr) { Dispatch(expr, kMinusElemCells); }
void _Mult(TExprRec& expr) { Dispatch(expr, kMultCells); }
void _MultElem(TExprRec& expr) { Dispatch(expr, kMultElemCells); }

void RedirectOperInt(TExprRec& expr, const TOperMatrix& table) { Dispatch(expr, kIntRules, table); }

}  // namespace zel
