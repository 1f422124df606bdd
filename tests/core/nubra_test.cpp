// Dense containers: storage reuse, views, complexity, shapes, copies and real/integer conversion.
#include "core/nubra.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <limits>
#include <tuple>
#include <vector>

#include "core/errors.h"
#include "support/core_helper.h"

namespace zel::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Throws;
using ::testing::ThrowsMessage;
using Doubles = std::vector<double>;
using Ints = std::vector<int>;

// A real vector holding the given values.
struct Vec : TVec {
  Vec(std::initializer_list<double> values) : TVec(static_cast<int>(values.size())) {
    std::copy(values.begin(), values.end(), PValues());
  }
};

TEST(NubraStorage, SizesWithinCapacityNeverReallocate) {
  TVec v(100);
  TZel m(10, 10);
  TVecInt iv(100, prInt32);
  const void* before[] = {v.PValues(), m.PValues(), iv.PIValues()};
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(before[0]) % 64, 0u);
  v.Size(10);
  v.Resize(100);
  v.Size(50, true);  // 50 complex values = 100 doubles
  v.SetComplex(false);
  v.Size(50);
  v.ExtendToComplex();
  m.Resize(5, 20);
  m.Resize(20, 5);
  iv.SetIntPrecision(prUInt8);
  iv.Size(400);
  iv.Size(100, prInt32);
  EXPECT_EQ((std::vector<const void*>{v.PValues(), m.PValues(), iv.PIValues()}),
            (std::vector<const void*>(before, before + 3)));

  EXPECT_THAT([] { TVec(-1); }, ThrowsMessage<ENubraRangeError>(HasSubstr("-1")));
  EXPECT_THAT([] { TZel(2, -3); }, ThrowsMessage<ENubraRangeError>(HasSubstr("2 x -3")));
  EXPECT_THAT([] { TZel(INT_MAX, 4); }, Throws<ENubraRangeError>());
  EXPECT_THAT([] { TZelInt(2, 2).Resize(-1, 2); }, Throws<ENubraRangeError>());
}

TEST(NubraView, WritesReachTheSourceUntilTheViewGrows) {
  Vec src{0, 1, 2, 3, 4, 5};
  TVec view;
  view.SetSubRange(src, 2, 3);
  view.Copy(Vec{7, 8});  // shrinking keeps the view
  EXPECT_EQ(Values(src), (Doubles{0, 1, 7, 8, 4, 5}));
  view.Resize(4);
  view.Values(0) = 99;
  EXPECT_EQ(Values(view), (Doubles{99, 8, 0, 0}));
  EXPECT_EQ(src.Values(2), 7);
  for (auto [index, len] : std::vector<std::pair<int, int>>{{-1, 2}, {0, -1}, {4, 3}, {INT_MAX, 1}})
    EXPECT_THAT([&] { view.SetSubRange(src, index, len); },
                ThrowsMessage<ENubraRangeError>(HasSubstr("Length = 6")));

  TVec w(8);
  const double* own = w.PValues();
  w.SetSubRange(src, 0, 3);
  w.SetFullRange();
  EXPECT_EQ(w.Length(), 0);
  w.Size(8);
  EXPECT_EQ(w.PValues(), own);
}

TEST(NubraView, CopiesBetweenAViewAndItsSource) {
  Vec src{0, 1, 2, 3, 4, 5, 6, 7};
  TVec view;
  view.SetSubRange(src, 2, 4);
  src.Copy(view);
  EXPECT_EQ(Values(src), (Doubles{2, 3, 4, 5}));
  view.SetSubRange(src, 1, 2);
  view.Copy(src);  // the view must grow: it detaches holding all of src
  EXPECT_EQ(Values(view), Values(src));
  Vec x{0, 1, 2, 3, 4, 5, 6, 7};
  TVec right, left;
  right.SetSubRange(x, 2, 6);
  left.SetSubRange(x, 0, 5);
  right.Copy(left);  // two overlapping windows of one buffer
  EXPECT_EQ(Values(x), (Doubles{0, 1, 0, 1, 2, 3, 4, 7}));

  TVecInt isrc(4, prInt16);
  isrc.Ramp(10, 1);
  TVecInt iview;
  iview.SetSubRange(isrc, 1, 2);
  iview.Set(0, -7);
  iview.SetIntPrecision(prInt32);  // detaches rather than rewriting the source's elements
  EXPECT_EQ(Values(iview), (Ints{-7, 12}));
  EXPECT_EQ(Values(isrc), (Ints{10, -7, 12, 13}));
}

