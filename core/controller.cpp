// Process-wide settings and the worker-thread register (see controller.h).
#include "core/controller.h"

#include <atomic>
#include <mutex>

namespace zel {

namespace {

std::mutex keyLock;
std::string& Key() {
  static std::string key = "\\Software\\Kelmoor\\Nubra";
  return key;
}
std::atomic<int> markedThreads{0};
thread_local int markDepth = 0;

}  // namespace

// The settings key (a copy would race with SetRegistryKey, so callers read it on the main thread).
const std::string& RegistryKey() {
  std::lock_guard<std::mutex> guard(keyLock);
  return Key();
}

// Replaces the settings key.
void SetRegistryKey(const std::string& key) {
  std::lock_guard<std::mutex> guard(keyLock);
  Key() = key;
}

// The default FormatSample picture of components.
const std::string& DefaultNumberFormat() {
  static const std::string format = "0.####";
  return format;
}

// Registers the calling thread; only the outermost call counts it.
void MarkThread() {
  if (markDepth++ == 0) markedThreads.fetch_add(1, std::memory_order_relaxed);
}

// Ends one registration; the thread leaves the register with the outermost one.
void UnMarkThread() {
  if (markDepth > 0 && --markDepth == 0) markedThreads.fetch_sub(1, std::memory_order_relaxed);
}

// True while the calling thread is registered.
bool ThreadIsMarked() { return markDepth > 0; }

// Number of threads registered right now.
int MarkedThreadCount() { return markedThreads.load(std::memory_order_relaxed); }

}  // namespace zel
