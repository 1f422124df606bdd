// Dense vectors and matrices of the numeric core: real/complex (TVec, TZel) and integer (TVecInt, TZelInt).
//
// Storage is one contiguous, 64-byte aligned buffer per object. Real objects hold doubles; with the
// Complex flag set the same buffer holds (re, im) pairs, so setting Complex on a real vector of length 2n
// gives n complex values. Integer objects hold 32-bit, 16-bit or 8-bit unsigned elements, chosen by their
// precision tag. Matrices are row-major. Resizing to a size that fits the capacity never allocates.
//
// A view (SetSubRange) points into another object's buffer without copying; it owns nothing and turns
// into an object with storage of its own as soon as it has to grow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "core/cplx.h"

namespace zel {

// Element width of integer objects. The ordinals are stored in files.
enum TIntPrecision : std::uint8_t { prInt32 = 0, prInt16 = 1, prUInt8 = 2 };

// Floating precision tag of real objects. Storage is always double; the tag is kept for hosts and files.
enum TNubraPrecision : std::uint8_t { npSingle = 0, npDouble = 1, npSingleComplex = 2, npDoubleComplex = 3 };

// How real values become integers.
// How real values become integers: to the nearest (halves to even, as scalar round and roundtoint do) or
// towards zero.
enum class TRounding : std::uint8_t { rnRound, rnTrunc };

int IntPrecisionBytes(TIntPrecision p);

// The largest buffer one vector or matrix may hold. A request beyond it (or one the system cannot satisfy)
// raises ENubraException "Not enough memory ..." instead of allocating, so a host can bound what a script may
// take. Default: no limit of our own.
void SetMaxObjectBytes(std::size_t bytes);
std::size_t MaxObjectBytes();

class TNubraVec;
class TNubraInt;

// Base of all dense objects: the buffer, the element count and the view state.
class TNubra {
 public:
  TNubra() = default;
  TNubra(const TNubra&) = delete;  // objects are copied explicitly with Copy
  TNubra& operator=(const TNubra&) = delete;
  virtual ~TNubra();

  int Length() const { return fLength; }
  // The shape: a matrix's rows and columns; a vector is one row of Length elements (as in products, in
  // a copy into a matrix and under transpose, which gives a Length x 1 matrix).
  bool IsMatrix() const { return fMatrix; }
  int Rows() const { return fMatrix ? fRows : 1; }
  int Cols() const { return fMatrix ? fCols : fLength; }
  bool IsView() const { return fView; }
  // False for a view whose source has since moved its storage (grown, reallocated, or become a view of
  // something else): reading it would touch freed memory. Objects that are not views are always current.
  bool ViewIsCurrent() const;
  // Bytes the object can hold without allocating.
  std::size_t Capacity() const { return fCapacity; }

  // Binary save and load (layout documented in docs/numbers.md). Loading keeps the object's kind.
  virtual void SaveToStream(std::ostream& s) const = 0;
  virtual void LoadFromStream(std::istream& s) = 0;

  // Text: vectors one element per line; matrices one row per line with `delimiter` between columns.
  // `align` pads columns to equal width; `headers` adds an index column (and a column-index line for
  // matrices).
  virtual void ValuesToStrings(std::vector<std::string>& dst, const std::string& delimiter = "\t",
                               bool align = false, bool headers = false) const = 0;
  // Parses lines written as above (without headers). Vectors read every delimited value of every line.
  virtual void StringsToValues(const std::vector<std::string>& src, const std::string& delimiter = "\t") = 0;

 protected:
  // Makes room for `bytes` bytes keeping the first `keep` bytes. A view gets storage of its own.
  void Reserve(std::size_t bytes, std::size_t keep);
  // Points this object into the storage of `source` (at `data`, inside it).
  void PointInto(const TNubra& source, void* data);
  // Drops a view and returns to the object's own (possibly empty) storage.
  void LeaveView();
  // Gives a row-major matrix of `es`-byte elements the shape rows × cols, keeping each (row, col) that
  // remains and zeroing new elements; oldRows × oldCols is the current shape.
  void ReshapeMatrix(int oldRows, int oldCols, int rows, int cols, std::size_t es);

  struct AlignedDelete {
    void operator()(std::byte* p) const;
  };

  void* fData = nullptr;
  // A view's source and the source's storage when the view was made, to tell whether it is still valid.
  const TNubra* fViewSource = nullptr;
  const void* fViewSourceData = nullptr;
  std::unique_ptr<std::byte[], AlignedDelete> fOwn;
  std::size_t fCapacity = 0;  // bytes in fOwn
  int fLength = 0;
  int fRows = 0;  // matrices only
  int fCols = 0;
  bool fMatrix = false;  // set once by the matrix classes' constructors
  bool fView = false;
};

// Real or complex storage shared by TVec and TZel.
class TNubraVec : public TNubra {
 public:
  bool Complex() const { return fComplex; }
  // Reinterprets the buffer: a real object of length 2n becomes n complex values and back.
  void SetComplex(bool value);
  TNubraPrecision FloatPrecision() const;
  // Sets the precision tag; switching between real and complex keeps the length (values undefined).
  void SetFloatPrecision(TNubraPrecision p);

