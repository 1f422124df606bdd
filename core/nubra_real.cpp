// Real and complex vectors and matrices: sizing, complexity, copies, ramps and conversion from integers.
#include <algorithm>
#include <cstring>
#include <vector>

#include "core/errors.h"
#include "core/nubra.h"
#include "core/nubra_detail.h"

namespace zel {

namespace {

std::size_t ElementBytes(bool complex) { return complex ? sizeof(TCplx) : sizeof(double); }

}  // namespace

// ---- TNubraVec ----

void TNubraVec::SizeElements(int len, bool complex, bool zeroNew) {
  detail::CheckLength("Size", len);
  const std::size_t oldBytes = static_cast<std::size_t>(ScalarCount()) * sizeof(double);
  const std::size_t newBytes = static_cast<std::size_t>(len) * ElementBytes(complex);
  const std::size_t keep = std::min(oldBytes, newBytes);
  // A view that does not grow stays a window on its source; anything else goes through Reserve.
  if (!fView || newBytes > oldBytes) Reserve(newBytes, keep);
  if (zeroNew && newBytes > keep) std::memset(static_cast<std::byte*>(fData) + keep, 0, newBytes - keep);
  fLength = len;
  fComplex = complex;
}

void TNubraVec::SetComplex(bool value) {
  if (value == fComplex) return;
  const int oldLength = fLength;
  if (value) {
    if (fLength % 2 != 0)
      ERaise(Fmt("SetComplex: a real object of odd length (%d) cannot hold complex pairs", fLength));
    fLength /= 2;
  } else {
    fLength *= 2;
  }
  fComplex = value;
  try {
    ComplexChanged(value);
  } catch (...) {
    // The shape refused the change (a matrix with an odd column count): undo it.
    fLength = oldLength;
    fComplex = !value;
    throw;
  }
}

TNubraPrecision TNubraVec::FloatPrecision() const {
  if (fComplex) return fSingle ? npSingleComplex : npDoubleComplex;
  return fSingle ? npSingle : npDouble;
}

void TNubraVec::SetFloatPrecision(TNubraPrecision p) {
  if (p > npDoubleComplex) ERaise(Fmt("Invalid floating precision %d", static_cast<int>(p)));
  const bool complex = p == npSingleComplex || p == npDoubleComplex;
  if (complex != fComplex) SizeElements(fLength, complex, false);
  fSingle = p == npSingle || p == npSingleComplex;
}

void TNubraVec::SetZero() { std::fill_n(PValues(), ScalarCount(), 0.0); }

void TNubraVec::SetVal(double x) {
  if (fComplex) {
    std::fill_n(PCValues(), fLength, TCplx(x, 0.0));
  } else {
    std::fill_n(PValues(), fLength, x);
  }
}

void TNubraVec::SetVal(TCplx z) {
  if (!fComplex) SizeElements(fLength, true, false);
  std::fill_n(PCValues(), fLength, z);
}

void TNubraVec::ExtendToComplex() {
  if (fComplex) return;
  const int n = fLength;
  SizeElements(n, true, false);  // keeps the n reals at the front of the (re, im) buffer
  double* d = PValues();
  // Spread backwards: pair i lands at 2i, 2i+1, never below the reals still to be read.
  for (int i = n - 1; i >= 0; --i) {
    const double re = d[i];
    d[2 * i] = re;
    d[2 * i + 1] = 0.0;
  }
}

void TNubraVec::Copy(const TNubraVec& src) {
  if (&src == this) return;
  const std::size_t bytes = static_cast<std::size_t>(src.ScalarCount()) * sizeof(double);
  const double* from = src.PValues();
  // The source may live in this object's storage (a view of it), which sizing may move or free.
  std::vector<double> temp;
  if (detail::Overlaps(from, bytes, fOwn.get(), fCapacity) ||
      detail::Overlaps(from, bytes, fData, static_cast<std::size_t>(ScalarCount()) * sizeof(double))) {
    if (!fView && bytes <= fCapacity) {
      // The buffer stays where it is: move the values within it, no temporary (no allocation).
      SizeElements(src.fLength, src.fComplex, false);
      fSingle = src.fSingle;
      if (bytes > 0 && from != fData) std::memmove(fData, from, bytes);
      return;
    }
    temp.assign(from, from + src.ScalarCount());
    from = temp.data();
  }
  SizeElements(src.fLength, src.fComplex, false);
  fSingle = src.fSingle;
  if (bytes > 0) std::memcpy(fData, from, bytes);
}

void TNubraVec::Copy(const TNubraVec& src, int srcIndex, int index, int len) {
  detail::CheckBlock("Copy", srcIndex, index, len, src.fLength, fLength);
  if (src.fComplex != fComplex)
    ERaise(Fmt("Copy: source is %s but destination is %s", src.fComplex ? "complex" : "real",
               fComplex ? "complex" : "real"));
  const std::size_t es = ElementBytes(fComplex);
  if (len > 0)
    std::memmove(static_cast<std::byte*>(fData) + index * es,
                 static_cast<const std::byte*>(src.fData) + srcIndex * es, len * es);
}

void TNubraVec::Ramp(double start, double step) {
  if (fComplex) {
    TCplx* c = PCValues();
    for (int i = 0; i < fLength; ++i) c[i] = TCplx(start + i * step, 0.0);
  } else {
    double* d = PValues();
    for (int i = 0; i < fLength; ++i) d[i] = start + i * step;
  }
}

void TNubraVec::Ramp(TCplx start, TCplx step) {
  if (!fComplex) SizeElements(fLength, true, false);
  TCplx* c = PCValues();
  for (int i = 0; i < fLength; ++i) c[i] = start + static_cast<double>(i) * step;
}

void TNubraVec::CopyFromInt(const TNubraInt& src) {
  SizeElements(src.Length(), false, false);
  double* d = PValues();
  const int n = fLength;
  src.Visit([d, n](const auto* s) {
    for (int i = 0; i < n; ++i) d[i] = static_cast<double>(s[i]);
  });
}

void TNubraVec::CopyToInt(TNubraInt& dst, TRounding rounding, TIntPrecision p) const {
  if (fComplex) ERaise("CopyToInt: complex data cannot be converted to integers");
  IntPrecisionBytes(p);  // validates p
  // Only the precision tag matters here; the old elements are overwritten, so none are converted.
  if (dst.fPrecision != p) dst.SizeElements(0, p, false);
  dst.CopyFromReal(*this, rounding);
}

// ---- TVec ----

void TVec::SetSubRange(TNubraVec& src, int index, int len) {
  if (index < 0 || len < 0 || static_cast<long long>(index) + len > src.Length())
    throw ENubraRangeError(
        Fmt("SetSubRange: index = %d, len = %d out of range (src.Length = %d)", index, len, src.Length()));
  double* base = src.PValues();
  const int scalarsPerElement = src.Complex() ? 2 : 1;
  const bool single = src.FloatPrecision() == npSingle || src.FloatPrecision() == npSingleComplex;
  PointInto(src, base == nullptr ? nullptr : base + static_cast<std::size_t>(index) * scalarsPerElement);
  fLength = len;
  fComplex = src.Complex();
  fSingle = single;
}

void TVec::SetFullRange() { LeaveView(); }

// ---- TZel ----

void TNubraVec::SizeShape(int rows, int cols, bool complex) {
  if (fMatrix) return static_cast<TZel*>(this)->Size(rows, cols, complex);
  SizeElements(detail::ShapeLength("Size", rows, cols), complex, false);
}

void TZel::Size(int rows, int cols, bool complex) {
  SizeElements(detail::ShapeLength("Size", rows, cols), complex, false);
  fRows = rows;
  fCols = cols;
}

void TZel::Resize(int rows, int cols) {
  detail::ShapeLength("Resize", rows, cols);
  ReshapeMatrix(fRows, fCols, rows, cols, ElementBytes(fComplex));
  fRows = rows;
  fCols = cols;
}

void TZel::Copy(const TNubraVec& src) {
  if (&src == this) return;
  const int rows = src.Rows();
  const int cols = src.Cols();
  TNubraVec::Copy(src);
  fRows = rows;
  fCols = cols;
}

void TZel::Copy(const TZel& src, int srcRow, int srcCol, int row, int col, int rows, int cols) {
  detail::CheckBlock2D(srcRow, srcCol, row, col, rows, cols, src.fRows, src.fCols, fRows, fCols);
  if (src.fComplex != fComplex)
    ERaise(Fmt("Copy: source is %s but destination is %s", src.fComplex ? "complex" : "real",
               fComplex ? "complex" : "real"));
  const std::size_t es = ElementBytes(fComplex);
  if (rows == 0 || cols == 0) return;
  detail::CopyBlock(
      static_cast<std::byte*>(fData) + (static_cast<std::size_t>(row) * fCols + col) * es, fCols,
      static_cast<const std::byte*>(src.fData) + (static_cast<std::size_t>(srcRow) * src.fCols + srcCol) * es,
      src.fCols, rows, cols, es);
}

void TZel::CopyFromInt(const TNubraInt& src) {
  const int rows = src.Rows();
  const int cols = src.Cols();
  TNubraVec::CopyFromInt(src);
  fRows = rows;
  fCols = cols;
}

void TZel::ComplexChanged(bool toComplex) {
  if (toComplex) {
    if (fCols % 2 != 0)
      ERaise(Fmt("SetComplex: a real matrix with an odd number of columns (%d) cannot hold complex pairs",
                 fCols));
    fCols /= 2;
  } else {
    fCols *= 2;
  }
}

}  // namespace zel
