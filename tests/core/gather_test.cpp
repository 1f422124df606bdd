// Gathers by increment, index list and mask, and reversal, on real, complex and integer objects.
#include "core/gather.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/errors.h"
#include "support/alloc_counter.h"

namespace zel {
namespace {

// Objects are not copyable: the factories fill a fresh one in place.
using RealP = std::unique_ptr<TVec>;
using IntP = std::unique_ptr<TVecInt>;
RealP Real(std::vector<double> v) {
  auto r = std::make_unique<TVec>(static_cast<int>(v.size()));
  for (int i = 0; i < r->Length(); ++i) r->Values(i) = v[i];
  return r;
}
RealP Complex(std::vector<TCplx> v) {
  auto r = std::make_unique<TVec>(static_cast<int>(v.size()), true);
  for (int i = 0; i < r->Length(); ++i) r->CValues(i) = v[i];
  return r;
}
IntP Ints(std::vector<int> v, TIntPrecision p = prInt32) {
  auto r = std::make_unique<TVecInt>(static_cast<int>(v.size()), p);
  for (int i = 0; i < r->Length(); ++i) r->Set(i, v[i]);
  return r;
}
std::vector<double> Of(const TVec& v) { return {v.PValues(), v.PValues() + v.ScalarCount()}; }
std::vector<int> Of(const TNubraInt& v) {
  std::vector<int> r;
  for (int i = 0; i < v.Length(); ++i) r.push_back(v.Get(i));
  return r;
}

TEST(GatherByIncr, StridedReadsInBothDirections) {
  const RealP src = Real({0, 1, 2, 3, 4, 5, 6});
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
    EXPECT_EQ(Of(dst), c.expected) << c.offset << " " << c.incr << " " << c.count;
    EXPECT_FALSE(dst.Complex());
  }
  const RealP z = Complex({{1, -1}, {2, -2}, {3, -3}});
  TVec dz;
  GatherByIncr(dz, *z, 2, -2, 2);
  ASSERT_TRUE(dz.Complex());
  EXPECT_EQ(dz.CValues(0), TCplx(3, -3));
  EXPECT_EQ(dz.CValues(1), TCplx(1, -1));
}

TEST(GatherByIncr, EveryReadIsChecked) {
  const RealP src = Real({0, 1, 2, 3});
  const struct {
    int offset, incr, count;
  } bad[] = {{-1, 1, 2}, {4, 1, 1}, {0, 2, 3}, {3, 1, 2}, {1, -1, 3}, {0, 1, -1}};
  for (const auto& c : bad) {
    RealP dst = Real({9});
    EXPECT_THROW(GatherByIncr(*dst, *src, c.offset, c.incr, c.count), ENubraRangeError)
        << c.offset << " " << c.incr << " " << c.count;
    EXPECT_EQ(Of(*dst), std::vector<double>{9}) << "destination changed before the check";
  }
  RealP small = Real({0, 0});
  EXPECT_THROW(GatherByIncr(*small, 1, *src, 0, 1, 2), ENubraRangeError);  // past the destination's end
  RealP z = Complex({{0, 0}, {0, 0}});
  EXPECT_THROW(GatherByIncr(*z, 0, *src, 0, 1, 2), ENubraRangeError);  // complexity differs
}

TEST(GatherByIncr, IntoPartOfAnExistingObjectConvertingPrecision) {
  IntP dst = Ints({7, 7, 7, 7});
  const IntP src = Ints({1, 2, 300}, prInt16);
  GatherByIncr(*dst, 1, *src, 2, -1, 3);
  EXPECT_EQ(Of(*dst), (std::vector<int>{7, 300, 2, 1}));
  IntP bytes = Ints({0, 0}, prUInt8);
  GatherByIncr(*bytes, 0, *src, 1, 1, 2);
  EXPECT_EQ(Of(*bytes), (std::vector<int>{2, 300 & 0xFF}));  // the low bits that fit
}

TEST(GatherByIncr, SourceAndDestinationMayShareStorage) {
  RealP v = Real({0, 1, 2, 3, 4});
  GatherByIncr(*v, *v, 4, -1, 5);
  EXPECT_EQ(Of(*v), (std::vector<double>{4, 3, 2, 1, 0}));
  IntP iv = Ints({0, 1, 2, 3, 4});
  GatherByIncr(*iv, 1, *iv, 0, 1, 4);  // overlapping windows of one buffer
  EXPECT_EQ(Of(*iv), (std::vector<int>{0, 0, 1, 2, 3}));
  // A view of the source as destination: the source's old values are gathered.
  RealP src = Real({0, 1, 2, 3});
  TVec view;
  view.SetSubRange(*src, 0, 2);
  GatherByIncr(view, *src, 3, -1, 2);
  EXPECT_EQ(Of(*src), (std::vector<double>{3, 2, 2, 3}));
}

TEST(GatherByIndex, PicksPositionsOfAnyIndexPrecision) {
  const RealP src = Real({10, 11, 12, 13});
  for (TIntPrecision p : {prInt32, prInt16, prUInt8}) {
    TVec dst;
    GatherByIndex(dst, *src, *Ints({3, 0, 3, 1}, p));
    EXPECT_EQ(Of(dst), (std::vector<double>{13, 10, 13, 11})) << p;
  }
  TVecInt idst;
  GatherByIndex(idst, *Ints({5, 6, 7}, prInt16), *Ints({2, 2}));
  EXPECT_EQ(Of(idst), (std::vector<int>{7, 7}));
  EXPECT_EQ(idst.IntPrecision(), prInt16);
  TVec empty;
  GatherByIndex(empty, *src, *Ints({}));
  EXPECT_EQ(empty.Length(), 0);
}

TEST(GatherByIndex, OutOfRangeIndicesRaiseBeforeWriting) {
  const RealP src = Real({10, 11, 12});
  for (int bad : {-1, 3, 1000}) {
    RealP dst = Real({1});
    EXPECT_THROW(GatherByIndex(*dst, *src, *Ints({0, bad})), ENubraRangeError) << bad;
    EXPECT_EQ(Of(*dst), std::vector<double>{1});
  }
  TVec dst;
  try {
    GatherByIndex(dst, *src, *Ints({0, 5}));
    ADD_FAILURE() << "no exception";
  } catch (const ENubraRangeError& e) {
    EXPECT_STREQ(e.what(), "GatherByIndex: index[1] = 5 out of range 0 <= index < 3");
  }
  TVecInt none;
  EXPECT_THROW(GatherByIndex(none, TVecInt(), *Ints({0})), ENubraRangeError);  // an empty source
}

TEST(GatherByIndex, IndexVectorMayBeTheDestination) {
  IntP x = Ints({2, 0, 1});
  GatherByIndex(*x, *x, *x);
  EXPECT_EQ(Of(*x), (std::vector<int>{1, 2, 0}));
}

TEST(GatherByMask, TakesSetElementsInOrder) {
  const RealP z = Complex({{1, 1}, {2, 2}, {3, 3}});
  TVec dz;
  GatherByMask(dz, *z, *Ints({1, 0, 5}, prUInt8));
  ASSERT_EQ(dz.Length(), 2);
  EXPECT_TRUE(dz.Complex());
  EXPECT_EQ(dz.CValues(1), TCplx(3, 3));
  TVecInt di;
  GatherByMask(di, *Ints({4, 5, 6}, prInt16), *Ints({0, 0, 0}));
  EXPECT_EQ(di.Length(), 0);
  TVec bad;
  EXPECT_THROW(GatherByMask(bad, *z, *Ints({1, 0})), ENubraRangeError);
  EXPECT_THROW(GatherByMask(di, *Ints({1, 2}), *Ints({1, 0, 1})), ENubraRangeError);
}

TEST(Reverse, ReversesEveryKindInPlace) {
  RealP odd = Real({1, 2, 3}), even = Real({1, 2, 3, 4});
  TVec empty;
  Reverse(*odd);
  Reverse(*even);
  Reverse(empty);
  EXPECT_EQ(Of(*odd), (std::vector<double>{3, 2, 1}));
  EXPECT_EQ(Of(*even), (std::vector<double>{4, 3, 2, 1}));
  RealP z = Complex({{1, 2}, {3, 4}});
  Reverse(*z);
  EXPECT_EQ(z->CValues(0), TCplx(3, 4));  // pairs stay intact
  IntP b = Ints({1, 2, 3}, prUInt8);
  Reverse(*b);
  EXPECT_EQ(Of(*b), (std::vector<int>{3, 2, 1}));
}

TEST(Gather, RepeatedGathersOfTheSameSizeReuseTheDestination) {
  const RealP src = Real({0, 1, 2, 3, 4, 5});
  const IntP index = Ints({5, 4}), mask = Ints({1, 0, 1, 0, 1, 0});
  TVec a, b, c;
  GatherByIncr(a, *src, 0, 2, 3);
  GatherByIndex(b, *src, *index);
  GatherByMask(c, *src, *mask);
  test::AllocationCounter counter;
  GatherByIncr(a, *src, 1, 2, 3);
  GatherByIndex(b, *src, *index);
  GatherByMask(c, *src, *mask);
  EXPECT_EQ(counter.Count(), 0u);
  EXPECT_EQ(Of(a), (std::vector<double>{1, 3, 5}));
}

}  // namespace
}  // namespace zel
