// Linear algebra and sorting: zel's `a*b` and `c = a*b` of two 500 x 500 matrices, `svd(a)` and `svd(a, u,
// v)` of a 200 x 200 matrix and `sortascend(x)` of 10^6 doubles, each against the library call a C++
// programmer would make directly (cblas_dgemm, LAPACKE_dgesdd on a copy, std::sort of a copy). The
// differences are zel's overhead: the dispatch, the copies between row-major and LAPACK's column-major
// storage, and the result objects.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <string>
#include <vector>

#define lapack_complex_float std::complex<float>
#define lapack_complex_double std::complex<double>
#include <cblas.h>
#include <lapacke.h>

#include "script/expression.h"

namespace zel::bench {
namespace {

constexpr int kProductSize = 500, kSVDSize = 200, kSortLength = 1000000;

// Element i of the test data: irregular, the same for zel and the direct calls.
double Element(int i, double seed) { return std::sin(i * 0.7548776662 + seed) * 100.0; }

// m becomes a host matrix of n x n test elements.
void Fill(TZel& m, int n, double seed) {
  m.Size(n, n, false);
  for (int i = 0; i < n * n; ++i) m.Values(i) = Element(i, seed);
}

// zel evaluating `text` over host matrices a and b and host vector x.
void BM_Zel(benchmark::State& state, const std::string& text, int n) {
  TZel a, b;
  Fill(a, n, 0.1);
  Fill(b, n, 0.2);
  TVec x(kSortLength);
  for (int i = 0; i < kSortLength; ++i) x.Values(i) = Element(i, 0.3);
  TZelExpression e;
  e.DefineMatrix("a", &a);
  e.DefineMatrix("b", &b);
  e.DefineVector("x", &x);
  e.SetExpressions(text);
  e.Compile();
  for (auto _ : state) benchmark::DoNotOptimize(e.Evaluate());
}

// cblas_dgemm on row-major n x n data.
void BM_DirectProduct(benchmark::State& state) {
  const int n = kProductSize;
  std::vector<double> a(n * n), b(n * n), c(n * n);
  for (int i = 0; i < n * n; ++i) a[i] = Element(i, 0.1), b[i] = Element(i, 0.2);
  for (auto _ : state) {
    cblas_dgemm(CblasRowMajor, CblasNoTrans, CblasNoTrans, n, n, n, 1.0, a.data(), n, b.data(), n, 0.0,
                c.data(), n);
    benchmark::DoNotOptimize(c.data());
  }
}

// LAPACKE_dgesdd (singular values only with 'N', economy vectors with 'S') on a fresh copy each time,
// since it overwrites its input; the workspace is queried once.
void BM_DirectSVD(benchmark::State& state, char jobz) {
  const int n = kSVDSize;
  std::vector<double> a(n * n), work(n * n), s(n), u(n * n), vt(n * n);
  for (int i = 0; i < n * n; ++i) a[i] = Element(i, 0.1);
  std::vector<lapack_int> iwork(8 * n);
  double lwork = 0;
  LAPACKE_dgesdd_work(LAPACK_COL_MAJOR, jobz, n, n, work.data(), n, s.data(), u.data(), n, vt.data(), n,
                      &lwork, -1, iwork.data());
  std::vector<double> scratch(static_cast<std::size_t>(lwork) + 1);
  for (auto _ : state) {
    std::copy(a.begin(), a.end(), work.begin());
    LAPACKE_dgesdd_work(LAPACK_COL_MAJOR, jobz, n, n, work.data(), n, s.data(), u.data(), n, vt.data(), n,
                        scratch.data(), static_cast<lapack_int>(scratch.size()), iwork.data());
    benchmark::DoNotOptimize(s.data());
  }
}

// std::sort of a fresh copy of the data (zel's sortascend also leaves its argument as it is).
void BM_DirectSort(benchmark::State& state) {
  std::vector<double> x(kSortLength), y(kSortLength);
  for (int i = 0; i < kSortLength; ++i) x[i] = Element(i, 0.3);
  for (auto _ : state) {
    std::copy(x.begin(), x.end(), y.begin());
    std::sort(y.begin(), y.end());
    benchmark::DoNotOptimize(y.data());
  }
}

// Registers every comparison once at start-up.
const bool kRegistered = [] {
  const auto ms = benchmark::kMillisecond;
  benchmark::RegisterBenchmark("linalg/zel/matmul500", BM_Zel, "a*b", kProductSize)->Unit(ms);
  benchmark::RegisterBenchmark("linalg/zel/assign_matmul500", BM_Zel, "c = a*b", kProductSize)->Unit(ms);
  benchmark::RegisterBenchmark("linalg/cblas/matmul500", BM_DirectProduct)->Unit(ms);
  benchmark::RegisterBenchmark("linalg/zel/svd200", BM_Zel, "svd(a)", kSVDSize)->Unit(ms);
  benchmark::RegisterBenchmark("linalg/lapack/svd200", BM_DirectSVD, 'N')->Unit(ms);
  benchmark::RegisterBenchmark("linalg/zel/svd200_uv", BM_Zel, "svd(a, u, v)", kSVDSize)->Unit(ms);
  benchmark::RegisterBenchmark("linalg/lapack/svd200_uv", BM_DirectSVD, 'S')->Unit(ms);
  benchmark::RegisterBenchmark("linalg/zel/sort1e6", BM_Zel, "sortascend(x)", 1)->Unit(ms);
  benchmark::RegisterBenchmark("linalg/std/sort1e6", BM_DirectSort)->Unit(ms);
  return true;
}();

}  // namespace
}  // namespace zel::bench
