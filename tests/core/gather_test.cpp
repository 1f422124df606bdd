// Gathers by increment, index list and mask, and reversal, on real, complex and integer objects.
#include "core/gather.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/errors.h"
#include "support/alloc_counter.h"
#include "support/core_helper.h"

namespace zel::test {
namespace {

TEST(GatherByIncr, StridedReadsInBothDirections) {
  const auto src = NewVec({0, 1, 2, 3, 4, 5, 6});
  const struct {
    int offset, incr, count;
    std::vector<double> expected;
  } cases[] = {
      {0, 1, 7, {0, 1, 2, 3, 4, 5, 6}},
      {1, 2, 3, {1, 3, 5}},
      {6, -3, 3, {6, 3, 0}},
      {2, 0, 3, {2, 2, 2}},
      {5, 1, 0, {}},
      {6, -1, 1, {6}},
  };
  for (const auto& c : cases) {
    TVec dst;
    GatherByIncr(dst, *src, c.offset, c.incr, c.count);
    EXPECT_EQ(Values(dst), c.expected) << c.offset << " " << c.incr << " " << c.count;
    EXPECT_FALSE(dst.Complex());
  }
  const auto z = NewCVec({{1, -1}, {2, -2}, {3, -3}});
  TVec dz;
  GatherByIncr(dz, *z, 2, -2, 2);
  ASSERT_TRUE(dz.Complex());
  EXPECT_EQ(dz.CValues(0), TCplx(3, -3));
  EXPECT_EQ(dz.CValues(1), TCplx(1, -1));
}

TEST(GatherByIncr, EveryReadIsChecked) {
  const auto src = NewVec({0, 1, 2, 3});
  const struct {
    int offset, incr, count;
  } bad[] = {{-1, 1, 2}, {4, 1, 1}, {0, 2, 3}, {3, 1, 2}, {1, -1, 3}, {0, 1, -1}};
  for (const auto& c : bad) {
    auto dst = NewVec({9});
    EXPECT_THROW(GatherByIncr(*dst, *src, c.offset, c.incr, c.count), ENubraRangeError)
        << c.offset << " " << c.incr << " " << c.count;
    EXPECT_EQ(Values(*dst), std::vector<double>{9}) << "destination changed before the check";
  }
  auto small = NewVec({0, 0});
  EXPECT_THROW(GatherByIncr(*small, 1, *src, 0, 1, 2), ENubraRangeError);  // past the destination's end
  auto z = NewCVec({{0, 0}, {0, 0}});
  EXPECT_THROW(GatherByIncr(*z, 0, *src, 0, 1, 2), ENubraRangeError);  // complexity differs
}

TEST(GatherByIncr, IntoPartOfAnExistingObjectConvertingPrecision) {
  auto dst = NewIntVec({7, 7, 7, 7});
  const auto src = NewIntVec({1, 2, 300}, prInt16);
  GatherByIncr(*dst, 1, *src, 2, -1, 3);
  EXPECT_EQ(Values(*dst), (std::vector<int>{7, 300, 2, 1}));
  auto bytes = NewIntVec({0, 0}, prUInt8);
  GatherByIncr(*bytes, 0, *src, 1, 1, 2);
  EXPECT_EQ(Values(*bytes), (std::vector<int>{2, 300 & 0xFF}));  // the low bits that fit
}

TEST(GatherByIncr, SourceAndDestinationMayShareStorage) {
  auto v = NewVec({0, 1, 2, 3, 4});
  GatherByIncr(*v, *v, 4, -1, 5);
  EXPECT_EQ(Values(*v), (std::vector<double>{4, 3, 2, 1, 0}));
  auto iv = NewIntVec({0, 1, 2, 3, 4});
  GatherByIncr(*iv, 1, *iv, 0, 1, 4);  // overlapping windows of one buffer
  EXPECT_EQ(Values(*iv), (std::vector<int>{0, 0, 1, 2, 3}));
  // A view of the source as destination: the source's old values are gathered.
  auto src = NewVec({0, 1, 2, 3});
  TVec view;
  view.SetSubRange(*src, 0, 2);
  GatherByIncr(view, *src, 3, -1, 2);
  EXPECT_EQ(Values(*src), (std::vector<double>{3, 2, 2, 3}));
}

TEST(GatherByIndex, PicksPositionsOfAnyIndexPrecision) {
  const auto src = NewVec({10, 11, 12, 13});
  for (TIntPrecision p : {prInt32, prInt16, prUInt8}) {
    TVec dst;
    GatherByIndex(dst, *src, *NewIntVec({3, 0, 3, 1}, p));
    EXPECT_EQ(Values(dst), (std::vector<double>{13, 10, 13, 11})) << p;
  }
  TVecInt idst;
  GatherByIndex(idst, *NewIntVec({5, 6, 7}, prInt16), *NewIntVec({2, 2}));
  EXPECT_EQ(Values(idst), (std::vector<int>{7, 7}));
  EXPECT_EQ(idst.IntPrecision(), prInt16);
  TVec empty;
  GatherByIndex(empty, *src, *NewIntVec({}));
  EXPECT_EQ(empty.Length(), 0);
}

TEST(GatherByIndex, OutOfRangeIndicesRaiseBeforeWriting) {
  const auto src = NewVec({10, 11, 12});
  for (int bad : {-1, 3, 1000}) {
    auto dst = NewVec({1});
    EXPECT_THROW(GatherByIndex(*dst, *src, *NewIntVec({0, bad})), ENubraRangeError) << bad;
    EXPECT_EQ(Values(*dst), std::vector<double>{1});
  }
  TVec dst;
  try {
    GatherByIndex(dst, *src, *NewIntVec({0, 5}));
    ADD_FAILURE() << "no exception";
  } catch (const ENubraRangeError& e) {
    EXPECT_STREQ(e.what(), "GatherByIndex: index[1] = 5 out of range 0 <= index < 3");
  }
  TVecInt none;
  EXPECT_THROW(GatherByIndex(none, TVecInt(), *NewIntVec({0})), ENubraRangeError);  // an empty source
}

TEST(GatherByIndex, IndexVectorMayBeTheDestination) {
  auto x = NewIntVec({2, 0, 1});
  GatherByIndex(*x, *x, *x);
  EXPECT_EQ(Values(*x), (std::vector<int>{1, 2, 0}));
}

TEST(GatherByMask, TakesSetElementsInOrder) {
  const auto z = NewCVec({{1, 1}, {2, 2}, {3, 3}});
  TVec dz;
  GatherByMask(dz, *z, *NewIntVec({1, 0, 5}, prUInt8));
  ASSERT_EQ(dz.Length(), 2);
  EXPECT_TRUE(dz.Complex());
  EXPECT_EQ(dz.CValues(1), TCplx(3, 3));
  TVecInt di;
  GatherByMask(di, *NewIntVec({4, 5, 6}, prInt16), *NewIntVec({0, 0, 0}));
  EXPECT_EQ(di.Length(), 0);
  TVec bad;
  EXPECT_THROW(GatherByMask(bad, *z, *NewIntVec({1, 0})), ENubraRangeError);
  EXPECT_THROW(GatherByMask(di, *NewIntVec({1, 2}), *NewIntVec({1, 0, 1})), ENubraRangeError);
}

TEST(Reverse, ReversesEveryKindInPlace) {
  auto odd = NewVec({1, 2, 3}), even = NewVec({1, 2, 3, 4});
  TVec empty;
  Reverse(*odd);
  Reverse(*even);
  Reverse(empty);
  EXPECT_EQ(Values(*odd), (std::vector<double>{3, 2, 1}));
  EXPECT_EQ(Values(*even), (std::vector<double>{4, 3, 2, 1}));
  auto z = NewCVec({{1, 2}, {3, 4}});
  Reverse(*z);
  EXPECT_EQ(z->CValues(0), TCplx(3, 4));  // pairs stay intact
  auto b = NewIntVec({1, 2, 3}, prUInt8);
  Reverse(*b);
  EXPECT_EQ(Values(*b), (std::vector<int>{3, 2, 1}));
}

TEST(Gather, RepeatedGathersOfTheSameSizeReuseTheDestination) {
  const auto src = NewVec({0, 1, 2, 3, 4, 5});
  const auto index = NewIntVec({5, 4}), mask = NewIntVec({1, 0, 1, 0, 1, 0});
  TVec a, b, c;
  GatherByIncr(a, *src, 0, 2, 3);
  GatherByIndex(b, *src, *index);
  GatherByMask(c, *src, *mask);
  AllocationCounter counter;
  GatherByIncr(a, *src, 1, 2, 3);
  GatherByIndex(b, *src, *index);
  GatherByMask(c, *src, *mask);
  EXPECT_EQ(counter.Count(), 0u);
  EXPECT_EQ(Values(a), (std::vector<double>{1, 3, 5}));
}

}  // namespace
}  // namespace zel::test
