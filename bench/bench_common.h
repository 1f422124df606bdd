// Shared pieces of the benchmarks: the scalar expressions measured side by side and the optional
// expression file given on the command line.
#pragma once

#include <string>
#include <vector>

namespace zel::bench {

// Expressions over the variables a, b, c, x, y, z, w and the constants e and pi.
std::vector<std::string>& ScalarExpressions();

}  // namespace zel::bench
