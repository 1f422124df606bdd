// Mirrors, rotations, triangles, diagonals and sorting (see rearrange.h). Each shape-changing routine is
// one index map run by Remap, written once for real, complex and integer elements; sorting runs on the
// destination after a copy.
#include "core/rearrange.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <type_traits>
#include <vector>

#include "core/errors.h"
#include "core/kernel_detail.h"
#include "core/stats.h"

namespace zel {

namespace {

// ---- typed element access ----------------------------------------------------------------------------

// The element tag a destination takes from its source: complexity or integer precision.
bool Tag(const TNubraVec& x) { return x.Complex(); }
TIntPrecision Tag(const TNubraInt& x) { return x.IntPrecision(); }

// Calls f(source elements, destination elements) with typed pointers; dst has src's element tag.
template <class F>
void VisitBoth(const TNubraVec& src, TNubraVec& dst, F&& f) {
  if (src.Complex()) {
    f(src.PCValues(), dst.PCValues());
  } else {
    f(src.PValues(), dst.PValues());
  }
}
template <class F>
void VisitBoth(const TNubraInt& src, TNubraInt& dst, F&& f) {
  src.Visit([&](const auto* s) {
    using T = std::remove_const_t<std::remove_pointer_t<decltype(s)>>;
    f(s, reinterpret_cast<T*>(dst.PBValues()));
  });
}
// Calls f(elements) with the typed pointer of x's data (const when x is).
template <class X, class F>
requires std::is_base_of_v<TNubraVec, std::remove_const_t<X>>
void VisitOne(X& x, F&& f) {
  if (x.Complex()) {
    f(x.PCValues());
  } else {
    f(x.PValues());
  }
}
template <class X, class F>
requires std::is_base_of_v<TNubraInt, std::remove_const_t<X>>
void VisitOne(X& x, F&& f) { x.Visit(f); }

// Runs write(dst) directly, or into a temporary of dst's kind when dst shares storage with src (so the
// result is computed from src as it was).
template <class N, class W>
void Produce(const N& src, N& dst, W&& write) {
  if (detail::SharesStorage(dst, src)) {
    detail::ThroughTemporary(dst, write);
  } else {
    write(dst);
  }
}

// dst becomes rows × cols with dst(i, j) = src[from(i, j)] (flat source index), or zero where from
// gives a negative index.
template <class N, class From>
void Remap(const N& src, N& dst, int rows, int cols, From from) {
  Produce(src, dst, [&](N& d) {
    d.SizeShape(rows, cols, Tag(src));
    VisitBoth(src, d, [&](const auto* s, auto* o) {
      using T = std::remove_pointer_t<decltype(o)>;
      for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) {
          const std::ptrdiff_t k = from(i, j);
          o[static_cast<std::size_t>(i) * cols + j] = k < 0 ? T{} : s[k];
        }
    });
  });
}

// ---- the index maps ----------------------------------------------------------------------------------

template <class N>
void FlipHorOf(const N& src, N& dst) {
  const int c = src.Cols();
  Remap(src, dst, src.Rows(), c,
        [c](int i, int j) { return static_cast<std::ptrdiff_t>(i) * c + (c - 1 - j); });
}

template <class N>
void FlipVerOf(const N& src, N& dst) {
  const int r = src.Rows(), c = src.Cols();
  Remap(src, dst, r, c, [r, c](int i, int j) { return static_cast<std::ptrdiff_t>(r - 1 - i) * c + j; });
}

template <class N>
void Rotate90Of(const N& src, N& dst) {
  const int r = src.Rows(), c = src.Cols();
  Remap(src, dst, c, r, [r, c](int i, int j) { return static_cast<std::ptrdiff_t>(r - 1 - j) * c + i; });
}

template <class N>
void RotateOf(const N& src, std::int64_t offset, N& dst) {
  const int n = src.Length();
  const std::int64_t shift = n == 0 ? 0 : ((offset % n) + n) % n;
  Remap(src, dst, src.Rows(), src.Cols(), [n, shift](int i, int j) {
    (void)i;  // a vector is one row
    return static_cast<std::ptrdiff_t>((j - shift + n) % n);
  });
}

// Keeps the elements whose (col - row) is at least `least` (upper) or whose (row - col) is (lower).
template <class N>
void TriangleOf(const N& src, N& dst, bool upper, TDiagonal diagonal) {
  const int c = src.Cols();
  const int least = diagonal == TDiagonal::dgIncluded ? 0 : 1;
  Remap(src, dst, src.Rows(), c, [=](int i, int j) -> std::ptrdiff_t {
    const int above = upper ? j - i : i - j;
    return above >= least ? static_cast<std::ptrdiff_t>(i) * c + j : -1;
  });
}

template <class N>
void DiagOf(const N& src, int k, N& dst) {
  const int r = src.Rows(), c = src.Cols();
  const int row0 = k < 0 ? -k : 0, col0 = k > 0 ? k : 0;
  const int len = std::max(0, std::min(r - row0, c - col0));
  Remap(src, dst, 1, len, [=](int, int t) { return static_cast<std::ptrdiff_t>(row0 + t) * c + (col0 + t); });
}

// ---- sorting -----------------------------------------------------------------------------------------

// The NaN class of a value, sorted after the ordinary values: 0 ordinary, 1 NaN imaginary part, 2 NaN
// real part, 3 both (integers are always ordinary).
template <class T>
int NanRank(T x) {
  if constexpr (std::is_same_v<T, TCplx>) {
    return (std::isnan(x.real()) ? 2 : 0) + (std::isnan(x.imag()) ? 1 : 0);
  } else if constexpr (std::is_floating_point_v<T>) {
    return std::isnan(x) ? 1 : 0;
  } else {
    return 0;
  }
}

// a < b for values of NaN class `rank`: complex values without NaN parts in the order of min and max
// (by modulus, then argument), those with a NaN part by the part that is a number.
template <class T>
bool Less(T a, T b, int rank) {
  if constexpr (std::is_same_v<T, TCplx>) {
    if (rank == 0) return LessByModulus(a, b);
    if (rank == 1) return a.real() < b.real();
    return rank == 2 && a.imag() < b.imag();
  } else {
    return a < b;
  }
}

// The sort order as a strict weak ordering: NaN classes last, then ascending or descending.
template <class T>
struct Before {
  bool descending;
  bool operator()(T a, T b) const {
    const int ra = NanRank(a), rb = NanRank(b);
    if (ra != rb) return ra < rb;
    return descending ? Less(b, a, ra) : Less(a, b, ra);
  }
};

// Sorts p[0 .. n) in place.
template <class T>
void SortValues(T* p, int n, bool descending) {
  if constexpr (std::is_same_v<T, double>) {
    // NaN to the end first, so the sort compares plain numbers.
    T* end = std::partition(p, p + n, [](double x) { return !std::isnan(x); });
    if (descending) {
      std::sort(p, end, std::greater<double>());
    } else {
      std::sort(p, end);
    }
  } else if constexpr (std::is_integral_v<T>) {
    if (descending) {
      std::sort(p, p + n, std::greater<T>());
    } else {
      std::sort(p, p + n);
    }
  } else {
    std::sort(p, p + n, Before<T>{descending});
  }
}

template <class N>
void SortOf(const N& src, N& dst, TSortOrder order) {
  const int rows = src.Rows(), cols = src.Cols();
  dst.Copy(src);
  VisitOne(dst, [&](auto* p) {
    for (int i = 0; i < rows; ++i)
      SortValues(p + static_cast<std::size_t>(i) * cols, cols, order == TSortOrder::soDescending);
  });
}

// The row order of a sort by one column, per thread (grows only, so repeated sorts allocate nothing).
thread_local std::vector<int> tRowOrder;

template <class N>
void SortRowsOf(const N& src, int col, N& dst, TSortOrder order) {
  const int rows = src.Rows(), cols = src.Cols();
  if (col < 0 || col >= cols)
    throw ENubraRangeError(Fmt("SortRows: column %d is outside [0..%d]", col, cols - 1));
  std::vector<int>& perm = tRowOrder;
  if (perm.size() < static_cast<std::size_t>(rows)) perm.resize(rows);
  for (int i = 0; i < rows; ++i) perm[i] = i;
  VisitOne(src, [&](const auto* s) {
    using T = std::remove_const_t<std::remove_pointer_t<decltype(s)>>;
    const Before<T> before{order == TSortOrder::soDescending};
    // Ties broken by the row number: a stable order from an unstable sort that allocates nothing.
    std::sort(perm.begin(), perm.begin() + rows, [&](int a, int b) {
      const T ka = s[static_cast<std::size_t>(a) * cols + col],
              kb = s[static_cast<std::size_t>(b) * cols + col];
      if (before(ka, kb)) return true;
      if (before(kb, ka)) return false;
      return a < b;
    });
  });
  Remap(src, dst, rows, cols,
        [&perm, cols](int i, int j) { return static_cast<std::ptrdiff_t>(perm[i]) * cols + j; });
}

}  // namespace

