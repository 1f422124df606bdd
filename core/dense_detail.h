// Helpers of the decompositions and matrix functions (decompositions.cpp, matfunc.cpp): per-thread working
// storage that only grows, copies between our row-major matrices and the column-major buffers LAPACK
// works on, and the checks they share. Internal to core/.
//
// A row-major matrix's buffer read column-major is its transpose; several routines exploit that and
// factor the transpose instead of copying element by element.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <type_traits>
#include <vector>

#include <complex>
#ifndef lapack_complex_double  // LAPACKE's complex types as std::complex, as every core file uses them
#define lapack_complex_float std::complex<float>
#define lapack_complex_double std::complex<double>
#endif
#include <lapacke.h>

#include "core/errors.h"
#include "core/nubra.h"

namespace zel::detail {

// Grows v to at least n elements (never shrinks, so a later call of the same size allocates nothing).
template <class T>
T* Room(std::vector<T>& v, std::size_t n) {
  if (v.size() < n) v.resize(n);
  return v.data();
}

// Working storage of the LAPACK calls, one per thread (thread_local in each user): column-major operand
// copies and LAPACK's workspace, for real and for complex data. It only grows.
template <class T>
struct LapackBuffers {
  std::vector<T> a, b, c, work, tau;
};
struct LapackWork {
  LapackBuffers<double> real;
  LapackBuffers<TCplx> complex;
  std::vector<double> w, s, rwork;
  std::vector<lapack_int> ipiv, iwork;

  // The buffers for element type T.
  template <class T>
  LapackBuffers<T>& For() {
    if constexpr (std::is_same_v<T, double>) {
      return real;
    } else {
      return complex;
    }
  }
};

// Element i of a real or complex object as T (a real element as a complex with zero imaginary part).
template <class T>
T ElementAs(const TNubraVec& a, std::size_t i) {
  if constexpr (std::is_same_v<T, double>) {
    return a.PValues()[i];
  } else {
    return a.Complex() ? a.PCValues()[i] : TCplx(a.PValues()[i], 0.0);
  }
}

// a's elements in its own (row-major) order into buf as T: column-major, this is aᵀ.
template <class T>
T* RawCopy(const TZel& a, std::vector<T>& buf) {
  const std::size_t n = static_cast<std::size_t>(a.Length());
  T* p = Room(buf, std::max<std::size_t>(n, 1));
  if (std::is_same_v<T, TCplx> == a.Complex()) {
    if (n) std::memcpy(static_cast<void*>(p), a.PValues(), n * sizeof(T));
  } else {
    for (std::size_t i = 0; i < n; ++i) p[i] = ElementAs<T>(a, i);
  }
  return p;
}

// a column-major into buf as T (leading dimension a.Rows()).
template <class T>
T* ColMajorCopy(const TZel& a, std::vector<T>& buf) {
  const int rows = a.Rows(), cols = a.Cols();
  T* p = Room(buf, std::max<std::size_t>(static_cast<std::size_t>(rows) * cols, 1));
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c)
      p[static_cast<std::size_t>(c) * rows + r] = ElementAs<T>(a, static_cast<std::size_t>(r) * cols + c);
  return p;
}

// dst = the rows × cols matrix whose row-major elements are p[0 .. rows·cols).
template <class T>
void FromRaw(const T* p, int rows, int cols, TZel& dst) {
  dst.Size(rows, cols, std::is_same_v<T, TCplx>);
  const std::size_t n = static_cast<std::size_t>(rows) * cols;
  if (n) std::memcpy(dst.PValues(), static_cast<const void*>(p), n * sizeof(T));
}

// True when no element (no part of a complex one) is NaN or infinite.
inline bool AllFinite(const TNubraVec& a) {
  const double* p = a.PValues();
  for (int i = 0; i < a.ScalarCount(); ++i)
    if (!std::isfinite(p[i])) return false;
  return true;
}

// dst = rows × cols of NaN (complex NaN when asked).
inline void NaNMatrix(TZel& dst, int rows, int cols, bool complex) {
  dst.Size(rows, cols, complex);
  if (complex) {
    dst.SetVal(TCplx(NAN, NAN));
  } else {
    dst.SetVal(NAN);
  }
}

// dst = the n × n identity, complex when asked.
inline void Identity(TZel& dst, int n, bool complex) {
  dst.Size(n, n, complex);
  dst.SetZero();
  for (int i = 0; i < n; ++i) {
    if (complex) {
      dst.CValues(i, i) = 1.0;
    } else {
      dst.Values(i, i) = 1.0;
    }
  }
}

// Raises unless a is square, naming the routine.
inline void CheckSquare(const char* who, const TZel& a) {
  if (a.Rows() != a.Cols()) ERaise(Fmt("%s: the matrix is %d x %d, not square", who, a.Rows(), a.Cols()));
}

}  // namespace zel::detail
