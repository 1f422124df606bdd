// The binary form of a context: the expression text, the variable count, and per variable its name, its
// type ordinal and a payload by type. docs/numbers.md shows the layout.
#include <cstdint>
#include <istream>
#include <ostream>

#include "core/fileio.h"
#include "core/stream.h"
#include "lang/words/context.h"

namespace zel {

namespace {

// The vector or matrix object of a container value; a record without one (never expected) raises.
const TNubra& ObjectOf(const TValueRec& v) {
  const TNubra* obj = nullptr;
  switch (v.ValueType()) {
    case vtVectorValue:
      obj = v.VectorField();
      break;
    case vtMatrixValue:
      obj = v.MatrixField();
      break;
    case vtIntVectorValue:
    case vtBoolVectorValue:
      obj = v.IntVectorField();
      break;
    default:
      obj = v.IntMatrixField();
      break;
  }
  if (!obj) ERaise(std::string("TExprContext.SaveToStream: no ") + ValTypeName(v.ValueType()) + " object");
  return *obj;
}

// Writes one variable's type ordinal and payload.
void WriteValue(std::ostream& s, const TValueRec& v) {
  const TValueType t = v.ValueType();
  StreamWriteInt32(s, t);
  switch (t) {
    case vtDoubleValue:
      StreamWriteDouble(s, v.DoubleValue());
      break;
    case vtRangeValue:
      StreamWriteInt32(s, v.ExtRange() ? 1 : 0);
      if (v.ExtRange()) {
        if (v.ExtRangeValue()) {
          v.ExtRangeValue()->SaveToStream(s);
        } else {
          TVec().SaveToStream(s);
        }
      } else {
        StreamWriteInt32(s, static_cast<std::int32_t>(v.Range().size()));
        for (std::int32_t bound : v.Range()) StreamWriteInt32(s, bound);
      }
      break;
    case vtString:
      StreamWriteString(s, v.StringValue());
      break;
    case vtComplexValue:
      StreamWriteDouble(s, v.ComplexValue().real());
      StreamWriteDouble(s, v.ComplexValue().imag());
      break;
    case vtIntegerValue:
      StreamWriteInt32(s, static_cast<std::int32_t>(static_cast<std::uint32_t>(v.IntegerValue())));
      break;
    case vtBoolValue:
      StreamWriteInt32(s, v.BoolValue() ? 1 : 0);
      break;
    case vtVectorValue:
    case vtMatrixValue:
    case vtIntVectorValue:
    case vtBoolVectorValue:
    case vtIntMatrixValue:
    case vtBoolMatrixValue:
      ObjectOf(v).SaveToStream(s);
      break;
    default:  // undefined and custom values carry no payload
      break;
  }
}

// Reads a payload of type `t` into the new, undefined variable value `v`.
void ReadValue(std::istream& s, TValueType t, TValueRec& v) {
  switch (t) {
    case vtDoubleValue:
      v.DefineDouble();
      v.SetDoubleValue(StreamReadDouble(s));
      break;
    case vtRangeValue:
      if (StreamReadInt32(s) != 0) {
        v.DefineExtRange();
        v.ExtRangeValue()->LoadFromStream(s);
      } else {
        v.DefineRange();
        const std::int32_t n = StreamReadInt32(s);
        if (n < 0) ERaise(Fmt("Stream read error: negative range bound count %d", n));
        // Element by element: a corrupt count fails on the missing bytes, not on an allocation.
        for (std::int32_t k = 0; k < n; ++k) v.Range().push_back(StreamReadInt32(s));
      }
      break;
    case vtString:
      v.DefineString();
      v.SetStringValue(StreamReadString(s));
      break;
    case vtComplexValue: {
      v.DefineComplex();
      const double re = StreamReadDouble(s);
      v.SetComplexValue(TCplx(re, StreamReadDouble(s)));
      break;
    }
    case vtIntegerValue:
      v.DefineInteger();
      v.SetIntegerValue(StreamReadInt32(s));
      break;
    case vtBoolValue:
      v.DefineBool();
      v.SetBoolValue(StreamReadInt32(s) != 0);
      break;
    case vtVectorValue:
      v.DefineVector();
      v.VectorValue().LoadFromStream(s);
      break;
    case vtMatrixValue:
      v.DefineMatrix();
      v.MatrixValue().LoadFromStream(s);
      break;
    case vtIntVectorValue:
      v.DefineIntVector();
      v.IntVectorValue().LoadFromStream(s);
      break;
    case vtBoolVectorValue:
      v.DefineBoolVector();
      v.BoolVectorValue().LoadFromStream(s);
      break;
    case vtIntMatrixValue:
      v.DefineIntMatrix();
      v.IntMatrixValue().LoadFromStream(s);
      break;
    case vtBoolMatrixValue:
      v.DefineBoolMatrix();
      v.BoolMatrixValue().LoadFromStream(s);
      break;
    default:  // undefined, custom values and unknown ordinals: no payload, the variable stays undefined
      break;
  }
}

}  // namespace

void TExprContext::SaveToStream(std::ostream& s) const {
  StreamWriteString(s, fExpression);
  StreamWriteInt32(s, fVariables.Count());
  for (int i = 0; i < fVariables.Count(); ++i) {
    const TNamedVariable& item = *fVariables.Items(i);
    StreamWriteString(s, item.VarName());
    WriteValue(s, item.Value());
  }
}

void TExprContext::LoadFromStream(std::istream& s) {
  ReadPart(s, "the expression", [&] { fExpression = StreamReadString(s); });
  std::int32_t count = 0;
  ReadPart(s, "the variable count", [&] { count = StreamReadInt32(s); });
  for (std::int32_t i = 0; i < count; ++i) {
    std::string name;
    ReadPart(s, Fmt("the name of variable %d", i + 1), [&] { name = StreamReadString(s); });
    TValueRec& value = fVariables.Add(name)->Value();
    ReadPart(s, "the value of variable \"" + name + "\"", [&] {
      const auto type = static_cast<TValueType>(StreamReadInt32(s) & 0xFF);
      ReadValue(s, type, value);
    });
  }
}

void TExprContext::SaveToFile(const std::string& fileName, bool append) const {
  SaveFileAtomically(
      fileName, [this](std::ostream& out) { SaveToStream(out); }, append);
}

void TExprContext::LoadFromFile(const std::string& fileName) {
  LoadFromFileStream(fileName, [this](std::istream& in) { LoadFromStream(in); });
}

}  // namespace zel
