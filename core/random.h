// Random numbers of the numeric core: one 64-bit Mersenne Twister (std::mt19937_64) per thread, so that
// expression objects on different threads never share a generator and a run is reproducible once the
// thread that runs it has set a seed.
#pragma once

#include <cstdint>

namespace zel {

// Seeds the calling thread's generator and forgets any normal value drawn ahead, so the numbers that
// follow depend on the seed only. A thread that never sets a seed starts from one taken from the system's
// entropy source (std::random_device).
void SetRandomSeed(std::uint64_t seed);

// A uniform double in [0, 1): the top 53 bits of the next 64-bit number, times 2^-53.
double RandomUniform();

// A standard normal double (mean 0, standard deviation 1).
double RandomGauss();

}  // namespace zel
