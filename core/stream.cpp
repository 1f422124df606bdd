// Binary stream primitives (little-endian numbers, length-prefixed UTF-8 strings) and the binary
// save/load of dense objects. The layouts are described in docs/numbers.md under "Binary layouts".
#include "core/stream.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <istream>
#include <ostream>
#include <vector>

#include "core/errors.h"
#include "core/nubra.h"

namespace zel {

namespace {

// Bytes read at once when the total is not known to be available; limits what a corrupt length can
// make us allocate before the stream runs dry.
constexpr std::size_t kChunk = 1 << 16;

void CheckWritten(const std::ostream& s) {
  if (!s) ERaise("Stream write error: the stream refused the data");
}

// Reverses each `es`-byte group of a buffer (byte order of a big-endian host).
void SwapEach(std::byte* p, std::size_t count, std::size_t es) {
  for (std::size_t i = 0; i < count; ++i) std::reverse(p + i * es, p + (i + 1) * es);
}

// Writes `count` elements of `es` bytes in little-endian order.
void WriteElements(std::ostream& s, const void* data, std::size_t count, std::size_t es) {
  if constexpr (std::endian::native == std::endian::little) {
    StreamWriteBytes(s, data, count * es);
  } else {
    std::vector<std::byte> buf;
    const auto* p = static_cast<const std::byte*>(data);
    for (std::size_t done = 0; done < count;) {
      const std::size_t n = std::min(count - done, kChunk / es);
      buf.assign(p + done * es, p + (done + n) * es);
      SwapEach(buf.data(), n, es);
      StreamWriteBytes(s, buf.data(), n * es);
      done += n;
    }
  }
}

// Whether `bytes` more bytes can be read: true when the stream can tell and they are there (raises when
// they are not), false when the stream cannot seek and only reading will tell.
bool KnownAvailable(std::istream& s, std::size_t bytes) {
  const std::ios::iostate state = s.rdstate();
  const std::istream::pos_type here = s.tellg();
  if (here == std::istream::pos_type(-1)) {
    s.clear(state);
    return false;
  }
  s.seekg(0, std::ios::end);
  const std::istream::pos_type end = s.tellg();
  s.clear(state);
  s.seekg(here);
  if (end == std::istream::pos_type(-1)) return false;
  const long long left = static_cast<long long>(end - here);
  if (left < 0 || static_cast<unsigned long long>(left) < bytes)
    ERaise(Fmt("Stream read error: %zu bytes of data expected, only %lld left", bytes, std::max(left, 0LL)));
  return true;
}

// Reads `bytes` bytes into `out` in growing chunks, so a corrupt count fails on the missing bytes rather
// than on a huge allocation.
template <class Buffer>
void ReadChunked(std::istream& s, Buffer& out, std::size_t bytes) {
  out.clear();
  for (std::size_t done = 0; done < bytes;) {
    const std::size_t step = std::min(bytes - done, std::max(kChunk, done));
    out.resize(done + step);
    s.read(reinterpret_cast<char*>(out.data()) + done, static_cast<std::streamsize>(step));
    const auto got = static_cast<std::size_t>(s.gcount());
    if (got != step) ERaise(Fmt("Stream read error: %zu bytes expected, only %zu left", bytes, done + got));
    done += step;
  }
}

// Reads `count` little-endian elements of `es` bytes into the buffer `prepare()` returns after sizing
// the object. The data is known to be there (or has been read) before the object grows.
template <class Prepare>
void LoadElements(std::istream& s, std::size_t count, std::size_t es, Prepare prepare) {
  const std::size_t bytes = count * es;
  std::vector<std::byte> temp;
  const bool direct = KnownAvailable(s, bytes);
  if (!direct) ReadChunked(s, temp, bytes);
  auto* data = static_cast<std::byte*>(prepare());
  if (direct) {
    StreamReadBytes(s, data, bytes);
  } else if (bytes > 0) {
    std::memcpy(data, temp.data(), bytes);
  }
  if constexpr (std::endian::native != std::endian::little) SwapEach(data, count, es);
}

void WriteTag(std::ostream& s, const char* tag) { StreamWriteBytes(s, tag, 4); }

// Reads a 4-byte kind tag and raises unless it is `expected`.
void ExpectTag(std::istream& s, const char* expected, const char* kind) {
  char tag[4];
  StreamReadBytes(s, tag, 4);
  if (std::memcmp(tag, expected, 4) == 0) return;
  std::string shown;
  for (char c : tag) {
    if (c >= 0x20 && c < 0x7f) {
      shown += c;
    } else {
      shown += Fmt("\\x%02X", static_cast<unsigned char>(c));
    }
  }
  ERaise(Fmt("LoadFromStream: expected a %s (tag %.4s) but found tag \"%s\"", kind, expected, shown.c_str()));
}

int ReadCount(std::istream& s, const char* what) {
  const std::int32_t n = StreamReadInt32(s);
  if (n < 0) ERaise(Fmt("Stream read error: negative %s %d", what, n));
  return n;
}

// Rows and columns of a stored matrix, checked to give a representable element count.
void ReadShape(std::istream& s, int& rows, int& cols) {
  rows = ReadCount(s, "row count");
  cols = ReadCount(s, "column count");
  if (static_cast<long long>(rows) * cols > INT_MAX / 2)
    ERaise(Fmt("Stream read error: matrix size %d x %d is too large", rows, cols));
}

TNubraPrecision ReadFloatPrecision(std::istream& s) {
  const std::int32_t p = StreamReadInt32(s);
  if (p < npSingle || p > npDoubleComplex) ERaise(Fmt("Stream read error: invalid floating precision %d", p));
  return static_cast<TNubraPrecision>(p);
}

TIntPrecision ReadIntPrecision(std::istream& s) {
  const std::int32_t p = StreamReadInt32(s);
  if (p < prInt32 || p > prUInt8) ERaise(Fmt("Stream read error: invalid integer precision %d", p));
  return static_cast<TIntPrecision>(p);
}

bool IsComplex(TNubraPrecision p) { return p == npSingleComplex || p == npDoubleComplex; }

}  // namespace

// ---- primitives ----

void StreamWriteBytes(std::ostream& s, const void* data, std::size_t count) {
  if (count == 0) return;
  s.write(static_cast<const char*>(data), static_cast<std::streamsize>(count));
  CheckWritten(s);
}

void StreamWriteInt32(std::ostream& s, std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  const unsigned char b[4] = {static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8),
                              static_cast<unsigned char>(u >> 16), static_cast<unsigned char>(u >> 24)};
  StreamWriteBytes(s, b, 4);
}

