// Rearrangement of vectors and matrices: reverse, rotate, rotate90, flipver, fliphor, sortascend,
// sortdescend, diag, uppertriangle and lowertriangle. Results keep the argument's kind (diag gives the
// vector kind of its matrix); the rearranging is the numeric core's (core/rearrange.h). Each function is
// one cell table; refusals of a second argument are cells too.
#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <string>

#include "core/rearrange.h"
#include "lang/operators/dispatch.h"
#include "lang/words/registration.h"
#include "library/families.h"

namespace zel {

namespace {

using namespace dispatch;

TValueRec& X(TExprRec& e) { return *e.Args[0]; }
TValueRec& Second(TExprRec& e) { return *e.Args[1]; }

// A core operation F applied to the argument's elements, written into the result's, for real and
// complex kinds (Real) and integer and boolean kinds (Int).
template <auto F>
struct Into {
  static void Real(TExprRec& e) { F(X(e).RealElements(), e.Res->RealElements()); }
  static void Int(TExprRec& e) { F(X(e).IntElements(), e.Res->IntElements()); }
};

// The core's operations as plain functions of (source, destination).
template <class N>
void FlipHorOf(const N& s, N& d) {
  FlipHor(s, d);
}
template <class N>
void FlipVerOf(const N& s, N& d) {
  FlipVer(s, d);
}
template <class N>
void Rotate90Of(const N& s, N& d) {
  Rotate90(s, d);
}
template <class N>
void UpperOf(const N& s, N& d) {
  UpperTriangle(s, d);
}
template <class N>
void LowerOf(const N& s, N& d) {
  LowerTriangle(s, d);
}
template <class N, TSortOrder O>
void SortOf(const N& s, N& d) {
  Sort(s, d, O);
}

// A cell table giving each listed kind itself through the real or the integer form of F.
template <auto FReal, auto FInt>
constexpr UnaryCells SameKind(Kinds real, Kinds integer) {
  UnaryCells t{};
  for (Kind k : real) Set(t, {k}, k, Into<FReal>::Real);
  for (Kind k : integer) Set(t, {k}, k, Into<FInt>::Int);
  return t;
}

// ---- reverse, flips, rotate90 ------------------------------------------------------------------------

// Scalars are copied; vectors reversed; matrices mirrored left to right (a vector is one row, so both
// are FlipHor).
void CopyScalar(TExprRec& e) { e.Res->AssignOper(X(e)); }

constexpr UnaryCells kReverse = [] {
  UnaryCells t = SameKind<FlipHorOf<TNubraVec>, FlipHorOf<TNubraInt>>({V, M}, {IV, IM, BV, BM});
  for (Kind k : {D, I, C, B}) Set(t, {k}, k, CopyScalar);
  return t;
}();
constexpr UnaryCells kFlipHor = SameKind<FlipHorOf<TNubraVec>, FlipHorOf<TNubraInt>>({M}, {IM, BM});
constexpr UnaryCells kFlipVer = SameKind<FlipVerOf<TNubraVec>, FlipVerOf<TNubraInt>>({M}, {IM, BM});
constexpr UnaryCells kRotate90 = SameKind<Rotate90Of<TNubraVec>, Rotate90Of<TNubraInt>>({M}, {IM, BM});

void _Reverse(TExprRec& e) { Dispatch(e, kReverse); }
void _FlipHor(TExprRec& e) { Dispatch(e, kFlipHor); }
void _FlipVer(TExprRec& e) { Dispatch(e, kFlipVer); }
void _Rotate90(TExprRec& e) { Dispatch(e, kRotate90); }

// ---- functions with an integer second argument -------------------------------------------------------

// Cells of f(x, n) whose n must be an integer: any other defined n raises through `notInteger`.
constexpr BinaryCells IntegerSecond(TExprFunc notInteger) {
  BinaryCells t{};
  for (int l = D; l < KindCount; ++l)
    for (int r = D; r < KindCount; ++r)
      if (r != I) t.cells[l][r] = Cell{None, Own, notInteger};
  return t;
}

void RotateReal(TExprRec& e) { Rotate(X(e).RealElements(), Second(e).IntegerValue(), e.Res->RealElements()); }
void RotateInt(TExprRec& e) { Rotate(X(e).IntElements(), Second(e).IntegerValue(), e.Res->IntElements()); }
void RotateOffsetNotInteger(TExprRec&) {
  throw EZelParseError("The second parameter of \"rotate\" must be an integer!");
}
void RotateMatrix(TExprRec&) { throw EZelParseError("Rotate function for matrix type is not supported!"); }

constexpr BinaryCells kRotate = [] {
  BinaryCells t = IntegerSecond(RotateOffsetNotInteger);
  Set(t, {V}, {I}, V, RotateReal);
  Set(t, {IV}, {I}, IV, RotateInt);
  Set(t, {M, IM, BM}, {I}, None, RotateMatrix);
  return t;
}();

// Rows sorted by column col of a matrix or integer matrix.
template <TSortOrder O>
struct ByColumn {
  static void Real(TExprRec& e) { SortRows(X(e).RealElements(), Column(e), e.Res->RealElements(), O); }
  static void Int(TExprRec& e) { SortRows(X(e).IntElements(), Column(e), e.Res->IntElements(), O); }
  // The column (clamped to int: beyond it the core refuses it as out of range anyway).
  static int Column(TExprRec& e) {
    return static_cast<int>(std::clamp<std::int64_t>(Second(e).IntegerValue(), INT_MIN, INT_MAX));
  }
};
void SortAscendColNotInteger(TExprRec&) {
  throw EZelParseError(
      "SortAscend: Second parameter must be integer to designate column according to which to sort!");
}
void SortDescendColNotInteger(TExprRec&) {
  throw EZelParseError(
      "SortDescend: Second parameter must be integer to designate column according to which to sort!");
}

template <TSortOrder O>
constexpr BinaryCells SortRowsCells(TExprFunc notInteger) {
  BinaryCells t = IntegerSecond(notInteger);
  Set(t, {M}, {I}, M, ByColumn<O>::Real);
  Set(t, {IM}, {I}, IM, ByColumn<O>::Int);
  return t;
}

constexpr auto kAsc = TSortOrder::soAscending;
constexpr auto kDesc = TSortOrder::soDescending;
constexpr UnaryCells kSortAscend =
    SameKind<SortOf<TNubraVec, kAsc>, SortOf<TNubraInt, kAsc>>({V, M}, {IV, IM});
constexpr UnaryCells kSortDescend =
    SameKind<SortOf<TNubraVec, kDesc>, SortOf<TNubraInt, kDesc>>({V, M}, {IV, IM});
constexpr BinaryCells kSortAscendRows = SortRowsCells<kAsc>(SortAscendColNotInteger);
constexpr BinaryCells kSortDescendRows = SortRowsCells<kDesc>(SortDescendColNotInteger);

// Diagonal k (k beyond int selects nothing, like any diagonal outside the matrix).
int DiagonalOf(TExprRec& e) {
  const std::int64_t k = Second(e).IntegerValue();
  return static_cast<int>(std::clamp<std::int64_t>(k, -INT_MAX, INT_MAX));
}
void DiagReal(TExprRec& e) { Diag(X(e).RealElements(), DiagonalOf(e), e.Res->VectorValue()); }
void DiagInt(TExprRec& e) { Diag(X(e).IntElements(), DiagonalOf(e), e.Res->IntVectorValue()); }
void DiagNotInteger(TExprRec&) {
  throw EZelParseError("Diag functions second parameters needs to be an integer!");
}

constexpr BinaryCells kDiag = [] {
  BinaryCells t = IntegerSecond(DiagNotInteger);
  Set(t, {M}, {I}, V, DiagReal);
  Set(t, {IM}, {I}, IV, DiagInt);
  return t;
}();

void _Rotate(TExprRec& e) { Dispatch(e, kRotate); }
void _SortAscend1(TExprRec& e) { Dispatch(e, kSortAscend); }
void _SortAscend2(TExprRec& e) { Dispatch(e, kSortAscendRows); }
void _SortDescend1(TExprRec& e) { Dispatch(e, kSortDescend); }
void _SortDescend2(TExprRec& e) { Dispatch(e, kSortDescendRows); }
void _Diag(TExprRec& e) { Dispatch(e, kDiag); }

// ---- triangles ---------------------------------------------------------------------------------------

constexpr UnaryCells kUpper = SameKind<UpperOf<TNubraVec>, UpperOf<TNubraInt>>({M}, {IM, BM});
constexpr UnaryCells kLower = SameKind<LowerOf<TNubraVec>, LowerOf<TNubraInt>>({M}, {IM, BM});

// The diagonal is kept when the second argument, in lower case, is "diag" (read on every evaluation).
TDiagonal DiagonalWanted(TExprRec& e) {
  const std::string& s = Second(e).StringValue();
  const bool diag = s.size() == 4 && std::equal(s.begin(), s.end(), "diag", [](char c, char d) {
                      return std::tolower(static_cast<unsigned char>(c)) == d;
                    });
  return diag ? TDiagonal::dgIncluded : TDiagonal::dgExcluded;
}

// The triangle (upper or lower) with the diagonal as the string says.
template <bool Upper>
struct Triangle {
  static void Real(TExprRec& e) { Of(X(e).RealElements(), e.Res->RealElements(), DiagonalWanted(e)); }
  static void Int(TExprRec& e) { Of(X(e).IntElements(), e.Res->IntElements(), DiagonalWanted(e)); }
  template <class N>
  static void Of(const N& s, N& d, TDiagonal diagonal) {
    if (Upper) {
      UpperTriangle(s, d, diagonal);
    } else {
      LowerTriangle(s, d, diagonal);
    }
  }
};
void UpperNotString(TExprRec&) { throw EZelParseError("UpperTriangle second parameter must be string!"); }
void LowerNotString(TExprRec&) { throw EZelParseError("LowerTriangle second parameter must be string!"); }

// A matrix or integer matrix with a string; with any other defined second argument the message.
template <bool Upper>
constexpr BinaryCells TriangleCells(TExprFunc notString) {
  BinaryCells t{};
  for (int r = D; r < KindCount; ++r) t.cells[M][r] = t.cells[IM][r] = Cell{None, Own, notString};
  Set(t, {M}, {S}, M, Triangle<Upper>::Real);
  Set(t, {IM}, {S}, IM, Triangle<Upper>::Int);
  return t;
}
constexpr BinaryCells kUpper2 = TriangleCells<true>(UpperNotString);
constexpr BinaryCells kLower2 = TriangleCells<false>(LowerNotString);

void _Upper1(TExprRec& e) { Dispatch(e, kUpper); }
void _Upper2(TExprRec& e) { Dispatch(e, kUpper2); }
void _Lower1(TExprRec& e) { Dispatch(e, kLower); }
void _Lower2(TExprRec& e) { Dispatch(e, kLower2); }

constexpr TFunctionEntry kRearrangement[] = {
    {"reverse", "Reverse", _Reverse, 1, "reverse(x): reverses indexes in vector x"},
    {"rotate", "Rotate", _Rotate, 2, "rotate(x,offset): rotates the data in x by offset left or right"},
    {"rotate90", "Rotate90", _Rotate90, 1,
     "rotate90(x): returns the matrix x rotated by 90 degrees clockwise."},
    {"flipver", "FlipVer", _FlipVer, 1, "flipver(x): returns the matrix x flipped vertically."},
    {"fliphor", "FlipHor", _FlipHor, 1, "fliphor(x): returns the matrix x flipped horizontally."},
    {"sortascend", "SortAscend", _SortAscend1, 1,
     "sortascend(x): sorts values in vector x or values in rows of matrix x."},
    {"sortascend", "SortAscend", _SortAscend2, 2,
     "sortascend(x,col): sorts rows in matrix x. The Col parameter defines the column based on which "
     "the rows are compared with each other."},
    {"sortdescend", "SortDescend", _SortDescend1, 1,
     "sortdescend(x): sorts values in vector x or values in rows of matrix x."},
    {"sortdescend", "SortDescend", _SortDescend2, 2,
     "sortdescend(x,Col): sorts rows in matrix x. The Col parameter defines the column based on which "
     "the rows are compared with each other."},
    {"diag", "Diag", _Diag, 2,
     "diag(x, k): returns the diagonal of matrix x. The k parameter defines the offset from the main "
     "diagonal."},
    {"uppertriangle", "UpperTriangle", _Upper1, 1,
     "uppertriangle(x): returns the upper triangle of matrix x with main diagonal."},
    {"uppertriangle", "UpperTriangle", _Upper2, 2,
     "uppertriangle(x, diag): returns the upper triangle of matrix x. If diag = \"diag\", the diagonal is "
     "included."},
    {"lowertriangle", "LowerTriangle", _Lower1, 1,
     "lowertriangle(x): returns the lower triangle of matrix x with main diagonal."},
    {"lowertriangle", "LowerTriangle", _Lower2, 2,
     "lowertriangle(x, diag): returns the lower triangle of matrix x. If diag = \"diag\", the diagonal is "
     "included."},
};

}  // namespace

void RegisterRearrangementFunctions(TWordList& words) { RegisterFunctions(words, kRearrangement); }

}  // namespace zel
