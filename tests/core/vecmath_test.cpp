// Element-wise kernels of the core: values, complex promotion, destination shapes, aliasing, integer
// saturation and the errors.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "core/intarith.h"
#include "core/vecmath.h"
#include "support/alloc_counter.h"
#include "support/core_helper.h"

namespace zel::test {
namespace {

using RealKernel = std::function<void(TNubraVec&)>;

TEST(VecMath, RealAndComplexResults) {
  const auto pa = NewVec({1, 2, -4}), pb = NewVec({4, 0.5, 2}), pc = NewCVec({{1, 1}, {0, 2}, {-1, 0}});
  const TVec &a = *pa, &b = *pb, &c = *pc;
  const TCplx z(0, 1);
  const struct {
    const char* name;
    RealKernel run;
    std::vector<TCplx> expected;
    bool complex;
  } cases[] = {
      {"Add", [&](auto& d) { Add(a, b, d); }, {5, 2.5, -2}, false},
      {"Sub", [&](auto& d) { Sub(a, b, d); }, {-3, 1.5, -6}, false},
      {"Mul", [&](auto& d) { Mul(a, b, d); }, {4, 1, -8}, false},
      {"Divide", [&](auto& d) { Divide(a, b, d); }, {0.25, 4, -2}, false},
      {"Add scalar", [&](auto& d) { Add(a, 10.0, d); }, {11, 12, 6}, false},
      {"Sub scalar", [&](auto& d) { Sub(a, 1.0, d); }, {0, 1, -5}, false},
      {"SubFrom", [&](auto& d) { SubFrom(1.0, a, d); }, {0, -1, 5}, false},
      {"Mul scalar", [&](auto& d) { Mul(a, -2.0, d); }, {-2, -4, 8}, false},
      {"Divide scalar", [&](auto& d) { Divide(a, 4.0, d); }, {0.25, 0.5, -1}, false},
      {"DivideBy", [&](auto& d) { DivideBy(8.0, a, d); }, {8, 4, -2}, false},
      {"real + complex", [&](auto& d) { Add(a, c, d); }, {{2, 1}, {2, 2}, {-5, 0}}, true},
      {"complex - real", [&](auto& d) { Sub(c, a, d); }, {{0, 1}, {-2, 2}, {3, 0}}, true},
      {"complex * complex", [&](auto& d) { Mul(c, c, d); }, {{0, 2}, {-4, 0}, {1, 0}}, true},
      {"real + i", [&](auto& d) { Add(a, z, d); }, {{1, 1}, {2, 1}, {-4, 1}}, true},
      {"i - real", [&](auto& d) { SubFrom(z, a, d); }, {{-1, 1}, {-2, 1}, {4, 1}}, true},
      {"i / complex", [&](auto& d) { DivideBy(z, c, d); }, {{0.5, 0.5}, {0.5, 0}, {0, -1}}, true},
      {"complex / real scalar", [&](auto& d) { Divide(c, 2.0, d); }, {{0.5, 0.5}, {0, 1}, {-0.5, 0}}, true},
  };
  for (const auto& c : cases) {
    TVec d;
    c.run(d);
    EXPECT_EQ(d.Complex(), c.complex) << c.name;
    EXPECT_EQ(CValues(d), c.expected) << c.name;
  }
}

// Lengths and integer divisors are checked before anything is written; empty operands give empty results.
TEST(VecMath, ChecksComeBeforeWrites) {
  auto pd = NewVec({7, 7});
  TVec& d = *pd;
  try {
    Add(*NewVec({1, 2, 3}), *NewVec({1, 2, 3, 4}), d);
    ADD_FAILURE() << "no exception";
  } catch (const ENubraException& e) {
    EXPECT_STREQ(e.what(), "Add: operand lengths differ (3 and 4)");
  }
  EXPECT_EQ(CValues(d), (std::vector<TCplx>{7, 7})) << "destination changed before the check";
  auto pdi = NewIntVec({9, 9});
  TVecInt& di = *pdi;
  EXPECT_THROW(Mul(*NewIntVec({1}), *NewIntVec({1, 2}), di), ENubraException);
  EXPECT_THROW(Divide(*NewIntVec({1, 2}), *NewIntVec({1, 0}), di), EDivByZero);
  EXPECT_THROW(Divide(*NewIntVec({1, 2}), std::int64_t{0}, di), EDivByZero);
  EXPECT_THROW(DivideBy(5, *NewIntVec({0, 1}), di), EDivByZero);
  EXPECT_EQ(Values(di), (std::vector<int>{9, 9}));
  Add(TVec(), TVec(), d);
  EXPECT_EQ(d.Length(), 0);
  Divide(TVecInt(), TVecInt(), di);
  EXPECT_EQ(di.Length(), 0);
}

TEST(VecMath, DestinationTakesTheShapeOfTheFirstMatrix) {
  TZel m23(2, 3), m32(3, 2);
  m23.SetVal(1);
  m32.SetVal(2);
  const auto pv = NewVec({1, 2, 3, 4, 5, 6});
  const TVec& v = *pv;
  const struct {
    const char* name;
    std::function<void(TZel&)> run;
    int rows, cols;
  } cases[] = {
      {"matrix, matrix", [&](TZel& d) { Add(m23, m32, d); }, 2, 3},
      {"matrix, matrix reversed", [&](TZel& d) { Add(m32, m23, d); }, 3, 2},
      {"vector, matrix", [&](TZel& d) { Mul(v, m32, d); }, 3, 2},
      {"vector, vector", [&](TZel& d) { Sub(v, v, d); }, 1, 6},
      {"scalar", [&](TZel& d) { DivideBy(1.0, m32, d); }, 3, 2},
  };
  for (const auto& c : cases) {
    TZel d(5, 5);
    c.run(d);
    EXPECT_EQ(d.Rows(), c.rows) << c.name;
    EXPECT_EQ(d.Cols(), c.cols) << c.name;
  }
  TVec d;
  Add(m23, 1.0, d);
  EXPECT_EQ(d.Length(), 6);
}

TEST(VecMath, InPlaceAndOverlappingDestinations) {
  auto pa = NewVec({1, 2, 3});
  TVec& a = *pa;
  Add(a, a, a);
  EXPECT_EQ(CValues(a), (std::vector<TCplx>{2, 4, 6}));
  // The destination becomes complex while it is the real operand.
  Mul(a, TCplx(0, 1), a);
  EXPECT_EQ(CValues(a), (std::vector<TCplx>{{0, 2}, {0, 4}, {0, 6}}));
  // A view shifted by one element into the operand.
  auto pb = NewVec({1, 2, 3, 4});
  TVec& b = *pb;
  TVec shifted;
  shifted.SetSubRange(b, 1, 3);
  TVec head;
  head.SetSubRange(b, 0, 3);
  Add(head, 10.0, shifted);
  EXPECT_EQ(CValues(b), (std::vector<TCplx>{1, 11, 12, 13}));

  auto pi = NewIntVec({100, 200}, prUInt8);
  TVecInt& i = *pi;
  Add(i, *NewIntVec({1000, 1}), i);  // promoted to 32 bits in place
  EXPECT_EQ(i.IntPrecision(), prInt32);
  EXPECT_EQ(Values(i), (std::vector<int>{1100, 201}));
}

// Runs one integer kernel: `op` is + - * / on two vectors (b non-empty) or on vector a and scalar s;
// 'f' is s - a and 'b' is s / a.
void RunInt(char op, const TNubraInt& a, const TNubraInt& b, std::int64_t s, TNubraInt& d) {
  const bool scalar = b.Length() == 0;
  switch (op) {
    case '+':
      return scalar ? Add(a, s, d) : Add(a, b, d);
    case '-':
      return scalar ? Sub(a, s, d) : Sub(a, b, d);
    case '*':
      return scalar ? Mul(a, s, d) : Mul(a, b, d);
    case '/':
      return scalar ? Divide(a, s, d) : Divide(a, b, d);
    case 'f':
      return SubFrom(s, a, d);
    default:
      return DivideBy(s, a, d);
  }
}

// Every element is exact first, then saturated to the result's precision.
TEST(VecMath, IntegerResultsSaturate) {
  constexpr int kMax = std::numeric_limits<std::int32_t>::max(),
                kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kHuge = std::int64_t{1} << 40;
  constexpr TIntPrecision I32 = prInt32, I16 = prInt16, U8 = prUInt8;
  const struct {
    char op;
    std::vector<int> a;
    TIntPrecision pa;
    std::vector<int> b;  // empty: the scalar s
    TIntPrecision pb;
    std::int64_t s;
    std::vector<int> expected;
    TIntPrecision p;
  } cases[] = {
      {'+', {kMax, -5}, I32, {1, 3}, I32, 0, {kMax, -2}, I32},
      {'-', {kMin, 5}, I32, {}, I32, 1, {kMin, 4}, I32},
      {'-', {3, 200}, U8, {5, 100}, U8, 0, {0, 100}, U8},
      {'+', {250, 1}, U8, {}, U8, 10, {255, 11}, U8},
      {'*', {300, -300}, I16, {300, 300}, I16, 0, {32767, -32768}, I16},
      {'+', {255}, U8, {-1000}, I16, 0, {-745}, I16},  // the wider precision wins
      {'+', {kMin, 0}, I32, {}, I32, kHuge, {kMax, kMax}, I32},
      {'f', {kMin, kMax}, I32, {}, I32, -kHuge, {kMin, kMin}, I32},
      {'-', {kMax}, I32, {}, I32, (std::int64_t{1} << 32) + 1, {kMin}, I32},
      {'*', {-1, 0, 1}, I32, {}, I32, kHuge, {kMin, 0, kMax}, I32},
      {'*', {-1}, I32, {}, I32, INT64_MIN, {kMax}, I32},
      {'*', {kMin, 7}, I32, {}, I32, -1, {kMax, -7}, I32},
      {'*', {0, 7}, U8, {}, U8, -1, {0, 0}, U8},
      {'/', {7, -7, 7}, I32, {2, 2, -2}, I32, 0, {3, -3, -3}, I32},  // truncated toward zero
      {'/', {kMin}, I32, {}, I32, -1, {kMax}, I32},
      {'/', {kMax}, I32, {}, I32, kHuge, {0}, I32},
      {'b', {1 << 20, -(1 << 20)}, I32, {}, I32, kHuge, {1 << 20, -(1 << 20)}, I32},
      {'b', {-1, 1 << 30}, I32, {}, I32, INT64_MIN, {kMax, kMin}, I32},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    TVecInt d;
    RunInt(c.op, *NewIntVec(c.a, c.pa), *NewIntVec(c.b, c.pb), c.s, d);
    EXPECT_EQ(Values(d), c.expected) << "case " << i;
    EXPECT_EQ(d.IntPrecision(), c.p) << "case " << i;
  }
}

TEST(VecMath, IntegerMatrixDestinationTakesTheMatrixShape) {
  TZelInt m(2, 2, prInt16);
  m.SetVal(3);
  TZelInt d;
  Mul(*NewIntVec({1, 2, 3, 4}), m, d);
  EXPECT_EQ(d.Rows(), 2);
  EXPECT_EQ(d.Cols(), 2);
  EXPECT_EQ(d.IntPrecision(), prInt32);
  EXPECT_EQ(Values(d), (std::vector<int>{3, 6, 9, 12}));
}

TEST(VecMath, RepeatedCallsDoNotAllocate) {
  const auto pa = NewVec({1, 2, 3, 4}), pc = NewCVec({1, 2, 3, 4});
  const auto pia = NewIntVec({1, 2, 3, 4}), pib = NewIntVec({1, 2, 3, 4}, prInt16);
  const TVec &a = *pa, &c = *pc;
  const TVecInt &ia = *pia, &ib = *pib;
  TVec d;
  TZel dm;
  TVecInt di;
  auto run = [&] {
    Add(a, c, d);
    Sub(a, 2.0, d);
    DivideBy(TCplx(1, 1), c, d);
    Mul(a, a, dm);
    Divide(ia, ib, di);
    SubFrom(3, ia, di);
  };
  run();
  AllocationCounter counter;
  run();
  EXPECT_EQ(counter.Count(), 0u);
}

}  // namespace
}  // namespace zel::test
