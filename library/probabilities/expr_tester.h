// The test entry points of an expression object as a package's self-test calls them. The self-test hooks
// of TWordList receive the expression object as a plain TObject; the expression object implements this
// interface, so a package below the compiler reaches its checks through a cast.
#pragma once

#include <string>
#include <vector>

#include "core/cplx.h"
#include "core/persistent.h"

namespace zel {

class TExprTester {
 public:
  virtual ~TExprTester() = default;
  // Compiles and evaluates expr and compares the result with the expected value (within 1e-10); raises
  // on a mismatch.
  virtual void Test(const std::string& expr, double expected, bool allowNanInf) = 0;
  virtual void Test(const std::string& expr, bool expected) = 0;
  virtual void Test(const std::string& expr, TCplx expected, bool allowNanInf) = 0;
  virtual void TestVec(const std::string& expr, const std::vector<double>& expected, bool allowNanInf) = 0;
  // Raises unless compiling or evaluating expr fails.
  virtual void NegativeTest(const std::string& expr) = 0;
};

}  // namespace zel
