// The Boost.Math side of the core's distributions, for core .cpp files only (public core headers never
// include Boost): the error policy and the model on a Boost.Math distribution.
//
// The policy: errors give Boost's fallback values (NaN for domain errors, infinities for overflows and
// poles) instead of exceptions, and doubles are computed in double precision. Discrete quantiles are
// continuous estimates, which the distribution rules refine to the smallest k with CDF(k) >= p.
#pragma once

#include <boost/math/policies/policy.hpp>
#include <cmath>
#include <limits>

#include "core/distribution_detail.h"

namespace zel::dist {

namespace bp = boost::math::policies;

using Quiet =
    bp::policy<bp::domain_error<bp::ignore_error>, bp::pole_error<bp::ignore_error>,
               bp::overflow_error<bp::ignore_error>, bp::evaluation_error<bp::ignore_error>,
               bp::rounding_error<bp::ignore_error>, bp::indeterminate_result_error<bp::ignore_error>,
               bp::promote_double<false>, bp::discrete_quantile<bp::real>>;

// The same with integer quantiles rounded down (for distributions whose quantile is integral only).
using QuietRoundDown =
    bp::policy<bp::domain_error<bp::ignore_error>, bp::pole_error<bp::ignore_error>,
               bp::overflow_error<bp::ignore_error>, bp::evaluation_error<bp::ignore_error>,
               bp::rounding_error<bp::ignore_error>, bp::indeterminate_result_error<bp::ignore_error>,
               bp::promote_double<false>, bp::discrete_quantile<bp::integer_round_down>>;

// A distribution model on a Boost.Math distribution D (see distribution_detail.h): support, functions and
// moments from Boost; validity from the caller's check of the parameters.
template <class D, bool Discrete = false>
struct BoostModel {
  static constexpr bool discrete = Discrete;
  D d;
  bool valid;
  double lo = 0, hi = 0;

  BoostModel(const D& dist, bool ok) : d(dist), valid(ok) {
    if (!ok) return;
    const auto s = support(d);
    // Boost gives the largest double for an unbounded end, and the smallest positive one for a support
    // that starts at 0 (where some densities jump).
    constexpr double kMax = std::numeric_limits<double>::max();
    lo = s.first <= -kMax ? -kInf : s.first == std::numeric_limits<double>::min() ? 0 : s.first;
    hi = s.second >= kMax ? kInf : s.second;
  }
  double Pdf(double x) const { return pdf(d, x); }
  double Cdf(double x) const { return cdf(d, x); }
  // Upper tails from the complement, where 1 - p is exact and Boost's iterations converge on it.
  double Inv(double p) const { return p > 0.5 ? quantile(complement(d, 1 - p)) : quantile(d, p); }
  TMoments Moments() const { return {mean(d), variance(d), skewness(d), kurtosis_excess(d)}; }
};

// x finite; x finite and positive.
inline bool Finite(double x) { return std::isfinite(x); }
inline bool Positive(double x) { return x > 0 && std::isfinite(x); }

}  // namespace zel::dist
