// Executable memory for the machine code of one expression object: code is copied into chunks mapped
// twice from one memory file, writable at one address and executable at another, so no page is ever
// writable and executable at once and placing new code never touches the protection of code that may
// be running. Pieces are packed densely (a script's lines share pages) and live as long as the arena.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zel {

class TCodeArena {
 public:
  TCodeArena() = default;
  TCodeArena(const TCodeArena&) = delete;
  TCodeArena& operator=(const TCodeArena&) = delete;
  ~TCodeArena();

  // Copies `size` bytes of position-independent code and returns their executable address, or null
  // when no executable memory can be had (or the arena has reached its limit).
  const void* Place(const std::uint8_t* code, std::size_t size);
  // Forgets every piece, keeping the chunks for new ones; only when no code placed before can run again.
  void Reset();

 private:
  struct Chunk {
    std::uint8_t* writable;
    const std::uint8_t* executable;
    std::size_t size;
    std::size_t used;
  };
  std::vector<Chunk> fChunks;
  std::size_t fMapped = 0;
  bool fFailed = false;  // mapping failed once: no code from now on
};

}  // namespace zel
