// The block loop of element-wise chains (see chainmath.h). Every step is its own simple loop over one
// block, marked `omp simd` like the kernels of vecmath.cpp: a destination is either an operand itself
// (element i read before it is written, in the same iteration) or shares no storage with it. Each loop
// does one operation and stores it, and the file is compiled without floating-point contraction, so no
// product and sum ever merge into one rounding.
#include "core/chainmath.h"

#include <algorithm>

namespace zel {

namespace {

template <class F>
void Arrays(double* d, const double* x, const double* y, int n, F f) {
#pragma omp simd
  for (int i = 0; i < n; ++i) d[i] = f(x[i], y[i]);
}

template <class F>
void WithScalar(double* d, const double* x, double s, int n, F f) {
#pragma omp simd
  for (int i = 0; i < n; ++i) d[i] = f(x[i], s);
}

// One step over one block of len elements.
void Step(TChainOp op, double* d, const double* x, const double* y, double s, int len) {
  switch (op) {
    case TChainOp::kAdd:
      return Arrays(d, x, y, len, [](double a, double b) { return a + b; });
    case TChainOp::kSub:
      return Arrays(d, x, y, len, [](double a, double b) { return a - b; });
    case TChainOp::kMul:
      return Arrays(d, x, y, len, [](double a, double b) { return a * b; });
    case TChainOp::kDiv:
      return Arrays(d, x, y, len, [](double a, double b) { return a / b; });
    case TChainOp::kAddScalar:
      return WithScalar(d, x, s, len, [](double a, double b) { return a + b; });
    case TChainOp::kSubScalar:
      return WithScalar(d, x, s, len, [](double a, double b) { return a - b; });
    case TChainOp::kMulScalar:
      return WithScalar(d, x, s, len, [](double a, double b) { return a * b; });
    case TChainOp::kDivScalar:
      return WithScalar(d, x, s, len, [](double a, double b) { return a / b; });
    case TChainOp::kScalarSub:
      return WithScalar(d, x, s, len, [](double a, double b) { return b - a; });
    case TChainOp::kScalarDiv:
      return WithScalar(d, x, s, len, [](double a, double b) { return b / a; });
  }
}

}  // namespace

void RunChain(const TChainStep* steps, int stepCount, const double* const* leaves, int leafCount,
              const double* scalars, double* scratch, double* dst, int n) {
  const TChainStep* end = steps + stepCount;
  for (int start = 0; start < n; start += kChainBlock) {
    const int len = std::min(kChainBlock, n - start);
    // A temporary's scratch area; the block of slot k: a leaf's elements from `start` or a temporary.
    auto temp = [&](int k) { return scratch + static_cast<long>(k - leafCount) * kChainBlock; };
    auto block = [&](int k) -> const double* { return k < leafCount ? leaves[k] + start : temp(k); };
    for (const TChainStep* s = steps; s != end; ++s) {
      double* d = s->out == kChainDestination ? dst + start : temp(s->out);
      const bool scalar = HasScalar(s->op);
      Step(s->op, d, block(s->x), scalar ? nullptr : block(s->y), scalar ? scalars[s->y] : 0.0, len);
    }
  }
}

}  // namespace zel
