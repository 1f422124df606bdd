// Row, column and whole-matrix measures (see measures.h). Rows are contiguous, so the row measures apply
// the flat kernels of stats.cpp to each row. Columns are walked in chunks of eight adjacent doubles down
// all rows: each chunk's sums live in a fixed-width group of accumulators (vectorised, no buffer), and
// complex data is handled as its interleaved doubles, whose real and imaginary columns combine at the end.
#include "core/measures.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "core/errors.h"
#include "core/kernel_detail.h"
#include "core/stats.h"
#include "core/stats_detail.h"
#include "core/summation.h"

namespace zel {

namespace {

using detail::ColumnSums;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The layout of a matrix's data as a row-major grid of doubles.
struct Grid {
  const double* p;
  int rows;
  std::size_t cols;     // elements per row
  std::size_t doubles;  // doubles per row
  bool complex;

  explicit Grid(const TZel& x)
      : p(x.PValues()),
        rows(x.Rows()),
        cols(static_cast<std::size_t>(x.Cols())),
        doubles(x.Complex() ? 2 * cols : cols),
        complex(x.Complex()) {}
  const double* Row(int i) const { return p + static_cast<std::size_t>(i) * doubles; }
};

// Runs chunk(width, first) over the double columns of g: widths of 8, then 2 (complex, keeping each
// element's pair together) or 1 (real) for the rest. `width` is a std::integral_constant.
template <class F>
void ForColumnChunks(const Grid& g, F&& chunk) {
  std::size_t c = 0;
  for (; c + 8 <= g.doubles; c += 8) chunk(std::integral_constant<int, 8>{}, c);
  if (g.complex) {
    for (; c < g.doubles; c += 2) chunk(std::integral_constant<int, 2>{}, c);
  } else {
    for (; c < g.doubles; ++c) chunk(std::integral_constant<int, 1>{}, c);
  }
}

constexpr auto kIdentity = [](double x, int) { return x; };

// The mean of W double columns from c0 and their sums of squared deviations (corrected two-pass form).
template <int W>
void ColumnMoments(const Grid& g, std::size_t c0, double (&mean)[W], double (&ssd)[W]) {
  const double n = g.rows;
  ColumnSums<W>(g.p, g.rows, g.doubles, c0, kIdentity, mean);
  for (double& m : mean) m /= n;
  double d[W], q[W];
  ColumnSums<W>(
      g.p, g.rows, g.doubles, c0, [&mean](double x, int k) { return x - mean[k]; }, d);
  ColumnSums<W>(
      g.p, g.rows, g.doubles, c0,
      [&mean](double x, int k) {
        const double v = x - mean[k];
        return v * v;
      },
      q);
  for (int k = 0; k < W; ++k) {
    const double s = q[k] - d[k] * d[k] / n;
    ssd[k] = s < 0 ? 0 : s;
  }
}

// Computes into a temporary when dst shares storage with x; true when it did.
template <class X, class D, class F>
bool ThroughTemporary(const X& x, D& dst, F compute) {
  if (!detail::SharesStorage(dst, x)) return false;
  std::remove_cvref_t<D> t;
  compute(t);
  dst.Copy(t);
  return true;
}

// Row sums (scale 1) or means (scale 1/cols).
void RowSums(const TZel& x, TVec& dst, bool mean) {
  if (ThroughTemporary(x, dst, [&](TVec& t) { RowSums(x, t, mean); })) return;
  const Grid g(x);
  dst.Size(g.rows, g.complex);
  const double scale = mean ? 1 / static_cast<double>(g.cols) : 1;
  for (int i = 0; i < g.rows; ++i) {
    const TCplx s = detail::SumOf(g.Row(i), g.cols, g.complex) * scale;
    if (g.complex) {
      dst.CValues(i) = s;
    } else {
      dst.Values(i) = s.real();
    }
  }
}

// Column sums (scale 1) or means (scale 1/rows); the double columns of complex data are the interleaved
// parts of the complex result.
void ColSums(const TZel& x, TVec& dst, bool mean) {
  if (ThroughTemporary(x, dst, [&](TVec& t) { ColSums(x, t, mean); })) return;
  const Grid g(x);
  dst.Size(static_cast<int>(g.cols), g.complex);
  const double scale = mean ? 1 / static_cast<double>(g.rows) : 1;
  double* out = dst.PValues();
  ForColumnChunks(g, [&](auto width, std::size_t c0) {
    constexpr int W = decltype(width)::value;
    double s[W];
    ColumnSums<W>(g.p, g.rows, g.doubles, c0, kIdentity, s);
    for (int k = 0; k < W; ++k) out[c0 + k] = s[k] * scale;
  });
}

// A 64-bit sum saturated to the 32-bit range.
std::int32_t Saturate(std::int64_t s) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(s, INT32_MIN, INT32_MAX));
}

// max Σ|x| over the columns, NaN once a sum is NaN.
double MaxColumnSum(const Grid& g) {
  double* acc = detail::Scratch<double>(g.cols);
  std::fill(acc, acc + g.cols, 0.0);
  for (int i = 0; i < g.rows; ++i) {
    const double* row = g.Row(i);
    if (g.complex) {
      const TCplx* z = reinterpret_cast<const TCplx*>(row);
      for (std::size_t j = 0; j < g.cols; ++j) acc[j] += std::abs(z[j]);
    } else {
      for (std::size_t j = 0; j < g.cols; ++j) acc[j] += std::fabs(row[j]);
    }
  }
  double best = 0;
  for (std::size_t j = 0; j < g.cols; ++j)
    if (acc[j] > best || std::isnan(acc[j])) best = acc[j];
  return best;
}

}  // namespace

