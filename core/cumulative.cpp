// Running sums, differences and trapezoid integration (see cumulative.h). Each kernel is one template over
// the element type, chosen once per call.
#include "core/cumulative.h"

#include <algorithm>
#include <limits>

#include "core/errors.h"
#include "core/kernel_detail.h"
#include "core/mixed_data.h"

namespace zel {

namespace {

using detail::DataAs;
using detail::VisitData;

// v clamped to the range of the integer element type T.
template <class T>
T Saturate(std::int64_t v) {
  return static_cast<T>(
      std::clamp<std::int64_t>(v, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

// The element type behind a typed data pointer.
template <class P>
using ElementOf = std::remove_cvref_t<decltype(*P{})>;

// Running sums along a vector, or down the columns of a rows × cols matrix; `Store` turns the running sum
// into an element (the identity, or saturation for integers). Each element is read before it is written,
// so d may be s.
template <class S, class D, class Sum, class Store>
void RunningSums(const S* s, D* d, int rows, int cols, bool matrix, Sum zero, Store store) {
  if (!matrix) {
    Sum sum = zero;
    for (int i = 0; i < cols; ++i) d[i] = store(sum += s[i]);
    return;
  }
  for (int c = 0; c < cols; ++c) {
    Sum sum = zero;
    for (int r = 0; r < rows; ++r) d[r * cols + c] = store(sum += s[r * cols + c]);
  }
}

// The integration passes of Integrate: dst = x (widened to complex when `complex`), then one cumulative
// trapezoid pass per initial value init(j), j < passes.
template <class Init>
void IntegratePasses(const TNubraVec& x, int passes, bool complex, Init init, TNubraVec& dst) {
  const int n = x.Length();
  dst.SizeShape(1, n, complex);
  const auto run = [&](auto* d) {
    using T = std::remove_pointer_t<decltype(d)>;
    if (static_cast<const void*>(d) != x.PValues())
      VisitData(x, [&](auto px) {
        // Complex data only ever meets a complex destination.
        if constexpr (std::is_convertible_v<ElementOf<decltype(px)>, T>) std::copy(px, px + n, d);
      });
    for (int j = 0; j < passes && n > 0; ++j) {
      T previous = d[0];
      d[0] = init(T{}, j);
      for (int i = 1; i < n; ++i) {
        const T current = d[i];
        d[i] = d[i - 1] + (previous + current) * 0.5;
        previous = current;
      }
    }
  };
  if (complex) {
    run(DataAs<TCplx>(dst));
  } else {
    run(DataAs<double>(dst));
  }
}

}  // namespace

void CumSum(const TNubraVec& src, TNubraVec& dst) {
  if (detail::MustBuffer(dst, &src, true)) {
    detail::ThroughTemporary(dst, [&](TNubraVec& t) { CumSum(src, t); });
    return;
  }
  dst.SizeShape(src.Rows(), src.Cols(), src.Complex());
  VisitData(src, [&](auto ps) {
    using T = ElementOf<decltype(ps)>;
    RunningSums(ps, DataAs<T>(dst), src.Rows(), src.Cols(), src.IsMatrix(), T{}, [](T v) { return v; });
  });
}

void CumSum(const TNubraInt& src, TNubraInt& dst) {
  if (detail::MustBuffer(dst, &src, true)) {
    detail::ThroughTemporary(dst, [&](TNubraInt& t) { CumSum(src, t); });
    return;
  }
  dst.SizeShape(src.Rows(), src.Cols(), src.IntPrecision());
  src.Visit([&](auto ps) {
    using T = ElementOf<decltype(ps)>;
    RunningSums(ps, reinterpret_cast<T*>(dst.PBValues()), src.Rows(), src.Cols(), src.IsMatrix(),
                std::int64_t{0}, [](std::int64_t v) { return Saturate<T>(v); });
  });
}

void Difference(const TNubraVec& src, std::int64_t lag, TNubraVec& dst) {
  if (lag < 0) ERaise(Fmt("Difference: the lag must not be negative (%lld)", static_cast<long long>(lag)));
  if (detail::MustBuffer(dst, &src, false)) {
    detail::ThroughTemporary(dst, [&](TNubraVec& t) { Difference(src, lag, t); });
    return;
  }
  const int rows = src.Rows(), cols = src.Cols();
  const int k = static_cast<int>(std::min<std::int64_t>(lag, cols)), m = cols - k;
  dst.SizeShape(rows, m, src.Complex());
  VisitData(src, [&](auto ps) {
    auto* d = DataAs<ElementOf<decltype(ps)>>(dst);
    for (int r = 0; r < rows; ++r)
      for (int i = 0; i < m; ++i) d[r * m + i] = ps[r * cols + i + k] - ps[r * cols + i];
  });
}

void Integrate(const TNubraVec& x, TNubraVec& dst) {
  if (detail::MustBuffer(dst, &x, true)) {
    detail::ThroughTemporary(dst, [&](TNubraVec& t) { Integrate(x, t); });
    return;
  }
  IntegratePasses(
      x, 1, x.Complex(), [](auto zero, int) { return zero; }, dst);
}

void Integrate(const TNubraVec& x, const TNubraVec& init, TNubraVec& dst) {
  const bool complex = x.Complex() || init.Complex();
  if (detail::MustBuffer(dst, &init, false) || detail::MustBuffer(dst, &x, x.Complex() == complex)) {
    detail::ThroughTemporary(dst, [&](TNubraVec& t) { Integrate(x, init, t); });
    return;
  }
  const auto value = [&init](auto zero, int j) -> decltype(zero) {
    if constexpr (std::is_same_v<decltype(zero), TCplx>) {
      return init.Complex() ? init.CValues(j) : TCplx(init.Values(j), 0.0);
    } else {
      return init.Values(j);
    }
  };
  IntegratePasses(x, init.Length(), complex, value, dst);
}

}  // namespace zel
