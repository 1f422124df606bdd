// The memory cap (per object and for the whole address space) and the SIGINT handler of zel.
#include "apps/zel/process.h"

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <string>

#include "core/nubra.h"

namespace zel::app {

namespace {

// The expression the SIGINT handler cancels; null until the script is about to run. A Ctrl-C before then
// is remembered in gInterrupted and passed on when the target is set.
TZelExpression* volatile gInterruptTarget = nullptr;
volatile std::sig_atomic_t gInterrupted = 0;

// First Ctrl-C: ask for a cancel. A second one while that is pending: the default action (termination).
extern "C" void OnInterrupt(int) {
  if (gInterruptTarget && gInterruptTarget->CancelRequested()) EndByInterrupt();
  gInterrupted = 1;
  if (gInterruptTarget) gInterruptTarget->RequestCancel();
}

// The process's current virtual size in bytes (the "VmSize" of /proc/self/status), or 0.
std::size_t AddressSpaceInUse() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmSize:") {
      std::size_t kb = 0;
      status >> kb;
      return kb * 1024;
    }
    status.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
  }
  return 0;
}

}  // namespace

std::size_t DefaultMemoryLimit() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || pageSize <= 0) return std::size_t{4} << 30;  // unknown: 4 GiB
  return static_cast<std::size_t>(pages) / 4 * static_cast<std::size_t>(pageSize);
}

void LimitMemory(std::size_t bytes) {
  if (bytes == 0) return;
  SetMaxObjectBytes(bytes);
#if defined(__SANITIZE_ADDRESS__)
  // AddressSanitizer reserves its own address space and aborts, rather than failing an allocation, when
  // the system refuses memory: sanitizer builds keep the per-object limit only.
  return;
#endif
  // Threads started by libraries (the BLAS pool, one per processor) reserve a stack and a malloc arena
  // (64 MiB, 128 MiB while it is being aligned) when they first run, which may be after this point: they
  // get an allowance of their own on top of the script's cap.
  const long cpus = sysconf(_SC_NPROCESSORS_ONLN);
  const std::size_t allowance = static_cast<std::size_t>(cpus > 0 ? cpus : 1) * (std::size_t{128} << 20);
  const std::size_t current = AddressSpaceInUse();
  if (current == 0) return;
  const std::size_t inUse = current + allowance;
  if (inUse > std::numeric_limits<rlim_t>::max() - bytes) return;
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) != 0) return;
  const rlim_t wanted = static_cast<rlim_t>(inUse + bytes);
  if (limit.rlim_max != RLIM_INFINITY && wanted > limit.rlim_max) return;  // already tighter
  limit.rlim_cur = wanted;
  setrlimit(RLIMIT_AS, &limit);
}

void CatchInterrupt() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: a blocked read returns EINTR
  sigaction(SIGINT, &action, nullptr);
}

void InterruptTarget(TZelExpression& expr) {
  gInterruptTarget = &expr;
  if (gInterrupted) expr.RequestCancel();
}

bool Interrupted() { return gInterrupted != 0; }

void EndByInterrupt() {
  std::signal(SIGINT, SIG_DFL);
  std::raise(SIGINT);
  std::_Exit(130);  // only if SIGINT is blocked
}

void ClearInterrupt() {
  gInterrupted = 0;
  if (gInterruptTarget) gInterruptTarget->ClearCancel();
}

}  // namespace zel::app
