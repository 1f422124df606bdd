// Built-in functions against plain C++ calling the same routine: an element-wise function over 10^6
// elements (zel's `sin(a)` on a host vector against a loop), and a scalar call in a compiled expression
// (zel's `sin(a)` against zel's `a+b` and the routine alone).
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/special.h"
#include "script/expression.h"

namespace zel::bench {
namespace {

constexpr int kN = 1000000;

// The scalar argument sequence: small steps through [0.5, 1.5), the same for every benchmark whatever its
// iteration count (routines such as erf cost differently in different ranges).
double Next(double v) { return v < 1.5 ? v + 1e-7 : 0.5; }

// zel evaluating `name(a)` for a host vector a of 10^6 elements (the result stays in the node).
void BM_VectorZel(benchmark::State& state, const std::string& name) {
  TVec a(kN);
  a.Ramp(0.5, 1e-6);
  TZelExpression x;
  x.DefineVector("a", &a);
  x.SetExpressions(name + "(a)");
  x.Compile();
  for (auto _ : state) benchmark::DoNotOptimize(x.Evaluate());
}

// The plain loop: y[i] = routine(a[i]) over the same elements.
void BM_VectorLoop(benchmark::State& state, const std::string& name) {
  std::vector<double> a(kN), y(kN);
  for (int i = 0; i < kN; ++i) a[i] = 0.5 + i * 1e-6;
  const auto run = [&](auto f) {
    for (auto _ : state) {
      for (int i = 0; i < kN; ++i) y[i] = f(a[i]);
      benchmark::DoNotOptimize(y.data());
    }
  };
  if (name == "sin") {
    run([](double v) { return std::sin(v); });
  } else {
    run([](double v) { return std::exp(v); });
  }
}

// A scalar expression over host doubles a and b, with a changed before every evaluation.
void BM_ScalarZel(benchmark::State& state, const std::string& text) {
  TZelExpression x;
  TValueRec& a = x.DefineDouble("a");
  x.DefineDouble("b").SetDoubleValue(1.2);
  x.SetExpressions(text);
  x.Compile();
  double v = 0.5, sum = 0;
  for (auto _ : state) {
    v = Next(v);
    a.SetDoubleValue(v);
    sum += x.Evaluate()->DoubleValue();
  }
  benchmark::DoNotOptimize(sum);
}

// The routine alone on the same changing argument.
void BM_ScalarNative(benchmark::State& state, const std::string& name) {
  const auto run = [&](auto f) {
    double v = 0.5, sum = 0;
    for (auto _ : state) {
      v = Next(v);
      benchmark::DoNotOptimize(v);
      sum += f(v);
    }
    benchmark::DoNotOptimize(sum);
  };
  if (name == "sin") {
    run([](double v) { return std::sin(v); });
  } else if (name == "exp") {
    run([](double v) { return std::exp(v); });
  } else {
    run([](double v) { return Erf(v); });
  }
}

// Registers every comparison once at start-up.
const bool kRegistered = [] {
  for (const std::string name : {"sin", "exp"}) {
    benchmark::RegisterBenchmark(("functions/vector/zel/" + name).c_str(), BM_VectorZel, name)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("functions/vector/loop/" + name).c_str(), BM_VectorLoop, name)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark("functions/scalar/zel/a+b", BM_ScalarZel, std::string("a+b"));
  for (const std::string name : {"sin", "exp", "erf"}) {
    benchmark::RegisterBenchmark(("functions/scalar/zel/" + name).c_str(), BM_ScalarZel, name + "(a)");
    benchmark::RegisterBenchmark(("functions/scalar/native/" + name).c_str(), BM_ScalarNative, name);
  }
  return true;
}();

}  // namespace
}  // namespace zel::bench
