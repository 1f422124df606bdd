// Indexed assignment with one index, a(index) = src (the word "assign" with three arguments).
//
// The destination is a vector, integer vector, boolean vector or one of the matrix kinds, addressed as
// its flat element sequence; the index is an integer, an integer range, an index vector (an extended
// range is expanded into one) or a boolean mask. Nothing grows: every index is checked against the
// destination's length. The first evaluation picks the routine of the (destination, index) kinds and
// stores it in the node; the node's result refers to the destination's object.
#include <array>
#include <utility>

#include "core/scatter.h"
#include "lang/operators/assign.h"
#include "lang/operators/index_range.h"

namespace zel {

namespace {

using namespace assign;

enum TDstKind : std::uint8_t { kV, kM, kIV, kIM, kBV, kBM };
enum TIdxKind : std::uint8_t { xInt, xRange, xIndex, xMask, xExtRange, xNone };
constexpr int kDstKinds = 6;
constexpr int kIdxKinds = 4;  // the kinds that have routines (xInt .. xMask)

constexpr TValueType kDstType[kDstKinds] = {vtVectorValue,    vtMatrixValue,     vtIntVectorValue,
                                            vtIntMatrixValue, vtBoolVectorValue, vtBoolMatrixValue};
constexpr bool IsReal(TDstKind d) { return d == kV || d == kM; }
constexpr bool IsMatrix(TDstKind d) { return d == kM || d == kIM || d == kBM; }
constexpr bool IsBool(TDstKind d) { return d == kBV || d == kBM; }

constexpr std::uint32_t Set(std::initializer_list<TValueType> types) {
  std::uint32_t s = 0;
  for (TValueType t : types) s |= Bit(t);
  return s;
}

constexpr TValueType D = vtDoubleValue, R = vtRangeValue, C = vtComplexValue, V = vtVectorValue,
                     I = vtIntegerValue, IV = vtIntVectorValue, B = vtBoolValue, BV = vtBoolVectorValue;

// The sources each destination accepts, per index kind (integer, range, index vector, mask).
constexpr std::uint32_t kRealSources[kIdxKinds] = {Set({D, I, B, C}), Set({D, R, V, I, B, C}),
                                                   Set({D, R, V, I, B, C}), Set({D, V, I, B, C})};
constexpr std::uint32_t kSources[kDstKinds][kIdxKinds] = {
    {kRealSources[0], kRealSources[1], kRealSources[2], kRealSources[3]},
    {kRealSources[0], kRealSources[1], kRealSources[2], kRealSources[3]},
    {Set({I, B}), Set({R, I, IV, B, BV}), Set({R, I, IV, B, BV}), Set({I, IV, B, BV})},
    {Set({I, B}), Set({R, I, IV, B}), Set({R, I, IV, B}), Set({I, IV, B})},
    {Set({I, B}), Set({I, B, BV}), Set({I, B, BV}), Set({I, B, BV})},
    {Set({I, B}), Set({I, B, BV}), Set({I, B, BV}), Set({I, B, BV})},
};

// Texts that differ between vector and matrix destinations.
struct TTexts {
  const char* index;     // index out of range
  const char* intRange;  // the range is not an integer range
  const char* exceeded;  // a range part beyond the end
  const char* complex;   // complex source into a real destination
};
constexpr TTexts kVectorTexts = {"Vector index out of range: 0 <= %d < %d",
                                 "Vector range parameter must be an integer range!",
                                 "Destination vector range exceeded: %d + %lld > %d",
                                 "Assign: Cant assign complex number to real valued vector!"};
constexpr TTexts kMatrixTexts = {
    "Matrix index out of range: 0 <= %d < %d", "Matrix range parameter must be an integer range!",
    "Destination matrix range exceeded: %d + %lld > %d", "Cant assign complex number to real valued matrix!"};
constexpr const TTexts& Texts(TDstKind d) { return IsMatrix(d) ? kMatrixTexts : kVectorTexts; }

// A mask whose length differs from the destination's.
const char* MaskSizeText(TDstKind d, bool matrixMask) {
  constexpr const char* kLeftSide = "Assign: size of mask and destination on the left side do not match!";
  constexpr const char* kNoMatch = "Size of mask and destination do not match!";
  switch (d) {
    case kM:
      return matrixMask ? kNoMatch : kLeftSide;
    case kBV:
      return kNoMatch;
    case kBM:
      return matrixMask ? "Size of mask and destination are not a match!" : kNoMatch;
    default:
      return kLeftSide;
  }
}

[[noreturn]] void Raise(const std::string& msg) { throw EZelParseError(msg); }

// ---- kinds ---------------------------------------------------------------------------------------------

int DstKindOf(const TValueRec& dst) {
  for (int k = 0; k < kDstKinds; ++k)
    if (kDstType[k] == dst.ValueType()) return k;
  return kDstKinds;
}

// The index kind of idx for a destination of kind d (xExtRange: an extended range, used as an index
// vector once expanded).
TIdxKind IndexKindOf(const TValueRec& idx, int d) {
  switch (idx.ValueType()) {
    case vtIntegerValue:
      return xInt;
    case vtRangeValue:
      return idx.ExtRange() ? xExtRange : xRange;
    case vtIntVectorValue:
      return xIndex;
    case vtBoolVectorValue:
      return xMask;
    case vtBoolMatrixValue:
      return d < kDstKinds && IsMatrix(static_cast<TDstKind>(d)) ? xMask : xNone;
    default:
      return xNone;
  }
}

// ---- the destination's object and the source in its terms ---------------------------------------------

template <TDstKind K>
auto& Object(TValueRec& dst) {
  if constexpr (K == kV) return static_cast<TNubraVec&>(dst.VectorValue());
  if constexpr (K == kM) return static_cast<TNubraVec&>(dst.MatrixValue());
  if constexpr (K == kIV) return static_cast<TNubraInt&>(dst.IntVectorValue());
  if constexpr (K == kIM) return static_cast<TNubraInt&>(dst.IntMatrixValue());
  if constexpr (K == kBV) return static_cast<TNubraInt&>(dst.BoolVectorValue());
  if constexpr (K == kBM) return static_cast<TNubraInt&>(dst.BoolMatrixValue());
}

// A scalar source as an element value of the destination, after the complexity check.
template <TDstKind K, TIdxKind X, class Obj>
auto ScalarFor(const Obj& obj, const TValueRec& src) {
  if constexpr (IsReal(K)) {
    const TRealScalar x = ReadRealScalar(src);
    if (x.complex && !obj.Complex())
      Raise(K == kM && X == xMask ? "The destination in the expression \"matrix ( mask) = c\" is not complex!"
                                  : Texts(K).complex);
    return x;
  } else {
    return ReadIntScalar(src, IsBool(K));
  }
}

// A vector-like source (a range is expanded in place), after the complexity or precision check.
template <TDstKind K, TIdxKind X, class Obj>
auto& VectorFor(const Obj& obj, TValueRec& src) {
  if constexpr (IsReal(K)) {
    TNubraVec& v = RealVectorSource(src);
    if (K == kM && X == xMask) {
      if (v.Complex() && !obj.Complex())
        Raise("The destination in the expression \" matrix ( mask ) = c \" is not complex!");
      if (v.Complex() != obj.Complex()) Raise("assign: iscomplex(source) <> iscomplex(destination)");
    } else if (v.Complex() && !obj.Complex()) {
      Raise(Texts(K).complex);
    }
    return v;
  } else {
    TNubraInt& v = IntVectorSource(src, obj.IntPrecision());
    if (v.IntPrecision() != obj.IntPrecision())
      Raise("Assign: source and destiation do not have a matching integer precision!");
    return v;
  }
}

// Raises unless every index of r lies in [0, n).
template <TDstKind K>
void CheckInside(const TIndexRange& r, int n) {
  if (r.Count == 0) return;
  if (r.Lower < 0) Raise(Fmt(Texts(K).index, r.Lower, n));
  if (r.Upper() >= n)
    Raise(Fmt(Texts(K).exceeded, r.Lower, static_cast<long long>(r.Upper() - r.Lower + 1), n));
}

// ---- writes per index kind --------------------------------------------------------------------------------

template <TDstKind K, class Obj>
void WriteElement(Obj& obj, const TValueRec& idx, const TValueRec& src) {
  const auto x = ScalarFor<K, xInt>(obj, src);
  const auto i = static_cast<std::int32_t>(idx.IntegerValue());
  if (i < 0 || i >= obj.Length()) Raise(Fmt(Texts(K).index, i, obj.Length()));
  WithValue(x, [&](auto v) { FillBlock(obj, i, 1, 1, 1, v); });
}

// A scalar fills the resolved range; a vector is copied into it (descending for a negative step, so
// that a(i:-s:j) = w is the mirror of w = a(i:-s:j)).
template <TDstKind K, class Obj>
void WriteRange(Obj& obj, const TValueRec& idx, TValueRec& src, bool scalar) {
  if (idx.ExtRange()) Raise(Texts(K).intRange);
  const auto& b = idx.Range();
  const int entries = static_cast<int>(b.size());
  if (entries != 2 && entries != 3) Raise("Invalid range parameter length!");
  const int n = obj.Length();
  if (scalar) {
    const auto x = ScalarFor<K, xRange>(obj, src);
    const TIndexRange r = ResolveRange(b.data(), entries, n);
    CheckInside<K>(r, n);
    WithValue(x, [&](auto v) { FillBlock(obj, r.Lower, r.Step, r.Count, 1, v); });
    return;
  }
  auto& v = VectorFor<K, xRange>(obj, src);
  TIndexRange r;
  if (entries == 2 && b[1] == RangeEndOfArray) {
    // start:NubraEOA takes as many elements as the source has.
    r.Lower = b[0];
    r.Count = v.Length();
  } else {
    r = ResolveRange(b.data(), entries, n);
  }
  if (r.Count != v.Length()) Raise("assign: aGetLength(range) <> aGetLength(Src))");
  CheckInside<K>(r, n);
  if (r.Count == 0) return;
  if (r.Reversed) {
    ScatterByIncr(obj, static_cast<int>(r.Upper()), -r.Step, v);
  } else {
    ScatterByIncr(obj, r.Lower, r.Step, v);
  }
}

// Scalars are written index by index and stop at the first bad index; vectors are checked whole by the
// core before anything is written.
template <TDstKind K, class Obj>
void WriteIndexed(Obj& obj, TValueRec& idx, TValueRec& src, bool scalar) {
  const TNubraInt& index = idx.IntVectorValue();
  if (index.IntPrecision() != prInt32)
    Raise("Assign: The index in \"Dst(index) = Src\" must be 32bit integer!");
  if (!scalar) return ScatterByIndex(obj, index, VectorFor<K, xIndex>(obj, src));
  const auto x = ScalarFor<K, xIndex>(obj, src);
  const int bad = WithValue(x, [&](auto v) { return FillByIndex(obj, index, v); });
  if (bad >= 0) Raise(Fmt("Assign: out of range: Idx = %d,  Len = %d", index.Get(bad), obj.Length()));
}

template <TDstKind K, class Obj>
void WriteMasked(Obj& obj, TValueRec& idx, TValueRec& src, bool scalar) {
  const bool matrixMask = idx.ValueType() == vtBoolMatrixValue;
  const TNubraInt& mask =
      matrixMask ? static_cast<const TNubraInt&>(idx.BoolMatrixValue()) : idx.BoolVectorValue();
  if (mask.Length() != obj.Length()) Raise(MaskSizeText(K, matrixMask));
  if (IsMatrix(K) && mask.IntPrecision() != prInt32)
    Raise("Assign: The boolean mask in \"Dst(mask) = Src\" must be 32bit boolean!");
  if (!scalar) return ScatterByMask(obj, mask, VectorFor<K, xMask>(obj, src));
  const auto x = ScalarFor<K, xMask>(obj, src);
  WithValue(x, [&](auto v) { FillByMask(obj, mask, v); });
}

// ---- typed routines ---------------------------------------------------------------------------------------

// The routine of one (destination, index) kind. When the types under the compiled node changed, the
// generic routine dispatches afresh.
template <TDstKind K, TIdxKind X>
void Cell(TExprRec& e) {
  TValueRec& dst = *e.Args[0];
  TValueRec& idx = *e.Args[1];
  TValueRec& src = *e.Args[2];
  const TValueType s = src.ValueType();
  if (dst.ValueType() != kDstType[K] || IndexKindOf(idx, K) != X || !Has(kSources[K][X], s)) [[unlikely]] {
    e.Oper = _Assign3;
    return _Assign3(e);
  }
  auto& obj = Object<K>(dst);
  const bool scalar = Has(kRealScalars, s);
  if constexpr (X == xInt) WriteElement<K>(obj, idx, src);
  if constexpr (X == xRange) WriteRange<K>(obj, idx, src, scalar);
  if constexpr (X == xIndex) WriteIndexed<K>(obj, idx, src, scalar);
  if constexpr (X == xMask) WriteMasked<K>(obj, idx, src, scalar);
  DefineResultOn(*e.Res, dst);
}

template <std::size_t... Cells>
constexpr std::array<TExprFunc, sizeof...(Cells)> MakeCells(std::index_sequence<Cells...>) {
  return {&Cell<static_cast<TDstKind>(Cells / kIdxKinds), static_cast<TIdxKind>(Cells % kIdxKinds)>...};
}
constexpr auto kCells = MakeCells(std::make_index_sequence<kDstKinds * kIdxKinds>());

[[noreturn]] void RaiseTypes(const TValueRec& dst, const TValueRec& idx, const TValueRec& src) {
  if (dst.ValueType() == vtUndefined || idx.ValueType() == vtUndefined || src.ValueType() == vtUndefined)
    Raise(UnknownExprWord);
  Raise(Fmt("Unsupported value type combination: %s( %s ) = %s", ValTypeName(dst.ValueType()),
            ValTypeName(idx.ValueType()), ValTypeName(src.ValueType())));
}

}  // namespace

void _Assign3(TExprRec& e) {
  if (e.Args.size() < 3 || !e.Args[0] || !e.Args[1] || !e.Args[2]) Raise("assign: three arguments expected!");
  TValueRec& dst = *e.Args[0];
  TValueRec& idx = *e.Args[1];
  const TValueRec& src = *e.Args[2];
  const int d = DstKindOf(dst);
  TIdxKind x = IndexKindOf(idx, d);
  const TIdxKind cell = x == xExtRange ? xIndex : x;
  if (d == kDstKinds || cell >= kIdxKinds || !Has(kSources[d][cell], src.ValueType()))
    RaiseTypes(dst, idx, src);
  if (x == xExtRange) {
    // An extended range index is taken as an index vector of 32-bit integers.
    idx.SetRangeIntPrecision(prInt32);
    idx.GetIntVectorValue();
  }
  const TExprFunc typed = kCells[d * kIdxKinds + cell];
  e.Oper = typed;
  typed(e);
}

}  // namespace zel
