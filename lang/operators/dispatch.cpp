// Type dispatch of the operators. Each variant owns a constant rule table over the operand kinds; an
// accepted combination names the result type and the table cell whose typed routine runs. The rules
// tell integer ranges from extended (real or complex) ranges, so kinds are the 14 value types plus one
// for extended ranges.
#include <initializer_list>

#include "lang/operators/operators.h"

namespace zel {

namespace {

// Operand kinds of the rule tables: the value types, with ranges split into their two forms.
enum Kind : std::int8_t {
  kU = vtUndefined,
  kD = vtDoubleValue,
  kRi = vtRangeValue,  // integer range
  kS = vtString,
  kC = vtComplexValue,
  kV = vtVectorValue,
  kI = vtIntegerValue,
  kIV = vtIntVectorValue,
  kIM = vtIntMatrixValue,
  kB = vtBoolValue,
  kBV = vtBoolVectorValue,
  kBM = vtBoolMatrixValue,
  kM = vtMatrixValue,
  kX = vtCustomValue,
  kRe = 14,  // extended range
  kKinds = 15,
};

// Result kinds: the value types, and kRe for an extended range. kNone marks a rejected combination.
constexpr std::int8_t kNone = -1;

// Operands dispatched as a vector (the typed routine of the V row or column runs).
enum : std::uint8_t { kAsIs = 0, kLeftAsV = 1, kRightAsV = 2, kAsV = 1 };

struct Rule {
  std::int8_t result = kNone;
  std::uint8_t flags = kAsIs;
};

// Every cell starts rejected. (The loops matter: g++ 12 leaves nested arrays of a value-initialised
// aggregate zeroed instead of applying Rule's member initialisers when it runs at compile time.)
struct UnaryRules {
  Rule r[kKinds];
  constexpr UnaryRules() {
    for (Rule& x : r) x = Rule{};
  }
};
struct BinaryRules {
  Rule r[kKinds][kKinds];
  constexpr BinaryRules() {
    for (auto& row : r)
      for (Rule& x : row) x = Rule{};
  }
};

using Kinds = std::initializer_list<Kind>;
constexpr Kinds kRanges = {kRi, kRe};
constexpr Kinds kDI = {kD, kI};

// Accepts every combination of the listed left and right kinds with one result.
constexpr void Set(BinaryRules& t, Kinds left, Kinds right, std::int8_t result, std::uint8_t flags = kAsIs) {
  for (Kind l : left)
    for (Kind r : right) t.r[l][r] = Rule{result, flags};
}
constexpr void Set(UnaryRules& t, Kinds operand, std::int8_t result, std::uint8_t flags = kAsIs) {
  for (Kind k : operand) t.r[k] = Rule{result, flags};
}

// The kind of a value: its type, or kRe for an extended range.
Kind KindOf(const TValueRec& v) {
  const TValueType t = v.ValueType();
  if (t == vtRangeValue && v.ExtRange()) return kRe;
  return static_cast<Kind>(t);
}

// The table index of an operand: extended ranges use the range row/column unless dispatched as V.
int TableIndex(Kind k, bool asV) {
  if (asV) return vtVectorValue;
  return k == kRe ? static_cast<int>(vtRangeValue) : static_cast<int>(k);
}

// ---- rule tables -----------------------------------------------------------------------------------

constexpr UnaryRules kTransposeRules = [] {
  UnaryRules t{};
  Set(t, {kD}, kD);
  Set(t, {kC}, kC);
  Set(t, {kV}, kM);
  Set(t, {kM}, kM);
  Set(t, {kI}, kI);
  Set(t, {kIV}, kIM);
  Set(t, {kIM}, kIM);
  return t;
}();

constexpr UnaryRules kSignRules = [] {
  UnaryRules t{};
  for (Kind k : {kD, kC, kV, kI, kIV, kIM, kM}) Set(t, {k}, k);
  Set(t, {kRi}, kRi);
  Set(t, {kRe}, kRe);
  return t;
}();

constexpr UnaryRules kFunctionRules = [] {
  UnaryRules t{};
  Set(t, kDI, kD);
  Set(t, kRanges, kV, kAsV);
  Set(t, {kC}, kC);
  Set(t, {kV}, kV);
  Set(t, {kM}, kM);
  return t;
}();

constexpr UnaryRules kNotRules = [] {
  UnaryRules t{};
  for (Kind k : {kI, kIV, kIM, kB, kBV, kBM}) Set(t, {k}, k);
  return t;
}();

constexpr BinaryRules kPowerRules = [] {
  BinaryRules t{};
  Set(t, kDI, kDI, kD);
  Set(t, kDI, {kC}, kC);
  Set(t, {kC}, {kD, kI, kC}, kC);
  Set(t, {kD, kI, kC, kV}, {kV}, kV);
  Set(t, {kV}, {kD, kI, kC}, kV);
  Set(t, {kD, kI, kC, kV}, {kM}, kM);
  Set(t, {kM}, {kD, kI, kC, kV, kM}, kM);
  return t;
}();

constexpr BinaryRules kIntPowerRules = [] {
  BinaryRules t{};
  Set(t, kDI, {kI}, kD);
  Set(t, {kC}, {kI}, kC);
  Set(t, {kV}, {kI}, kV);
  Set(t, {kM}, {kI}, kM);
  return t;
}();

// + - * (and their element-wise forms) and "/.". An integer vector or matrix meeting an extended range
// has no routine: those combinations are rejected.
constexpr BinaryRules kIntRules = [] {
  BinaryRules t{};
  Set(t, {kD}, {kD, kI}, kD);
  Set(t, {kD}, kRanges, kV);
  Set(t, {kD}, {kV}, kV);
  Set(t, {kD}, {kC}, kC);
  Set(t, {kD}, {kM}, kM);

  Set(t, kRanges, {kD, kC, kV}, kV);
  Set(t, {kRi}, {kRi}, kIV);
  Set(t, {kRi}, {kRe}, kV, kLeftAsV);
  Set(t, {kRe}, kRanges, kV, kLeftAsV);
  Set(t, {kRi}, {kI, kIV}, kIV);
  Set(t, {kRe}, {kI}, kV, kLeftAsV);
  Set(t, {kRi}, {kIM}, kIM);
  Set(t, kRanges, {kM}, kM);

  Set(t, {kS}, {kS}, kS);

  Set(t, {kC}, {kD, kI, kC}, kC);
  Set(t, {kC}, kRanges, kV);
  Set(t, {kC}, {kV}, kV);
  Set(t, {kC}, {kM}, kM);

  Set(t, {kV}, {kD, kI, kRi, kRe, kV, kC}, kV);
  Set(t, {kV}, {kM}, kM);

  Set(t, {kI}, {kD}, kD);
  Set(t, {kI}, {kRi}, kIV);
  Set(t, {kI}, {kRe}, kV, kRightAsV);
  Set(t, {kI}, {kC}, kC);
  Set(t, {kI}, {kV}, kV);
  Set(t, {kI}, {kI}, kI);
  Set(t, {kI}, {kIV}, kIV);
  Set(t, {kI}, {kIM}, kIM);
  Set(t, {kI}, {kM}, kM);

  Set(t, {kIV}, {kRi, kI, kIV}, kIV);
  Set(t, {kIV}, {kIM}, kIM);
  Set(t, {kIM}, {kRi, kI, kIV, kIM}, kIM);

  Set(t, {kM}, {kD, kI, kRi, kRe, kV, kC, kM}, kM);
  return t;
}();

constexpr BinaryRules kDivRules = [] {
  BinaryRules t = kIntRules;
  t.r[kS][kS] = Rule{};
  t.r[kI][kI] = Rule{kD, kAsIs};
  t.r[kV][kM] = Rule{kV, kAsIs};
  return t;
}();

constexpr BinaryRules kStrictIntRules = [] {
  BinaryRules t{};
  Set(t, {kRi}, {kRi, kI, kIV}, kIV);
  Set(t, {kRi}, {kIM}, kIM);
  Set(t, {kI}, {kRi}, kIV);
  Set(t, {kI}, {kI}, kI);
  Set(t, {kI}, {kIV}, kIV);
  Set(t, {kI}, {kIM}, kIM);
  Set(t, {kIV}, {kRi, kI, kIV}, kIV);
  Set(t, {kIV}, {kIM}, kIM);
  Set(t, {kIM}, {kRi, kI, kIV, kIM}, kIM);
  return t;
}();

constexpr BinaryRules kBackRules = [] {
  BinaryRules t{};
  Set(t, {kM}, {kV}, kV);
  Set(t, {kM}, {kM}, kM);
  return t;
}();

constexpr BinaryRules kRemRules = [] {
  BinaryRules t{};
  Set(t, {kD}, kDI, kD);
  Set(t, {kD}, {kC}, kC);
  Set(t, {kD}, {kV}, kV);
  Set(t, {kD}, {kM}, kM);
  Set(t, {kC}, {kD, kI, kC}, kC);
  Set(t, {kC}, {kV}, kV);
  Set(t, {kC}, {kM}, kM);
  Set(t, {kV}, {kD, kI, kC, kV}, kV);
  Set(t, {kV}, {kM}, kM);
  Set(t, {kI}, {kD}, kD);
  Set(t, {kI}, {kC}, kC);
  Set(t, {kI}, {kV}, kV);
  Set(t, {kI}, {kI}, kI);
  Set(t, {kI}, {kIV}, kIV);
  Set(t, {kI}, {kIM}, kIM);
  Set(t, {kI}, {kM}, kM);
  Set(t, {kIV}, {kI, kIV}, kIV);
  Set(t, {kIV}, {kIM}, kIM);
  Set(t, {kIM}, {kI, kIV, kIM}, kIM);
  Set(t, {kM}, {kD, kI, kC, kV, kM}, kM);
  return t;
}();

constexpr BinaryRules kShiftRules = [] {
  BinaryRules t{};
  Set(t, {kI}, {kI}, kI);
  Set(t, {kIV}, {kI}, kIV);
  Set(t, {kIM}, {kI}, kIM);
  return t;
}();

constexpr BinaryRules kCompRules = [] {
  BinaryRules t{};
  Set(t, {kD, kC}, {kD, kC, kI}, kB);
  Set(t, {kD, kC}, {kV}, kBV);
  Set(t, {kD, kC}, {kM}, kBM);
  Set(t, {kV}, {kD, kC, kI, kV}, kBV);
  Set(t, {kV}, {kM}, kBM);
  Set(t, {kI}, {kD, kC, kI}, kB);
  Set(t, {kI}, {kV, kIV}, kBV);
  Set(t, {kI}, {kIM, kM}, kBM);
  Set(t, {kIV}, {kI, kIV}, kBV);
  Set(t, {kIV}, {kIM}, kBM);
  Set(t, {kIM}, {kI, kIV, kIM}, kBM);
  Set(t, {kM}, {kD, kC, kI, kV, kM}, kBM);
  return t;
}();

constexpr BinaryRules kEqCompRules = [] {
  BinaryRules t = kCompRules;
  Set(t, kRanges, kRanges, kB);
  Set(t, {kB}, {kB}, kB);
  Set(t, {kB}, {kBV}, kBV);
  Set(t, {kB}, {kBM}, kBM);
  Set(t, {kBV}, {kB, kBV}, kBV);
  Set(t, {kBV}, {kBM}, kBM);
  Set(t, {kBM}, {kB, kBV, kBM}, kBM);
  return t;
}();

constexpr BinaryRules kBitRules = [] {
  BinaryRules t{};
  Set(t, {kI}, {kI}, kI);
  Set(t, {kI}, {kIV}, kIV);
  Set(t, {kI}, {kIM}, kIM);
  Set(t, {kIV}, {kI, kIV}, kIV);
  Set(t, {kIV}, {kIM}, kIM);
  Set(t, {kIM}, {kI, kIV, kIM}, kIM);
  Set(t, {kB}, {kB}, kB);
  Set(t, {kB}, {kBV}, kBV);
  Set(t, {kB}, {kBM}, kBM);
  Set(t, {kBV}, {kB, kBV}, kBV);
  Set(t, {kBV}, {kBM}, kBM);
  Set(t, {kBM}, {kB, kBV, kBM}, kBM);
  return t;
}();

// ---- the two generic variants ----------------------------------------------------------------------

void DefineResultKind(TValueRec& rec, std::int8_t kind) {
  if (kind == kRe) {
    rec.DefineExtRange();
  } else {
    DefineResultType(rec, static_cast<TValueType>(kind));
  }
}

void Dispatch(TExprRec& expr, const UnaryRules& rules, const TOperVector& table) {
  const TValueRec& a = *expr.Args[0];
  const Kind k = KindOf(a);
  const Rule rule = rules.r[k];
  TExprFunc typed = rule.result == kNone ? nullptr : table[TableIndex(k, rule.flags & kAsV)];
  if (!typed) UnsupportedValueTypesError(expr, a.ValueType());
  DefineResultKind(*expr.Res, rule.result);
  expr.Oper = typed;
  typed(expr);
}

void Dispatch(TExprRec& expr, const BinaryRules& rules, const TOperMatrix& table) {
  const TValueRec& a = *expr.Args[0];
  const TValueRec& b = *expr.Args[1];
  const Kind l = KindOf(a);
  const Kind r = KindOf(b);
  const Rule rule = rules.r[l][r];
  TExprFunc typed = nullptr;
  if (rule.result != kNone)
    typed =
        table[TableIndex(l, rule.flags & kLeftAsV) * ValueTypeCount + TableIndex(r, rule.flags & kRightAsV)];
  if (!typed) UnsupportedValueTypesError(expr, a.ValueType(), b.ValueType());
  DefineResultKind(*expr.Res, rule.result);
  expr.Oper = typed;
  typed(expr);
}

}  // namespace

void DefineResultType(TValueRec& rec, TValueType t) {
  switch (t) {
    case vtUndefined:
      rec.Undefine();
      break;
    case vtDoubleValue:
      rec.DefineDouble();
      break;
    case vtRangeValue:
      rec.DefineRange();
      break;
    case vtString:
      rec.DefineString();
      break;
    case vtComplexValue:
      rec.DefineComplex();
      break;
    case vtVectorValue:
      rec.DefineVector();
      break;
    case vtIntegerValue:
      rec.DefineInteger();
      break;
    case vtIntVectorValue:
      rec.DefineIntVector();
      break;
    case vtIntMatrixValue:
      rec.DefineIntMatrix();
      break;
    case vtBoolValue:
      rec.DefineBool();
      break;
    case vtBoolVectorValue:
      rec.DefineBoolVector();
      break;
    case vtBoolMatrixValue:
      rec.DefineBoolMatrix();
      break;
    case vtMatrixValue:
      rec.DefineMatrix();
      break;
    case vtCustomValue:
      rec.DefineCustomValue();
      break;
  }
}

void RedirectOperZel(TExprRec& expr, const TOperVector& table) { Dispatch(expr, kTransposeRules, table); }
void RedirectOperInt(TExprRec& expr, const TOperVector& table) { Dispatch(expr, kSignRules, table); }
void RedirectOper(TExprRec& expr, const TOperVector& table) { Dispatch(expr, kFunctionRules, table); }
void RedirectOperNot(TExprRec& expr, const TOperVector& table) { Dispatch(expr, kNotRules, table); }
void RedirectOper(TExprRec& expr, const TOperMatrix& table) { Dispatch(expr, kPowerRules, table); }
void RedirectOperIntPower(TExprRec& expr, const TOperMatrix& table) { Dispatch(expr, kIntPowerRules, table); }
void RedirectOperInt(TExprRec& expr, const TOperMatrix& table) { Dispatch(expr, kIntRules, table); }
void RedirectOperDiv(TExprRec& expr, const TOperMatrix& table) { Dispatch(expr, kDivRules, table); }
void RedirectOperStrictInt(TExprRec& expr, const TOperMatrix& table) {
  Dispatch(expr, kStrictIntRules, table);
}
void RedirectOperBack(TExprRec& expr, const TOperMatrix& table) { Dispatch(expr, kBackRules, table); }
void RedirectOperRem(TExprRec& expr, const TOperMatrix& table) { Dispatch(expr, kRemRules, table); }
void RedirectOperBitShift(TExprRec& expr, const TOperMatrix& table) { Dispatch(expr, kShiftRules, table); }
void RedirectOperComp(TExprRec& expr, const TOperMatrix& table) { Dispatch(expr, kCompRules, table); }
void RedirectOperEqComp(TExprRec& expr, const TOperMatrix& table) { Dispatch(expr, kEqCompRules, table); }
void RedirectOperBit(TExprRec& expr, const TOperMatrix& table) { Dispatch(expr, kBitRules, table); }

}  // namespace zel
