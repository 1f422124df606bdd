// The FFT of 2^20 points: zel's `fft(a)` on a host vector against FFTW called directly with the plan kind
// the library uses (FFTW_ESTIMATE, out of place, made once before the loop). Complex data runs FFTW's
// complex-to-complex plan on both sides; real data runs its real-to-complex plan, and zel also fills the
// spectrum's conjugate half (numpy.fft.fft gives all n values), which the direct call leaves out.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cmath>
#include <complex>
#include <string>

#include "script/expression.h"

namespace zel::bench {
namespace {

constexpr int kPoints = 1 << 20;

// Test data: a sum of two tones, complex or real.
void Fill(TVec& v) {
  for (int i = 0; i < v.Length(); ++i) {
    const double t = i * 1e-3;
    if (v.Complex()) {
      v.CValues(i) = TCplx(std::sin(50 * t), std::cos(7 * t));
    } else {
      v.Values(i) = std::sin(50 * t) + 0.5 * std::cos(7 * t);
    }
  }
}

// zel evaluating `fft(a)` for a host vector a (the spectrum stays in the node's result).
void BM_FftZel(benchmark::State& state, bool complex) {
  TVec a(kPoints, complex);
  Fill(a);
  TZelExpression x;
  x.DefineVector("a", &a);
  x.SetExpressions("fft(a)");
  x.Compile();
  x.Evaluate();  // makes the plan and the result storage
  for (auto _ : state) benchmark::DoNotOptimize(x.Evaluate());
}

// FFTW alone: one plan of the same kind, executed on the same data into an output array.
void BM_FftDirect(benchmark::State& state, bool complex) {
  TVec a(kPoints, complex), out(kPoints, true);
  Fill(a);
  auto* spectrum = reinterpret_cast<fftw_complex*>(out.PValues());
  const fftw_plan plan = complex ? fftw_plan_dft_1d(kPoints, reinterpret_cast<fftw_complex*>(a.PValues()),
                                                    spectrum, FFTW_FORWARD, FFTW_ESTIMATE)
                                 : fftw_plan_dft_r2c_1d(kPoints, a.PValues(), spectrum, FFTW_ESTIMATE);
  for (auto _ : state) {
    fftw_execute(plan);
    benchmark::DoNotOptimize(out.PValues());
  }
  fftw_destroy_plan(plan);
}

// Registers the comparisons once at start-up.
const bool kRegistered = [] {
  for (const bool complex : {true, false}) {
    const std::string kind = complex ? "complex" : "real";
    benchmark::RegisterBenchmark(("signal/fft/zel/" + kind).c_str(), BM_FftZel, complex)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("signal/fft/fftw/" + kind).c_str(), BM_FftDirect, complex)
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
}  // namespace zel::bench
