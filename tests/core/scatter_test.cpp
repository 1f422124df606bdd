// Scatters and fills of the numeric core.
#include "core/scatter.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/errors.h"

namespace zel {
namespace {

// Objects are not copyable: the factories hand out owned ones.
std::unique_ptr<TVec> Real(std::vector<double> v) {
  auto out = std::make_unique<TVec>(static_cast<int>(v.size()));
  for (int i = 0; i < out->Length(); ++i) out->Values(i) = v[i];
  return out;
}
std::unique_ptr<TVecInt> Ints(std::vector<int> v, TIntPrecision p = prInt32) {
  auto out = std::make_unique<TVecInt>(static_cast<int>(v.size()), p);
  for (int i = 0; i < out->Length(); ++i) out->Set(i, v[i]);
  return out;
}

std::vector<double> Of(const TNubraVec& v) { return {v.PValues(), v.PValues() + v.ScalarCount()}; }
std::vector<int> Of(const TNubraInt& v) {
  std::vector<int> out;
  for (int i = 0; i < v.Length(); ++i) out.push_back(v.Get(i));
  return out;
}

TEST(Scatter, ByIncrementBlockIndexAndMask) {
  auto dPtr = Real({0, 0, 0, 0, 0});
  TVec& d = *dPtr;
  ScatterByIncr(d, 4, -2, *Real({1, 2, 3}));
  EXPECT_EQ(Of(d), (std::vector<double>{3, 0, 2, 0, 1}));

  TZel m(3, 3);
  m.SetZero();
  ScatterBlock(m, 1, 3, 2, 2, *Real({1, 2, 3, 4}));  // rows 0..1, columns 1..2
  EXPECT_EQ(Of(m), (std::vector<double>{0, 1, 2, 0, 3, 4, 0, 0, 0}));

  auto iPtr = Ints({0, 0, 0, 0}, prInt16);
  TVecInt& i = *iPtr;
  ScatterByIndex(i, *Ints({3, 1}, prUInt8), *Ints({70000 + 5, 6}));  // keeps the low 16 bits
  EXPECT_EQ(Of(i), (std::vector<int>{0, 6, 0, static_cast<std::int16_t>(70005)}));

  TVec c(3, true);
  c.SetZero();
  ScatterByMask(c, *Ints({1, 0, 1}), *Real({7, 8}));  // reals into a complex object
  EXPECT_EQ(Of(c), (std::vector<double>{7, 0, 0, 0, 8, 0}));
}

TEST(Scatter, FillsStopOrRefuseBeforeWriting) {
  auto dPtr = Real({0, 0, 0, 0});
  TVec& d = *dPtr;
  FillBlock(d, 0, 3, 2, 1, 5.0);
  EXPECT_EQ(Of(d), (std::vector<double>{5, 0, 0, 5}));
  EXPECT_THROW(FillBlock(d, 1, 3, 2, 1, 9.0), ENubraRangeError);
  EXPECT_THROW(FillBlock(d, 0, 1, 1, 1, TCplx(0, 1)), ENubraException);
  EXPECT_EQ(Of(d), (std::vector<double>{5, 0, 0, 5}));

  EXPECT_EQ(FillByIndex(d, *Ints({2, 4, 1}), 1.0), 1);  // stops at index 4, after writing position 2
  EXPECT_EQ(Of(d), (std::vector<double>{5, 0, 1, 5}));
  EXPECT_EQ(FillByIndex(d, *Ints({0, 3}), 2.0), -1);

  auto bPtr = Ints({1, 0, 1});
  TVecInt& b = *bPtr;
  FillByMask(b, *Ints({0, 1, 1}), 7);
  EXPECT_EQ(Of(b), (std::vector<int>{1, 7, 7}));
  EXPECT_THROW(FillByMask(b, *Ints({1}), 0), ENubraRangeError);
}

TEST(Scatter, SizeAndBoundsErrors) {
  auto dPtr = Real({0, 0, 0});
  TVec& d = *dPtr;
  EXPECT_THROW(ScatterByIncr(d, 1, 1, *Real({1, 2, 3})), ENubraRangeError);
  EXPECT_THROW(ScatterByIncr(d, 0, -1, *Real({1, 2})), ENubraRangeError);
  EXPECT_THROW(ScatterBlock(d, 0, 1, 1, 2, *Real({1, 2, 3})), ENubraRangeError);
  EXPECT_THROW(ScatterByIndex(d, *Ints({0, 3}), *Real({1, 2})), ENubraRangeError);
  EXPECT_THROW(ScatterByIndex(d, *Ints({0}), *Real({1, 2})), ENubraRangeError);
  EXPECT_THROW(ScatterByMask(d, *Ints({1, 1, 0}), *Real({1})), ENubraRangeError);
  EXPECT_THROW(ScatterByMask(d, *Ints({1, 1}), *Real({1, 2})), ENubraRangeError);
  TVec c(1, true);
  EXPECT_THROW(ScatterByIncr(d, 0, 1, c), ENubraException);
  EXPECT_EQ(Of(d), (std::vector<double>{0, 0, 0})) << "nothing written";
}

// A source, index list or mask that is a view into the destination is read as it was before the call.
TEST(Scatter, SharedStorageIsReadBeforeWriting) {
  auto dPtr = Real({1, 2, 3, 4, 5});
  TVec& d = *dPtr;
  TVec view;
  view.SetSubRange(d, 0, 3);
  ScatterByIncr(d, 1, 1, view);
  EXPECT_EQ(Of(d), (std::vector<double>{1, 1, 2, 3, 5}));

  auto vPtr = Ints({2, 0, 1});
  TVecInt& v = *vPtr;
  ScatterByIndex(v, v, *Ints({7, 8, 9}));  // the index list is v itself
  EXPECT_EQ(Of(v), (std::vector<int>{8, 9, 7}));
  auto wPtr = Ints({1, 0, 3});
  TVecInt& w = *wPtr;
  FillByIndex(w, w, 0);  // writes w[1] = 0, then reads the old w[1] = 0 and w[2] = 3 (outside)
  EXPECT_EQ(Of(w), (std::vector<int>{0, 0, 3}));
}

}  // namespace
}  // namespace zel
