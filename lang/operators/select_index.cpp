// Selection with one index, a(index): element reads, range reads (contiguous ranges of vectors are views of
// the source, no copy), index-vector and mask gathers, on vectors, matrices (as flat sequences), integer
// and boolean kinds, ranges and strings.
#include "lang/operators/select.h"

#include "core/gather.h"
#include "core/text.h"

namespace zel {

namespace select {

[[noreturn]] void RaiseSelectTypes(const TExprRec& expr, int argCount) {
  for (int i = 0; i < argCount; ++i)
    if (!expr.Args[i] || expr.Args[i]->ValueType() == vtUndefined) throw EZelParseError(UnknownExprWord);
  const auto name = [&](int i) { return ValTypeName(expr.Args[i]->ValueType()); };
  if (argCount == 2)
    throw EZelParseError(Fmt("Unsupported value selection types: %s ( %s )", name(0), name(1)));
  throw EZelParseError(Fmt("Unsupported value selection types: %s ( %s, %s )", name(0), name(1), name(2)));
}

}  // namespace select

namespace {

using namespace dispatch;
using namespace select;

// Messages of one source kind.
struct SourceTexts {
  const char* index;        // element index out of range, with the index and the length
  const char* rangeLength;  // a range with other than 2 or 3 entries
  const char* extRange;     // an extended range index; null: its bounds are rounded to integers
};

const SourceTexts& TextsOf(const TValueRec& src) {
  static constexpr SourceTexts kVector{"Vector index out of range: 0 <= %d < %d",
                                       "Invalid range parameter length!", nullptr};
  static constexpr SourceTexts kMatrix{"Matrix index out of range: 0 <= %d < %d",
                                       "Invalid range parameter length!",
                                       "Matrix range parameter must be an integer range!"};
  static constexpr SourceTexts kIntVector{"Vector index out of range: 0 <= %d < %d",
                                          "Invalid Range parameter length!", nullptr};
  static constexpr SourceTexts kIntMatrix{"Matrix index out of Range: 0 <= %d < %d",
                                          "Invalid Range parameter length!",
                                          "Matrix Range parameter must be an integer Range!"};
  static constexpr SourceTexts kBoolVector{"Vector index out of Range: 0 <= %d < %d",
                                           "Invalid Range parameter length!", nullptr};
  static constexpr SourceTexts kBoolMatrix{"Vector index out of Range: 0 <= %d < %d",
                                           "Invalid Range parameter length!",
                                           "Vector Range parameter must be an integer Range!"};
  switch (src.ValueType()) {
    case vtMatrixValue:
      return kMatrix;
    case vtIntMatrixValue:
      return kIntMatrix;
    case vtBoolVectorValue:
      return kBoolVector;
    case vtBoolMatrixValue:
      return kBoolMatrix;
    case vtIntVectorValue:
      return kIntVector;
    case vtRangeValue:
      return src.ExtRange() ? kVector : kIntVector;
    default:
      return kVector;
  }
}

// ---- sources and results --------------------------------------------------------------------------

TVecInt& IntResult(TValueRec& res) {
  return res.ValueType() == vtBoolVectorValue ? res.BoolVectorValue() : res.IntVectorValue();
}

// A result vector about to be filled: a view from an earlier evaluation returns to its own storage, so
// the fill never writes into the viewed source.
template <class V>
V& Detached(V& v) {
  if (v.IsView()) v.SetFullRange();
  return v;
}

// The checked element index of a source of n elements.
int ElementIndex(const TExprRec& expr, int n, const SourceTexts& texts) {
  const int i = IndexOf(*expr.Args[1]);
  if (i < 0 || i >= n) throw EZelParseError(Fmt(texts.index, i, n));
  return i;
}

// A range index resolved against n elements and checked to lie inside; entries returns 2 or 3.
TIndexRange CheckedRange(const TValueRec& index, int n, const SourceTexts& texts, int& entries) {
  if (texts.extRange && !IsIntegerRange(index)) throw EZelParseError(texts.extRange);
  std::int32_t bounds[3];
  entries = RangeBounds(index, bounds);
  if (entries != 2 && entries != 3) throw EZelParseError(texts.rangeLength);
  const TIndexRange r = ResolveRange(bounds, entries, n);
  if (!r.Inside(n)) throw EZelParseError(Fmt(texts.index, static_cast<int>(r.Outside(n)), n));
  return r;
}

// The mask of a selection: a boolean vector or matrix.
const TNubraInt& MaskOf(const TValueRec& m) {
  if (m.ValueType() == vtBoolMatrixValue) return m.BoolMatrixValue();
  return m.BoolVectorValue();
}

// ---- typed routines: real sources -----------------------------------------------------------------

void ElemReal(TExprRec& expr) {
  TValueRec& res = *expr.Res;
  const TNubraVec& src = (*expr.Args[0]).RealElements();
  const int i = ElementIndex(expr, src.Length(), TextsOf(*expr.Args[0]));
  if (src.Complex()) {
    EnsureType(res, vtComplexValue);
    res.SetComplexValue(src.CValues(i));
  } else {
    EnsureType(res, vtDoubleValue);
    res.SetDoubleValue(src.Values(i));
  }
}

// Two entries: a view of the source. Three: a strided copy, descending for a negative step.
template <class Source, class Result>
void RangeRead(TExprRec& expr, Source source, Result result) {
  auto& src = source(*expr.Args[0]);
  int entries = 0;
  const TIndexRange r = CheckedRange(*expr.Args[1], src.Length(), TextsOf(*expr.Args[0]), entries);
  auto& dst = result(*expr.Res);
  if (entries == 2) {
    dst.SetSubRange(src, r.Lower, r.Count);
  } else if (r.Reversed) {
    GatherByIncr(Detached(dst), src, static_cast<int>(r.Upper()), -r.Step, r.Count);
  } else {
    GatherByIncr(Detached(dst), src, r.Lower, r.Step, r.Count);
  }
}

TVec& RealResult(TValueRec& res) { return res.getVectorValue(); }

void RangeReal(TExprRec& expr) {
  RangeRead(
      expr, [](TValueRec& v) -> TNubraVec& { return v.RealElements(); }, RealResult);
}

void IndexReal(TExprRec& expr) {
  GatherByIndex(Detached(RealResult(*expr.Res)), (*expr.Args[0]).RealElements(),
                expr.Args[1]->GetIntVectorValue());
}

void MaskReal(TExprRec& expr) {
  GatherByMask(Detached(RealResult(*expr.Res)), (*expr.Args[0]).RealElements(), MaskOf(*expr.Args[1]));
}

// ---- typed routines: integer and boolean sources --------------------------------------------------

void ElemInt(TExprRec& expr) {
  const TNubraInt& src = (*expr.Args[0]).IntElements();
  const int i = ElementIndex(expr, src.Length(), TextsOf(*expr.Args[0]));
  if (expr.Res->ValueType() == vtBoolValue) {
    expr.Res->SetBoolValue(src.Get(i) != 0);
  } else {
    expr.Res->SetIntegerValue(src.Get(i));
  }
}

void RangeInt(TExprRec& expr) {
  RangeRead(
      expr, [](TValueRec& v) -> TNubraInt& { return v.IntElements(); }, IntResult);
}

void IndexInt(TExprRec& expr) {
  GatherByIndex(Detached(IntResult(*expr.Res)), (*expr.Args[0]).IntElements(),
                expr.Args[1]->GetIntVectorValue());
}

void MaskInt(TExprRec& expr) {
  GatherByMask(Detached(IntResult(*expr.Res)), (*expr.Args[0]).IntElements(), MaskOf(*expr.Args[1]));
}

// ---- typed routines: strings ----------------------------------------------------------------------

constexpr const char* kStringIndexText = "String index must be wtihin [0..Length(Str)-1]";

// Strings are indexed by character (UTF-8 code point), not by byte.
void ElemStr(TExprRec& expr) {
  const std::string& s = expr.Args[0]->StringValue();
  const int i = IndexOf(*expr.Args[1]);
  const std::ptrdiff_t begin = CharOffset(s, i);
  const std::ptrdiff_t end = i < INT32_MAX ? CharOffset(s, i + 1) : -1;
  if (begin < 0 || end < 0) ERaise(kStringIndexText);
  expr.Res->SetStringValue(s.substr(begin, end - begin));
}

void RangeStr(TExprRec& expr) {
  const std::string& s = expr.Args[0]->StringValue();
  const TValueRec& index = *expr.Args[1];
  if (!IsIntegerRange(index) || index.Range().size() != 2) ERaise("Range must be a simple integer range a:b");
  const std::int32_t start = index.Range()[0];
  const std::int32_t stop = index.Range()[1];
  const std::ptrdiff_t begin = CharOffset(s, start);
  const std::ptrdiff_t end = stop < INT32_MAX ? CharOffset(s, stop + 1) : -1;
  const std::ptrdiff_t length = static_cast<std::ptrdiff_t>(s.size());
  if (begin < 0 || begin == length || end <= 0) ERaise(kStringIndexText);  // both inside the string
  expr.Res->SetStringValue(stop < start ? std::string() : s.substr(begin, end - begin));
}

// ---- dispatch -------------------------------------------------------------------------------------

// Source kind x index kind: an integer reads one element, a range a part (a view when contiguous), an
// index vector or a mask gathers elements.
constexpr BinaryCells kSelect1 = [] {
  BinaryCells t{};
  // Real sources.
  Set(t, {Re, V, M}, {I}, D, ElemReal);
  Set(t, {Re, V, M}, Ranges, V, RangeReal);
  Set(t, {Re, V, M}, {IV}, V, IndexReal);
  Set(t, {Re, V, M}, {BV}, V, MaskReal);
  Set(t, {M}, {BM}, V, MaskReal);
  // Integer sources.
  Set(t, {R, IV, IM}, {I}, I, ElemInt);
  Set(t, {R, IV, IM}, Ranges, IV, RangeInt);
  Set(t, {R, IV, IM}, {IV}, IV, IndexInt);
  Set(t, {R, IV, IM}, {BV}, IV, MaskInt);
  Set(t, {IM}, {BM}, IV, MaskInt);
  // Boolean sources.
  Set(t, {BV, BM}, {I}, B, ElemInt);
  Set(t, {BV, BM}, Ranges, BV, RangeInt);
  Set(t, {BV, BM}, {IV}, BV, IndexInt);
  Set(t, {BV, BM}, {BV}, BV, MaskInt);
  Set(t, {BM}, {BM}, BV, MaskInt);
  // Strings.
  Set(t, {S}, {I}, S, ElemStr);
  Set(t, {S}, Ranges, S, RangeStr);
  return t;
}();

}  // namespace

void _Select1(TExprRec& expr) {
  if (expr.Args.size() < 2 || !expr.Args[0] || !expr.Args[1]) throw EZelParseError(UnknownExprWord);
  const Cell& cell = kSelect1.cells[SelectKindOf(*expr.Args[0])][SelectKindOf(*expr.Args[1])];
  if (!cell.routine) RaiseSelectTypes(expr, 2);
  Run(expr, cell);
}

}  // namespace zel