TEST(NubraComplex, SetComplexPairsRealsAndHalvesMatrixColumns) {
  Vec v{1, 2, 3, 4, 5, 6};
  v.SetComplex(true);
  EXPECT_EQ(v.CValues(2), TCplx(5, 6));
  EXPECT_THROW(Vec({1, 2, 3}).SetComplex(true), ENubraException);
  TZel fromVec(5, 5);
  fromVec.Copy(v);
  EXPECT_EQ(fromVec.Rows() * 10 + fromVec.Cols(), 13);

  TZel m(2, 4);
  m.Ramp(1, 1);
  m.SetComplex(true);
  EXPECT_EQ(m.Cols(), 2);
  EXPECT_EQ(m.CValues(1, 1), TCplx(7, 8));
  TZel oddCols(2, 3);  // even length, but pairs would straddle rows
  EXPECT_THROW(oddCols.SetComplex(true), ENubraException);
  EXPECT_EQ(oddCols.Cols() * 10 + oddCols.Length(), 36);
  oddCols.Ramp(1, 1);
  oddCols.ExtendToComplex();
  EXPECT_EQ(Values(oddCols), (Doubles{1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0}));
}

TEST(NubraCopy, BlockBoundsAndOverlap) {
  TVec src(6);
  TVec dst(4);
  for (auto [si, di, len] : std::vector<std::array<int, 3>>{{-1, 0, 1}, {0, 0, -1}, {3, 0, 4}, {0, 2, 3}})
    EXPECT_THAT(
        [&] { dst.Copy(src, si, di, len); },
        ThrowsMessage<ENubraRangeError>(HasSubstr(Fmt(
            "srcIndex = %d, index = %d, len = %d out of range (src.Length = 6, Length = 4)", si, di, len))));
  EXPECT_THROW(dst.Copy(TVec(4, true), 0, 0, 1), ENubraException);

  Vec v{0, 1, 2, 3, 4, 5, 6, 7};
  v.Copy(v, 0, 2, 5);
  EXPECT_EQ(Values(v), (Doubles{0, 1, 0, 1, 2, 3, 4, 7}));
  TVec tail;
  tail.SetSubRange(v, 3, 5);
  v.Copy(tail, 0, 0, 5);
  EXPECT_EQ(Values(v), (Doubles{1, 2, 3, 4, 7, 3, 4, 7}));

  TZel m(4, 4);
  m.Ramp(0, 1);
  m.Copy(m, 0, 0, 1, 1, 3, 3);  // down-right over itself
  EXPECT_EQ(m.Values(3, 3), 10);
  m.Copy(m, 1, 1, 0, 0, 3, 3);  // and back up-left
  EXPECT_EQ(m.Values(0, 0) + m.Values(2, 2), 10);
  EXPECT_THAT([&] { TZel(2, 2).Copy(m, 3, 0, 0, 0, 2, 1); },
              ThrowsMessage<ENubraRangeError>(HasSubstr("(source 4 x 4, destination 2 x 2)")));

  TZelInt a(2, 3, prInt16);
  a.Ramp(-3, 1);
  TZelInt b(3, 3, prUInt8);
  b.SetZero();
  b.Copy(a, 0, 1, 1, 0, 2, 2);  // converts each element's precision
  EXPECT_EQ(Values(b), (Ints{0, 0, 0, 254, 255, 0, 1, 2, 0}));
}

TEST(NubraShape, ResizeKeepsEachRowCol) {
  const auto value = [](int r, int c) { return 10 * r + c + 1; };
  const std::vector<std::array<int, 4>> shapes = {{3, 4, 5, 6}, {3, 4, 2, 2}, {3, 4, 4, 2},
                                                  {3, 4, 2, 6}, {0, 0, 2, 3}, {1, 1, 3, 1}};
  for (auto [r0, c0, r1, c1] : shapes) {
    TZel m(r0, c0, true);
    TZelInt im(r0, c0, prInt16);
    for (int r = 0; r < r0; ++r)
      for (int c = 0; c < c0; ++c) {
        m.CValues(r, c) = TCplx(value(r, c), -value(r, c));
        im.Set(r, c, value(r, c));
      }
    m.Resize(r1, c1);
    im.Resize(r1, c1);
    ASSERT_EQ(m.Rows() * 100 + m.Cols(), r1 * 100 + c1);
    for (int r = 0; r < r1; ++r)
      for (int c = 0; c < c1; ++c) {
        const int expected = r < r0 && c < c0 ? value(r, c) : 0;
        EXPECT_EQ(m.CValues(r, c), TCplx(expected, -expected)) << r0 << "x" << c0 << " at " << r << "," << c;
        EXPECT_EQ(im.Get(r, c), expected) << r0 << "x" << c0 << " at " << r << "," << c;
      }
  }
}

// Through the bases: a vector is one row; SizeShape gives a matrix the shape and a vector the count; a
// matrix keeps its shape when the complex flag reinterprets it.
TEST(NubraShape, RowsAndColsThroughTheBases) {
  TVec v(5);
  TZel m(2, 3);
  TVecInt iv(4);
  TZelInt im(3, 2);
  const TNubra* objects[] = {&v, &m, &iv, &im};
  const int expected[][3] = {{0, 1, 5}, {1, 2, 3}, {0, 1, 4}, {1, 3, 2}};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(objects[k]->IsMatrix(), expected[k][0] != 0) << k;
    EXPECT_EQ(objects[k]->Rows(), expected[k][1]) << k;
    EXPECT_EQ(objects[k]->Cols(), expected[k][2]) << k;
  }
  TNubraVec& vb = v;
  TNubraVec& mb = m;
  vb.SizeShape(2, 4, false);
  mb.SizeShape(4, 2, true);
  EXPECT_EQ(v.Length(), 8);
  EXPECT_EQ(mb.Rows() * 10 + mb.Cols(), 42);
  static_cast<TNubraInt&>(im).SizeShape(1, 7, prUInt8);
  EXPECT_EQ(im.Rows() * 10 + im.Cols(), 17);
}

