// The per-thread generators of random.h.
#include "core/random.h"

#include <random>

namespace zel {

namespace {

// A thread's generator and the normal distribution that draws from it (which keeps a value ahead).
struct Generator {
  std::mt19937_64 engine{std::random_device{}()};
  std::normal_distribution<double> normal;
};

Generator& ThreadGenerator() {
  thread_local Generator g;
  return g;
}

}  // namespace

void SetRandomSeed(std::uint64_t seed) {
  Generator& g = ThreadGenerator();
  g.engine.seed(seed);
  g.normal.reset();
}

double RandomUniform() { return static_cast<double>(ThreadGenerator().engine() >> 11) * 0x1.0p-53; }

double RandomGauss() {
  Generator& g = ThreadGenerator();
  return g.normal(g.engine);
}

}  // namespace zel
