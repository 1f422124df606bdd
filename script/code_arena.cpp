// The code arena (code_arena.h) on Linux memory files; elsewhere it gives no memory and lines run on
// their nodes.
#include "script/code_arena.h"

#include <cstring>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace zel {

namespace {

constexpr std::size_t kChunkBytes = 256 * 1024;
// Beyond this much code an expression object makes no more (a host that recompiles lines forever
// without a full Compile would otherwise grow without bound).
constexpr std::size_t kMaxMappedBytes = 64 * 1024 * 1024;

}  // namespace

TCodeArena::~TCodeArena() {
#if defined(__linux__)
  for (const Chunk& c : fChunks) {
    munmap(c.writable, c.size);
    munmap(const_cast<std::uint8_t*>(c.executable), c.size);
  }
#endif
}

void TCodeArena::Reset() {
  for (Chunk& c : fChunks) c.used = 0;
}

const void* TCodeArena::Place(const std::uint8_t* code, std::size_t size) {
  const std::size_t need = (size + 15) & ~std::size_t{15};
  for (Chunk& c : fChunks) {
    if (c.size - c.used < need) continue;
    std::memcpy(c.writable + c.used, code, size);
    const void* at = c.executable + c.used;
    c.used += need;
    return at;
  }
#if defined(__linux__)
  if (fFailed) return nullptr;
  const std::size_t bytes = need > kChunkBytes ? (need + 4095) & ~std::size_t{4095} : kChunkBytes;
  if (fMapped + bytes > kMaxMappedBytes) return nullptr;
  const int fd = memfd_create("zel-code", MFD_CLOEXEC);
  if (fd < 0) {
    fFailed = true;
    return nullptr;
  }
  void* rw = MAP_FAILED;
  void* rx = MAP_FAILED;
  if (ftruncate(fd, static_cast<off_t>(bytes)) == 0) {
    rw = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    rx = mmap(nullptr, bytes, PROT_READ | PROT_EXEC, MAP_SHARED, fd, 0);
  }
  close(fd);
  if (rw == MAP_FAILED || rx == MAP_FAILED) {
    if (rw != MAP_FAILED) munmap(rw, bytes);
    if (rx != MAP_FAILED) munmap(rx, bytes);
    fFailed = true;
    return nullptr;
  }
  fMapped += bytes;
  fChunks.push_back({static_cast<std::uint8_t*>(rw), static_cast<const std::uint8_t*>(rx), bytes, 0});
  return Place(code, size);
#else
  static_cast<void>(code);
  return nullptr;
#endif
}

}  // namespace zel
