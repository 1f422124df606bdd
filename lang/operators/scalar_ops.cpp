// The registry of scalar routines (scalar_ops.h): a small table searched when a line is tuned, never
// while one runs.
#include "lang/operators/scalar_ops.h"

#include <mutex>
#include <vector>

namespace zel {

namespace {

struct Entry {
  TExprFunc routine;
  TScalarOp op;
};

struct Registry {
  std::mutex lock;
  std::vector<Entry> entries;
};

Registry& TheRegistry() {
  static Registry r;
  return r;
}

}  // namespace

bool RegisterScalarOp(TExprFunc routine, TScalarOp op) {
  Registry& r = TheRegistry();
  const std::lock_guard<std::mutex> hold(r.lock);
  for (const Entry& e : r.entries)
    if (e.routine == routine) return true;
  r.entries.push_back({routine, op});
  return true;
}

const TScalarOp* FindScalarOp(TExprFunc routine) {
  Registry& r = TheRegistry();
  const std::lock_guard<std::mutex> hold(r.lock);
  for (const Entry& e : r.entries)
    if (e.routine == routine) return &e.op;
  return nullptr;
}

}  // namespace zel
