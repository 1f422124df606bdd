// double(x) and boolean(x): the result of every value type, including the rounding of real vectors
// before they become masks, the types they refuse, and re-evaluation without allocating.
#include <gtest/gtest.h>

#include <limits>

#include "library_helper.h"
#include "support/alloc_counter.h"

namespace zel::test {
namespace {

// The library snapshot, with the boolean kinds (a bool as 0 or 1, masks as their elements) added.
Snapshot SnapAll(TValueRec& v) {
  Snapshot s = Snap(v);
  const auto mask = [&](const TNubraInt& m, int rows, int cols) {
    s.rows = rows;
    s.cols = cols;
    for (int x : Values(m)) s.values.push_back(x);
  };
  switch (v.ValueType()) {
    case vtBoolValue:
      s.values = {v.BoolValue() ? 1.0 : 0.0};
      break;
    case vtBoolVectorValue:
      mask(v.BoolVectorValue(), 1, v.BoolVectorValue().Length());
      break;
    case vtBoolMatrixValue:
      mask(v.BoolMatrixValue(), v.BoolMatrixValue().Rows(), v.BoolMatrixValue().Cols());
      break;
    default:
      break;
  }
  return s;
}

Snapshot Real(double x) { return {vtDoubleValue, 1, 1, false, prInt32, {x}, {}}; }
Snapshot Complex(double re, double im) { return {vtComplexValue, 1, 1, true, prInt32, {re, im}, {}}; }
Snapshot Truth(bool b) { return {vtBoolValue, 1, 1, false, prInt32, {b ? 1.0 : 0.0}, {}}; }
Snapshot Vector(std::vector<double> v, bool complex = false) {
  const int n = static_cast<int>(v.size()) / (complex ? 2 : 1);
  return {vtVectorValue, 1, n, complex, prInt32, std::move(v), {}};
}
Snapshot Matrix(int rows, int cols, std::vector<double> v) {
  return {vtMatrixValue, rows, cols, false, prInt32, std::move(v), {}};
}
Snapshot Mask(std::vector<double> v) {
  const int n = static_cast<int>(v.size());
  return {vtBoolVectorValue, 1, n, false, prInt32, std::move(v), {}};
}
Snapshot MaskMatrix(int rows, int cols, std::vector<double> v) {
  return {vtBoolMatrixValue, rows, cols, false, prInt32, std::move(v), {}};
}

TEST(Conversions, EveryValueType) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* name;
    Val arg;
    Snapshot expected;
  } cases[] = {
      {"double", Dbl(-2.5), Real(-2.5)},
      {"double", Int(-3), Real(-3)},
      {"Double", Int(9007199254740993), Real(9007199254740992)},  // nearest double
      {"double", Bool(true), Real(1)},
      {"double", Bool(false), Real(0)},
      {"double", Cplx(1, -2), Complex(1, -2)},
      {"double", Vec({1.5, -2}), Vector({1.5, -2})},
      {"double", CVec({{1, 2}}), Vector({1, 2}, true)},
      {"double", IntVec({1, 200}, prUInt8), Vector({1, 200})},
      {"double", BoolVec({1, 0}), Vector({1, 0})},
      {"double", Mat(2, 2, {1, 2, 3, 4}), Matrix(2, 2, {1, 2, 3, 4})},
      {"double", IntMat(2, 1, {-7, 7}, prInt16), Matrix(2, 1, {-7, 7})},
      {"double", BoolMat(1, 2, {0, 1}), Matrix(1, 2, {0, 1})},
      {"boolean", Dbl(-0.5), Truth(true)},
      {"boolean", Dbl(0), Truth(false)},
      {"boolean", Dbl(nan), Truth(true)},
      {"boolean", Int(0), Truth(false)},
      {"Boolean", Int(-5), Truth(true)},
      {"boolean", Cplx(0, 1e-300), Truth(true)},
      {"boolean", Cplx(0, 0), Truth(false)},
      {"boolean", Bool(true), Truth(true)},
      // real data is rounded (halves away from zero) first; NaN rounds to 0
      {"boolean", Vec({0.4, 0.5, -0.5, -0.49, 0.51, 1.5, 2, nan}), Mask({0, 0, 0, 0, 1, 1, 1, 0})},
      {"boolean", CVec({{0.4, 0.6}, {0.2, -0.3}}), Mask({1, 0})},
      {"boolean", Mat(2, 2, {0.4, -1, 0, 3}), MaskMatrix(2, 2, {0, 1, 0, 1})},
      {"boolean", IntVec({0, 3, -2}, prInt16), Mask({0, 1, 1})},
      {"boolean", IntMat(1, 2, {0, 255}, prUInt8), MaskMatrix(1, 2, {0, 1})},
      {"boolean", BoolVec({1, 0}), Mask({1, 0})},
      {"boolean", BoolMat(2, 1, {0, 1}), MaskMatrix(2, 1, {0, 1})},
  };
  for (const auto& c : cases) {
    NodeRunner run(Functions::Get().Word(c.name), {c.arg.get()});
    EXPECT_EQ(SnapAll(run.EvalTwice()), c.expected) << c.name << " of " << ValTypeName(c.arg->ValueType());
  }
}

TEST(Conversions, RefusedTypes) {
  for (const char* name : {"double", "boolean"}) {
    for (TValueType t : {vtUndefined, vtRangeValue, vtString, vtCustomValue}) {
      Val arg = Sample(t);
      NodeRunner run(Functions::Get().Word(name), {arg.get()});
      const std::string message =
          t == vtUndefined ? std::string(UnknownExprWord)
                           : "Unsupported value types: " + std::string(name) + " ( " + ValTypeName(t) + " )";
      EXPECT_EQ(MessageOf([&] { run.Eval(); }), message);
      EXPECT_EQ(run.Node().Res->ValueType(), vtUndefined) << message;
    }
  }
}

TEST(Conversions, SecondEvaluationDoesNotAllocate) {
  Val v = Vec({0.2, 3}), m = Mat(2, 2, {1, 0, 0, 1}), iv = IntVec({1, 0}), bm = BoolMat(1, 2, {1, 0});
  for (const char* name : {"double", "boolean"}) {
    for (TValueRec* arg : {v.get(), m.get(), iv.get(), bm.get()}) {
      NodeRunner run(Functions::Get().Word(name), {arg});
      run.EvalTwice();
      AllocationCounter allocations;
      run.Eval();
      EXPECT_EQ(allocations.Count(), 0u) << name << " of " << ValTypeName(arg->ValueType());
    }
  }
}

}  // namespace
}  // namespace zel::test
