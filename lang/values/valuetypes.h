// Value type tags of the language and the element type names of file and conversion functions.
#pragma once

#include <cstdint>
#include <string>

#include "core/errors.h"

namespace zel {

// Errors of the language (type errors, syntax errors, bad calls).
class EZelParseError : public ENubraException {
 public:
  using ENubraException::ENubraException;
};

// Value type tag. The ordinals are fixed: they index dispatch tables and are stored in files.
enum TValueType : std::uint8_t {
  vtUndefined = 0,
  vtDoubleValue = 1,
  vtRangeValue = 2,
  vtString = 3,
  vtComplexValue = 4,
  vtVectorValue = 5,
  vtIntegerValue = 6,
  vtIntVectorValue = 7,
  vtIntMatrixValue = 8,
  vtBoolValue = 9,
  vtBoolVectorValue = 10,
  vtBoolMatrixValue = 11,
  vtMatrixValue = 12,
  vtCustomValue = 13,
};
inline constexpr int ValueTypeCount = 14;

// Type names used in every type message ("undefined", "double", ..., "custom object").
extern const char* const ValTypeAsStr[ValueTypeCount];
// The name of a tag; out-of-range ordinals give "unknown".
const char* ValTypeName(TValueType t);

// Element types of binary and text conversions.
enum TSimpleType : std::uint8_t {
  stUndefined = 0,
  stInt8 = 1,
  stInt16 = 2,
  stInt32 = 3,
  stInt64 = 4,
  stUInt8 = 5,
  stUInt16 = 6,
  stUInt32 = 7,
  stUInt64 = 8,
  stFloat = 9,
  stDouble = 10,
  stFloatComplex = 11,
  stDoubleComplex = 12,
  stBoolean = 13,
  stString = 14,
};

// Exact, case-sensitive name lookup ("double", "int16", "unsigned char", ...). Unknown names raise
// "Unrecognized type: " + name through ERaise.
TSimpleType StrToSimpleType(const std::string& name);

// "Unrecognized function or value select called on undefined variable!"
extern const char* const UnknownExprWord;

}  // namespace zel
