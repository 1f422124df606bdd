// Helpers for kernels that take real and complex data alike (signal.cpp, cumulative.cpp, polynomial.cpp):
// the data of an object as a typed pointer, chosen once per call so the loops are written once as
// templates. Internal to core/.
#pragma once

#include <complex>

#include "core/nubra.h"

namespace zel::detail {

// Calls f with v's elements as const double* (real data) or const TCplx* (complex data).
template <class F>
void VisitData(const TNubraVec& v, F&& f) {
  if (v.Complex()) {
    f(v.PCValues());
  } else {
    f(v.PValues());
  }
}

// The elements of v as T (double or TCplx; v must have that complexity).
template <class T>
T* DataAs(TNubraVec& v) {
  return reinterpret_cast<T*>(v.PValues());
}

// The element type of a product of elements of types A and B.
template <class A, class B>
using ProductOf = decltype(A{} * B{});

// Complex conjugate that keeps reals real (std::conj of a double gives a complex).
inline double Conj(double x) { return x; }
inline TCplx Conj(TCplx z) { return std::conj(z); }

}  // namespace zel::detail
