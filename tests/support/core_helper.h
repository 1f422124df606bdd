// Test support for the numeric core: object contents as plain vectors and the message of a failing call.
#pragma once

#include <exception>
#include <string>
#include <vector>

#include "core/nubra.h"

namespace zel::test {

// Contents as plain vectors, for comparisons.
inline std::vector<double> Values(const TNubraVec& v) { return {v.PValues(), v.PValues() + v.ScalarCount()}; }
inline std::vector<TCplx> CValues(const TNubraVec& v) {
  std::vector<TCplx> out;
  for (int i = 0; i < v.Length(); ++i) out.push_back(v.Complex() ? v.CValues(i) : TCplx(v.Values(i), 0));
  return out;
}
inline std::vector<int> Values(const TNubraInt& v) {
  std::vector<int> out;
  for (int i = 0; i < v.Length(); ++i) out.push_back(v.Get(i));
  return out;
}

// The message of the exception f throws, or "<no exception>".
template <class F>
std::string MessageOf(F&& f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "<no exception>";
}

}  // namespace zel::test
