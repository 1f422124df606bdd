// The value blob: one value record as a type byte followed by its payload, written with the core's
// stream primitives and the core objects' own binary saves, and the same blob as the hex text property
// "Data" of component files. docs/numbers.md shows the layout.
#include <istream>
#include <ostream>
#include <sstream>

#include "core/errors.h"
#include "core/stream.h"
#include "lang/values/valuerec.h"

namespace zel {

namespace {

[[noreturn]] void Unexpected(const char* routine) {
  throw EZelParseError(std::string("TValueRec.") + routine + ": Unexpected value type");
}

// The object behind a container field, created (owned by the record) when there is none yet.
template <class T>
T& ObjectFor(T*& field, bool& owned) {
  if (!field) {
    field = new T();
    owned = true;
  }
  return *field;
}

// The bytes as upper-case hex digits, two per byte.
std::string ToHex(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(2 * bytes.size());
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

// The value of one hex digit (either case), or -1.
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The bytes of hex text; an odd length or another character raises naming the property.
std::string FromHex(const std::string& text, const std::string& property) {
  std::string out;
  out.reserve(text.size() / 2);
  for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
    const int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
    if (hi < 0 || lo < 0) break;
    out += static_cast<char>(hi * 16 + lo);
  }
  if (2 * out.size() != text.size())
    ERaise("Component stream read error: property \"" + property + "\" is not hex data");
  return out;
}

}  // namespace

void TValueRec::WriteBinData(std::ostream& s) const {
  const auto type = static_cast<unsigned char>(fValueType);
  StreamWriteBytes(s, &type, 1);
  switch (fValueType) {
    case vtUndefined:
      break;
    case vtDoubleValue:
      StreamWriteDouble(s, fDoubleValue);
      break;
    case vtComplexValue:
      StreamWriteDouble(s, fComplexValue.real());
      StreamWriteDouble(s, fComplexValue.imag());
      break;
    case vtIntegerValue:
      StreamWriteInt32(s, static_cast<std::int32_t>(static_cast<std::uint32_t>(fIntegerValue)));
      break;
    case vtBoolValue:
      StreamWriteInt32(s, fBoolValue ? 1 : 0);
      break;
    case vtVectorValue:
      Deref(fVectorValue, "vector").SaveToStream(s);
      break;
    case vtIntVectorValue:
    case vtBoolVectorValue:
      Deref(fIntVectorValue, "integer vector").SaveToStream(s);
      break;
    case vtIntMatrixValue:
    case vtBoolMatrixValue:
      Deref(fIntMatrixValue, "integer matrix").SaveToStream(s);
      break;
    case vtMatrixValue:
      Deref(fMatrixValue, "matrix").SaveToStream(s);
      break;
    default:  // range, string, custom object
      Unexpected("WriteBinData");
  }
}

void TValueRec::ReadBinData(std::istream& s) {
  unsigned char type = 0;
  StreamReadBytes(s, &type, 1);
  if (type != fValueType) {
    InternalUndefine(static_cast<TValueType>(type));  // the persistence rule
    // An unknown ordinal never enters the tag, so no dispatch table is indexed with it later.
    if (type >= ValueTypeCount) Unexpected("ReadBinData");
    fValueType = static_cast<TValueType>(type);
  }
  switch (fValueType) {
    case vtUndefined:
      break;
    case vtDoubleValue:
      fDoubleValue = StreamReadDouble(s);
      break;
    case vtComplexValue: {
      const double re = StreamReadDouble(s);
      fComplexValue = TCplx(re, StreamReadDouble(s));
      break;
    }
    case vtIntegerValue:
      SetIntegerValue(StreamReadInt32(s));
      break;
    case vtBoolValue:
      fBoolValue = StreamReadInt32(s) != 0;
      break;
    case vtVectorValue:
      ObjectFor(fVectorValue, fOwned).LoadFromStream(s);
      break;
    case vtIntVectorValue:
    case vtBoolVectorValue:
      ObjectFor(fIntVectorValue, fOwned).LoadFromStream(s);
      break;
    case vtIntMatrixValue:
    case vtBoolMatrixValue:
      ObjectFor(fIntMatrixValue, fOwned).LoadFromStream(s);
      break;
    case vtMatrixValue:
      ObjectFor(fMatrixValue, fOwned).LoadFromStream(s);
      break;
    default:  // range, string, custom object
      Unexpected("ReadBinData");
  }
}

void TValueRec::DefineProperties(TZelComponent::TProperties& dst, const std::string& prefix) const {
  std::ostringstream blob;
  WriteBinData(blob);
  dst.emplace_back(prefix + "Data", ToHex(blob.str()));
}

void TValueRec::ReadProperties(const TZelComponent::TProperties& src, const std::string& prefix) {
  const std::string name = prefix + "Data";
  const std::string* text = TZelComponent::FindProperty(src, name);
  if (!text) return;
  std::istringstream blob(FromHex(*text, name));
  ReadBinData(blob);
}

}  // namespace zel
