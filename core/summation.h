// Accurate sums shared by the reductions (stats.cpp) and the matrix measures (measures.cpp): pairwise
// summation along contiguous data, compensated (Kahan) summation down the columns of a row-major matrix,
// and a scratch buffer that sorting reductions reuse. Internal to core/.
//
// Pairwise summation splits the data in halves down to blocks of 128 doubles; a block is summed into eight
// independent accumulators (a fixed-width inner loop the compiler turns into vector additions) that are
// then added pairwise. The rounding error grows with log2(n) instead of n, at the speed of a plain loop.
// Complex data is summed as its interleaved (re, im) doubles: the accumulators at even positions hold real
// parts and those at odd positions imaginary parts, so every separable complex sum (Σz, Σ|z - m|²) is two
// real sums of one pass.
#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

namespace zel::detail {

inline constexpr std::size_t kPairwiseBlock = 128;

// K sums of one pass, split by the parity of the position (even: real parts of complex data).
template <int K>
struct TLaneSums {
  double even[K] = {};
  double odd[K] = {};

  // Sum j over both parities (real data).
  double Total(int j = 0) const { return even[j] + odd[j]; }
};

// Sums the K terms f(p[i], i & 1, t) writes into t[0..K) over i in [0, n), pairwise.
template <int K, class F>
TLaneSums<K> PairwiseSums(const double* p, std::size_t n, const F& f) {
  TLaneSums<K> r;
  if (n <= kPairwiseBlock) {
    double acc[K][8] = {};
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
      for (int k = 0; k < 8; ++k) {
        double t[K];
        f(p[i + k], k & 1, t);
        for (int j = 0; j < K; ++j) acc[j][k] += t[j];
      }
    }
    for (int j = 0; j < K; ++j) {
      r.even[j] = (acc[j][0] + acc[j][2]) + (acc[j][4] + acc[j][6]);
      r.odd[j] = (acc[j][1] + acc[j][3]) + (acc[j][5] + acc[j][7]);
    }
    for (; i < n; ++i) {
      double t[K];
      f(p[i], static_cast<int>(i & 1), t);
      for (int j = 0; j < K; ++j) (i & 1 ? r.odd : r.even)[j] += t[j];
    }
    return r;
  }
  // Halves start at multiples of 8, so positions keep their parity.
  const std::size_t half = (n / 2) & ~std::size_t{7};
  const TLaneSums<K> a = PairwiseSums<K>(p, half, f);
  const TLaneSums<K> b = PairwiseSums<K>(p + half, n - half, f);
  for (int j = 0; j < K; ++j) {
    r.even[j] = a.even[j] + b.even[j];
    r.odd[j] = a.odd[j] + b.odd[j];
  }
  return r;
}

// The plain pairwise sum of p[0..n), split by parity.
inline TLaneSums<1> PairwiseSum(const double* p, std::size_t n) {
  return PairwiseSums<1>(p, n, [](double x, int, double* t) { t[0] = x; });
}

// Compensated sums of W adjacent columns of a row-major matrix of doubles: Σᵢ f(row i [c0 + k], k) for
// k < W, each with an error independent of the row count. Infinite terms break the compensation (it
// gives NaN), so a plain sum is kept too and used when the compensated one is NaN without a NaN term.
template <int W, class F>
void ColumnSums(const double* p, int rows, std::size_t stride, std::size_t c0, const F& f, double (&out)[W]) {
  double s[W] = {}, c[W] = {}, plain[W] = {};
  for (int i = 0; i < rows; ++i) {
    const double* row = p + static_cast<std::size_t>(i) * stride + c0;
    for (int k = 0; k < W; ++k) {
      const double x = f(row[k], k);
      const double y = x - c[k];
      const double t = s[k] + y;
      c[k] = (t - s[k]) - y;
      s[k] = t;
      plain[k] += x;
    }
  }
  for (int k = 0; k < W; ++k) out[k] = std::isnan(s[k]) ? plain[k] : s[k];
}

// A per-thread buffer of at least n elements, reused between calls (it only grows), for reductions that
// reorder a copy of their data.
template <class T>
T* Scratch(std::size_t n) {
  thread_local std::vector<T> buffer;
  if (buffer.size() < n) buffer.resize(n);
  return buffer.data();
}

}  // namespace zel::detail