void MeanRows(const TZel& x, TVec& dst) { RowSums(x, dst, true); }
void SumRows(const TZel& x, TVec& dst) { RowSums(x, dst, false); }
void MeanCols(const TZel& x, TVec& dst) { ColSums(x, dst, true); }
void SumCols(const TZel& x, TVec& dst) { ColSums(x, dst, false); }

void SumRows(const TZelInt& x, TVecInt& dst) {
  if (ThroughTemporary(x, dst, [&](TVecInt& t) { SumRows(x, t); })) return;
  const int rows = x.Rows();
  const std::size_t cols = static_cast<std::size_t>(x.Cols());
  dst.Size(rows, prInt32);
  x.Visit([&](const auto* p) {
    for (int i = 0; i < rows; ++i) {
      std::int64_t s = 0;
      for (std::size_t j = 0; j < cols; ++j) s += p[i * cols + j];
      dst.PIValues()[i] = Saturate(s);
    }
  });
}

void SumCols(const TZelInt& x, TVecInt& dst) {
  if (ThroughTemporary(x, dst, [&](TVecInt& t) { SumCols(x, t); })) return;
  const int rows = x.Rows(), cols = x.Cols();
  dst.Size(cols, prInt32);
  x.Visit([&](const auto* p) {
    for (int c0 = 0; c0 < cols; c0 += 8) {
      const int w = std::min(8, cols - c0);
      std::int64_t s[8] = {};
      for (int i = 0; i < rows; ++i)
        for (int k = 0; k < w; ++k) s[k] += p[static_cast<std::size_t>(i) * cols + c0 + k];
      for (int k = 0; k < w; ++k) dst.PIValues()[c0 + k] = Saturate(s[k]);
    }
  });
}

void StdDevRows(const TZel& x, TVec& dst) {
  if (ThroughTemporary(x, dst, [&](TVec& t) { StdDevRows(x, t); })) return;
  const Grid g(x);
  dst.Size(g.rows, false);
  for (int i = 0; i < g.rows; ++i) {
    const double ssd = detail::Central(g.Row(i), g.cols, g.complex).ssd;
    dst.Values(i) = g.cols < 2 ? kNaN : std::sqrt(ssd / static_cast<double>(g.cols - 1));
  }
}

void StdDevCols(const TZel& x, TVec& dst) {
  if (ThroughTemporary(x, dst, [&](TVec& t) { StdDevCols(x, t); })) return;
  const Grid g(x);
  dst.Size(static_cast<int>(g.cols), false);
  double* out = dst.PValues();
  const int shift = g.complex ? 1 : 0;  // double column c belongs to element column c >> shift
  std::fill(out, out + g.cols, 0.0);
  ForColumnChunks(g, [&](auto width, std::size_t c0) {
    constexpr int W = decltype(width)::value;
    double mean[W], ssd[W];
    ColumnMoments<W>(g, c0, mean, ssd);
    for (int k = 0; k < W; ++k) out[(c0 + k) >> shift] += ssd[k];
  });
  for (std::size_t j = 0; j < g.cols; ++j) out[j] = g.rows < 2 ? kNaN : std::sqrt(out[j] / (g.rows - 1));
}

double Norm1(const TZel& x) { return MaxColumnSum(Grid(x)); }

double NormFro(const TZel& x) { return Norm(x, TVecNorm::vnL2); }

double NormInf(const TZel& x) {
  const Grid g(x);
  double best = 0;
  for (int i = 0; i < g.rows && !std::isnan(best); ++i) {
    const double s = detail::NormOf(g.Row(i), g.cols, g.complex, TVecNorm::vnL1);
    if (s > best || std::isnan(s)) best = s;
  }
  return best;
}

double Trace(const TZel& x) {
  if (x.Complex()) ERaise("Trace: the data is complex");
  return TraceCplx(x).real();
}

TCplx TraceCplx(const TZel& x) {
  const int n = std::min(x.Rows(), x.Cols());
  TCplx s = 0;
  for (int i = 0; i < n; ++i) s += x.Complex() ? x.CValues(i, i) : TCplx(x.Values(i, i), 0);
  return s;
}

void ZScore(const TZel& x, TZel& dst) {
  if (&dst != &x && ThroughTemporary(x, dst, [&](TZel& t) { ZScore(x, t); })) return;
  const Grid g(x);
  if (&dst != &x) dst.Size(g.rows, static_cast<int>(g.cols), g.complex);
  double* out = dst.PValues();
  ForColumnChunks(g, [&](auto width, std::size_t c0) {
    constexpr int W = decltype(width)::value;
    double mean[W], ssd[W], inv[W];
    ColumnMoments<W>(g, c0, mean, ssd);
    // A complex column's deviation takes both parts; its pair of double columns shares one scale.
    for (int k = 0; k < W; ++k) {
      double s = ssd[k];
      if constexpr (W > 1) {
        if (g.complex) s = ssd[k & ~1] + ssd[k | 1];
      }
      const double sd = std::sqrt(s / (g.rows - 1));
      inv[k] = g.rows < 2 || sd == 0 ? 1 : 1 / sd;
    }
    for (int i = 0; i < g.rows; ++i) {
      const double* row = g.Row(i) + c0;
      double* o = out + static_cast<std::size_t>(i) * g.doubles + c0;
      for (int k = 0; k < W; ++k) o[k] = (row[k] - mean[k]) * inv[k];
    }
  });
}

}  // namespace zel
