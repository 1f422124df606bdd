// Comparisons and bit operations of the numeric core (core/compare.h).
#include "core/compare.h"

#include <gtest/gtest.h>

#include "support/core_helper.h"

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "core/errors.h"

namespace zel::test {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr TCompare kAllOps[] = {TCompare::Greater,        TCompare::Less,        TCompare::Equal,
                                TCompare::GreaterOrEqual, TCompare::LessOrEqual, TCompare::NotEqual};

using PVec = std::unique_ptr<TVec>;
using PInts = std::unique_ptr<TVecInt>;

// Expected answers per operator in the order > < = >= <= <>.
struct CplxCase {
  TCplx a, b;
  bool expected[6];
};

TEST(CompareCore, ComplexOrderIsLexicographicAndNaNFalse) {
  const CplxCase cases[] = {
      {{2, 0}, {1, 0}, {1, 0, 0, 1, 0, 1}},
      {{-3, 0}, {1, 0}, {0, 1, 0, 0, 1, 1}},  // reals keep their order (no ordering by magnitude)
      {{1, 2}, {1, 3}, {0, 1, 0, 0, 1, 1}},   // equal real parts: the imaginary parts decide
      {{1, -5}, {1, -5}, {0, 0, 1, 1, 1, 0}},
      {{2, -9}, {1, 9}, {1, 0, 0, 1, 0, 1}},  // the real part decides before the imaginary one
      {{kNaN, 0}, {1, 0}, {0, 0, 0, 0, 0, 1}},
      {{1, kNaN}, {2, 0}, {0, 0, 0, 0, 0, 1}},  // a NaN imaginary part spoils even a clear real order
      {{1, 0}, {1, kNaN}, {0, 0, 0, 0, 0, 1}},
      {{kInf, 1}, {kInf, 1}, {0, 0, 1, 1, 1, 0}},
  };
  for (const auto& c : cases) {
    for (int k = 0; k < 6; ++k)
      EXPECT_EQ(Compare(c.a, kAllOps[k], c.b), c.expected[k])
          << c.a << " " << CompareText(kAllOps[k]) << " " << c.b;
    EXPECT_EQ(Bigger(c.a, c.b), c.expected[0]);
    EXPECT_EQ(Smaller(c.a, c.b), c.expected[1]);
    EXPECT_EQ(Equal(c.a, c.b), c.expected[2]);
    EXPECT_EQ(BiggerOrEqual(c.a, c.b), c.expected[3]);
    EXPECT_EQ(SmallerOrEqual(c.a, c.b), c.expected[4]);
  }
}

TEST(CompareCore, OperatorTexts) {
  for (TCompare op : kAllOps) EXPECT_EQ(CompareFromText(CompareText(op)), op);
  EXPECT_EQ(MessageOf([] { CompareFromText("=>"); }), "Unknown comparison operator \"=>\"");
}

TEST(CompareCore, RealAndComplexMasks) {
  TVecInt mask(3);
  const PVec a = NewVec({1, 2, kNaN}), b = NewVec({2, 2, 1});
  const struct {
    TCompare op;
    std::vector<int> vsVector, vsScalar2;
  } cases[] = {
      {TCompare::Greater, {0, 0, 0}, {0, 0, 0}},     {TCompare::Less, {1, 0, 0}, {1, 0, 0}},
      {TCompare::Equal, {0, 1, 0}, {0, 1, 0}},       {TCompare::GreaterOrEqual, {0, 1, 0}, {0, 1, 0}},
      {TCompare::LessOrEqual, {1, 1, 0}, {1, 1, 0}}, {TCompare::NotEqual, {1, 0, 1}, {1, 0, 1}},
  };
  for (const auto& c : cases) {
    FindMask(mask, *a, c.op, *b);
    EXPECT_EQ(Values(mask), c.vsVector) << CompareText(c.op);
    FindMask(mask, *a, c.op, 2.0);
    EXPECT_EQ(Values(mask), c.vsScalar2) << CompareText(c.op);
  }
  // Complex elements or scalars switch to the complex order.
  const PVec z = NewCVec({{1, 1}, {1, -1}, {0, 5}});
  FindMask(mask, *z, TCompare::Greater, 1.0);
  EXPECT_EQ(Values(mask), (std::vector<int>{1, 0, 0}));
  FindMask(mask, *NewVec({0, 1, 2}), TCompare::Less, TCplx(1, 1));
  EXPECT_EQ(Values(mask), (std::vector<int>{1, 1, 0}));
  FindMask(mask, *z, TCompare::NotEqual, *NewCVec({{1, 1}, {1, 1}, {0, 5}}));
  EXPECT_EQ(Values(mask), (std::vector<int>{0, 1, 0}));
}

TEST(CompareCore, IntegerMasksMixPrecisionsExactly) {
  TVecInt mask(3);
  // 8-bit elements are unsigned: 255 is not below a 32-bit -1.
  FindMask(mask, *NewIntVec({255, 0, 7}, prUInt8), TCompare::Greater, *NewIntVec({-1, 0, 8}));
  EXPECT_EQ(Values(mask), (std::vector<int>{1, 0, 0}));
  FindMask(mask, *NewIntVec({-5, 5, 300}, prInt16), TCompare::LessOrEqual, *NewIntVec({-5, 4, 44}, prUInt8));
  EXPECT_EQ(Values(mask), (std::vector<int>{1, 0, 0}));
  // The 64-bit scalar is not cut to the element width (2^32 would become 0).
  FindMask(mask, *NewIntVec({0, INT32_MAX, -1}), TCompare::Less, std::int64_t{1} << 32);
  EXPECT_EQ(Values(mask), (std::vector<int>{1, 1, 1}));
  FindMask(mask, *NewIntVec({0, 1, 2}, prUInt8), TCompare::NotEqual, std::int64_t{1});
  EXPECT_EQ(Values(mask), (std::vector<int>{1, 0, 1}));
}

TEST(CompareCore, MaskErrors) {
  TVecInt mask(3), small(2), narrow(3, prUInt8);
  const PVec a = NewVec({1, 2, 3});
  EXPECT_EQ(MessageOf([&] {
              FindMask(mask, *a, TCompare::Less, *NewVec({1, 2}));
            }),
            "FindMask: operand lengths differ (3 and 2)");
  EXPECT_EQ(MessageOf([&] {
              FindMask(mask, *NewIntVec({1}), TCompare::Less, *NewIntVec({1, 2}));
            }),
            "FindMask: operand lengths differ (1 and 2)");
  EXPECT_EQ(MessageOf([&] { FindMask(small, *a, TCompare::Less, 1.0); }),
            "FindMask: the mask must hold 3 32-bit elements (it holds 2 of 4 bytes)");
  EXPECT_EQ(MessageOf([&] {
              FindMask(narrow, *NewIntVec({1, 2, 3}), TCompare::Less, std::int64_t{1});
            }),
            "FindMask: the mask must hold 3 32-bit elements (it holds 3 of 1 bytes)");
  TVecInt empty(0);
  EXPECT_NO_THROW(FindMask(empty, TVec(0), TCompare::Equal, TVec(0)));
}

TEST(CompareCore, VectorEqualityWithTolerance) {
  const struct {
    PVec a, b;
    double tol;
    bool equal;
  } cases[] = {
      {NewVec({1, 2}), NewVec({1, 2}), 0, true},
      {NewVec({1, 2}), NewVec({1, 2.001}), 0, false},
      {NewVec({1, 2}), NewVec({1, 2.001}), 0.01, true},
      {NewVec({1, 2}), NewVec({1, 2, 3}), 10, false},
      {NewVec({kNaN}), NewVec({kNaN}), 1, false},
      {NewVec({kInf, -kInf}), NewVec({kInf, -kInf}), 0, true},
      {NewVec({3}), NewCVec({{3, 0}}), 0, true},
      {NewVec({3}), NewCVec({{3, 0.5}}), 0.4, false},  // the magnitude of the difference counts
      {NewCVec({{1, 1}}), NewCVec({{1.3, 1.4}}), 0.5, true},
      {NewVec({}), NewVec({}), 0, true},
  };
  for (const auto& c : cases) EXPECT_EQ(Equal(*c.a, *c.b, c.tol), c.equal);
}

TEST(CompareCore, BitOperationsKeepThePrecision) {
  const struct {
    TIntPrecision p;
    std::vector<int> x;
    void (*op)(TNubraInt&);
    std::vector<int> expected;
  } cases[] = {
      {prInt16, {0, -2}, BinaryNot, {-1, 1}},
      {prUInt8, {12, 255}, [](TNubraInt& x) { BinaryOr(x, -256 + 3); }, {15, 255}},  // low bits only
      {prInt16, {12, 0}, [](TNubraInt& x) { BinaryXor(x, 0x10000 + 10); }, {6, 10}},
      {prInt16, {-8}, [](TNubraInt& x) { BitShiftRight(x, 1); }, {0x7FFC}},
      {prInt32, {-8, 3}, [](TNubraInt& x) { BitShiftLeft(x, 32); }, {0, 0}},
      {prUInt8, {255}, [](TNubraInt& x) { BitShiftRight(x, 8); }, {0}},
      {prInt16, {1}, [](TNubraInt& x) { BitShiftLeft(x, 15); }, {-32768}},
  };
  for (const auto& c : cases) {
    PInts x = NewIntVec(c.x, c.p);
    c.op(*x);
    EXPECT_EQ(x->IntPrecision(), c.p);
    EXPECT_EQ(Values(*x), c.expected);
  }
}

TEST(CompareCore, ElementWiseBitOperations) {
  PInts x = NewIntVec({12, 12, 255}, prUInt8);
  BinaryAnd(*x, *NewIntVec({10, -1, 0x1F0}));
  EXPECT_EQ(Values(*x), (std::vector<int>{8, 12, 0xF0}));
  BinaryOr(*x, *NewIntVec({1, 2, 3}, prInt16));
  EXPECT_EQ(Values(*x), (std::vector<int>{9, 14, 0xF3}));
  BinaryXor(*x, *x);  // the same object on both sides
  EXPECT_EQ(Values(*x), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(MessageOf([&] { BinaryXor(*x, *NewIntVec({1})); }),
            "BinaryXor: operand lengths differ (3 and 1)");
}

}  // namespace
}  // namespace zel::test
