// Indexed assignment with one index, a(index) = src (the word "assign" with three arguments).
//
// The destination is a vector, integer vector, boolean vector or one of the matrix kinds, addressed as
// its flat element sequence; the index is an integer, an integer range, an index vector (an extended
// range is expanded into one) or a boolean mask. Nothing grows: every index is checked against the
// destination's length. The first evaluation looks the routine up in the destination kind's table
// (index kind x source kind) and stores it in the node; the node's result refers to the destination's
// object.
#include "core/scatter.h"
#include "lang/operators/assign.h"
#include "lang/operators/index_range.h"

namespace zel {

namespace {

using namespace assign;
using namespace dispatch;

// The destination kinds are V, M, IV, IM, BV and BM; the index forms that have routines:
enum IndexForm : std::uint8_t { xInt, xRange, xIndex, xMask };

constexpr bool IsReal(Kind d) { return d == V || d == M; }
constexpr bool IsMatrix(Kind d) { return d == M || d == IM || d == BM; }
constexpr bool IsBool(Kind d) { return d == BV || d == BM; }

// Texts that differ between vector and matrix destinations.
struct DestTexts {
  const char* index;     // index out of range
  const char* intRange;  // the range is not an integer range
  const char* exceeded;  // a range part beyond the end
  const char* complex;   // complex source into a real destination
};
constexpr DestTexts kVectorTexts = {"Vector index out of range: 0 <= %d < %d",
                                    "Vector range parameter must be an integer range!",
                                    "Destination vector range exceeded: %d + %lld > %d",
                                    "Assign: Cant assign complex number to real valued vector!"};
constexpr DestTexts kMatrixTexts = {
    "Matrix index out of range: 0 <= %d < %d", "Matrix range parameter must be an integer range!",
    "Destination matrix range exceeded: %d + %lld > %d", "Cant assign complex number to real valued matrix!"};
constexpr const DestTexts& Texts(Kind d) { return IsMatrix(d) ? kMatrixTexts : kVectorTexts; }

// A mask whose length differs from the destination's.
const char* MaskSizeText(Kind d, bool matrixMask) {
  constexpr const char* kLeftSide = "Assign: size of mask and destination on the left side do not match!";
  constexpr const char* kNoMatch = "Size of mask and destination do not match!";
  switch (d) {
    case M:
      return matrixMask ? kNoMatch : kLeftSide;
    case BV:
      return kNoMatch;
    case BM:
      return matrixMask ? "Size of mask and destination are not a match!" : kNoMatch;
    default:
      return kLeftSide;
  }
}

[[noreturn]] void Raise(const std::string& msg) { throw EZelParseError(msg); }

// ---- the destination's object and the source in its terms ---------------------------------------------

template <Kind K>
auto& Object(TValueRec& dst) {
  if constexpr (K == V) return static_cast<TNubraVec&>(dst.VectorValue());
  if constexpr (K == M) return static_cast<TNubraVec&>(dst.MatrixValue());
  if constexpr (K == IV) return static_cast<TNubraInt&>(dst.IntVectorValue());
  if constexpr (K == IM) return static_cast<TNubraInt&>(dst.IntMatrixValue());
  if constexpr (K == BV) return static_cast<TNubraInt&>(dst.BoolVectorValue());
  if constexpr (K == BM) return static_cast<TNubraInt&>(dst.BoolMatrixValue());
}

// A scalar source as an element value of the destination, after the complexity check.
template <Kind K, IndexForm X, class Obj>
auto ScalarFor(const Obj& obj, const TValueRec& src) {
  if constexpr (IsReal(K)) {
    const TRealScalar x = ReadRealScalar(src);
    if (x.complex && !obj.Complex())
      Raise(K == M && X == xMask ? "The destination in the expression \"matrix ( mask) = c\" is not complex!"
                                 : Texts(K).complex);
    return x;
  } else {
    return ReadIntScalar(src, IsBool(K));
  }
}

// A vector-like source (a range is expanded in place), after the complexity or precision check.
template <Kind K, IndexForm X, class Obj>
auto& VectorFor(const Obj& obj, TValueRec& src) {
  if constexpr (IsReal(K)) {
    TNubraVec& v = RealVectorSource(src);
    if (K == M && X == xMask) {
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
template <Kind K>
void CheckInside(const TIndexRange& r, int n) {
  if (r.Count == 0) return;
  if (r.Lower < 0) Raise(Fmt(Texts(K).index, r.Lower, n));
  if (r.Upper() >= n)
    Raise(Fmt(Texts(K).exceeded, r.Lower, static_cast<long long>(r.Upper() - r.Lower + 1), n));
}

// ---- writes per index kind --------------------------------------------------------------------------------

template <Kind K, class Obj>
void WriteElement(Obj& obj, const TValueRec& idx, const TValueRec& src) {
  const auto x = ScalarFor<K, xInt>(obj, src);
  const auto i = static_cast<std::int32_t>(idx.IntegerValue());
  if (i < 0 || i >= obj.Length()) Raise(Fmt(Texts(K).index, i, obj.Length()));
  WithValue(x, [&](auto v) { FillBlock(obj, i, 1, 1, 1, v); });
}

// A scalar fills the resolved range; a vector is copied into it (descending for a negative step, so
// that a(i:-s:j) = w is the mirror of w = a(i:-s:j)).
template <Kind K, class Obj>
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
template <Kind K, class Obj>
void WriteIndexed(Obj& obj, TValueRec& idx, TValueRec& src, bool scalar) {
  const TNubraInt& index = idx.IntVectorValue();
  if (index.IntPrecision() != prInt32)
    Raise("Assign: The index in \"Dst(index) = Src\" must be 32bit integer!");
  if (!scalar) return ScatterByIndex(obj, index, VectorFor<K, xIndex>(obj, src));
  const auto x = ScalarFor<K, xIndex>(obj, src);
  const int bad = WithValue(x, [&](auto v) { return FillByIndex(obj, index, v); });
  if (bad >= 0) Raise(Fmt("Assign: out of range: Idx = %d,  Len = %d", index.Get(bad), obj.Length()));
}

template <Kind K, class Obj>
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

// True while the kinds under a compiled node still select routine `self` of destination kind K.
template <Kind K>
bool Selects(const TExprRec& e, TExprFunc self);

// The routine of one destination kind and index form. When the types under the compiled node select
// another routine, the generic routine dispatches afresh.
template <Kind K, IndexForm X>
void Typed(TExprRec& e) {
  if (!Selects<K>(e, Typed<K, X>)) [[unlikely]] {
    e.Oper = _Assign3;
    return _Assign3(e);
  }
  TValueRec& dst = *e.Args[0];
  TValueRec& idx = *e.Args[1];
  TValueRec& src = *e.Args[2];
  auto& obj = Object<K>(dst);
  const bool scalar = IsScalarSource(src);
  if constexpr (X == xInt) WriteElement<K>(obj, idx, src);
  if constexpr (X == xRange) WriteRange<K>(obj, idx, src, scalar);
  if constexpr (X == xIndex) WriteIndexed<K>(obj, idx, src, scalar);
  if constexpr (X == xMask) WriteMasked<K>(obj, idx, src, scalar);
  DefineResultOn(*e.Res, dst);
}

// ---- the tables ------------------------------------------------------------------------------------------

// Index kind x source kind of destination kind K: the sources that fill or are copied into one element,
// a range part, the elements of an index vector (an extended range is expanded into one) and a mask.
template <Kind K>
constexpr BinaryCells DestinationCells(Kinds element, Kinds part, Kinds masked) {
  BinaryCells t{};
  Set(t, {I}, element, None, Typed<K, xInt>);
  Set(t, {R}, part, None, Typed<K, xRange>);
  Set(t, {IV, Re}, part, None, Typed<K, xIndex>);
  Set(t, {BV}, masked, None, Typed<K, xMask>);
  if (IsMatrix(K)) Set(t, {BM}, masked, None, Typed<K, xMask>);
  return t;
}

// The table of each destination kind.
template <Kind K>
constexpr BinaryCells kCellsOf = [] {
  if constexpr (IsReal(K)) return DestinationCells<K>({D, I, B, C}, {D, R, Re, V, I, B, C}, {D, V, I, B, C});
  if constexpr (K == IV) return DestinationCells<K>({I, B}, {R, Re, I, IV, B, BV}, {I, IV, B, BV});
  if constexpr (K == IM) return DestinationCells<K>({I, B}, {R, Re, I, IV, B}, {I, IV, B});
  if constexpr (IsBool(K)) return DestinationCells<K>({I, B}, {I, B, BV}, {I, B, BV});
}();

// The cell of dst(idx) = src; null when the destination kind has no table.
const Cell* CellOf(const TValueRec& dst, const TValueRec& idx, const TValueRec& src) {
  const BinaryCells* cells = nullptr;
  switch (KindOf(dst)) {
    case V:
      cells = &kCellsOf<V>;
      break;
    case M:
      cells = &kCellsOf<M>;
      break;
    case IV:
      cells = &kCellsOf<IV>;
      break;
    case IM:
      cells = &kCellsOf<IM>;
      break;
    case BV:
      cells = &kCellsOf<BV>;
      break;
    case BM:
      cells = &kCellsOf<BM>;
      break;
    default:
      return nullptr;
  }
  return &cells->cells[KindOf(idx)][KindOf(src)];
}

template <Kind K>
bool Selects(const TExprRec& e, TExprFunc self) {
  return IsKind(*e.Args[0], K) && kCellsOf<K>.cells[KindOf(*e.Args[1])][KindOf(*e.Args[2])].routine == self;
}

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
  const Cell* cell = CellOf(dst, idx, src);
  if (!cell || !cell->routine) RaiseTypes(dst, idx, src);
  if (KindOf(idx) == Re) {
    // An extended range index is taken as an index vector of 32-bit integers.
    idx.SetRangeIntPrecision(prInt32);
    idx.GetIntVectorValue();
  }
  Run(e, *cell);
}

}  // namespace zel
