// The value blob: one value record as a type byte followed by its payload, written with the core's
// stream primitives and the core objects' own binary saves. docs/numbers.md shows the layout.
#include <istream>
#include <ostream>

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

}  // namespace zel