void StreamWriteDouble(std::ostream& s, double value) {
  const auto u = std::bit_cast<std::uint64_t>(value);
  unsigned char b[8];
  for (int i = 0; i < 8; ++i) b[i] = static_cast<unsigned char>(u >> (8 * i));
  StreamWriteBytes(s, b, 8);
}

void StreamWriteString(std::ostream& s, const std::string& value) {
  if (value.size() > static_cast<std::size_t>(INT32_MAX))
    ERaise(Fmt("Stream write error: string of %zu bytes is too long", value.size()));
  StreamWriteInt32(s, static_cast<std::int32_t>(value.size()));
  StreamWriteBytes(s, value.data(), value.size());
}

void StreamReadBytes(std::istream& s, void* data, std::size_t count) {
  if (count == 0) return;
  s.read(static_cast<char*>(data), static_cast<std::streamsize>(count));
  const auto got = static_cast<long long>(s.gcount());
  if (got != static_cast<long long>(count))
    ERaise(Fmt("Stream read error: %zu bytes expected, only %lld left", count, got));
}

std::int32_t StreamReadInt32(std::istream& s) {
  unsigned char b[4];
  StreamReadBytes(s, b, 4);
  const std::uint32_t u =
      b[0] | (std::uint32_t{b[1]} << 8) | (std::uint32_t{b[2]} << 16) | (std::uint32_t{b[3]} << 24);
  return static_cast<std::int32_t>(u);
}

