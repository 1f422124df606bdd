// Counts heap allocations made through operator new while a counter is alive, for tests that check a
// compiled evaluation allocates nothing. Linked into every test program (support/alloc_counter.cpp).
#pragma once

#include <cstddef>

namespace zel::test {

class AllocationCounter {
 public:
  AllocationCounter();
  ~AllocationCounter();
  // Allocations since construction.
  std::size_t Count() const;

 private:
  std::size_t fStart;
};

}  // namespace zel::test
