// Special vectors and matrices of the numeric core: identity, the first primes, Hankel, Toeplitz, Kac
// (Clement), Pascal and Vandermonde matrices, and the Kronecker product of two vectors. Each routine sizes
// dst and fills every element; sizes must not be negative (ENubraRangeError).
#pragma once

#include "core/nubra.h"

namespace zel {

// rows × cols with dst(i, i) = 1 and zeros elsewhere.
void Eye(TZel& dst, int rows, int cols);
// The first n primes (2, 3, 5, ...); n may be at most PrimeCount, the number of primes below 1000.
inline constexpr int PrimeCount = 168;
void PrimeNumbers(TVec& dst, int n);
// n × n, n = c.Length(): dst(i, j) = c(i+j) for i+j < n, else 0 (c is the first column, zeros below the
// anti-diagonal).
void Hankel(const TVec& c, TZel& dst);
// n × n, n = r.Length(): dst(i, j) = r(j-i) for j >= i and conj(r(i-j)) for i > j (r is the first row;
// Hermitian when r(0) is real).
void Toeplitz(const TVec& r, TZel& dst);
// The Kac (Clement) matrix of order n, (n+1) × (n+1): dst(i, i+1) = i+1 and dst(i+1, i) = n-i, zeros
// elsewhere. Its eigenvalues are -n, -n+2, ..., n.
void Kac(TZel& dst, int n);
// The symmetric Pascal matrix, n × n: dst(i, j) = binomial(i+j, i).
void Pascl(TZel& dst, int n);
// length(x) × cols with decreasing powers: dst(i, j) = x(i)^(cols-1-j).
void VanderMonde(int cols, const TVec& x, TZel& dst);
// Kronecker product of two vectors as an a.Length() × b.Length() matrix: dst(i, j) = a(i)·b(j) (the
// flat, row-major sequence is a ⊗ b). Integer vectors: the wider precision of the two, each product
// saturated to its range.
void Kron(const TVec& a, const TVec& b, TZel& dst);
void Kron(const TVecInt& a, const TVecInt& b, TZelInt& dst);

}  // namespace zel
