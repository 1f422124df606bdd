// Distribution functions against Boost.Math called directly: the CDF and the inverse CDF of the normal,
// gamma and beta distributions over 10^6 points, zel's `NormalCDF(a, 0, 1)` on a host vector against a
// loop over Boost's cdf and quantile with the same parameters. Both sides use double precision throughout
// (Boost's promotion of double to long double is off, as in the core), so the difference is zel's
// overhead per call and per element.
#include <benchmark/benchmark.h>

#include <boost/math/distributions/beta.hpp>
#include <boost/math/distributions/gamma.hpp>
#include <boost/math/distributions/normal.hpp>
#include <string>
#include <vector>

#include "script/expression.h"

namespace zel::bench {
namespace {

constexpr int kN = 1000000;

namespace bp = boost::math::policies;
// The core's policy: errors give fallback values instead of exceptions, double precision throughout.
using Policy = bp::policy<bp::domain_error<bp::ignore_error>, bp::pole_error<bp::ignore_error>,
                          bp::overflow_error<bp::ignore_error>, bp::evaluation_error<bp::ignore_error>,
                          bp::rounding_error<bp::ignore_error>,
                          bp::indeterminate_result_error<bp::ignore_error>, bp::promote_double<false>>;

// One distribution: its zel stem and parameters, and the range its CDF is measured over.
struct Case {
  const char* stem;
  const char* params;
  double lo, hi;
};
const Case kCases[] = {
    {"Normal", "0, 1", -5, 5},
    {"Gamma", "2.5, 1.5", 0, 20},
    {"Beta", "2.5, 1.5", 0, 1},
};

// kN points spread evenly over (lo, hi), ends excluded.
std::vector<double> Points(double lo, double hi) {
  std::vector<double> x(kN);
  for (int i = 0; i < kN; ++i) x[i] = lo + (hi - lo) * (i + 0.5) / kN;
  return x;
}

// zel evaluating `StemCDF(a, params)` (or CDFInv on probabilities) for a host vector a.
void BM_Zel(benchmark::State& state, const Case& c, bool inverse) {
  const std::vector<double> points = inverse ? Points(0, 1) : Points(c.lo, c.hi);
  TVec a(kN);
  for (int i = 0; i < kN; ++i) a.Values(i) = points[i];
  TZelExpression x;
  x.DefineVector("a", &a);
  x.SetExpressions(std::string(c.stem) + (inverse ? "CDFInv" : "CDF") + "(a, " + c.params + ")");
  x.Compile();
  for (auto _ : state) benchmark::DoNotOptimize(x.Evaluate());
}

// The same with a loop over Boost.Math's cdf or quantile.
template <class D>
void Loop(benchmark::State& state, const D& d, const Case& c, bool inverse) {
  const std::vector<double> points = inverse ? Points(0, 1) : Points(c.lo, c.hi);
  std::vector<double> y(kN);
  for (auto _ : state) {
    if (inverse) {
      for (int i = 0; i < kN; ++i) y[i] = quantile(d, points[i]);
    } else {
      for (int i = 0; i < kN; ++i) y[i] = cdf(d, points[i]);
    }
    benchmark::DoNotOptimize(y.data());
  }
}

void BM_Boost(benchmark::State& state, int which, bool inverse) {
  const Case& c = kCases[which];
  if (which == 0) Loop(state, boost::math::normal_distribution<double, Policy>(0, 1), c, inverse);
  if (which == 1) Loop(state, boost::math::gamma_distribution<double, Policy>(2.5, 1.5), c, inverse);
  if (which == 2) Loop(state, boost::math::beta_distribution<double, Policy>(2.5, 1.5), c, inverse);
}

// Registers every comparison once at start-up.
const bool kRegistered = [] {
  for (int which = 0; which < 3; ++which) {
    for (const bool inverse : {false, true}) {
      const std::string name = std::string(kCases[which].stem) + (inverse ? "CDFInv" : "CDF");
      benchmark::RegisterBenchmark(("probability/zel/" + name).c_str(), BM_Zel, kCases[which], inverse)
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark(("probability/boost/" + name).c_str(), BM_Boost, which, inverse)
          ->Unit(benchmark::kMillisecond);
    }
  }
  return true;
}();

}  // namespace
}  // namespace zel::bench
