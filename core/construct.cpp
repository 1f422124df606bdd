// Special vectors and matrices (see construct.h). Each is filled element by element from its defining
// formula; the real Kronecker product is the core's outer product (linalg.h).
#include "core/construct.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/errors.h"
#include "core/linalg.h"

namespace zel {

namespace {

// The primes below 1000, sieved at compile time.
constexpr std::array<int, PrimeCount> kPrimes = [] {
  std::array<bool, 1000> composite{};
  std::array<int, PrimeCount> primes{};
  int count = 0;
  for (int i = 2; i < 1000; ++i) {
    if (composite[i]) continue;
    primes[count++] = i;
    for (int k = i * i; k < 1000; k += i) composite[k] = true;
  }
  return primes;
}();

// Raises for a negative order or size.
void CheckSize(const char* who, int n) {
  if (n < 0) throw ENubraRangeError(Fmt("%s: negative size %d", who, n));
}

// The range of an integer precision's elements.
std::int64_t LowestOf(TIntPrecision p) { return p == prInt32 ? INT32_MIN : p == prInt16 ? INT16_MIN : 0; }
std::int64_t HighestOf(TIntPrecision p) { return p == prInt32 ? INT32_MAX : p == prInt16 ? INT16_MAX : 255; }

// The wider of two precisions (32-bit > 16-bit > unsigned 8-bit).
TIntPrecision Wider(TIntPrecision a, TIntPrecision b) {
  const auto rank = [](TIntPrecision p) { return p == prInt32 ? 2 : p == prInt16 ? 1 : 0; };
  return rank(a) >= rank(b) ? a : b;
}

}  // namespace

void Eye(TZel& dst, int rows, int cols) {
  dst.Size(rows, cols, false);
  dst.SetZero();
  for (int i = 0; i < std::min(rows, cols); ++i) dst.Values(i, i) = 1.0;
}

void PrimeNumbers(TVec& dst, int n) {
  if (n < 0 || n > PrimeCount)
    throw ENubraRangeError(Fmt("PrimeNumbers: %d primes asked for, the table holds %d", n, PrimeCount));
  dst.Size(n, false);
  for (int i = 0; i < n; ++i) dst.Values(i) = kPrimes[i];
}

void Hankel(const TVec& c, TZel& dst) {
  const int n = c.Length();
  const bool complex = c.Complex();
  dst.Size(n, n, complex);
  dst.SetZero();
  for (int i = 0; i < n; ++i)
    for (int j = 0; i + j < n; ++j) {
      if (complex) {
        dst.CValues(i, j) = c.CValues(i + j);
      } else {
        dst.Values(i, j) = c.Values(i + j);
      }
    }
}

void Toeplitz(const TVec& r, TZel& dst) {
  const int n = r.Length();
  dst.Size(n, n, r.Complex());
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      if (!r.Complex()) {
        dst.Values(i, j) = r.Values(std::abs(j - i));
      } else {
        dst.CValues(i, j) = j >= i ? r.CValues(j - i) : std::conj(r.CValues(i - j));
      }
    }
}

void Kac(TZel& dst, int n) {
  CheckSize("Kac", n);
  dst.Size(n + 1, n + 1, false);
  dst.SetZero();
  for (int i = 0; i < n; ++i) {
    dst.Values(i, i + 1) = i + 1;
    dst.Values(i + 1, i) = n - i;
  }
}

void Pascl(TZel& dst, int n) {
  CheckSize("Pascl", n);
  dst.Size(n, n, false);
  // binomial(i+j, i) = binomial(i+j-1, i-1) + binomial(i+j-1, i): each element the sum of the one above
  // and the one to the left (exact while the values stay below 2^53).
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      dst.Values(i, j) = i == 0 || j == 0 ? 1.0 : dst.Values(i - 1, j) + dst.Values(i, j - 1);
}

void VanderMonde(int cols, const TVec& x, TZel& dst) {
  CheckSize("VanderMonde", cols);
  const int rows = x.Length();
  const bool complex = x.Complex();
  dst.Size(rows, cols, complex);
  // From the last column (x^0) leftwards, one multiplication per element, as repeated products give.
  for (int i = 0; i < rows; ++i)
    for (int j = cols - 1; j >= 0; --j) {
      const bool last = j == cols - 1;
      if (complex) {
        dst.CValues(i, j) = last ? TCplx(1.0, 0.0) : dst.CValues(i, j + 1) * x.CValues(i);
      } else {
        dst.Values(i, j) = last ? 1.0 : dst.Values(i, j + 1) * x.Values(i);
      }
    }
}

void Kron(const TVec& a, const TVec& b, TZel& dst) { TensorProd(a, b, dst); }

void Kron(const TVecInt& a, const TVecInt& b, TZelInt& dst) {
  const int m = a.Length(), n = b.Length();
  const TIntPrecision p = Wider(a.IntPrecision(), b.IntPrecision());
  const std::int64_t lo = LowestOf(p), hi = HighestOf(p);
  dst.Size(m, n, p);
  for (int i = 0; i < m; ++i)
    for (int j = 0; j < n; ++j) {
      const std::int64_t v = static_cast<std::int64_t>(a.Get(i)) * b.Get(j);
      dst.Set(i, j, static_cast<std::int32_t>(std::clamp(v, lo, hi)));
    }
}

}  // namespace zel
