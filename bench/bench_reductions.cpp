// Reductions over 10^7 doubles: zel's `sum(x)`, `mean(x)` and `stddev(x)` on a host vector against the
// plain C++ loops a programmer would write (a running sum; a mean pass and a squared-deviation pass).
// The data does not fit into the caches, so these measure one or two passes through memory.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "script/expression.h"

namespace zel::bench {
namespace {

constexpr int kN = 10000000;

// Element i of the data, the same for zel and the loops.
double Element(int i) { return 1.0 + std::sin(i * 1e-3); }

// zel evaluating `name(x)` for a host vector x of 10^7 elements.
void BM_ReductionZel(benchmark::State& state, const std::string& name) {
  TVec x(kN);
  for (int i = 0; i < kN; ++i) x.Values(i) = Element(i);
  TZelExpression e;
  e.DefineVector("x", &x);
  e.SetExpressions(name + "(x)");
  e.Compile();
  for (auto _ : state) benchmark::DoNotOptimize(e.Evaluate()->DoubleValue());
}

double LoopSum(const std::vector<double>& x) {
  double s = 0;
  for (double v : x) s += v;
  return s;
}

// The plain loops over the same elements.
void BM_ReductionLoop(benchmark::State& state, const std::string& name) {
  std::vector<double> x(kN);
  for (int i = 0; i < kN; ++i) x[i] = Element(i);
  for (auto _ : state) {
    double r = LoopSum(x);
    if (name != "sum") r /= kN;
    if (name == "stddev") {
      double q = 0;
      for (double v : x) q += (v - r) * (v - r);
      r = std::sqrt(q / (kN - 1));
    }
    benchmark::DoNotOptimize(r);
  }
}

// Registers every comparison once at start-up.
const bool kRegistered = [] {
  for (const std::string name : {"sum", "mean", "stddev"}) {
    benchmark::RegisterBenchmark(("reductions/zel/" + name).c_str(), BM_ReductionZel, name)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("reductions/loop/" + name).c_str(), BM_ReductionLoop, name)
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
}  // namespace zel::bench
