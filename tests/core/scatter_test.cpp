// Scatters and fills of the numeric core.
#include "core/scatter.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/errors.h"
#include "support/core_helper.h"

namespace zel::test {
namespace {

TEST(Scatter, ByIncrementBlockIndexAndMask) {
  auto dPtr = NewVec({0, 0, 0, 0, 0});
  TVec& d = *dPtr;
  ScatterByIncr(d, 4, -2, *NewVec({1, 2, 3}));
  EXPECT_EQ(Values(d), (std::vector<double>{3, 0, 2, 0, 1}));

  TZel m(3, 3);
  m.SetZero();
  ScatterBlock(m, 1, 3, 2, 2, *NewVec({1, 2, 3, 4}));  // rows 0..1, columns 1..2
  EXPECT_EQ(Values(m), (std::vector<double>{0, 1, 2, 0, 3, 4, 0, 0, 0}));

  auto iPtr = NewIntVec({0, 0, 0, 0}, prInt16);
  TVecInt& i = *iPtr;
  ScatterByIndex(i, *NewIntVec({3, 1}, prUInt8), *NewIntVec({70000 + 5, 6}));  // keeps the low 16 bits
  EXPECT_EQ(Values(i), (std::vector<int>{0, 6, 0, static_cast<std::int16_t>(70005)}));

  TVec c(3, true);
  c.SetZero();
  ScatterByMask(c, *NewIntVec({1, 0, 1}), *NewVec({7, 8}));  // reals into a complex object
  EXPECT_EQ(Values(c), (std::vector<double>{7, 0, 0, 0, 8, 0}));
}

TEST(Scatter, FillsStopOrRefuseBeforeWriting) {
  auto dPtr = NewVec({0, 0, 0, 0});
  TVec& d = *dPtr;
  FillBlock(d, 0, 3, 2, 1, 5.0);
  EXPECT_EQ(Values(d), (std::vector<double>{5, 0, 0, 5}));
  EXPECT_THROW(FillBlock(d, 1, 3, 2, 1, 9.0), ENubraRangeError);
  EXPECT_THROW(FillBlock(d, 0, 1, 1, 1, TCplx(0, 1)), ENubraException);
  EXPECT_EQ(Values(d), (std::vector<double>{5, 0, 0, 5}));

  EXPECT_EQ(FillByIndex(d, *NewIntVec({2, 4, 1}), 1.0), 1);  // stops at index 4, after writing position 2
  EXPECT_EQ(Values(d), (std::vector<double>{5, 0, 1, 5}));
  EXPECT_EQ(FillByIndex(d, *NewIntVec({0, 3}), 2.0), -1);

  auto bPtr = NewIntVec({1, 0, 1});
  TVecInt& b = *bPtr;
  FillByMask(b, *NewIntVec({0, 1, 1}), 7);
  EXPECT_EQ(Values(b), (std::vector<int>{1, 7, 7}));
  EXPECT_THROW(FillByMask(b, *NewIntVec({1}), 0), ENubraRangeError);
}

TEST(Scatter, SizeAndBoundsErrors) {
  auto dPtr = NewVec({0, 0, 0});
  TVec& d = *dPtr;
  EXPECT_THROW(ScatterByIncr(d, 1, 1, *NewVec({1, 2, 3})), ENubraRangeError);
  EXPECT_THROW(ScatterByIncr(d, 0, -1, *NewVec({1, 2})), ENubraRangeError);
  EXPECT_THROW(ScatterBlock(d, 0, 1, 1, 2, *NewVec({1, 2, 3})), ENubraRangeError);
  EXPECT_THROW(ScatterByIndex(d, *NewIntVec({0, 3}), *NewVec({1, 2})), ENubraRangeError);
  EXPECT_THROW(ScatterByIndex(d, *NewIntVec({0}), *NewVec({1, 2})), ENubraRangeError);
  EXPECT_THROW(ScatterByMask(d, *NewIntVec({1, 1, 0}), *NewVec({1})), ENubraRangeError);
  EXPECT_THROW(ScatterByMask(d, *NewIntVec({1, 1}), *NewVec({1, 2})), ENubraRangeError);
  TVec c(1, true);
  EXPECT_THROW(ScatterByIncr(d, 0, 1, c), ENubraException);
  EXPECT_EQ(Values(d), (std::vector<double>{0, 0, 0})) << "nothing written";
}

// A source, index list or mask that is a view into the destination is read as it was before the call.
TEST(Scatter, SharedStorageIsReadBeforeWriting) {
  auto dPtr = NewVec({1, 2, 3, 4, 5});
  TVec& d = *dPtr;
  TVec view;
  view.SetSubRange(d, 0, 3);
  ScatterByIncr(d, 1, 1, view);
  EXPECT_EQ(Values(d), (std::vector<double>{1, 1, 2, 3, 5}));

  auto vPtr = NewIntVec({2, 0, 1});
  TVecInt& v = *vPtr;
  ScatterByIndex(v, v, *NewIntVec({7, 8, 9}));  // the index list is v itself
  EXPECT_EQ(Values(v), (std::vector<int>{8, 9, 7}));
  auto wPtr = NewIntVec({1, 0, 3});
  TVecInt& w = *wPtr;
  FillByIndex(w, w, 0);  // writes w[1] = 0, then reads the old w[1] = 0 and w[2] = 3 (outside)
  EXPECT_EQ(Values(w), (std::vector<int>{0, 0, 3}));
}

}  // namespace
}  // namespace zel::test