  double* PValues() { return static_cast<double*>(fData); }
  const double* PValues() const { return static_cast<const double*>(fData); }
  TCplx* PCValues() { return static_cast<TCplx*>(fData); }
  const TCplx* PCValues() const { return static_cast<const TCplx*>(fData); }
  double& Values(int i) { return PValues()[i]; }
  double Values(int i) const { return PValues()[i]; }
  TCplx& CValues(int i) { return PCValues()[i]; }
  const TCplx& CValues(int i) const { return PCValues()[i]; }
  // Number of doubles in use: Length, or 2·Length for complex data.
  int ScalarCount() const { return fComplex ? 2 * fLength : fLength; }

  void SetZero();
  void SetVal(double x);
  // A real object becomes complex (same length) before it is filled.
  void SetVal(TCplx z);
  void ExtendToComplex();

  // Takes the source's size, complexity, precision tag and values (matrices also take the shape).
  virtual void Copy(const TNubraVec& src);
  void Assign(const TNubraVec& src) { Copy(src); }
  // Copies `len` elements from src[srcIndex] to this[index]; both must be in range and of equal complexity.
  void Copy(const TNubraVec& src, int srcIndex, int index, int len);

  // element i = start + i·step over the current length.
  void Ramp(double start, double step);
  // Makes the object complex; element i = start + i·step.
  void Ramp(TCplx start, TCplx step);

  // Integer → real: this takes the source's length and its values as reals.
  virtual void CopyFromInt(const TNubraInt& src);
  // Real → integer: dst takes this length and precision `p`; values are rounded or truncated and
  // saturated to the precision's range (NaN gives 0). Complex data raises.
  void CopyToInt(TNubraInt& dst, TRounding rounding, TIntPrecision p) const;

  void SaveToStream(std::ostream& s) const override;
  void LoadFromStream(std::istream& s) override;
  void ValuesToStrings(std::vector<std::string>& dst, const std::string& delimiter = "\t", bool align = false,
                       bool headers = false) const override;
  void StringsToValues(const std::vector<std::string>& src, const std::string& delimiter = "\t") override;

  // Sizes a matrix to rows x cols, a vector to rows·cols elements (values of kept elements stay).
  void SizeShape(int rows, int cols, bool complex);

 protected:
  // Sets length and complexity; keeps the values that fit; zero-fills new elements when asked.
  void SizeElements(int len, bool complex, bool zeroNew);
  // Called after SetComplex reinterpreted the buffer (a matrix halves or doubles its columns).
  virtual void ComplexChanged(bool toComplex) { (void)toComplex; }

  bool fComplex = false;
  bool fSingle = false;
};

// A real or complex vector.
class TVec : public TNubraVec {
 public:
  TVec() = default;
  explicit TVec(int len, bool complex = false) { Size(len, complex); }

  // Sets the length (keeping the complexity); the contents of elements that remain are kept.
  void Size(int len) { SizeElements(len, fComplex, false); }
  void Size(int len, bool complex) { SizeElements(len, complex, false); }
  // Like Size, and new elements are zero.
  void Resize(int len) { SizeElements(len, fComplex, true); }

  // Makes this vector a view of src's elements index .. index+len-1 (no copy).
  void SetSubRange(TNubraVec& src, int index, int len);
  // Ends a view: the vector returns to storage of its own, empty.
  void SetFullRange();
};

// A real or complex row-major matrix.
class TZel : public TNubraVec {
 public:
  TZel() { fMatrix = true; }
  TZel(int rows, int cols, bool complex = false) : TZel() { Size(rows, cols, complex); }

  int Rows() const { return fRows; }
  int Cols() const { return fCols; }
  void Size(int rows, int cols) { Size(rows, cols, fComplex); }
  void Size(int rows, int cols, bool complex);
  // Changes the shape keeping each (row, col) value that remains; new elements are zero.
  void Resize(int rows, int cols);

  double& Values(int r, int c) { return PValues()[r * fCols + c]; }
  double Values(int r, int c) const { return PValues()[r * fCols + c]; }
  TCplx& CValues(int r, int c) { return PCValues()[r * fCols + c]; }
  const TCplx& CValues(int r, int c) const { return PCValues()[r * fCols + c]; }
  using TNubraVec::CValues;
  using TNubraVec::Values;

  // From a matrix: its shape. From a vector: a 1 × n matrix.
  void Copy(const TNubraVec& src) override;
  using TNubraVec::Copy;
  // Copies the block of `rows` × `cols` at (srcRow, srcCol) of src to (row, col) of this.
  void Copy(const TZel& src, int srcRow, int srcCol, int row, int col, int rows, int cols);
  // Integer source: from an integer matrix its shape, from a vector a 1 × n matrix.
  void CopyFromInt(const TNubraInt& src) override;

