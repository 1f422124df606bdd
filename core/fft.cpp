// Fourier, cosine and Hilbert transforms (see fft.h) on top of the plan cache of fft_plans.cpp.
//
// Real data is transformed with FFTW's real-input plans (half the work of a complex transform) and the
// other half of the spectrum is filled from Hermitian symmetry. Scalings are separate passes, as NumPy
// does them. Inputs FFTW would overwrite are first copied into per-thread working storage that only grows,
// so repeated transforms of one size allocate nothing.
#include "core/fft.h"

#include <cmath>
#include <cstring>

#include "core/fft_plans.h"
#include "core/kernel_detail.h"

namespace zel {

namespace {

using detail::RunTransform;
using detail::TTransformKind;
using detail::TTransformShape;

// Working storage for the half spectra that complex-to-real transforms consume, one per thread.
thread_local TVec tHalf;

// Multiplies every number of v (both parts of complex data) by f.
void Scale(TNubraVec& v, double f) {
  double* p = v.PValues();
  const int n = v.ScalarCount();
  for (int i = 0; i < n; ++i) p[i] *= f;
}

// Elements per transform: a row (rank 1) or the whole matrix (rank 2).
int TransformLength(int rank, int rows, int cols) { return rank == 2 ? rows * cols : cols; }

// True when writing dst would destroy src before it is read, unless dst is src itself and `inPlaceOk`.
bool MustBuffer(const TNubraVec& dst, const TNubraVec& src, bool inPlaceOk) {
  return detail::MustBuffer(dst, &src, inPlaceOk);
}

// Completes the spectra of real rows (rank 1) or of a real matrix (rank 2) from the n/2+1 values per row
// the real-input transform wrote: X[k] = conj(X[n-k]), in two dimensions X[r][c] = conj(X[-r][-c]).
void FillConjugateHalf(TCplx* d, int rank, int rows, int cols) {
  for (int r = 0; r < rows; ++r) {
    TCplx* row = d + static_cast<std::size_t>(r) * cols;
    const TCplx* mirror = rank == 2 ? d + static_cast<std::size_t>((rows - r) % rows) * cols : row;
    for (int c = cols / 2 + 1; c < cols; ++c) row[c] = std::conj(mirror[cols - c]);
  }
}

// The forward transform of rank 1 (each row) or 2 (the matrix), into a complex dst.
void Forward(const TNubraVec& src, TNubraVec& dst, int rank) {
  if (MustBuffer(dst, src, src.Complex())) {
    detail::ThroughTemporary(dst, [&](TNubraVec& t) { Forward(src, t, rank); });
    return;
  }
  const int rows = src.Rows(), cols = src.Cols();
  dst.SizeShape(rows, cols, true);
  if (src.Complex()) {
    RunTransform({TTransformKind::tkForward, rank, rows, cols}, src.PValues(), dst.PValues());
  } else {
    RunTransform({TTransformKind::tkRealToHalf, rank, rows, cols}, src.PValues(), dst.PValues());
    FillConjugateHalf(dst.PCValues(), rank, rows, cols);
  }
}

// The inverse transform with its 1/n scaling, into a complex dst. Real data is first widened into dst.
void Backward(const TNubraVec& src, TNubraVec& dst, int rank) {
  if (MustBuffer(dst, src, src.Complex())) {
    detail::ThroughTemporary(dst, [&](TNubraVec& t) { Backward(src, t, rank); });
    return;
  }
  const int rows = src.Rows(), cols = src.Cols();
  dst.SizeShape(rows, cols, true);
  const double* in = src.PValues();
  if (!src.Complex()) {
    TCplx* d = dst.PCValues();
    for (int i = 0; i < src.Length(); ++i) d[i] = TCplx(in[i], 0.0);
    in = dst.PValues();
  }
  RunTransform({TTransformKind::tkBackward, rank, rows, cols}, in, dst.PValues());
  if (const int n = TransformLength(rank, rows, cols)) Scale(dst, 1.0 / n);
}

// The real inverse of a Hermitian spectrum: columns 0 .. cols/2 of each row are copied into working
// storage (FFTW consumes them), then transformed into a real dst and scaled by 1/n.
void ToReal(const TNubraVec& src, TNubraVec& dst, int rank) {
  const int rows = src.Rows(), cols = src.Cols(), half = cols / 2 + 1;
  if (rows == 0 || cols == 0) {
    dst.SizeShape(rows, cols, false);
    return;
  }
  tHalf.Size(rows * half, true);
  TCplx* h = tHalf.PCValues();
  for (int r = 0; r < rows; ++r) {
    const int from = r * cols;
    for (int c = 0; c < half; ++c)
      h[r * half + c] = src.Complex() ? src.CValues(from + c) : TCplx(src.Values(from + c), 0.0);
  }
  dst.SizeShape(rows, cols, false);
  RunTransform({TTransformKind::tkHalfToReal, rank, rows, cols}, tHalf.PValues(), dst.PValues());
  Scale(dst, 1.0 / TransformLength(rank, rows, cols));
}

// Multiplies the first element of every row by `first` and the others by `rest` (both parts of complex
// data).
void ScaleRows(TNubraVec& v, int rows, int cols, double first, double rest) {
  const int w = v.Complex() ? 2 : 1;
  double* p = v.PValues();
  for (int r = 0; r < rows; ++r) {
    double* row = p + static_cast<std::size_t>(r) * cols * w;
    for (int i = 0; i < w; ++i) row[i] *= first;
    for (int i = w; i < cols * w; ++i) row[i] *= rest;
  }
}

}  // namespace

void FFT(const TNubraVec& src, TNubraVec& dst) { Forward(src, dst, 1); }
void IFFT(const TNubraVec& src, TNubraVec& dst) { Backward(src, dst, 1); }
void IFFTToReal(const TNubraVec& src, TNubraVec& dst) { ToReal(src, dst, 1); }
void FFT2D(const TZel& src, TZel& dst) { Forward(src, dst, 2); }
void IFFT2D(const TZel& src, TZel& dst) { Backward(src, dst, 2); }
void IFFT2DToReal(const TZel& src, TZel& dst) { ToReal(src, dst, 2); }

void DCT(const TNubraVec& src, TNubraVec& dst) {
  if (MustBuffer(dst, src, true)) {
    detail::ThroughTemporary(dst, [&](TNubraVec& t) { DCT(src, t); });
    return;
  }
  const int rows = src.Rows(), cols = src.Cols();
  dst.SizeShape(rows, cols, src.Complex());
  RunTransform({TTransformKind::tkDct2, 1, rows, cols, src.Complex()}, src.PValues(), dst.PValues());
  if (cols > 0) ScaleRows(dst, rows, cols, std::sqrt(0.25 / cols), std::sqrt(0.5 / cols));
}

void IDCT(const TNubraVec& src, TNubraVec& dst) {
  if (MustBuffer(dst, src, true)) {
    detail::ThroughTemporary(dst, [&](TNubraVec& t) { IDCT(src, t); });
    return;
  }
  const int rows = src.Rows(), cols = src.Cols();
  if (&dst != &src) {
    dst.SizeShape(rows, cols, src.Complex());
    std::memcpy(dst.PValues(), src.PValues(), sizeof(double) * src.ScalarCount());
  }
  // The orthonormal weights go onto the input of FFTW's unnormalised DCT-III, which runs in place.
  if (cols > 0) ScaleRows(dst, rows, cols, std::sqrt(1.0 / cols), std::sqrt(0.5 / cols));
  RunTransform({TTransformKind::tkDct3, 1, rows, cols, src.Complex()}, dst.PValues(), dst.PValues());
}

void Hilbert(const TNubraVec& src, TNubraVec& dst) {
  Forward(src, dst, 1);
  const int rows = dst.Rows(), n = dst.Cols();
  for (int r = 0; r < rows; ++r) {
    TCplx* row = dst.PCValues() + static_cast<std::size_t>(r) * n;
    // h: 1 at 0 and (even n) at n/2, 2 strictly between, 0 above.
    for (int k = 1; k < (n + 1) / 2; ++k) row[k] *= 2.0;
    for (int k = n / 2 + 1; k < n; ++k) row[k] = 0.0;
  }
  Backward(dst, dst, 1);
}

}  // namespace zel