void FlipHor(const TNubraVec& src, TNubraVec& dst) { FlipHorOf(src, dst); }
void FlipHor(const TNubraInt& src, TNubraInt& dst) { FlipHorOf(src, dst); }
void FlipVer(const TNubraVec& src, TNubraVec& dst) { FlipVerOf(src, dst); }
void FlipVer(const TNubraInt& src, TNubraInt& dst) { FlipVerOf(src, dst); }
void Rotate90(const TNubraVec& src, TNubraVec& dst) { Rotate90Of(src, dst); }
void Rotate90(const TNubraInt& src, TNubraInt& dst) { Rotate90Of(src, dst); }
void Rotate(const TNubraVec& src, std::int64_t offset, TNubraVec& dst) { RotateOf(src, offset, dst); }
void Rotate(const TNubraInt& src, std::int64_t offset, TNubraInt& dst) { RotateOf(src, offset, dst); }

void UpperTriangle(const TNubraVec& src, TNubraVec& dst, TDiagonal d) { TriangleOf(src, dst, true, d); }
void UpperTriangle(const TNubraInt& src, TNubraInt& dst, TDiagonal d) { TriangleOf(src, dst, true, d); }
void LowerTriangle(const TNubraVec& src, TNubraVec& dst, TDiagonal d) { TriangleOf(src, dst, false, d); }
void LowerTriangle(const TNubraInt& src, TNubraInt& dst, TDiagonal d) { TriangleOf(src, dst, false, d); }

void Diag(const TNubraVec& src, int k, TVec& dst) { DiagOf<TNubraVec>(src, k, dst); }
void Diag(const TNubraInt& src, int k, TVecInt& dst) { DiagOf<TNubraInt>(src, k, dst); }

void Sort(const TNubraVec& src, TNubraVec& dst, TSortOrder order) { SortOf(src, dst, order); }
void Sort(const TNubraInt& src, TNubraInt& dst, TSortOrder order) { SortOf(src, dst, order); }
void SortRows(const TNubraVec& src, int col, TNubraVec& dst, TSortOrder order) {
  SortRowsOf(src, col, dst, order);
}
void SortRows(const TNubraInt& src, int col, TNubraInt& dst, TSortOrder order) {
  SortRowsOf(src, col, dst, order);
}

}  // namespace zel
