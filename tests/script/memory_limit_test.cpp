// A host-set memory limit turns oversized requests into errors, also from scripts.
#include <gtest/gtest.h>

#include "core/nubra.h"
#include "script/expression.h"
#include "support/oper_helper.h"

namespace zel {
namespace {

struct LimitGuard {
  explicit LimitGuard(std::size_t bytes) : old(MaxObjectBytes()) { SetMaxObjectBytes(bytes); }
  ~LimitGuard() { SetMaxObjectBytes(old); }
  std::size_t old;
};

TEST(MemoryLimit, OversizedObjectsRaiseInsteadOfAllocating) {
  LimitGuard guard(1 << 20);
  TVec v(1000);
  EXPECT_EQ(test::MessageOf([&] { v.Size(1 << 20); }),
            "Not enough memory: 8388608 bytes exceed the limit of 1048576 bytes for one object");
  EXPECT_EQ(v.Length(), 1000);  // unchanged
  TVecInt small(1 << 19, prUInt8);
  EXPECT_EQ(small.Length(), 1 << 19);

  TZelExpression x;
  x.SetExpressions("v = 1:10000000\nw = v * 2.5");
  EXPECT_EQ(test::MessageOf([&] { x.EvaluateCompiled(); }).rfind("Line 1: Not enough memory", 0), 0u);
}

}  // namespace
}  // namespace zel
