// Medians of all elements and of each row of a matrix (see stats.h). The data is copied into a per-thread
// scratch buffer and partially ordered there (nth_element: linear time on average), so the argument is
// left as it is and repeated calls allocate nothing once the buffer has grown to the data's size.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "core/errors.h"
#include "core/kernel_detail.h"
#include "core/stats.h"
#include "core/summation.h"

namespace zel {

namespace {

// The median of n real values at p; NaN when n is 0 or a value is NaN.
double MedianOf(const double* p, std::size_t n) {
  if (n == 0) return std::numeric_limits<double>::quiet_NaN();
  double* s = detail::Scratch<double>(n);
  for (std::size_t i = 0; i < n; ++i) {
    if (std::isnan(p[i])) return p[i];
    s[i] = p[i];
  }
  const std::size_t mid = n / 2;
  std::nth_element(s, s + mid, s + n);
  if (n % 2) return s[mid];
  const double below = *std::max_element(s, s + mid);
  return 0.5 * below + 0.5 * s[mid];  // halves are exact: no overflow for large values
}

// The median of n integers at p (n > 0); the mean of the two middle values rounds halves to even.
template <class T>
std::int32_t MedianOf(const T* p, std::size_t n) {
  std::int32_t* s = detail::Scratch<std::int32_t>(n);
  std::copy(p, p + n, s);
  const std::size_t mid = n / 2;
  std::nth_element(s, s + mid, s + n);
  if (n % 2) return s[mid];
  const std::int64_t sum = std::int64_t{*std::max_element(s, s + mid)} + s[mid];
  const std::int64_t floor = sum >> 1;  // arithmetic shift: rounds down for negative sums too
  return static_cast<std::int32_t>((sum & 1) && (floor & 1) ? floor + 1 : floor);
}

std::size_t Count(const TNubra& x) { return static_cast<std::size_t>(x.Length()); }

}  // namespace

double Median(const TNubraVec& x) {
  if (x.Complex()) ERaise("Median: the data is complex");
  return MedianOf(x.PValues(), Count(x));
}

std::int32_t Median(const TNubraInt& x) {
  if (x.Length() == 0) ERaise("Median: no elements");
  return x.Visit([n = Count(x)](const auto* p) { return MedianOf(p, n); });
}

void MedianRows(const TZel& x, TZel& dst) {
  if (x.Complex()) ERaise("Median: the data is complex");
  if (detail::SharesStorage(dst, x)) {
    TZel t;
    MedianRows(x, t);
    dst.Copy(t);
    return;
  }
  const int rows = x.Rows();
  const std::size_t cols = static_cast<std::size_t>(x.Cols());
  dst.Size(rows, 1, false);
  dst.SetFloatPrecision(x.FloatPrecision());
  for (int i = 0; i < rows; ++i) dst.Values(i) = MedianOf(x.PValues() + i * cols, cols);
}

void MedianRows(const TZelInt& x, TZelInt& dst) {
  if (x.Cols() == 0 && x.Rows() > 0) ERaise("Median: no elements");
  if (detail::SharesStorage(dst, x)) {
    TZelInt t;
    MedianRows(x, t);
    dst.Copy(t);
    return;
  }
  const int rows = x.Rows();
  const std::size_t cols = static_cast<std::size_t>(x.Cols());
  dst.Size(rows, 1, x.IntPrecision());
  x.Visit([&](const auto* p) {
    for (int i = 0; i < rows; ++i) dst.Set(i, MedianOf(p + i * cols, cols));
  });
}

}  // namespace zel