TEST(NubraRamp, EachKind) {
  TVec v(4);
  v.Ramp(0.5, 0.25);
  EXPECT_EQ(Values(v), (Doubles{0.5, 0.75, 1.0, 1.25}));
  v.Ramp(TCplx(1, -1), TCplx(0, 2));
  EXPECT_EQ(v.CValues(3), TCplx(1, 5));
  v.Ramp(2, 1);  // real ramp on complex data: imaginary parts zero
  EXPECT_EQ(v.CValues(1), TCplx(3, 0));
  const std::vector<std::tuple<TIntPrecision, int, int, Ints>> cases = {
      {prInt32, INT32_MAX - 1, 1, {INT32_MAX - 1, INT32_MAX, INT32_MIN, INT32_MIN + 1}},
      {prInt16, 32766, 1, {32766, 32767, -32768, -32767}},
      {prUInt8, 2, -1, {2, 1, 0, 255}}};
  for (const auto& [p, start, step, expected] : cases) {
    TVecInt iv(4, p);
    iv.Ramp(start, step);
    EXPECT_EQ(Values(iv), expected) << "precision " << int(p);
  }
}

TEST(NubraInt, AccessAndPrecisionChanges) {
  TVecInt v(6, prInt32);
  const Ints values = {70000, -1, 300, -129, 65535, 0};
  for (int i = 0; i < 6; ++i) v.Set(i, values[i]);
  EXPECT_THAT([&] { v.Get(6); }, ThrowsMessage<ENubraRangeError>(HasSubstr("Index 6")));
  EXPECT_THAT([&] { v.Set(-1, 0); }, Throws<ENubraRangeError>());
  v.SetIntPrecision(prInt16);
  EXPECT_EQ(Values(v), (Ints{4464, -1, 300, -129, -1, 0}));
  v.SetIntPrecision(prUInt8);
  EXPECT_EQ(Values(v), (Ints{112, 255, 44, 127, 255, 0}));
  v.Resize(2);  // keeps the leading elements
  EXPECT_EQ(Values(v), (Ints{112, 255}));
  for (auto [from, to] : std::vector<std::pair<TIntPrecision, TIntPrecision>>{
           {prUInt8, prInt32}, {prUInt8, prInt16}, {prInt16, prInt32}}) {
    TVecInt w(200, from);
    w.Ramp(from == prInt16 ? -100 : 0, 1);
    const Ints before = Values(w);
    w.SetIntPrecision(to);
    EXPECT_EQ(Values(w), before);
  }
}

TEST(NubraInt, RealToIntRoundsTruncatesAndSaturates) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  constexpr auto R = TRounding::rnRound;
  constexpr auto T = TRounding::rnTrunc;
  const std::vector<std::tuple<double, TRounding, TIntPrecision, int>> cases = {
      {2.5, R, prInt32, 2},
      {-2.5, R, prInt32, -2},
      {3.5, R, prInt32, 4},
      {-0.6, R, prInt32, -1},
      {-2.7, T, prInt32, -2},
      {1e10, R, prInt32, INT32_MAX},
      {-1e300, T, prInt32, INT32_MIN},
      {nan, R, prInt32, 0},
      {32767.6, R, prInt16, 32767},
      {-40000, T, prInt16, -32768},
      {255.5, R, prUInt8, 255},
      {-0.4, R, prUInt8, 0},
      {0.5, R, prUInt8, 0},
      {1.5, R, prUInt8, 2},
      {nan, T, prUInt8, 0}};
  for (const auto& [x, rounding, p, expected] : cases) {
    TVecInt a, b(0, p);
    Vec{x}.CopyToInt(a, rounding, p);
    b.CopyFromReal(Vec{x}, rounding);
    EXPECT_EQ(a.IntPrecision(), p);
    EXPECT_EQ(Values(a), Ints{expected}) << x << " precision " << int(p);
    EXPECT_EQ(Values(b), Ints{expected}) << x << " precision " << int(p);
  }

  TZel m(2, 3);
  m.Ramp(-1.5, 1);
  TZelInt im(7, 7, prUInt8);
  m.CopyToInt(im, R, prInt16);
  EXPECT_EQ(im.Rows() * 10 + im.Cols(), 23);
  EXPECT_EQ(Values(im), (Ints{-2, 0, 0, 2, 2, 4}));  // halves to even
  EXPECT_THAT([&] { TVec(2, true).CopyToInt(im, R, prInt32); },
              ThrowsMessage<ENubraException>(HasSubstr("complex data cannot be converted to integers")));
}

}  // namespace
}  // namespace zel::test
