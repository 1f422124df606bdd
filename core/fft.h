// Fourier, cosine and Hilbert transforms of the numeric core, computed with FFTW (plans cached per size
// and kind, see fft_plans.h).
//
// The one-dimensional transforms act on a vector, or on each row of a matrix; dst takes src's shape
// (a vector destination its element count). Real sources count as complex data with zero imaginary parts.
// Conventions (the same as NumPy's numpy.fft and SciPy's scipy.fft with norm="ortho" for the DCT):
//
//   FFT:        X[k] = Σ_j x[j]·e^(-2πi·jk/n)                  (no scaling; the full complex spectrum)
//   IFFT:       x[j] = (1/n)·Σ_k X[k]·e^(+2πi·jk/n)
//   IFFTToReal: the real x whose spectrum is Hermitian and begins with X[0 .. n/2] (the rest of X is not
//               read, and the imaginary parts of X[0] and, for even n, X[n/2] are ignored); the output has
//               n elements, so IFFTToReal(FFT(x)) = x for real x of any length (NumPy's irfft(X[:n//2+1], n))
//   DCT:        y[k] = f(k)·Σ_j 2·x[j]·cos(πk(2j+1)/(2n)),  f(0) = √(1/(4n)), f(k) = √(1/(2n))  (DCT-II)
//   IDCT:       x[j] = y[0]/√n + √(2/n)·Σ_{k≥1} y[k]·cos(πk(2j+1)/(2n))                 (DCT-III)
//   Hilbert:    the analytic signal IFFT(h·FFT(x)), h = 1 at k = 0 (and at n/2 for even n), 2 for
//               0 < k < n/2, 0 above (scipy.signal.hilbert); its imaginary part is the Hilbert transform
//
// The two-dimensional forms transform a whole matrix (rows, then columns); the scalings are 1/(rows·cols).
// dst may be src or share its storage.
#pragma once

#include "core/nubra.h"

namespace zel {

void FFT(const TNubraVec& src, TNubraVec& dst);
void IFFT(const TNubraVec& src, TNubraVec& dst);
// dst is real.
void IFFTToReal(const TNubraVec& src, TNubraVec& dst);

void FFT2D(const TZel& src, TZel& dst);
void IFFT2D(const TZel& src, TZel& dst);
// dst is real: the 2-D analogue of IFFTToReal (columns 0 .. cols/2 of src are read).
void IFFT2DToReal(const TZel& src, TZel& dst);

// Orthonormal DCT-II and its inverse; complex data has its real and imaginary parts transformed apart.
void DCT(const TNubraVec& src, TNubraVec& dst);
void IDCT(const TNubraVec& src, TNubraVec& dst);

// Analytic signal of each row (complex result).
void Hilbert(const TNubraVec& src, TNubraVec& dst);

}  // namespace zel
