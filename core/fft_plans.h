// The numeric core's cache of FFTW plans, internal to core/ (fft.cpp uses it; FFTW's own header stays in
// fft_plans.cpp). A transform is described by its kind and shape; the first request of a description
// makes a plan (FFTW_ESTIMATE, so planning takes microseconds and never touches the data), later
// requests reuse it through FFTW's new-array execute functions.
//
// Threads: FFTW's execute functions are thread-safe, its planner is not. The cache is one process-wide
// table guarded by a mutex, so transforms may run on several threads (each expression object is
// single-threaded, several objects may work at once); the mutex is held while a plan is looked up or
// made, never while a transform runs.
#pragma once

#include <cstdint>

namespace zel::detail {

// The kinds of transform. Complex data is interleaved (re, im) doubles.
enum class TTransformKind : std::uint8_t {
  tkForward,     // complex -> complex, e^(-2πi·jk/n), no scaling
  tkBackward,    // complex -> complex, e^(+2πi·jk/n), no scaling
  tkRealToHalf,  // real -> the first n/2+1 complex values of each full-length output row
  tkHalfToReal,  // n/2+1 complex values per row (contiguous) -> n reals; destroys its input
  tkDct2,        // real -> real, FFTW's REDFT10 (unnormalised DCT-II)
  tkDct3,        // real -> real, FFTW's REDFT01 (unnormalised DCT-III)
};

// What one call transforms. Rank 1: each of `rows` contiguous rows of `cols` elements. Rank 2: one
// rows × cols transform of a row-major matrix. Rows of the real-to-half output are `cols` complex values
// long (the spectrum's other half is left for the caller to fill); rows of the half-to-real input are
// cols/2+1 long. `interleaved` (DCTs only, rank 1) transforms the real and imaginary parts of complex
// data separately.
struct TTransformShape {
  TTransformKind kind;
  int rank;
  int rows;
  int cols;
  bool interleaved = false;
};

// Runs the transform from `in` to `out` (they may be the same buffer: an in-place plan). Shapes with no
// elements do nothing. The input of a half-to-real transform is overwritten.
void RunTransform(const TTransformShape& shape, const double* in, double* out);

// The number of plans in the cache (for tests and diagnostics).
int CachedTransformPlans();

}  // namespace zel::detail
