// Sums, products, means, extremes and moments over all elements (see stats.h). The loops run over the
// flat buffers with fixed-width groups of independent accumulators, so the compiler vectorises them
// without reassociating anything itself; the order of the additions is fixed by the code.
#include "core/stats.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "core/errors.h"
#include "core/stats_detail.h"
#include "core/summation.h"

namespace zel {

namespace {

using detail::PairwiseSum;
using detail::PairwiseSums;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::size_t Count(const TNubra& x) { return static_cast<std::size_t>(x.Length()); }

// Refuses complex data in a function defined for real data.
const TNubraVec& Real(const char* who, const TNubraVec& x) {
  if (x.Complex()) ERaise(Fmt("%s: the data is complex", who));
  return x;
}

// Refuses an empty object in a reduction without an identity.
void NotEmpty(const char* who, const TNubra& x) {
  if (x.Length() == 0) ERaise(Fmt("%s: no elements", who));
}

// ---- extremes --------------------------------------------------------------------------------------

// The element that `better` prefers over all others, in eight lanes. A NaN replaces the lane's value
// and stays (nothing compares better than it), so NaN propagates.
template <class T, class Better>
T Extreme(const T* p, std::size_t n, Better better) {
  const auto pick = [better](T x, T best) { return better(x, best) || x != x ? x : best; };
  T lane[8];
  for (T& l : lane) l = p[0];
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    for (int k = 0; k < 8; ++k) lane[k] = pick(p[i + k], lane[k]);
  }
  for (; i < n; ++i) lane[0] = pick(p[i], lane[0]);
  T best = lane[0];
  for (int k = 1; k < 8; ++k) best = pick(lane[k], best);
  return best;
}

constexpr auto kLess = [](auto a, auto b) { return a < b; };
constexpr auto kGreater = [](auto a, auto b) { return a > b; };

// The preferred element in the order of complex numbers (real and integer data as complex numbers with
// zero imaginary parts); the first element with a NaN part wins.
template <class T, class Better>
TCplx ExtremeCplx(const T* p, std::size_t n, Better better) {
  TCplx best = TCplx(p[0]);
  for (std::size_t i = 0; i < n && !std::isnan(best.real()) && !std::isnan(best.imag()); ++i) {
    const TCplx z = TCplx(p[i]);
    if (std::isnan(z.real()) || std::isnan(z.imag()) || better(z, best)) best = z;
  }
  return best;
}

// ExtremeCplx over the elements of x, whatever their kind.
template <class Better>
TCplx ExtremeCplxOf(const TNubraVec& x, Better better) {
  if (x.Complex()) return ExtremeCplx(x.PCValues(), Count(x), better);
  return ExtremeCplx(x.PValues(), Count(x), better);
}
template <class Better>
TCplx ExtremeCplxOf(const TNubraInt& x, Better better) {
  return x.Visit([&](const auto* p) { return ExtremeCplx(p, Count(x), better); });
}

constexpr auto kGreaterByModulus = [](TCplx a, TCplx b) { return LessByModulus(b, a); };

// The preferred element of an integer object of any precision.
template <class Better>
std::int32_t ExtremeInt(const TNubraInt& x, Better better) {
  return x.Visit([&](const auto* p) { return static_cast<std::int32_t>(Extreme(p, Count(x), better)); });
}

// ---- products --------------------------------------------------------------------------------------

double ProductOf(const double* p, std::size_t n) {
  double lane[8] = {1, 1, 1, 1, 1, 1, 1, 1};
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    for (int k = 0; k < 8; ++k) lane[k] *= p[i + k];
  }
  for (; i < n; ++i) lane[0] *= p[i];
  return ((lane[0] * lane[1]) * (lane[2] * lane[3])) * ((lane[4] * lane[5]) * (lane[6] * lane[7]));
}

// Complex product written out, so that it compiles to four multiplications without a library call.
TCplx ProductOf(const TCplx* p, std::size_t n) {
  double re = 1, im = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double a = p[i].real(), b = p[i].imag();
    const double r = re * a - im * b;
    im = re * b + im * a;
    re = r;
  }
  return {re, im};
}

// Σ ((x - mean) / stddev)^Power / n of real data.
template <int Power>
double StandardMoment(const TNubraVec& x, double mean, double stddev) {
  const double inv = 1 / stddev;
  const auto term = [mean, inv](double v, int, double* t) {
    const double z = (v - mean) * inv;
    const double z2 = z * z;
    t[0] = Power == 3 ? z2 * z : z2 * z2;
  };
  return PairwiseSums<1>(x.PValues(), Count(x), term).Total() / static_cast<double>(x.Length());
}

}  // namespace