double StreamReadDouble(std::istream& s) {
  unsigned char b[8];
  StreamReadBytes(s, b, 8);
  std::uint64_t u = 0;
  for (int i = 7; i >= 0; --i) u = (u << 8) | b[i];
  return std::bit_cast<double>(u);
}

std::string StreamReadString(std::istream& s) {
  const std::int32_t n = StreamReadInt32(s);
  if (n < 0) ERaise(Fmt("Stream read error: negative string length %d", n));
  std::string out;
  ReadChunked(s, out, static_cast<std::size_t>(n));
  return out;
}

// ---- dense objects ----

void TNubraVec::SaveToStream(std::ostream& s) const {
  WriteTag(s, "ZV01");
  StreamWriteInt32(s, fLength);
  StreamWriteInt32(s, FloatPrecision());
  WriteElements(s, fData, ScalarCount(), sizeof(double));
}

void TNubraVec::LoadFromStream(std::istream& s) {
  ExpectTag(s, "ZV01", "real or complex vector");
  const int len = ReadCount(s, "length");
  if (len > INT_MAX / 2) ERaise(Fmt("Stream read error: length %d is too large", len));
  const TNubraPrecision p = ReadFloatPrecision(s);
  const std::size_t scalars = static_cast<std::size_t>(len) * (IsComplex(p) ? 2 : 1);
  LoadElements(s, scalars, sizeof(double), [&] {
    SizeElements(len, IsComplex(p), false);
    SetFloatPrecision(p);
    return fData;
  });
}

void TZel::SaveToStream(std::ostream& s) const {
  WriteTag(s, "ZM01");
  StreamWriteInt32(s, fRows);
  StreamWriteInt32(s, fCols);
  StreamWriteInt32(s, FloatPrecision());
  WriteElements(s, fData, ScalarCount(), sizeof(double));
}

void TZel::LoadFromStream(std::istream& s) {
  ExpectTag(s, "ZM01", "real or complex matrix");
  int rows = 0;
  int cols = 0;
  ReadShape(s, rows, cols);
  const TNubraPrecision p = ReadFloatPrecision(s);
  const std::size_t scalars = static_cast<std::size_t>(rows) * cols * (IsComplex(p) ? 2 : 1);
  LoadElements(s, scalars, sizeof(double), [&] {
    Size(rows, cols, IsComplex(p));
    SetFloatPrecision(p);
    return fData;
  });
}

void TNubraInt::SaveToStream(std::ostream& s) const {
  WriteTag(s, "ZI01");
  StreamWriteInt32(s, fLength);
  StreamWriteInt32(s, fPrecision);
  WriteElements(s, fData, fLength, IntPrecisionBytes(fPrecision));
}

void TNubraInt::LoadFromStream(std::istream& s) {
  ExpectTag(s, "ZI01", "integer vector");
  const int len = ReadCount(s, "length");
  if (len > INT_MAX / 2) ERaise(Fmt("Stream read error: length %d is too large", len));
  const TIntPrecision p = ReadIntPrecision(s);
  LoadElements(s, len, IntPrecisionBytes(p), [&] {
    SizeElements(len, p, false);
    return fData;
  });
}

void TZelInt::SaveToStream(std::ostream& s) const {
  WriteTag(s, "ZJ01");
  StreamWriteInt32(s, fRows);
  StreamWriteInt32(s, fCols);
  StreamWriteInt32(s, fPrecision);
  WriteElements(s, fData, fLength, IntPrecisionBytes(fPrecision));
}

void TZelInt::LoadFromStream(std::istream& s) {
  ExpectTag(s, "ZJ01", "integer matrix");
  int rows = 0;
  int cols = 0;
  ReadShape(s, rows, cols);
  const TIntPrecision p = ReadIntPrecision(s);
  LoadElements(s, static_cast<std::size_t>(rows) * cols, IntPrecisionBytes(p), [&] {
    Size(rows, cols, p);
    return fData;
  });
}

}  // namespace zel
