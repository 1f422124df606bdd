#include "lang/values/valuetypes.h"

#include <string_view>

namespace zel {

const char* const ValTypeAsStr[ValueTypeCount] = {
    "undefined",      "double",         "range", "string",      "complex",     "vector", "integer",
    "integer vector", "integer matrix", "bool",  "bool vector", "bool matrix", "matrix", "custom object",
};

const char* ValTypeName(TValueType t) {
  const int i = static_cast<int>(t);
  return i < ValueTypeCount ? ValTypeAsStr[i] : "unknown";
}

namespace {

struct SimpleTypeName {
  std::string_view name;
  TSimpleType type;
};

// Every spelling file and conversion functions accept; matched exactly.
constexpr SimpleTypeName SimpleTypeNames[] = {
    {"double", stDouble},
    {"single", stFloat},
    {"float", stFloat},
    {"int32", stInt32},
    {"integer", stInt32},
    {"signed int", stInt32},
    {"int", stInt32},
    {"smallint", stInt16},
    {"int16", stInt16},
    {"short", stInt16},
    {"shortint", stInt8},
    {"int8", stInt8},
    {"signed char", stInt8},
    {"sbyte", stInt8},
    {"cardinal", stUInt32},
    {"unsigned int", stUInt32},
    {"uint32", stUInt32},
    {"word", stUInt16},
    {"uint16", stUInt16},
    {"unsigned short", stUInt16},
    {"byte", stUInt8},
    {"char", stUInt8},
    {"unsigned char", stUInt8},
    {"complex", stDoubleComplex},
    {"double complex", stDoubleComplex},
    {"double _complex", stDoubleComplex},
    {"float complex", stFloatComplex},
    {"float _complex", stFloatComplex},
    {"bool", stBoolean},
    {"boolean", stBoolean},
    {"bool32", stBoolean},
    {"string", stString},
};

}  // namespace

TSimpleType StrToSimpleType(const std::string& name) {
  for (const auto& entry : SimpleTypeNames)
    if (entry.name == name) return entry.type;
  ERaise("Unrecognized type: " + name);
}

const char* const UnknownExprWord = "Unrecognized function or value select called on undefined variable!";

}  // namespace zel
