// Binary files through handles: FileOpen makes a custom value that owns an open file stream (closed when
// the value is undefined, reassigned or destroyed, or by FileClose); FileRead and FileWrite read and write
// typed values at the handle's position with the core's little-endian stream routines; FileSetPosition,
// FilePosition and FileSize move and report. Vectors and matrices are written as their bare elements in
// storage precision (doubles, or 32/16/8-bit integers), so FileRead with a count reads them back.
#include <bit>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "core/stream.h"
#include "library/file_support.h"
#include "library/redirect.h"

namespace zel::files {

namespace {

// The object of a file handle: the open stream, its path, and the position the next read or write
// starts at.
class TFileStreamHandle : public TObject {
 public:
  // Opens the file for reading and writing without truncating it; creates it first when it does not exist.
  explicit TFileStreamHandle(const std::string& path) : fPath(path) {
    constexpr auto mode = std::ios::in | std::ios::out | std::ios::binary;
    fStream.open(path, mode);
    std::error_code ec;
    if (!fStream.is_open() && !std::filesystem::exists(path, ec)) {
      std::ofstream(path, std::ios::binary);
      fStream.clear();
      fStream.open(path, mode);
    }
    if (!fStream.is_open())
      ERaise("FileOpen: cannot open " + path + ": " + std::strerror(errno ? errno : EIO));
  }
  std::string ClassName() const override { return "TFileStream"; }

  const std::string& Path() const { return fPath; }
  std::int64_t Position() const { return fPosition; }
  void SetPosition(std::int64_t pos) { fPosition = pos; }
  // The stream, cleared of earlier end-of-file states.
  std::fstream& Stream() {
    fStream.clear();
    return fStream;
  }
  // The size of the file, written data included.
  std::int64_t Size() {
    std::fstream& s = Stream();
    s.seekg(0, std::ios::end);
    const std::int64_t size = s.tellg();
    if (size < 0) ERaise("FileSize: cannot tell the size of " + fPath);
    return size;
  }

