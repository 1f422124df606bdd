// Test support for the numeric core: objects filled from lists, object contents as plain vectors, and the
// message of a failing call.
#pragma once

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "core/nubra.h"

namespace zel::test {

// Core objects cannot be copied or moved: the factories hand out filled ones on the heap.
inline std::unique_ptr<TVec> NewVec(const std::vector<double>& v) {
  auto x = std::make_unique<TVec>(static_cast<int>(v.size()));
  for (int i = 0; i < x->Length(); ++i) x->Values(i) = v[i];
  return x;
}
inline std::unique_ptr<TVec> NewCVec(const std::vector<TCplx>& v) {
  auto x = std::make_unique<TVec>(static_cast<int>(v.size()), true);
  for (int i = 0; i < x->Length(); ++i) x->CValues(i) = v[i];
  return x;
}
inline std::unique_ptr<TVecInt> NewIntVec(const std::vector<int>& v, TIntPrecision p = prInt32) {
  auto x = std::make_unique<TVecInt>(static_cast<int>(v.size()), p);
  for (int i = 0; i < x->Length(); ++i) x->Set(i, v[i]);
  return x;
}

// Contents as plain vectors, for comparisons: the stored doubles (complex as re, im), the elements as
// complex numbers, and the integers.
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