namespace detail {

TCplx SumOf(const double* p, std::size_t n, bool complex) {
  const TLaneSums<1> s = PairwiseSum(p, complex ? 2 * n : n);
  return complex ? TCplx(s.even[0], s.odd[0]) : TCplx(s.Total(), 0);
}

TCentral Central(const double* p, std::size_t n, bool complex) {
  const double count = static_cast<double>(n);
  const TCplx mean = SumOf(p, n, complex) / count;
  const double mr = mean.real(), mi = mean.imag();
  // Sums of the deviations d and of d²; Σd, zero in exact arithmetic, corrects the rounding of the mean.
  TLaneSums<2> d;
  double dd = 0;
  if (complex) {
    d = PairwiseSums<2>(p, 2 * n, [mr, mi](double x, int odd, double* t) {
      t[0] = x - (odd ? mi : mr);
      t[1] = t[0] * t[0];
    });
    dd = d.even[0] * d.even[0] + d.odd[0] * d.odd[0];
  } else {
    d = PairwiseSums<2>(p, n, [mr](double x, int, double* t) {
      t[0] = x - mr;
      t[1] = t[0] * t[0];
    });
    dd = d.Total(0) * d.Total(0);
  }
  const double ssd = d.Total(1) - dd / count;
  return {mean, ssd < 0 ? 0 : ssd};
}

}  // namespace detail

// ---- sums, products, means -------------------------------------------------------------------------

double Sum(const TNubraVec& x) { return PairwiseSum(Real("Sum", x).PValues(), Count(x)).Total(); }
TCplx SumCplx(const TNubraVec& x) { return detail::SumOf(x.PValues(), Count(x), x.Complex()); }

std::int64_t Sum(const TNubraInt& x) {
  return x.Visit([n = Count(x)](const auto* p) {
    std::int64_t lane[8] = {};
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
      for (int k = 0; k < 8; ++k) lane[k] += p[i + k];
    }
    for (; i < n; ++i) lane[0] += p[i];
    std::int64_t s = 0;
    for (std::int64_t l : lane) s += l;
    return s;
  });
}

double Product(const TNubraVec& x) { return ProductOf(Real("Product", x).PValues(), Count(x)); }
TCplx ProductCplx(const TNubraVec& x) {
  return x.Complex() ? ProductOf(x.PCValues(), Count(x)) : TCplx(ProductOf(x.PValues(), Count(x)), 0);
}

double Mean(const TNubraVec& x) { return Sum(Real("Mean", x)) / static_cast<double>(x.Length()); }
TCplx MeanCplx(const TNubraVec& x) { return SumCplx(x) / static_cast<double>(x.Length()); }
double Mean(const TNubraInt& x) {
  return x.Length() ? static_cast<double>(Sum(x)) / static_cast<double>(x.Length()) : kNaN;
}

// ---- extremes --------------------------------------------------------------------------------------

bool LessByModulus(TCplx a, TCplx b) {
  const double ma = std::abs(a), mb = std::abs(b);
  return ma < mb || (ma == mb && std::arg(a) < std::arg(b));
}

double Min(const TNubraVec& x) {
  NotEmpty("Min", Real("Min", x));
  return Extreme(x.PValues(), Count(x), kLess);
}
double Max(const TNubraVec& x) {
  NotEmpty("Max", Real("Max", x));
  return Extreme(x.PValues(), Count(x), kGreater);
}

TCplx MinCplx(const TNubraVec& x) {
  NotEmpty("Min", x);
  return ExtremeCplxOf(x, LessByModulus);
}
TCplx MaxCplx(const TNubraVec& x) {
  NotEmpty("Max", x);
  return ExtremeCplxOf(x, kGreaterByModulus);
}
TCplx MinCplx(const TNubraInt& x) {
  NotEmpty("Min", x);
  return ExtremeCplxOf(x, LessByModulus);
}
TCplx MaxCplx(const TNubraInt& x) {
  NotEmpty("Max", x);
  return ExtremeCplxOf(x, kGreaterByModulus);
}

std::int32_t Min(const TNubraInt& x) {
  NotEmpty("Min", x);
  return ExtremeInt(x, kLess);
}
std::int32_t Max(const TNubraInt& x) {
  NotEmpty("Max", x);
  return ExtremeInt(x, kGreater);
}

// ---- moments ---------------------------------------------------------------------------------------

double RMS(const TNubraVec& x) {
  return Norm(Real("RMS", x), TVecNorm::vnL2) / std::sqrt(static_cast<double>(x.Length()));
}

double Variance(const TNubraVec& x) {
  if (x.Length() < 2) return kNaN;
  return detail::Central(x.PValues(), Count(x), x.Complex()).ssd / static_cast<double>(x.Length() - 1);
}

double StdDev(const TNubraVec& x) { return std::sqrt(Variance(x)); }

double PopulationStdDev(const TNubraVec& x) {
  if (x.Length() == 0) return kNaN;
  const detail::TCentral c = detail::Central(Real("StdDev", x).PValues(), Count(x), false);
  return std::sqrt(c.ssd / static_cast<double>(x.Length()));
}

double Skewness(const TNubraVec& x, double mean, double stddev) {
  return StandardMoment<3>(Real("Skewness", x), mean, stddev);
}

double Kurtosis(const TNubraVec& x, double mean, double stddev) {
  return StandardMoment<4>(Real("Kurtosis", x), mean, stddev) - 3;
}

}  // namespace zel
