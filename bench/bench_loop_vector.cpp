// A scalar loop (zel, Lua 5.4 in-process, native C++), a vector expression on 10^6 elements (zel, a fused
// hand-written loop, Eigen), and the compilation time of a 100-line script.
#include <benchmark/benchmark.h>

#include <Eigen/Core>
#include <lua.hpp>
#include <string>

#include "script/expression.h"

namespace zel::bench {
namespace {

constexpr const char* kLoopScript = "s = 0.0\nfor i = 1:1000000\ns = s + i*0.5\nend";

void BM_LoopZel(benchmark::State& state) {
  TZelExpression x;
  x.SetExpressions(kLoopScript);
  x.Compile();
  for (auto _ : state) benchmark::DoNotOptimize(x.EvaluateRun(0));
  if (x.VarByName("s")->DoubleValue() != 0.5 * 500000500000.0) state.SkipWithError("wrong sum");
}
BENCHMARK(BM_LoopZel)->Name("loop/zel")->Unit(benchmark::kMillisecond);

void BM_LoopLua(benchmark::State& state) {
  lua_State* L = luaL_newstate();
  luaL_openlibs(L);
  luaL_loadstring(L, "local s = 0.0 for i = 1, 1000000 do s = s + i*0.5 end return s");
  const int ref = luaL_ref(L, LUA_REGISTRYINDEX);
  for (auto _ : state) {
    lua_rawgeti(L, LUA_REGISTRYINDEX, ref);
    lua_call(L, 0, 1);
    benchmark::DoNotOptimize(lua_tonumber(L, -1));
    lua_pop(L, 1);
  }
  lua_close(L);
}
BENCHMARK(BM_LoopLua)->Name("loop/lua")->Unit(benchmark::kMillisecond);

void BM_LoopNative(benchmark::State& state) {
  for (auto _ : state) {
    double s = 0;
    for (int i = 1; i <= 1000000; ++i) {
      s = s + i * 0.5;
      benchmark::DoNotOptimize(s);
    }
  }
}
BENCHMARK(BM_LoopNative)->Name("loop/native")->Unit(benchmark::kMillisecond);

constexpr int kN = 1000000;

void Fill(TVec& v, double start) {
  v.Size(kN);
  v.Ramp(start, 1e-6);
}

void BM_VectorZel(benchmark::State& state) {
  TVec a, b, c;
  Fill(a, 1);
  Fill(b, 2);
  Fill(c, 3);
  TZelExpression x;
  x.DefineVector("a", &a);
  x.DefineVector("b", &b);
  x.DefineVector("c", &c);
  x.SetExpressions("y = a .* b + c");
  x.Compile();
  for (auto _ : state) benchmark::DoNotOptimize(x.Evaluate());
}
BENCHMARK(BM_VectorZel)->Name("vector/zel")->Unit(benchmark::kMicrosecond);

void BM_VectorFused(benchmark::State& state) {
  std::vector<double> a(kN, 1.5), b(kN, 2.5), c(kN, 3.5), y(kN);
  for (auto _ : state) {
    for (int i = 0; i < kN; ++i) y[i] = a[i] * b[i] + c[i];
    benchmark::DoNotOptimize(y.data());
  }
}
BENCHMARK(BM_VectorFused)->Name("vector/fused")->Unit(benchmark::kMicrosecond);

void BM_VectorEigen(benchmark::State& state) {
  Eigen::ArrayXd a = Eigen::ArrayXd::Constant(kN, 1.5), b = Eigen::ArrayXd::Constant(kN, 2.5),
                 c = Eigen::ArrayXd::Constant(kN, 3.5), y(kN);
  for (auto _ : state) {
    y = a * b + c;
    benchmark::DoNotOptimize(y.data());
  }
}
BENCHMARK(BM_VectorEigen)->Name("vector/eigen")->Unit(benchmark::kMicrosecond);

void BM_Compile100(benchmark::State& state) {
  std::string script = "s = 0.0\n";
  for (int i = 1; i < 100; ++i)
    script += "s = s + sin(" + std::to_string(i) + "*a) * (b - " + std::to_string(i) + ") / (1 + a*a)\n";
  TZelExpression x;
  x.DefineDouble("a").SetDoubleValue(0.5);
  x.DefineDouble("b").SetDoubleValue(1.5);
  for (auto _ : state) {
    x.SetExpressions(script);
    x.Compile();
  }
}
BENCHMARK(BM_Compile100)->Name("compile/100 lines")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zel::bench
