// The FFTW plan cache (see fft_plans.h). A plan is keyed by the transform's description, whether it runs
// in place, and the SIMD alignment of its input and output: FFTW's new-array execute functions require
// the arrays of every later call to match the plan in all three, so a call whose buffers differ only in
// alignment (a view into the middle of a vector) gets a plan of its own instead of a slow unaligned one
// for everybody.
#include "core/fft_plans.h"

#include <fftw3.h>

#include <compare>
#include <map>
#include <mutex>

#include "core/errors.h"

namespace zel::detail {

namespace {

// Everything a plan depends on.
struct PlanKey {
  TTransformKind kind;
  int rank, rows, cols;
  bool interleaved, inPlace;
  int inAlign, outAlign;

  auto operator<=>(const PlanKey&) const = default;
};

// The process-wide cache. Plans live until the process ends.
struct PlanCache {
  std::mutex lock;
  std::map<PlanKey, fftw_plan> plans;

  ~PlanCache() {
    for (auto& [key, plan] : plans) fftw_destroy_plan(plan);
  }
};

PlanCache& Cache() {
  static PlanCache cache;
  return cache;
}

fftw_complex* Cplx(double* p) { return reinterpret_cast<fftw_complex*>(p); }

// Makes the plan of `key` on the caller's arrays (FFTW_ESTIMATE leaves them untouched).
fftw_plan MakePlan(const PlanKey& key, double* in, double* out) {
  const unsigned flags = FFTW_ESTIMATE;
  const int rows = key.rows, cols = key.cols, half = cols / 2 + 1;
  const int n2[2] = {rows, cols};
  const int* n = key.rank == 2 ? n2 : &n2[1];
  const int count = key.rank == 2 ? 1 : rows;
  switch (key.kind) {
    case TTransformKind::tkForward:
    case TTransformKind::tkBackward:
      return fftw_plan_many_dft(key.rank, n, count, Cplx(in), nullptr, 1, cols, Cplx(out), nullptr, 1, cols,
                                key.kind == TTransformKind::tkForward ? FFTW_FORWARD : FFTW_BACKWARD, flags);
    case TTransformKind::tkRealToHalf:
      // Output rows keep the full length: embedded in a rows × cols (rank 2) or row-after-row layout.
      return fftw_plan_many_dft_r2c(key.rank, n, count, in, nullptr, 1, cols, Cplx(out), n, 1, cols, flags);
    case TTransformKind::tkHalfToReal:
      return fftw_plan_many_dft_c2r(key.rank, n, count, Cplx(in), nullptr, 1, half, out, nullptr, 1, cols,
                                    flags);
    case TTransformKind::tkDct2:
    case TTransformKind::tkDct3: {
      const fftw_r2r_kind kind = key.kind == TTransformKind::tkDct2 ? FFTW_REDFT10 : FFTW_REDFT01;
      const int step = key.interleaved ? 2 : 1;
      const fftw_iodim dim = {cols, step, step};
      const fftw_iodim many[2] = {{rows, step * cols, step * cols}, {2, 1, 1}};
      return fftw_plan_guru_r2r(1, &dim, key.interleaved ? 2 : 1, many, in, out, &kind, flags);
    }
  }
  return nullptr;
}

// The cached plan for key, made on first use.
fftw_plan PlanFor(const PlanKey& key, double* in, double* out) {
  PlanCache& cache = Cache();
  std::lock_guard guard(cache.lock);
  auto found = cache.plans.find(key);
  if (found != cache.plans.end()) return found->second;
  const fftw_plan plan = MakePlan(key, in, out);
  if (!plan) ERaise(Fmt("FFT: no plan for a %d x %d transform", key.rows, key.cols));
  cache.plans.emplace(key, plan);
  return plan;
}

}  // namespace

void RunTransform(const TTransformShape& shape, const double* in, double* out) {
  if (shape.rows <= 0 || shape.cols <= 0) return;
  // FFTW takes non-const inputs; only the half-to-real kind writes to its input.
  double* src = const_cast<double*>(in);
  const PlanKey key{shape.kind,
                    shape.rank,
                    shape.rows,
                    shape.cols,
                    shape.interleaved,
                    src == out,
                    fftw_alignment_of(src),
                    fftw_alignment_of(out)};
  const fftw_plan plan = PlanFor(key, src, out);
  switch (shape.kind) {
    case TTransformKind::tkForward:
    case TTransformKind::tkBackward:
      fftw_execute_dft(plan, Cplx(src), Cplx(out));
      break;
    case TTransformKind::tkRealToHalf:
      fftw_execute_dft_r2c(plan, src, Cplx(out));
      break;
    case TTransformKind::tkHalfToReal:
      fftw_execute_dft_c2r(plan, Cplx(src), out);
      break;
    case TTransformKind::tkDct2:
    case TTransformKind::tkDct3:
      fftw_execute_r2r(plan, src, out);
      break;
  }
}

int CachedTransformPlans() {
  PlanCache& cache = Cache();
  std::lock_guard guard(cache.lock);
  return static_cast<int>(cache.plans.size());
}

}  // namespace zel::detail
