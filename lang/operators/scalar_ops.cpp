// The registry of scalar routines (scalar_ops.h): a table looked up when a line is tuned, never while
// one runs.
#include "lang/operators/scalar_ops.h"

#include <mutex>
#include <unordered_map>

namespace zel {

namespace {

// A hash map: tuning looks up every node of a line, and a few hundred routines register.
struct Registry {
  std::mutex lock;
  std::unordered_map<TExprFunc, TScalarOp> entries;  // nodes stay put: FindScalarOp hands out pointers
};

Registry& TheRegistry() {
  static Registry r;
  return r;
}

}  // namespace

bool RegisterScalarOp(TExprFunc routine, TScalarOp op) {
  Registry& r = TheRegistry();
  const std::lock_guard<std::mutex> hold(r.lock);
  r.entries.emplace(routine, op);  // the first registration stays
  return true;
}

const TScalarOp* FindScalarOp(TExprFunc routine) {
  Registry& r = TheRegistry();
  const std::lock_guard<std::mutex> hold(r.lock);
  const auto it = r.entries.find(routine);
  return it == r.entries.end() ? nullptr : &it->second;
}

}  // namespace zel
