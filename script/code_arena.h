// Executable memory for the machine code of one expression object. Code is copied into slices of
// chunks mapped twice from one memory file, writable at one address and executable at another, so no
// page is ever writable and executable at once and placing new code never touches the protection of
// code that may be running. The chunks are shared by the whole process: an arena takes slices (a page,
// or 64 KB for a large piece) as it needs them and gives them back when it dies or is reset, so
// thousands of expression objects cost a few mappings, not thousands. Pieces are packed densely (a
// script's lines share pages).
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
  // when no executable memory can be had, the piece is larger than 64 KB, or the arena is full.
  const void* Place(const std::uint8_t* code, std::size_t size);
  // Gives every slice back; only when no code placed before can run again.
  void Reset();

  struct Slice {
    std::uint8_t* writable;
    const std::uint8_t* executable;
    std::size_t size;
  };

 private:
  std::vector<Slice> fSlices;  // the last one is being filled
  std::size_t fUsed = 0;       // bytes used in the last slice
  std::size_t fTaken = 0;      // bytes of all slices
};

}  // namespace zel
