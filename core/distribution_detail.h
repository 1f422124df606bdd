// The machinery behind core/distributions.h, shared by the core's distribution files (not for use outside
// the core): the rules every distribution follows (parameter validity, support, inverse of discrete
// distributions) written once as templates over a distribution model, and the table of each
// distribution's routines.
//
// A model is a small class built from the parameters that holds
//   static constexpr bool discrete;
//   bool valid;            parameters inside the domain
//   double lo, hi;         the support (±INF when unbounded)
//   double Pdf(x), Cdf(x)  for x inside the support (an integer for discrete models)
//   double Inv(p)          for 0 < p < 1; a discrete model may return an estimate near the answer
//   TMoments Moments()     for valid parameters
// Building a model once per call and then looping keeps parameter handling out of the element loop.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/distributions.h"

namespace zel::dist {

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
inline constexpr double kInf = std::numeric_limits<double>::infinity();

// One distribution's routines: its scalar function, its loops over doubles and 32-bit integers and its
// moments.
struct TRoutines {
  double (*value)(TDistFunction, double, const TDistParams&) = nullptr;
  void (*values)(TDistFunction, const double*, double*, int, const TDistParams&) = nullptr;
  void (*intValues)(TDistFunction, const std::int32_t*, double*, int, const TDistParams&) = nullptr;
  TMoments (*moments)(const TDistParams&) = nullptr;
};
using TRoutineTable = std::array<TRoutines, DistributionCount>;

// The distribution files, each entering the routines of its distributions.
void AddClassicContinuous(TRoutineTable& t);  // dist_classic.cpp: Boost.Math continuous distributions
void AddShapeContinuous(TRoutineTable& t);    // dist_shapes.cpp: Boost.Math location/scale/shape families
void AddDiscrete(TRoutineTable& t);           // dist_discrete.cpp
void AddFormulaContinuous(TRoutineTable& t);  // dist_formulas.cpp: distributions from their formulas
void AddJohnson(TRoutineTable& t);            // dist_johnson.cpp: Johnson SB and UB

// Raises ENubraException: the probability given to the inverse of distribution d lies outside [0, 1].
[[noreturn]] void RaiseProbability(TDistribution d, double p);

// Φ(z) and its inverse (dist_classic.cpp).
double StdNormalCdf(double z);
double StdNormalInv(double p);

// Moments from the raw moments E[X], E[X²], E[X³], E[X⁴].
TMoments MomentsFromRaw(double m1, double m2, double m3, double m4);
// All four moments NaN.
inline TMoments NoMoments() { return {kNaN, kNaN, kNaN, kNaN}; }

// ---- the rules of every distribution ---------------------------------------------------------------

// Density (mass) at x: NaN for invalid parameters or NaN x, 0 outside the support and at non-integral x of
// a discrete model.
template <class M>
double PdfAt(const M& m, double x) {
  if (!m.valid || std::isnan(x)) return kNaN;
  if (x < m.lo || x > m.hi || std::isinf(x)) return 0;
  if constexpr (M::discrete) {
    if (x != std::floor(x)) return 0;
  }
  return m.Pdf(x);
}

// Distribution function at x: 0 below the support (and at its lower end for a continuous model), 1 at
// and above its upper end.
template <class M>
double CdfAt(const M& m, double x) {
  if (!m.valid || std::isnan(x)) return kNaN;
  if (x >= m.hi) return 1;
  if constexpr (M::discrete) {
    if (x < m.lo) return 0;
    return m.Cdf(std::floor(x));
  } else {
    if (x <= m.lo) return 0;
    return m.Cdf(x);
  }
}

// The smallest k of the support with CDF(k) >= p, starting from the model's estimate; p in (0, 1].
template <class M>
double DiscreteInv(const M& m, double p) {
  if (p == 1 && std::isinf(m.hi)) return kInf;
  double k = std::floor(m.Inv(p));
  if (!(k >= m.lo)) k = m.lo;  // NaN too
  if (k > m.hi) k = m.hi;
  while (k > m.lo && m.Cdf(k - 1) >= p) --k;
  // A bound on the walk up, for CDFs that round below p for ever in a far tail.
  for (int steps = 0; k < m.hi && m.Cdf(k) < p && steps < 10000000; ++steps) ++k;
  return k;
}

// Inverse at p: p outside [0, 1] raises; the ends of the support for p = 0 and p = 1.
template <class M>
double InvAt(const M& m, double p, TDistribution d) {
  if (std::isnan(p)) return kNaN;
  if (p < 0 || p > 1) RaiseProbability(d, p);
  if (!m.valid) return kNaN;
  if (p == 0) return m.lo;
  if constexpr (M::discrete) {
    return DiscreteInv(m, p);
  } else {
    if (p == 1) return m.hi;
    return m.Inv(p);
  }
}

// f at every element of x; the switch is made once, outside the loop.
template <class M, class X>
void Loop(const M& m, TDistFunction f, const X* x, double* dst, int n, TDistribution d) {
  switch (f) {
    case TDistFunction::PDF:
      for (int i = 0; i < n; ++i) dst[i] = PdfAt(m, static_cast<double>(x[i]));
      break;
    case TDistFunction::CDF:
      for (int i = 0; i < n; ++i) dst[i] = CdfAt(m, static_cast<double>(x[i]));
      break;
    case TDistFunction::CDFInv:
      for (int i = 0; i < n; ++i) dst[i] = InvAt(m, static_cast<double>(x[i]), d);
      break;
  }
}

// The table entry of distribution D with model M.
template <TDistribution D, class M>
struct RoutinesOf {
  static double Value(TDistFunction f, double x, const TDistParams& p) {
    const M m(p);
    switch (f) {
      case TDistFunction::PDF:
        return PdfAt(m, x);
      case TDistFunction::CDF:
        return CdfAt(m, x);
      default:
        return InvAt(m, x, D);
    }
  }
  static void Values(TDistFunction f, const double* x, double* dst, int n, const TDistParams& p) {
    Loop(M(p), f, x, dst, n, D);
  }
  static void IntValues(TDistFunction f, const std::int32_t* x, double* dst, int n, const TDistParams& p) {
    Loop(M(p), f, x, dst, n, D);
  }
  static TMoments Moments(const TDistParams& p) {
    const M m(p);
    return m.valid ? m.Moments() : NoMoments();
  }
};

// Enters distribution D with model M into the table.
template <TDistribution D, class M>
void Add(TRoutineTable& t) {
  using R = RoutinesOf<D, M>;
  t[static_cast<int>(D)] = TRoutines{R::Value, R::Values, R::IntValues, R::Moments};
}

}  // namespace zel::dist
