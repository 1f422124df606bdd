// The colon operator: builds integer ranges (i:j, i:step:j) and extended real or complex ranges from its
// operands on every evaluation, reusing the result record's storage.
#include <cstdint>

#include "lang/operators/dispatch.h"

namespace zel {

namespace {

using namespace dispatch;

// One side of a colon: a scalar (one entry) or a range (its entries), as numbers.
struct ColonSide {
  int count = 0;          // entries
  bool isInteger = true;  // all entries are integers (an integer or an integer range)
  bool isComplex = false;
  bool isRange = false;
  std::int32_t ints[3] = {};
  TCplx values[3] = {};
};

// Reads an operand; false for kinds the colon does not combine.
bool ReadSide(const TValueRec& v, ColonSide& s) {
  switch (KindOf(v)) {
    case I:
      s.count = 1;
      s.ints[0] = static_cast<std::int32_t>(v.IntegerValue());  // the low 32 bits, as indices take them
      s.values[0] = static_cast<double>(s.ints[0]);
      return true;
    case D:
      s.count = 1;
      s.isInteger = false;
      s.values[0] = v.DoubleValue();
      return true;
    case C:
      s.count = 1;
      s.isInteger = false;
      s.isComplex = true;
      s.values[0] = v.ComplexValue();
      return true;
    case R: {
      const auto& b = v.Range();
      s.isRange = true;
      s.count = static_cast<int>(b.size());
      for (int i = 0; i < s.count && i < 3; ++i) {
        s.ints[i] = b[i];
        s.values[i] = static_cast<double>(b[i]);
      }
      return true;
    }
    case Re: {
      const TVec* e = v.ExtRangeValue();
      s.isRange = true;
      s.isInteger = false;
      s.count = e ? e->Length() : 0;
      s.isComplex = e && e->Complex();
      for (int i = 0; i < s.count && i < 3; ++i)
        s.values[i] = s.isComplex ? e->CValues(i) : TCplx(e->Values(i), 0);
      return true;
    }
    default:
      return false;
  }
}

[[noreturn]] void RaiseCombination(const TValueRec& a, const TValueRec& b) {
  if (a.ValueType() == vtUndefined || b.ValueType() == vtUndefined) throw EZelParseError(UnknownExprWord);
  throw EZelParseError(Fmt("Type combination not supported by colon operator: %s : %s ",
                           ValTypeName(a.ValueType()), ValTypeName(b.ValueType())));
}

// Makes res an integer range with the given entries; an existing integer range keeps its storage.
void StoreIntRange(TValueRec& res, const std::int32_t* entries, int count) {
  if (res.ValueType() != vtRangeValue || res.ExtRange()) {
    res.Undefine();
    res.DefineRange();
  }
  res.Range().assign(entries, entries + count);
}

// Makes res an extended range; an owned extended range keeps its vector.
void StoreExtRange(TValueRec& res, const TCplx* entries, int count, bool isComplex) {
  if (res.ValueType() != vtRangeValue || !res.ExtRange() || !res.IsOwned() || !res.ExtRangeValue()) {
    res.Undefine();
    res.DefineExtRange();
  }
  TVec& v = *res.ExtRangeValue();
  if (v.IsView()) v.SetFullRange();
  v.Size(count, isComplex);
  for (int i = 0; i < count; ++i) {
    if (isComplex) {
      v.CValues(i) = entries[i];
    } else {
      v.Values(i) = entries[i].real();
    }
  }
}

}  // namespace

void _Colon(TExprRec& expr) {
  TValueRec& res = *expr.Res;
  const TValueRec* a = expr.Args.size() > 0 ? expr.Args[0] : nullptr;
  const TValueRec* b = expr.Args.size() > 1 ? expr.Args[1] : nullptr;
  if (!a && !b) {
    const std::int32_t all[2] = {0, -1};
    StoreIntRange(res, all, 2);
    return;
  }
  if (!a || !b) throw EZelParseError("Colon operator: missing one of the indices!");

  ColonSide l, r;
  if (!ReadSide(*a, l) || !ReadSide(*b, r) || (l.isRange && r.isRange)) RaiseCombination(*a, *b);
  if ((l.isRange && l.count != 2) || (r.isRange && r.count != 2))
    throw EZelParseError("Colon operator can only be paired twice to form i:j:k");

  // Entries in source order: the left side's, then the right side's.
  std::int32_t ints[3];
  TCplx values[3];
  int n = 0;
  for (const ColonSide* s : {&l, &r})
    for (int i = 0; i < s->count; ++i, ++n) {
      ints[n] = s->ints[i];
      values[n] = s->values[i];
    }
  if (l.isInteger && r.isInteger) {
    StoreIntRange(res, ints, n);
  } else {
    StoreExtRange(res, values, n, l.isComplex || r.isComplex);
  }
}

}  // namespace zel
