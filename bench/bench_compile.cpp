// Compile time against the size of a script: lines of ordinary statements, terms of one long line (a sum
// that makes a tree as deep as the line is long), and bracket nesting. Each reports its growth
// (Complexity): the compiler is meant to be linear in all three.
#include <benchmark/benchmark.h>

#include <string>

#include "script/expression.h"

namespace zel::bench {

namespace {

// Sets the script and compiles it once per iteration (SetExpressions drops the previous compilation).
void CompileEach(benchmark::State& state, const std::string& script) {
  TZelExpression x;
  x.DefineDouble("a").SetDoubleValue(0.5);
  x.DefineDouble("b").SetDoubleValue(1.5);
  for (auto _ : state) {
    x.SetExpressions(script);
    x.Compile();
  }
  state.SetComplexityN(state.range(0));
  state.counters["bytes"] = static_cast<double>(script.size());
}

// n lines such as "s = s + sin(7*a) * (b - 7) / (1 + a*a)".
void BM_CompileLines(benchmark::State& state) {
  std::string script = "s = 0.0\n";
  for (int i = 1; i < state.range(0); ++i)
    script += "s = s + sin(" + std::to_string(i) + "*a) * (b - " + std::to_string(i) + ") / (1 + a*a)\n";
  CompileEach(state, script);
}

// One line "y = a+b+a+b+...": n terms.
void BM_CompileTerms(benchmark::State& state) {
  std::string script = "y = a";
  for (int i = 1; i < state.range(0); ++i) script += i % 2 ? "+b" : "+a";
  CompileEach(state, script);
}

// One line "y = sin(sin(...sin(a)...))" nested n deep.
void BM_CompileNesting(benchmark::State& state) {
  std::string script = "y = ";
  for (int i = 0; i < state.range(0); ++i) script += "sin(";
  script += "a";
  script += std::string(static_cast<size_t>(state.range(0)), ')');
  CompileEach(state, script);
}

}  // namespace

BENCHMARK(BM_CompileLines)
    ->Name("Compile/lines")
    ->RangeMultiplier(4)
    ->Range(64, 16384)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompileTerms)
    ->Name("Compile/terms in one line")
    ->RangeMultiplier(4)
    ->Range(256, 65536)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompileNesting)
    ->Name("Compile/nesting depth")
    ->RangeMultiplier(2)
    ->Range(8, 1000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);

}  // namespace zel::bench
