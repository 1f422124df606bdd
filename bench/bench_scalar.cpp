// Scalar expressions over host-bound doubles, compiled once and evaluated many times with the variables
// changed between evaluations: zel against muparser and native C++.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <functional>
#include <map>
#include <numbers>

#include "bench_common.h"
#include "script/expression.h"

namespace zel::bench {

namespace {

struct Native {
  const char* expr;
  std::function<double(double, double)> f;
};

const Native kNative[] = {
    {"a+b", [](double a, double b) { return a + b; }},
    {"sin(a)", [](double a, double) { return std::sin(a); }},
    {"sqrt(a^2+b^2)", [](double a, double b) { return std::sqrt(a * a + b * b); }},
    {"(((((((7*a+6)*a+5)*a+4)*a+3)*a+2)*a+1)*a+0.1)",
     [](double a, double) {
       return ((((((7 * a + 6) * a + 5) * a + 4) * a + 3) * a + 2) * a + 1) * a + 0.1;
     }},
    {"1/(a*sqrt(2*pi))*e^(-0.5*((b-a)/a)^2)",
     [](double a, double b) {
       const double t = (b - a) / a;
       return 1 / (a * std::sqrt(2 * std::numbers::pi)) * std::exp(-0.5 * t * t);
     }},
    {"a/((a+b)*(a-b))/b", [](double a, double b) { return a / ((a + b) * (a - b)) / b; }},
};

// Variables change on every evaluation so nothing can be cached between runs.
constexpr double kStep = 1e-7;

void BM_Zel(benchmark::State& state, const std::string& text) {
  TZelExpression x;
  x.DefineDoubleConstant("e", std::numbers::e);
  TValueRec* vars[7];
  const char* names[] = {"a", "b", "c", "x", "y", "z", "w"};
  for (int i = 0; i < 7; ++i) {
    vars[i] = &x.DefineDouble(names[i]);
    vars[i]->SetDoubleValue(1.1 + 0.1 * i);
  }
  x.SetExpressions(text);
  x.Compile();
  double a = 1.1, sum = 0;
  for (auto _ : state) {
    a += kStep;
    vars[0]->SetDoubleValue(a);
    sum += x.Evaluate()->DoubleValue();
  }
  benchmark::DoNotOptimize(sum);
}

void BM_MuParser(benchmark::State& state, const std::string& text) {
  mu::Parser p;
  double v[7];
  const char* names[] = {"a", "b", "c", "x", "y", "z", "w"};
  for (int i = 0; i < 7; ++i) {
    v[i] = 1.1 + 0.1 * i;
    p.DefineVar(names[i], &v[i]);
  }
  p.DefineConst("e", std::numbers::e);
  p.DefineConst("pi", std::numbers::pi);
  try {
    p.SetExpr(text);
    p.Eval();
  } catch (mu::Parser::exception_type& e) {
    state.SkipWithError(e.GetMsg().c_str());
    return;
  }
  double sum = 0;
  for (auto _ : state) {
    v[0] += kStep;
    sum += p.Eval();
  }
  benchmark::DoNotOptimize(sum);
}

void BM_Native(benchmark::State& state, const std::function<double(double, double)>& f) {
  double a = 1.1, b = 1.2, sum = 0;
  for (auto _ : state) {
    a += kStep;
    benchmark::DoNotOptimize(a);
    sum += f(a, b);
  }
  benchmark::DoNotOptimize(sum);
}

}  // namespace

std::vector<std::string>& ScalarExpressions() {
  static std::vector<std::string> list;
  return list;
}

void RegisterScalarBenchmarks() {
  for (const Native& n : kNative) {
    const std::string e = n.expr;
    benchmark::RegisterBenchmark(("scalar/zel/" + e).c_str(), BM_Zel, e);
    benchmark::RegisterBenchmark(("scalar/muparser/" + e).c_str(), BM_MuParser, e);
    benchmark::RegisterBenchmark(("scalar/native/" + e).c_str(), BM_Native, n.f);
  }
  for (const std::string& e : ScalarExpressions()) {
    benchmark::RegisterBenchmark(("file/zel/" + e).c_str(), BM_Zel, e);
    benchmark::RegisterBenchmark(("file/muparser/" + e).c_str(), BM_MuParser, e);
  }
}

}  // namespace zel::bench
