// Element-wise chains of real arithmetic run in one pass: a short program of steps (sums, differences,
// products and quotients of arrays and scalars) applied block by block, so the intermediate values of a
// block stay in a small scratch area in the cache and every operand and the destination are touched once.
//
// Each step computes exactly what the element-wise kernels of vecmath.h compute for the same operands,
// element by element and with the operands in the same order, and a step's result is stored before the
// next step reads it, so the program gives the same bits as running the steps one after another over
// whole arrays.
#pragma once

#include <cstdint>

namespace zel {

// What a step computes for element i: x, y arrays, s a scalar.
enum class TChainOp : std::uint8_t {
  kAdd,        // x[i] + y[i]
  kSub,        // x[i] − y[i]
  kMul,        // x[i] · y[i]
  kDiv,        // x[i] / y[i]
  kAddScalar,  // x[i] + s
  kSubScalar,  // x[i] − s
  kMulScalar,  // x[i] · s
  kDivScalar,  // x[i] / s
  kScalarSub,  // s − x[i]
  kScalarDiv,  // s / x[i]
};

// True for the operations with a scalar operand.
constexpr bool HasScalar(TChainOp op) { return op >= TChainOp::kAddScalar; }

// One step. Array slots number the leaf arrays first (0 .. leaves−1), then the temporaries; `y` is the
// second array's slot, or for a scalar operation the scalar's index; `out` is a temporary's slot or
// kChainDestination.
struct TChainStep {
  TChainOp op;
  std::uint8_t x, y, out;
};

inline constexpr std::uint8_t kChainDestination = 0xFF;
// Elements per block: the temporaries of a block (kChainBlock doubles each) stay in the first-level cache.
inline constexpr int kChainBlock = 512;

// Runs the steps over n elements, block by block, the last step writing dst. leaves[k] holds the n
// elements of leaf array k; scalars the scalar operands; scratch kChainBlock doubles per temporary. dst
// may be a leaf itself (element i is read before it is written) but must not overlap one otherwise.
void RunChain(const TChainStep* steps, int stepCount, const double* const* leaves, int leafCount,
              const double* scalars, double* scratch, double* dst, int n);

}  // namespace zel