 private:
  std::string fPath;
  std::fstream fStream;
  std::int64_t fPosition = 0;
};

// Argument 0 as a file handle: a custom value (else the unsupported-types error) whose object is a file
// stream (else "First parameter type: FileStream <> CLASS").
TFileStreamHandle& HandleArg(const TExprRec& e) {
  const TValueRec& v = *e.Args[0];
  if (v.ValueType() != vtCustomValue) RaiseUnsupportedArgs(e);
  auto* handle = dynamic_cast<TFileStreamHandle*>(v.CustomValue());
  if (!handle)
    ERaise("First parameter type: FileStream <> " + (v.CustomValue() ? v.CustomValue()->ClassName() : "nil"));
  return *handle;
}

// Runs `io` on the stream at the handle's position and moves the position past what it read or wrote.
// Stream errors are raised again naming the routine, the file and the offset.
template <class F>
void AtPosition(TFileStreamHandle& h, const char* routine, F io) {
  std::fstream& s = h.Stream();
  s.seekg(h.Position());
  try {
    if (!s) ERaise("cannot seek");
    io(s);
    s.flush();
    if (!s) ERaise("Stream write error: the file refused the data");
  } catch (const ENubraException& e) {
    ERaise(Fmt("%s: %s (file %s, offset %lld)", routine, e.what(), h.Path().c_str(),
               static_cast<long long>(h.Position())));
  }
  h.SetPosition(s.tellg());
}

// Bytes of one element of a simple type; 0 for strings.
std::size_t ElementBytes(TSimpleType t) {
  switch (t) {
    case stInt8:
    case stUInt8:
      return 1;
    case stInt16:
    case stUInt16:
      return 2;
    case stInt32:
    case stUInt32:
    case stFloat:
    case stBoolean:
      return 4;
    case stInt64:
    case stUInt64:
    case stDouble:
    case stFloatComplex:
      return 8;
    case stDoubleComplex:
      return 16;
    default:
      return 0;
  }
}

// The unsigned little-endian number in `bytes` bytes at p.
std::uint64_t LoadLE(const unsigned char* p, std::size_t bytes) {
  std::uint64_t u = 0;
  for (std::size_t k = bytes; k-- > 0;) u = (u << 8) | p[k];
  return u;
}

// An element of an integer simple type at p, sign- or zero-extended.
std::int64_t IntAt(const unsigned char* p, TSimpleType t) {
  switch (t) {
    case stInt8:
      return static_cast<std::int8_t>(p[0]);
    case stUInt8:
      return p[0];
    case stInt16:
      return static_cast<std::int16_t>(LoadLE(p, 2));
    case stUInt16:
      return static_cast<std::uint16_t>(LoadLE(p, 2));
    case stUInt32:
      return static_cast<std::uint32_t>(LoadLE(p, 4));
    case stInt64:
      return static_cast<std::int64_t>(LoadLE(p, 8));
    default:
      return static_cast<std::int32_t>(LoadLE(p, 4));
  }
}

// An element of a real simple type at p.
double RealAt(const unsigned char* p, TSimpleType t) {
  switch (t) {
    case stFloat:
    case stFloatComplex:
      return std::bit_cast<float>(static_cast<std::uint32_t>(LoadLE(p, 4)));
    case stDouble:
    case stDoubleComplex:
      return std::bit_cast<double>(LoadLE(p, 8));
    case stUInt64:
      return static_cast<double>(LoadLE(p, 8));
    default:
      return static_cast<double>(IntAt(p, t));
  }
}

// The integer precision that holds every value of an integer simple type: 8-bit signed data goes to 16
// bits and 16-bit unsigned data to 32 bits, since the core's 8-bit elements are unsigned and its 16-bit
// ones signed.
TIntPrecision PrecisionFor(TSimpleType t) {
  switch (t) {
    case stUInt8:
      return prUInt8;
    case stInt8:
    case stInt16:
      return prInt16;
    default:
      return prInt32;
  }
}

// Writes `count` elements of `es` bytes, little-endian.
void WriteElements(std::ostream& s, const void* data, std::size_t count, std::size_t es) {
  if constexpr (std::endian::native == std::endian::little) {
    StreamWriteBytes(s, data, count * es);
  } else {
    std::vector<unsigned char> buf(count * es);
    std::memcpy(buf.data(), data, buf.size());
    for (std::size_t k = 0; k < count; ++k) std::reverse(buf.begin() + k * es, buf.begin() + (k + 1) * es);
    StreamWriteBytes(s, buf.data(), buf.size());
  }
}

// ---- the routines ------------------------------------------------------------------------------------

// (aHandle) = FileOpen(path): a handle on the file, opened or created; the result is true.
void _FileOpen(TExprRec& e) {
  auto handle = std::make_unique<TFileStreamHandle>(TextArg(e, 0));
  e.Args[1]->DefineCustomValue(handle.get(), true);  // frees (closes) the handle the variable held
  handle.release();
  PutBool(e, true);
}

// FileClose(aHandle): closes the file; a closed handle is left alone (and the result untouched).
void _FileClose(TExprRec& e) {
  TValueRec& v = *e.Args[0];
  if (v.ValueType() != vtCustomValue) RaiseUnsupportedArgs(e);
  if (!v.CustomValue()) return;
  HandleArg(e);
  v.DefineCustomValue(nullptr, false);  // frees the stream when the value owns it
  PutBool(e, true);
}

// FileRead(aHandle, type): one value of the simple type at the handle's position.
void _FileRead(TExprRec& e) {
  TFileStreamHandle& h = HandleArg(e);
  const TSimpleType t = SimpleTypeArg(e, 1);
  TValueRec& r = *e.Res;
  AtPosition(h, "FileRead", [&](std::istream& s) {
    unsigned char b[16];
    switch (t) {
      case stInt8:
      case stInt16:
      case stInt32:
      case stUInt8:
      case stUInt16:
        StreamReadBytes(s, b, ElementBytes(t));
        r.DefineInteger();
        r.SetIntegerValue(IntAt(b, t));
        break;
      case stInt64:
      case stUInt32:
      case stUInt64:
      case stFloat:
      case stDouble:
        StreamReadBytes(s, b, ElementBytes(t));
        r.DefineDouble();
        r.SetDoubleValue(RealAt(b, t));
        break;
      case stFloatComplex:
      case stDoubleComplex: {
        const std::size_t half = ElementBytes(t) / 2;
        StreamReadBytes(s, b, 2 * half);
        r.DefineComplex();
        r.SetComplexValue(TCplx(RealAt(b, t), RealAt(b + half, t)));
        break;
      }
      case stBoolean:
        r.DefineBool();
        r.SetBoolValue(StreamReadInt32(s) != 0);
        break;
      case stString:
        r.DefineString();
        r.SetStringValue(StreamReadString(s));
        break;
      default:
        ERaise("ReadFileDouble unsupported simple type!");
    }
  });
}

// FileRead(aHandle, type, Count): Count values of the simple type in one block, as an integer, boolean,
// real or complex vector.
void _FileReadCount(TExprRec& e) {
  TFileStreamHandle& h = HandleArg(e);
  const TSimpleType t = SimpleTypeArg(e, 1);
  if (e.Args[2]->ValueType() != vtIntegerValue) RaiseUnsupportedArgs(e);
  const std::int64_t count = e.Args[2]->IntegerValue();
  const std::size_t es = ElementBytes(t);
  if (es == 0) ERaise("ReadFileVector unsupported simple type!");
  const std::int64_t elements = t == stFloatComplex || t == stDoubleComplex ? 2 * count : count;
  if (count < 0 || elements > INT_MAX / 2)
    ERaise(Fmt("FileRead: invalid count %lld", static_cast<long long>(count)));
  const std::int64_t bytes = count * static_cast<std::int64_t>(es);
  const std::int64_t left = h.Size() - h.Position();
  if (bytes > left)
    ERaise(Fmt("FileRead: %lld bytes requested at offset %lld of %s, which has only %lld left",
               static_cast<long long>(bytes), static_cast<long long>(h.Position()), h.Path().c_str(),
               static_cast<long long>(std::max<std::int64_t>(left, 0))));
  std::vector<unsigned char> buf(static_cast<std::size_t>(bytes));
  AtPosition(h, "FileRead", [&](std::istream& s) { StreamReadBytes(s, buf.data(), buf.size()); });
  const auto n = static_cast<int>(count);
  const unsigned char* p = buf.data();
  TValueRec& r = *e.Res;
  switch (t) {
    case stInt8:
    case stInt16:
    case stInt32:
    case stUInt8:
    case stUInt16: {
      r.DefineIntVector();
      TVecInt& v = r.IntVectorValue();
      v.Size(n, PrecisionFor(t));
      for (int k = 0; k < n; ++k) v.Set(k, static_cast<std::int32_t>(IntAt(p + k * es, t)));
      break;
    }
    case stBoolean: {
      r.DefineBoolVector();
      TVecInt& v = r.BoolVectorValue();
      v.Size(n, prInt32);
      for (int k = 0; k < n; ++k) v.Set(k, IntAt(p + k * es, t) != 0 ? 1 : 0);
      break;
    }
    default: {
      const bool complex = t == stFloatComplex || t == stDoubleComplex;
      const std::size_t step = complex ? es / 2 : es;
      r.DefineVector();
      TVec& v = r.VectorValue();
      v.Size(n, complex);
      for (int k = 0; k < v.ScalarCount(); ++k) v.PValues()[k] = RealAt(p + k * step, t);
      break;
    }
  }
}

// FileWrite(aHandle, a): the value at the handle's position; the result stays undefined.
void _FileWrite(TExprRec& e) {
  TFileStreamHandle& h = HandleArg(e);
  const TValueRec& a = *e.Args[1];
  const TValueType t = a.ValueType();
  const bool supported = t == vtDoubleValue || t == vtString || t == vtComplexValue || t == vtIntegerValue ||
                         t == vtBoolValue || t == vtVectorValue || t == vtMatrixValue ||
                         t == vtIntVectorValue || t == vtIntMatrixValue || t == vtBoolVectorValue ||
                         t == vtBoolMatrixValue;
  if (!supported) RaiseUnsupportedArgs(e);
  AtPosition(h, "FileWrite", [&](std::ostream& s) {
    switch (t) {
      case vtDoubleValue:
        StreamWriteDouble(s, a.DoubleValue());
        break;
      case vtString:
        StreamWriteString(s, a.StringValue());
        break;
      case vtComplexValue:
        StreamWriteDouble(s, a.ComplexValue().real());
        StreamWriteDouble(s, a.ComplexValue().imag());
        break;
      case vtIntegerValue:
        StreamWriteInt32(s, static_cast<std::int32_t>(static_cast<std::uint32_t>(a.IntegerValue())));
        break;
      case vtBoolValue:
        StreamWriteInt32(s, a.BoolValue() ? 1 : 0);
        break;
      case vtVectorValue:
      case vtMatrixValue: {
        const TNubraVec& v =
            t == vtVectorValue ? static_cast<const TNubraVec&>(*a.VectorField()) : *a.MatrixField();
        WriteElements(s, v.PValues(), static_cast<std::size_t>(v.ScalarCount()), sizeof(double));
        break;
      }
      default: {
        const TNubraInt& v = t == vtIntVectorValue || t == vtBoolVectorValue
                                 ? static_cast<const TNubraInt&>(*a.IntVectorField())
                                 : *a.IntMatrixField();
        WriteElements(s, v.PIValues(), static_cast<std::size_t>(v.Length()),
                      IntPrecisionBytes(v.IntPrecision()));
        break;
      }
    }
  });
}

// FileSetPosition(aHandle, Pos): Pos rounded to the nearest integer; the result is true.
void _FileSetPosition(TExprRec& e) {
  TFileStreamHandle& h = HandleArg(e);
  const TValueRec& p = *e.Args[1];
  double pos = 0;
  if (p.ValueType() == vtDoubleValue) {
    pos = std::nearbyint(p.DoubleValue());
  } else if (p.ValueType() == vtIntegerValue) {
    pos = static_cast<double>(p.IntegerValue());
  } else {
    RaiseUnsupportedArgs(e);
  }
  if (!(pos >= 0 && pos < 9.2e18)) ERaise("FileSetPosition: invalid position " + std::to_string(pos));
  h.SetPosition(static_cast<std::int64_t>(pos));
  PutBool(e, true);
}

// A double result.
void PutDouble(TExprRec& e, double x) {
  e.Res->DefineDouble();
  e.Res->SetDoubleValue(x);
}

void _FilePosition(TExprRec& e) { PutDouble(e, static_cast<double>(HandleArg(e).Position())); }
void _FileSize(TExprRec& e) { PutDouble(e, static_cast<double>(HandleArg(e).Size())); }

// clang-format off
constexpr TFileWordRow kRows[] = {
    {"FileOpen", _FileOpen, 2, 1, true,
     "(aHandle) = FileOpen(\"C:\\Work\\File.dat\"): returns aHandle for the file in the path in parameter. To close the file call FileClose."},
    {"FileClose", _FileClose, 1, 0, false,
     "FileClose(aHandle): returns aHandle for the file in the path in parameter. To close the file call FileClose."},
    {"FileRead", _FileRead, 2, 0, false,
     "a = FileRead(aHandle, \"double\"): reads a single double value from files current position with aHandle and stores it in a. Use OpenFile to obtain a file handle and CloseFile to close it."},
    {"FileRead", _FileReadCount, 3, 0, false,
     "a = FileRead(aHandle, \"double\", Count): reads Count double value from files current position with aHandle and stores it in to vector a. Use OpenFile to obtain a file handle and CloseFile to close it."},
    {"FileWrite", _FileWrite, 2, 0, false,
     "FileWrite(aHandle, a): write contents of variable a to file designated with aHandle. Use OpenFile to obtain a file handle."},
    {"FileSetPosition", _FileSetPosition, 2, 0, false,
     "FileSetPosition(aHandle, Pos): seek to position Pos within the file designated with aHandle. Use OpenFile to obtain a file handle."},
    {"FilePosition", _FilePosition, 1, 0, false,
     "Pos = FilePosition(aHandle): returns the position Pos within the file designated with aHandle. Use OpenFile to obtain a file handle."},
    {"FileSize", _FileSize, 1, 0, false,
     "size = FileSize(aHandle): returns the Size of he file designated with aHandle. Use OpenFile to obtain a file handle.",
     "size = filesize(aHandle): returns the Size of the file designated with aHandle. Use OpenFile to obtain a file handle."},
};
// clang-format on

}  // namespace

std::span<const TFileWordRow> HandleRows() { return kRows; }

}  // namespace zel::files