  void SaveToStream(std::ostream& s) const override;
  void LoadFromStream(std::istream& s) override;

 protected:
  void ComplexChanged(bool toComplex) override;
};

// Integer storage shared by TVecInt and TZelInt. Bool vectors and matrices are integer objects of 0/1.
class TNubraInt : public TNubra {
 public:
  TIntPrecision IntPrecision() const { return fPrecision; }
  // Converts the elements in place; narrowing keeps the low bits (as a C cast does).
  void SetIntPrecision(TIntPrecision p);

  std::int32_t* PIValues() { return static_cast<std::int32_t*>(fData); }
  std::int16_t* PSValues() { return static_cast<std::int16_t*>(fData); }
  std::uint8_t* PBValues() { return static_cast<std::uint8_t*>(fData); }
  const std::int32_t* PIValues() const { return static_cast<const std::int32_t*>(fData); }
  const std::int16_t* PSValues() const { return static_cast<const std::int16_t*>(fData); }
  const std::uint8_t* PBValues() const { return static_cast<const std::uint8_t*>(fData); }

  // Element access whatever the precision; Set keeps the low bits that fit.
  std::int32_t Get(int i) const;
  void Set(int i, std::int32_t v);

  // Calls f with the typed element pointer (int32_t*, int16_t* or uint8_t*): write kernels once.
  template <class F>
  decltype(auto) Visit(F&& f) {
    switch (fPrecision) {
      case prInt16:
        return f(PSValues());
      case prUInt8:
        return f(PBValues());
      default:
        return f(PIValues());
    }
  }
  template <class F>
  decltype(auto) Visit(F&& f) const {
    switch (fPrecision) {
      case prInt16:
        return f(PSValues());
      case prUInt8:
        return f(PBValues());
      default:
        return f(PIValues());
    }
  }

  void SetZero();
  void SetVal(std::int32_t v);

  // Takes the source's size, precision and values (matrices also take the shape).
  virtual void Copy(const TNubraInt& src);
  void Assign(const TNubraInt& src) { Copy(src); }
  // Copies `len` elements from src[srcIndex] to this[index], converting precision when they differ.
  void Copy(const TNubraInt& src, int srcIndex, int index, int len);

  // element i = start + i·step over the current length (kept to the precision's low bits).
  void Ramp(std::int32_t start, std::int32_t step);

  // Real → integer keeping this precision (see TNubraVec::CopyToInt).
  virtual void CopyFromReal(const TNubraVec& src, TRounding rounding);
  void CopyToReal(TNubraVec& dst) const { dst.CopyFromInt(*this); }

  void SaveToStream(std::ostream& s) const override;
  void LoadFromStream(std::istream& s) override;
  void ValuesToStrings(std::vector<std::string>& dst, const std::string& delimiter = "\t", bool align = false,
                       bool headers = false) const override;
  void StringsToValues(const std::vector<std::string>& src, const std::string& delimiter = "\t") override;

  // Sizes a matrix to rows x cols, a vector to rows·cols elements (values of kept elements stay).
  void SizeShape(int rows, int cols, TIntPrecision p);

 protected:
  void SizeElements(int len, TIntPrecision p, bool zeroNew);

  friend class TNubraVec;  // CopyToInt sets the destination's precision without converting its old data

  TIntPrecision fPrecision = prInt32;
};

// An integer vector.
class TVecInt : public TNubraInt {
 public:
  TVecInt() = default;
  explicit TVecInt(int len, TIntPrecision p = prInt32) { Size(len, p); }

  void Size(int len) { SizeElements(len, fPrecision, false); }
  void Size(int len, TIntPrecision p) { SizeElements(len, p, false); }
  void Resize(int len) { SizeElements(len, fPrecision, true); }

  void SetSubRange(TNubraInt& src, int index, int len);
  void SetFullRange();
};

// An integer row-major matrix.
class TZelInt : public TNubraInt {
 public:
  TZelInt() { fMatrix = true; }
  TZelInt(int rows, int cols, TIntPrecision p = prInt32) : TZelInt() { Size(rows, cols, p); }

  int Rows() const { return fRows; }
  int Cols() const { return fCols; }
  void Size(int rows, int cols) { Size(rows, cols, fPrecision); }
  void Size(int rows, int cols, TIntPrecision p);
  void Resize(int rows, int cols);

  std::int32_t Get(int r, int c) const { return TNubraInt::Get(r * fCols + c); }
  void Set(int r, int c, std::int32_t v) { TNubraInt::Set(r * fCols + c, v); }
  using TNubraInt::Get;
  using TNubraInt::Set;

  // From an integer matrix: its shape. From a vector: a 1 × n matrix.
  void Copy(const TNubraInt& src) override;
  using TNubraInt::Copy;
  void Copy(const TZelInt& src, int srcRow, int srcCol, int row, int col, int rows, int cols);
  void CopyFromReal(const TNubraVec& src, TRounding rounding) override;

  void SaveToStream(std::ostream& s) const override;
  void LoadFromStream(std::istream& s) override;
};

}  // namespace zel
