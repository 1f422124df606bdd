// Logical and bitwise operators: "and"/"&", "or"/"|", "xor" (RedirectOperBit), the unary "not"/"Not"/
// "~"/"!" (RedirectOperNot) and the shifts "<<"/"shl", ">>"/"shr" (RedirectOperBitShift), one cell table
// per operator; the three variants' rules are the results of those tables. Integers get bitwise
// operations, bools logical ones; the two kinds never mix. Container results start as a copy of an
// operand in the result's own object, which the numeric core then changes in place.
#include <cstdint>

#include "core/compare.h"
#include "lang/operators/mask.h"

namespace zel {

namespace {

using namespace dispatch;
using namespace opermask;

// The three binary bit operations: on two 64-bit values, and in place on an integer object with a
// scalar or element by element. Name is used in the length-mismatch message.
struct AndOp {
  static constexpr const char* Name = "and";
  static std::int64_t Of(std::int64_t a, std::int64_t b) { return a & b; }
  static void On(TNubraInt& x, std::int64_t s) { BinaryAnd(x, s); }
  static void On(TNubraInt& x, const TNubraInt& y) { BinaryAnd(x, y); }
};
struct OrOp {
  static constexpr const char* Name = "or";
  static std::int64_t Of(std::int64_t a, std::int64_t b) { return a | b; }
  static void On(TNubraInt& x, std::int64_t s) { BinaryOr(x, s); }
  static void On(TNubraInt& x, const TNubraInt& y) { BinaryOr(x, y); }
};
struct XorOp {
  static constexpr const char* Name = "xor";
  static std::int64_t Of(std::int64_t a, std::int64_t b) { return a ^ b; }
  static void On(TNubraInt& x, std::int64_t s) { BinaryXor(x, s); }
  static void On(TNubraInt& x, const TNubraInt& y) { BinaryXor(x, y); }
};

// The wider of two element precisions (a 16-bit signed element holds every 8-bit unsigned one).
TIntPrecision Wider(TIntPrecision a, TIntPrecision b) {
  return IntPrecisionBytes(a) >= IntPrecisionBytes(b) ? a : b;
}

// Sizes the node's result to shape s at precision p, copies the container operand src into it
// (converting the precision) and returns the result object.
TNubraInt& CopyToResult(TExprRec& e, TValueRec& src, TShape s, TIntPrecision p) {
  TNubraInt& from = src.IntElements();
  TNubraInt& res = SizeIntResult(*e.Res, s, p);
  res.Copy(from, 0, 0, from.Length());
  return res;
}

template <class Op>
void BitIntegers(TExprRec& e) {
  e.Res->SetIntegerValue(Op::Of(e.Args[0]->IntegerValue(), e.Args[1]->IntegerValue()));
}

template <class Op>
void BitBools(TExprRec& e) {
  e.Res->SetBoolValue(Op::Of(e.Args[0]->BoolValue(), e.Args[1]->BoolValue()) != 0);
}

// A container (argument Arg) with a scalar read by Get; the operations are symmetric, so the result
// takes the container's shape and precision whichever side it is on.
template <class Op, int Arg, auto Get>
void BitWithScalar(TExprRec& e) {
  TValueRec& c = *e.Args[Arg];
  TNubraInt& res = CopyToResult(e, c, ShapeOf(c), c.IntElements().IntPrecision());
  Op::On(res, Get(*e.Args[1 - Arg]));
}

// Two containers element by element, at the wider of their precisions.
template <class Op>
void BitContainers(TExprRec& e) {
  TValueRec& a = *e.Args[0];
  TValueRec& b = *e.Args[1];
  const TShape shape = PairShape(a, b, Op::Name);
  const TNubraInt& y = b.IntElements();
  TNubraInt& res = CopyToResult(e, a, shape, Wider(a.IntElements().IntPrecision(), y.IntPrecision()));
  Op::On(res, y);
}

// The cells of one bit operation: integer kinds with integer kinds, bool kinds with bool kinds, the
// result shaped like the container operand (a matrix's when one is).
template <class Op>
constexpr BinaryCells kBitCells = [] {
  BinaryCells t{};
  Set(t, {I}, {I}, I, BitIntegers<Op>);
  Set(t, {IV}, {I}, IV, BitWithScalar<Op, 0, IntScalar>);
  Set(t, {IM}, {I}, IM, BitWithScalar<Op, 0, IntScalar>);
  Set(t, {I}, {IV}, IV, BitWithScalar<Op, 1, IntScalar>);
  Set(t, {I}, {IM}, IM, BitWithScalar<Op, 1, IntScalar>);
  Set(t, {IV}, {IV}, IV, BitContainers<Op>);
  Set(t, {IV, IM}, {IM}, IM, BitContainers<Op>);
  Set(t, {IM}, {IV}, IM, BitContainers<Op>);
  Set(t, {B}, {B}, B, BitBools<Op>);
  Set(t, {BV}, {B}, BV, BitWithScalar<Op, 0, BoolScalar>);
  Set(t, {BM}, {B}, BM, BitWithScalar<Op, 0, BoolScalar>);
  Set(t, {B}, {BV}, BV, BitWithScalar<Op, 1, BoolScalar>);
  Set(t, {B}, {BM}, BM, BitWithScalar<Op, 1, BoolScalar>);
  Set(t, {BV}, {BV}, BV, BitContainers<Op>);
  Set(t, {BV, BM}, {BM}, BM, BitContainers<Op>);
  Set(t, {BM}, {BV}, BM, BitContainers<Op>);
  return t;
}();

// ---- routines that change a copy of the left operand ---------------------------------------------

// Copies the first operand's container into the result, then applies Change to the copy.
template <void (*Change)(TNubraInt&, const TExprRec&)>
void ChangeCopy(TExprRec& e) {
  TValueRec& a = *e.Args[0];
  Change(CopyToResult(e, a, ShapeOf(a), a.IntElements().IntPrecision()), e);
}

void Complement(TNubraInt& x, const TExprRec&) { BinaryNot(x); }
void FlipBools(TNubraInt& x, const TExprRec&) { BinaryXor(x, 1); }

// The shift count: the low 32 bits of the right operand, read unsigned (a negative count shifts
// everything out).
std::uint32_t ShiftCount(const TExprRec& e) { return static_cast<std::uint32_t>(e.Args[1]->IntegerValue()); }

template <bool Left>
void ShiftBy(TNubraInt& x, const TExprRec& e) {
  Left ? BitShiftLeft(x, ShiftCount(e)) : BitShiftRight(x, ShiftCount(e));
}

template <bool Left>
void ShiftInteger(TExprRec& e) {
  const std::int64_t v = e.Args[0]->IntegerValue();
  e.Res->SetIntegerValue(Left ? BitShiftLeft(v, ShiftCount(e)) : BitShiftRight(v, ShiftCount(e)));
}

// Integer kinds shifted by an integer count.
template <bool Left>
constexpr BinaryCells kShiftCells = [] {
  BinaryCells t{};
  Set(t, {I}, {I}, I, ShiftInteger<Left>);
  Set(t, {IV}, {I}, IV, ChangeCopy<ShiftBy<Left>>);
  Set(t, {IM}, {I}, IM, ChangeCopy<ShiftBy<Left>>);
  return t;
}();

void NotInteger(TExprRec& e) { e.Res->SetIntegerValue(~e.Args[0]->IntegerValue()); }
void NotBool(TExprRec& e) { e.Res->SetBoolValue(!e.Args[0]->BoolValue()); }

// Integer kinds are complemented bit by bit, bool kinds negated.
constexpr UnaryCells kNotCells = [] {
  UnaryCells t{};
  Set(t, {I}, I, NotInteger);
  Set(t, {IV}, IV, ChangeCopy<Complement>);
  Set(t, {IM}, IM, ChangeCopy<Complement>);
  Set(t, {B}, B, NotBool);
  Set(t, {BV}, BV, ChangeCopy<FlipBools>);
  Set(t, {BM}, BM, ChangeCopy<FlipBools>);
  return t;
}();

// The rules of the three variants are the results of these tables.
constexpr BinaryCells kBitRules = Results(kBitCells<AndOp>);
constexpr BinaryCells kShiftRules = Results(kShiftCells<true>);
constexpr UnaryCells kNotRules = Results(kNotCells);

}  // namespace

void _And(TExprRec& expr) { Dispatch(expr, kBitCells<AndOp>); }
void _Or(TExprRec& expr) { Dispatch(expr, kBitCells<OrOp>); }
void _Xor(TExprRec& expr) { Dispatch(expr, kBitCells<XorOp>); }
void _Not(TExprRec& expr) { Dispatch(expr, kNotCells); }
void _BitShiftLeft(TExprRec& expr) { Dispatch(expr, kShiftCells<true>); }
void _BitShiftRight(TExprRec& expr) { Dispatch(expr, kShiftCells<false>); }

void RedirectOperBit(TExprRec& expr, const TOperMatrix& table) { Dispatch(expr, kBitRules, table); }
void RedirectOperBitShift(TExprRec& expr, const TOperMatrix& table) { Dispatch(expr, kShiftRules, table); }
void RedirectOperNot(TExprRec& expr, const TOperVector& table) { Dispatch(expr, kNotRules, table); }

}  // namespace zel
