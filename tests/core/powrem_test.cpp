// Powers and remainders: scalar edge cases (signs, zero bases, exact integer powers of complex numbers),
// element-wise shapes and in-place use, and integer remainders (precision, saturation, zero divisors).
#include "core/powrem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/errors.h"
#include "support/core_helper.h"

namespace zel::test {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr std::int64_t kMin64 = std::numeric_limits<std::int64_t>::min();

// Equal, NaN matching NaN; the sign of a real zero or infinity counts too.
void ExpectSame(TCplx actual, TCplx expected, const char* what, bool real = false) {
  for (const auto& [a, e] :
       {std::pair{actual.real(), expected.real()}, std::pair{actual.imag(), expected.imag()}}) {
    if (std::isnan(e)) {
      EXPECT_TRUE(std::isnan(a)) << what << " gave " << a;
    } else {
      EXPECT_EQ(a, e) << what;
      EXPECT_TRUE(!real || std::signbit(a) == std::signbit(e)) << what << ": sign";
    }
  }
}

TEST(PowRemScalar, EdgeCases) {
  const TCplx i(0, 1);
  const struct {
    const char* what;
    double actual, expected;
  } reals[] = {
      {"negative base, fractional exponent", Power(-8.0, 1.0 / 3), NAN},
      {"zero to a negative power", Power(0.0, -1.0), kInf},
      {"odd integer power", IntPower(-2.0, 3), -8},
      {"negative integer power", IntPower(2.0, -2), 0.25},
      {"NaN to the zeroth power", IntPower(NAN, 0), 1},
      {"parity beyond 2^53", IntPower(-1.0, std::numeric_limits<std::int64_t>::max()), -1},
      {"negative zero, odd negative power", IntPower(-0.0, -1), -kInf},
      {"remainder has the dividend's sign", Rem(-7.0, 3.0), -1},
      {"remainder by a negative", Rem(7.0, -3.0), 1},
      {"remainder by zero", Rem(1.0, 0.0), NAN},
  };
  for (const auto& c : reals) ExpectSame(c.actual, c.expected, c.what, true);
  const struct {
    const char* what;
    TCplx actual, expected;
  } complexes[] = {
      {"(1+i)^2 exactly", Power(1.0 + i, 2.0), 2.0 * i},
      {"(1+i)^-2 exactly", IntPower(1.0 + i, -2), -0.5 * i},
      {"i^4 through a complex exponent", Power(i, TCplx(4, 0)), 1},
      {"positive real base stays real", Power(TCplx(4, 0), 0.5), 2},
      {"0^0", Power(TCplx(0, 0), TCplx(0, 0)), 1},
      {"0^(2+i)", Power(TCplx(0, 0), TCplx(2, 1)), 0},
      {"0^(-1+i)", Power(TCplx(0, 0), TCplx(-1, 1)), TCplx(NAN, NAN)},
      {"huge negative power underflows", IntPower(TCplx(3, 4), -1000), 0},
      // (5+3i)/2 = 2.5+1.5i truncates to 2+i; (4+3i)/(1+i) = 3.5-0.5i truncates to 3.
      {"rem by a real", Rem(TCplx(5, 3), TCplx(2, 0)), TCplx(1, 1)},
      {"rem by a complex", Rem(TCplx(4, 3), TCplx(1, 1)), 1},
      {"rem on the real axis", Rem(TCplx(-7, 0), TCplx(3, 0)), -1},
      {"rem by zero", Rem(TCplx(1, 1), TCplx(0, 0)), TCplx(NAN, NAN)},
  };
  for (const auto& c : complexes) ExpectSame(c.actual, c.expected, c.what);
  const TCplx root = Power(TCplx(-8, 0), 1.0 / 3);  // the principal cube root
  EXPECT_NEAR(std::abs(root - TCplx(1, std::sqrt(3.0))), 0, 1e-12);
  EXPECT_NEAR(Power(i, i).real(), std::exp(-M_PI / 2), 1e-15);
}

// Exponents up to 16 are multiplied out: within (m-1) roundings of the exact power (m for a negative
// exponent, whose reciprocal rounds once more), plus the one rounding of the reference itself; a
// subnormal result falls back to pow and is exact.
TEST(PowRemScalar, MultipliedPowersStayWithinTheirBound) {
  const struct {
    double x;
    int n;
    double exact;
  } cases[] = {
#include "reference/integer_powers.inc"
  };
  for (const auto& c : cases) {
    const double got = IntPower(c.x, c.n);
    EXPECT_EQ(Power(c.x, static_cast<double>(c.n)), got) << c.x << "^" << c.n;
    if (!std::isnormal(c.exact)) {
      EXPECT_EQ(got, c.exact) << c.x << "^" << c.n;
      continue;
    }
    const double roundings = std::abs(c.n) - (c.n > 0 ? 1 : 0) + 1;
    EXPECT_LE(std::abs(got - c.exact), roundings * 0x1p-53 * std::abs(c.exact) * (1 + 1e-12))
        << c.x << "^" << c.n;
  }
}

TEST(PowRemElementwise, ShapesInPlaceUseAndLengths) {
  TVec v(3);
  v.Ramp(1, 1);
  TZel m(3, 1), dm;
  m.Ramp(1, 1);
  Power(2.0, m, dm);  // the matrix operand gives the shape
  EXPECT_EQ(dm.Rows(), 3);
  EXPECT_EQ(dm.Cols(), 1);
  EXPECT_EQ(CValues(dm), (std::vector<TCplx>{2, 4, 8}));
  Power(v, v, v);
  EXPECT_EQ(CValues(v), (std::vector<TCplx>{1, 4, 27}));
  // The result turns complex while it is also the base: no value may be overwritten before it is read.
  Power(v, TCplx(1, 0), v);
  EXPECT_TRUE(v.Complex());
  EXPECT_EQ(CValues(v), (std::vector<TCplx>{1, 4, 27}));
  Rem(10.0, m, dm);
  EXPECT_EQ(CValues(dm), (std::vector<TCplx>{0, 0, 1}));
  TVec d;
  EXPECT_THROW(Power(v, TVec(2), d), ENubraException);
}

void Fill(TNubraInt& v, std::vector<int> values) {
  for (int k = 0; k < v.Length(); ++k) v.Set(k, values[k]);
}

TEST(PowRemInteger, PrecisionSaturationAndZeroDivisors) {
  TVecInt a(3, prInt16), b(3, prInt32), u(2, prUInt8), w(2, prInt32), d(2);
  Fill(a, {7, -7, 300});
  Fill(b, {3, 3, -1});
  Fill(u, {200, 100});
  Fill(w, {7, 30});
  Rem(a, b, d);
  EXPECT_EQ(d.IntPrecision(), prInt32);  // the wider operand
  EXPECT_EQ(Values(d), (std::vector<int>{1, -1, 0}));
  Rem(a, 4, d);
  EXPECT_EQ(d.IntPrecision(), prInt16);
  EXPECT_EQ(Values(d), (std::vector<int>{3, -3, 0}));
  Rem(kMin64, b, d);
  EXPECT_EQ(Values(d), (std::vector<int>{-2, -2, 0}));
  Rem(-7, u, d);  // negative remainders do not fit unsigned 8 bits: they saturate to 0
  EXPECT_EQ(Values(d), (std::vector<int>{0, 0}));
  Rem(u, w, u);  // widens while u is also the result
  EXPECT_EQ(u.IntPrecision(), prInt32);
  EXPECT_EQ(Values(u), (std::vector<int>{4, 10}));

  TVecInt zero(2);
  zero.SetZero();
  Fill(d, {9, 9});
  EXPECT_THROW(Rem(u, zero, d), EDivByZero);
  EXPECT_THROW(Rem(u, 0, d), EDivByZero);
  EXPECT_THROW(Rem(5, zero, d), EDivByZero);
  EXPECT_EQ(Values(d), (std::vector<int>{9, 9}));  // untouched
  EXPECT_THROW(Rem(a, u, d), ENubraException);
}

}  // namespace
}  // namespace zel::test
