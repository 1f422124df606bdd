// The code arena (code_arena.h): a process-wide pool of slices cut from chunks of Linux memory files;
// elsewhere it gives no memory and lines run on their nodes.
#include "script/code_arena.h"

#include <cstring>
#include <mutex>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

// Under valgrind, code written through the writable view of a slice that held other code before must
// drop valgrind's translations of the executable view, or the old code runs. Natively a no-op.
#if __has_include(<valgrind/valgrind.h>)
#include <valgrind/valgrind.h>
#define ZEL_NEW_CODE(at, size) VALGRIND_DISCARD_TRANSLATIONS(at, size)
#else
#define ZEL_NEW_CODE(at, size) static_cast<void>(0)
#endif

namespace zel {

namespace {

constexpr std::size_t kSmallSlice = 4 * 1024;
constexpr std::size_t kLargeSlice = 64 * 1024;
constexpr std::size_t kChunkBytes = 1024 * 1024;
// Limits: the code of one expression object (a host recompiling lines forever without a full Compile
// would otherwise grow it without bound) and of the whole process.
constexpr std::size_t kMaxArenaBytes = 64 * 1024 * 1024;
constexpr std::size_t kMaxMappedBytes = 1024 * 1024 * 1024;

struct Pool {
  std::mutex lock;
  std::vector<TCodeArena::Slice> free[2];  // small, large
  std::size_t mapped = 0;
  bool failed = false;  // mapping failed once: no more code
};

// Never destroyed: arenas of static expression objects may die after the pool would have.
Pool& ThePool() {
  static Pool* pool = new Pool;
  return *pool;
}

// Maps one chunk and cuts it into slices of `slice` bytes for free list `list`; false when no memory
// can be had.
bool MapChunk(Pool& pool, int list, std::size_t slice) {
#if defined(__linux__)
  if (pool.failed || pool.mapped + kChunkBytes > kMaxMappedBytes) return false;
  const int fd = memfd_create("zel-code", MFD_CLOEXEC);
  if (fd < 0) {
    pool.failed = true;
    return false;
  }
  void* rw = MAP_FAILED;
  void* rx = MAP_FAILED;
  if (ftruncate(fd, static_cast<off_t>(kChunkBytes)) == 0) {
    rw = mmap(nullptr, kChunkBytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    rx = mmap(nullptr, kChunkBytes, PROT_READ | PROT_EXEC, MAP_SHARED, fd, 0);
  }
  close(fd);
  if (rw == MAP_FAILED || rx == MAP_FAILED) {
    if (rw != MAP_FAILED) munmap(rw, kChunkBytes);
    if (rx != MAP_FAILED) munmap(rx, kChunkBytes);
    pool.failed = true;
    return false;
  }
  pool.mapped += kChunkBytes;
  for (std::size_t k = kChunkBytes; k > 0; k -= slice)
    pool.free[list].push_back({static_cast<std::uint8_t*>(rw) + k - slice,
                               static_cast<const std::uint8_t*>(rx) + k - slice, slice});
  return true;
#else
  static_cast<void>(pool);
  static_cast<void>(list);
  static_cast<void>(slice);
  return false;
#endif
}

// A free slice of at least `need` bytes.
bool TakeSlice(std::size_t need, TCodeArena::Slice& slice) {
  const int list = need <= kSmallSlice ? 0 : 1;
  Pool& pool = ThePool();
  const std::lock_guard<std::mutex> hold(pool.lock);
  if (pool.free[list].empty() && !MapChunk(pool, list, list == 0 ? kSmallSlice : kLargeSlice)) return false;
  slice = pool.free[list].back();
  pool.free[list].pop_back();
  return true;
}

}  // namespace

TCodeArena::~TCodeArena() { Reset(); }

void TCodeArena::Reset() {
  if (!fSlices.empty()) {
    Pool& pool = ThePool();
    const std::lock_guard<std::mutex> hold(pool.lock);
    for (const Slice& s : fSlices) pool.free[s.size == kSmallSlice ? 0 : 1].push_back(s);
  }
  fSlices.clear();
  fUsed = 0;
  fTaken = 0;
}

const void* TCodeArena::Place(const std::uint8_t* code, std::size_t size) {
  const std::size_t need = (size + 15) & ~std::size_t{15};
  if (need > kLargeSlice) return nullptr;
  if (fSlices.empty() || fSlices.back().size - fUsed < need) {
    Slice slice;
    if (fTaken + need > kMaxArenaBytes || !TakeSlice(need, slice)) return nullptr;
    fSlices.push_back(slice);
    fUsed = 0;
    fTaken += slice.size;
  }
  const Slice& s = fSlices.back();
  std::memcpy(s.writable + fUsed, code, size);
  const void* at = s.executable + fUsed;
  ZEL_NEW_CODE(at, size);
  fUsed += need;
  return at;
}

}  // namespace zel
