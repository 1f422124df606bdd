// Vector norms of all elements and of each row of a matrix (see stats.h): the C-norm max |x|, the L1 and
// L2 norms and the sum of squares, for real and complex data.
#include <cmath>
#include <cstddef>

#include "core/errors.h"
#include "core/kernel_detail.h"
#include "core/stats.h"
#include "core/stats_detail.h"
#include "core/summation.h"

namespace zel {

namespace {

using detail::PairwiseSums;

// max |x| of doubles in eight lanes; a NaN stays once met.
double MaxAbs(const double* p, std::size_t n) {
  const auto pick = [](double a, double best) { return a > best || a != a ? a : best; };
  double lane[8] = {};
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    for (int k = 0; k < 8; ++k) lane[k] = pick(std::fabs(p[i + k]), lane[k]);
  }
  for (; i < n; ++i) lane[0] = pick(std::fabs(p[i]), lane[0]);
  double best = lane[0];
  for (int k = 1; k < 8; ++k) best = pick(lane[k], best);
  return best;
}

// Σ x² of doubles (the squared moduli of complex data), pairwise.
double SumOfSquares(const double* p, std::size_t n) {
  return PairwiseSums<1>(p, n, [](double x, int, double* t) { t[0] = x * x; }).Total();
}

// sqrt(Σ x²), scaled by the largest |x| when the plain sum of squares overflows or loses digits to
// underflow.
double L2(const double* p, std::size_t n) {
  const double ss = SumOfSquares(p, n);
  if (std::isnan(ss) || (ss >= 0x1p-960 && ss <= 0x1p960)) return std::sqrt(ss);
  const double scale = MaxAbs(p, n);
  if (scale == 0 || std::isinf(scale)) return scale;
  const double inv = 1 / scale;
  const auto term = [inv](double x, int, double* t) {
    const double y = x * inv;
    t[0] = y * y;
  };
  return scale * std::sqrt(PairwiseSums<1>(p, n, term).Total());
}

// Σ |z| of complex elements, compensated (the plain sum when an infinite modulus broke the compensation).
double SumOfModuli(const TCplx* p, std::size_t n) {
  double s = 0, c = 0, plain = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double m = std::abs(p[i]);
    const double y = m - c;
    const double t = s + y;
    c = (t - s) - y;
    s = t;
    plain += m;
  }
  return std::isnan(s) ? plain : s;
}

// max |z| of complex elements; a NaN stays once met.
double MaxModulus(const TCplx* p, std::size_t n) {
  double best = 0;
  for (std::size_t i = 0; i < n && !std::isnan(best); ++i) {
    const double m = std::abs(p[i]);
    if (m > best || std::isnan(m)) best = m;
  }
  return best;
}

}  // namespace

namespace detail {

double NormOf(const double* p, std::size_t n, bool complex, TVecNorm kind) {
  const std::size_t doubles = complex ? 2 * n : n;
  switch (kind) {
    case TVecNorm::vnC:
      return complex ? MaxModulus(reinterpret_cast<const TCplx*>(p), n) : MaxAbs(p, n);
    case TVecNorm::vnL1:
      if (complex) return SumOfModuli(reinterpret_cast<const TCplx*>(p), n);
      return PairwiseSums<1>(p, n, [](double x, int, double* t) { t[0] = std::fabs(x); }).Total();
    case TVecNorm::vnL2:
      return L2(p, doubles);
    case TVecNorm::vnSumOfSquares:
      return SumOfSquares(p, doubles);
  }
  return 0;
}

}  // namespace detail

double Norm(const TNubraVec& x, TVecNorm kind) {
  return detail::NormOf(x.PValues(), static_cast<std::size_t>(x.Length()), x.Complex(), kind);
}

void RowNorms(const TZel& x, TVecNorm kind, TZel& dst) {
  if (detail::SharesStorage(dst, x)) {
    TZel t;
    RowNorms(x, kind, t);
    dst.Copy(t);
    return;
  }
  const int rows = x.Rows(), cols = x.Cols();
  const std::size_t stride = static_cast<std::size_t>(x.Complex() ? 2 * cols : cols);
  dst.Size(rows, 1, false);
  for (int i = 0; i < rows; ++i)
    dst.Values(i) =
        detail::NormOf(x.PValues() + i * stride, static_cast<std::size_t>(cols), x.Complex(), kind);
}

}  // namespace zel
