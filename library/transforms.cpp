// Fourier, cosine and Hilbert transforms: fft, ifft, iffttoreal (a vector, or each row of a matrix),
// fft2d, ifft2d, ifft2dtoreal (a whole matrix), dct and idct (with the third spellings Dct and Idct) and
// hilbert (a vector). The numerics are the core's (core/fft.h, FFTW with cached plans); each routine
// writes into the node's own result object, so repeated evaluation of one size allocates nothing.
#include "core/fft.h"
#include "lang/operators/dispatch.h"
#include "lang/words/registration.h"
#include "library/families.h"

namespace zel {

namespace {

using namespace dispatch;

// A transform of a vector or of each row of a matrix; the result has the argument's kind.
template <void (*Op)(const TNubraVec&, TNubraVec&)>
struct RowTransform {
  static void Vector(TExprRec& e) { Op(e.Args[0]->VectorValue(), e.Res->VectorValue()); }
  static void Matrix(TExprRec& e) { Op(e.Args[0]->MatrixValue(), e.Res->MatrixValue()); }

  static constexpr UnaryCells kCells = [] {
    UnaryCells t{};
    Set(t, {V}, V, Vector);
    Set(t, {M}, M, Matrix);
    return t;
  }();
  static void Routine(TExprRec& e) { Dispatch(e, kCells); }
};

// A two-dimensional transform of a matrix.
template <void (*Op)(const TZel&, TZel&)>
struct MatrixTransform {
  static void Matrix(TExprRec& e) { Op(e.Args[0]->MatrixValue(), e.Res->MatrixValue()); }

  static constexpr UnaryCells kCells = [] {
    UnaryCells t{};
    Set(t, {M}, M, Matrix);
    return t;
  }();
  static void Routine(TExprRec& e) { Dispatch(e, kCells); }
};

// hilbert takes vectors only.
void HilbertOfVector(TExprRec& e) { Hilbert(e.Args[0]->VectorValue(), e.Res->VectorValue()); }

constexpr UnaryCells kHilbertCells = [] {
  UnaryCells t{};
  Set(t, {V}, V, HilbertOfVector);
  return t;
}();

void _Hilbert(TExprRec& e) { Dispatch(e, kHilbertCells); }

constexpr TFunctionEntry kTransforms[] = {
    {"fft", "FFT", RowTransform<FFT>::Routine, 1, "fft(x): returns 1D FFT of vector or of rows of matrices."},
    {"ifft", "IFFT", RowTransform<IFFT>::Routine, 1,
     "ifft(x): returns 1D Inverse FFT of vector or of rows of matrices."},
    {"iffttoreal", "IFFTToReal", RowTransform<IFFTToReal>::Routine, 1,
     "ifftoreal(x): returns 1D Inverse real FFT of vector or rows of matrices.",
     "IFFTToReal(x): returns 1D Inverse real FFT of vector or rows of matrices."},
    {"fft2d", "FFT2D", MatrixTransform<FFT2D>::Routine, 1, "fft2d(x): returns 2D FFT of matrix x."},
    {"ifft2d", "IFFT2D", MatrixTransform<IFFT2D>::Routine, 1,
     "ifft2d(x): returns 2D Inverse FFT of matrix x."},
    {"ifft2dtoreal", "IFFT2DToReal", MatrixTransform<IFFT2DToReal>::Routine, 1,
     "ifft2dtoreal(x): returns 2D Inverse real FFT of matrix x."},
    {"dct", "DCT", RowTransform<DCT>::Routine, 1, "dct(x): returns discrete cosine transform of x"},
    {"Dct", nullptr, RowTransform<DCT>::Routine, 1, "Dct(x): returns discrete cosine transform of x"},
    {"idct", "IDCT", RowTransform<IDCT>::Routine, 1,
     "idct(x): returns inverse discrete cosine transform of x"},
    {"Idct", nullptr, RowTransform<IDCT>::Routine, 1,
     "Idct(x): returns inverse discrete cosine transform of x"},
    {"hilbert", "Hilbert", _Hilbert, 1,
     "hilbert(x): returns the hilbert transform of vector x or rows in matrix x."},
};

}  // namespace

void RegisterTransformFunctions(TWordList& words) { RegisterFunctions(words, kTransforms); }

}  // namespace zel
