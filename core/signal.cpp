// Convolution, correlation, dot products and normalisation (see signal.h). Each kernel is one template
// over the element types of its operands (double or TCplx), chosen once per call; the sums are direct,
// as numpy.convolve and numpy.correlate compute them, so integer-valued data convolves exactly.
#include "core/signal.h"

#include <algorithm>
#include <climits>

#include "core/errors.h"
#include "core/kernel_detail.h"
#include "core/mixed_data.h"

namespace zel {

namespace {

using detail::Conj;
using detail::DataAs;
using detail::ProductOf;
using detail::VisitData;

// True when dst shares storage with either operand, so the result goes through a temporary.
bool MustBuffer(const TNubraVec& dst, const TNubraVec& a, const TNubraVec& b) {
  return detail::MustBuffer(dst, &a, false) || detail::MustBuffer(dst, &b, false);
}

// Calls f with the typed data of a and b.
template <class F>
void VisitPair(const TNubraVec& a, const TNubraVec& b, F&& f) {
  VisitData(a, [&](auto pa) { VisitData(b, [&](auto pb) { f(pa, pb); }); });
}

// The element type of a product of a's and b's elements, as a pointer type to dst's data.
template <class PA, class PB>
using ResultOf = ProductOf<std::remove_cvref_t<decltype(*PA{})>, std::remove_cvref_t<decltype(*PB{})>>;

// Size of a full convolution along one dimension: na + nb - 1, or 0 when either is empty.
int FullLength(int na, int nb) { return na > 0 && nb > 0 ? na + nb - 1 : 0; }

// Σ a·s over the overlap of a row pair: d[j] += s·b[j] for j < n.
template <class R, class S, class B>
void AddScaled(R* d, S s, const B* b, int n) {
  for (int j = 0; j < n; ++j) d[j] += s * b[j];
}

// The normalised correlation: the typed kernel of CrossCorr.
template <class A, class B>
void Correlate(const A* a, int na, const B* b, int nb, std::int64_t loLag, int count, TCorrNorm norm,
               ProductOf<A, B>* d) {
  const std::int64_t longest = std::max(na, nb);
  for (int i = 0; i < count; ++i) {
    const std::int64_t k = i - loLag;
    const std::int64_t first = std::max<std::int64_t>(0, -k), last = std::min<std::int64_t>(nb, na - k);
    ProductOf<A, B> sum{};
    for (std::int64_t n = first; n < last; ++n) sum += a[n + k] * Conj(b[n]);
    const std::int64_t divisor =
        norm == TCorrNorm::cnBiased ? longest : (norm == TCorrNorm::cnUnbiased ? longest - std::abs(k) : 1);
    d[i] = divisor > 0 ? sum / static_cast<double>(divisor) : ProductOf<A, B>{};
  }
}

// The typed kernel of Normalize: (a - x) / y in the natural types, so a real divisor divides both parts.
template <class X, class Y>
void NormalizeWith(const TNubraVec& a, X x, Y y, TNubraVec& dst) {
  constexpr bool scalarsComplex = std::is_same_v<X, TCplx> || std::is_same_v<Y, TCplx>;
  const bool complex = a.Complex() || scalarsComplex;
  if (detail::MustBuffer(dst, &a, a.Complex() == complex)) {
    detail::ThroughTemporary(dst, [&](TNubraVec& t) { NormalizeWith(a, x, y, t); });
    return;
  }
  const int n = a.Length();
  dst.SizeShape(a.Rows(), a.Cols(), complex);  // no change when dst is a
  if (complex) {
    TCplx* d = DataAs<TCplx>(dst);
    VisitData(a, [&](auto pa) {
      for (int i = 0; i < n; ++i) d[i] = (pa[i] - x) / y;
    });
  } else if constexpr (!scalarsComplex) {
    double* d = DataAs<double>(dst);
    const double* pa = a.PValues();
    for (int i = 0; i < n; ++i) d[i] = (pa[i] - x) / y;
  }
}

}  // namespace

void Convolve(const TNubraVec& a, const TNubraVec& b, TNubraVec& dst) {
  if (MustBuffer(dst, a, b)) {
    detail::ThroughTemporary(dst, [&](TNubraVec& t) { Convolve(a, b, t); });
    return;
  }
  const int na = a.Length(), nb = b.Length();
  dst.SizeShape(1, FullLength(na, nb), a.Complex() || b.Complex());
  dst.SetZero();
  if (dst.Length() == 0) return;
  VisitPair(a, b, [&](auto pa, auto pb) {
    auto* d = DataAs<ResultOf<decltype(pa), decltype(pb)>>(dst);
    for (int i = 0; i < na; ++i) AddScaled(d + i, pa[i], pb, nb);
  });
}

void Filter2D(const TZel& a, const TZel& b, TZel& dst) {
  if (MustBuffer(dst, a, b)) {
    detail::ThroughTemporary<TNubraVec>(dst, [&](TNubraVec& t) { Filter2D(a, b, static_cast<TZel&>(t)); });
    return;
  }
  const int ra = a.Rows(), ca = a.Cols(), rb = b.Rows(), cb = b.Cols();
  const int rows = FullLength(ra, rb), cols = FullLength(ca, cb);
  dst.Size(rows, cols, a.Complex() || b.Complex());
  dst.SetZero();
  if (rows == 0 || cols == 0) return;
  VisitPair(a, b, [&](auto pa, auto pb) {
    auto* d = DataAs<ResultOf<decltype(pa), decltype(pb)>>(dst);
    for (int i = 0; i < ra; ++i)
      for (int j = 0; j < ca; ++j)
        for (int k = 0; k < rb; ++k) AddScaled(d + (i + k) * cols + j, pa[i * ca + j], pb + k * cb, cb);
  });
}

void CrossCorr(const TNubraVec& a, const TNubraVec& b, std::int64_t hiLag, std::int64_t loLag, TCorrNorm norm,
               TNubraVec& dst) {
  if (MustBuffer(dst, a, b)) {
    detail::ThroughTemporary(dst, [&](TNubraVec& t) { CrossCorr(a, b, hiLag, loLag, norm, t); });
    return;
  }
  // Lags beyond ±2^40 cannot be asked for in memory anyway; clamping keeps the count from overflowing.
  constexpr std::int64_t kFar = std::int64_t{1} << 40;
  hiLag = std::clamp(hiLag, -kFar, kFar);
  loLag = std::clamp(loLag, -kFar, kFar);
  const std::int64_t count = std::max<std::int64_t>(0, hiLag + loLag + 1);
  if (count > INT_MAX) ERaise(Fmt("CrossCorr: too many lags (%lld)", static_cast<long long>(count)));
  dst.SizeShape(1, static_cast<int>(count), a.Complex() || b.Complex());
  VisitPair(a, b, [&](auto pa, auto pb) {
    Correlate(pa, a.Length(), pb, b.Length(), loLag, static_cast<int>(count), norm,
              DataAs<ResultOf<decltype(pa), decltype(pb)>>(dst));
  });
}

void AutoCorr(const TNubraVec& x, std::int64_t lag, TCorrNorm norm, TNubraVec& dst) {
  CrossCorr(x, x, lag, 0, norm, dst);
}

TCplx DotProd(const TNubraVec& a, const TNubraVec& b, bool conjugate) {
  if (a.Length() != b.Length())
    ERaise(Fmt("DotProd: operand lengths differ (%d and %d)", a.Length(), b.Length()));
  TCplx result;
  VisitPair(a, b, [&](auto pa, auto pb) {
    ResultOf<decltype(pa), decltype(pb)> sum{};
    const int n = a.Length();
    if (conjugate) {
      for (int i = 0; i < n; ++i) sum += pa[i] * Conj(pb[i]);
    } else {
      for (int i = 0; i < n; ++i) sum += pa[i] * pb[i];
    }
    result = sum;
  });
  return result;
}

void Normalize(const TNubraVec& a, double x, double y, TNubraVec& dst) { NormalizeWith(a, x, y, dst); }
void Normalize(const TNubraVec& a, TCplx x, double y, TNubraVec& dst) { NormalizeWith(a, x, y, dst); }
void Normalize(const TNubraVec& a, double x, TCplx y, TNubraVec& dst) { NormalizeWith(a, x, y, dst); }
void Normalize(const TNubraVec& a, TCplx x, TCplx y, TNubraVec& dst) { NormalizeWith(a, x, y, dst); }

}  // namespace zel
