// Core kernels of the library functions: element-wise maps with shared storage, converting block copies.
#include <gtest/gtest.h>

#include "core/elemmath.h"
#include "support/core_helper.h"

namespace zel::test {
namespace {

TEST(ElemMath, InPlaceAndOverlappingDestinations) {
  TVec v(2, true);
  v.CValues(0) = {3, 4};
  v.CValues(1) = {0, -1};
  MapElements(v, v, elem::Abs);  // complex to real in the same object
  EXPECT_FALSE(v.Complex());
  EXPECT_EQ(Values(v), (std::vector<double>{5, 1}));

  TVec w(4);
  for (int i = 0; i < 4; ++i) w.Values(i) = i + 1;
  TVec view;
  view.SetSubRange(w, 1, 3);        // 2, 3, 4
  MapElements(view, w, elem::Sqr);  // the source lives in the destination's storage
  EXPECT_EQ(Values(w), (std::vector<double>{4, 9, 16}));

  TZel m(2, 3);
  m.SetVal(-4);
  TZel out;
  MapElements(m, out, elem::Sqrt);
  EXPECT_EQ(out.Rows(), 2);
  EXPECT_EQ(out.Cols(), 3);
  TVec zeros(3);
  zeros.SetZero();
  TZel fromVector;
  MapElements(zeros, fromVector, elem::Exp);  // a vector source gives a 1 x n matrix
  EXPECT_EQ(fromVector.Rows(), 1);
  EXPECT_EQ(Values(fromVector), (std::vector<double>{1, 1, 1}));
}

TEST(ElemMath, BlockCopiesConvert) {
  TZel dst(2, 3, true);
  dst.SetZero();
  TZel src(2, 1);
  src.Values(0) = 1;
  src.Values(1) = 2;
  CopyBlockInto(src, 2, dst, 1, 3);  // real column widened into complex column 1
  EXPECT_EQ(CValues(dst), (std::vector<TCplx>{0, 1, 0, 0, 2, 0}));

  TVecInt bytes(2, prUInt8);
  bytes.Set(0, 200);
  bytes.Set(1, 7);
  TZelInt wide(2, 2, prInt16);
  wide.SetZero();
  CopyBlockInto(bytes, 2, wide, 0, 2);  // 8-bit rows into a 16-bit matrix, first column
  EXPECT_EQ(Values(wide), (std::vector<int>{200, 0, 7, 0}));

  TVec reals(3);
  TVecInt ints(2);
  ints.Set(0, -5);
  ints.Set(1, 6);
  CopyBlockInto(ints, 1, reals, 1, 2);
  EXPECT_EQ(reals.Values(1), -5);
  EXPECT_EQ(reals.Values(2), 6);
}

TEST(ElemMath, BlockCopiesRefuseWhatDoesNotFit) {
  TVec dst(4), src(3), cplx(1, true);
  const char* const outside = "CopyBlockInto: 1 x 3 block with stride 3 at offset 2 exceeds 4 elements";
  EXPECT_EQ(MessageOf([&] { CopyBlockInto(src, 1, dst, 2, 3); }), outside);
  EXPECT_EQ(MessageOf([&] { CopyBlockInto(src, 2, dst, 0, 2); }),
            "CopyBlockInto: 3 elements cannot form 2 rows at offset 0");
  EXPECT_EQ(MessageOf([&] { CopyBlockInto(TVec(4), 2, dst, 0, 1); }),
            "CopyBlockInto: 2 x 2 block with stride 1 at offset 0 exceeds 4 elements");
  EXPECT_EQ(MessageOf([&] { CopyBlockInto(cplx, 1, dst, 0, 1); }),
            "CopyBlockInto: complex data cannot be copied into a real destination");
  TVec view;
  view.SetSubRange(dst, 0, 2);
  EXPECT_EQ(MessageOf([&] { CopyBlockInto(view, 1, dst, 2, 2); }),
            "CopyBlockInto: source and destination share storage");
  EXPECT_NO_THROW(CopyBlockInto(TVec(), 0, dst, 4, 0));  // nothing to place at the end
}

}  // namespace
}  // namespace zel::test
