// Value records: copies, value-level assignment between types, setters and the text of a value.
#include "lang/values/valuerec.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "core/text.h"

namespace zel {

// --- copies ----------------------------------------------------------------------------------------

void TValueRec::Copy(const TValueRec& source) { CopyFrom(source, false); }

void TValueRec::CopyValue(const TValueRec& source) {
  if (&source == this) return;
  switch (source.fValueType) {
    case vtString:
      DefineString();
      FStringValue = source.FStringValue;
      break;
    case vtCustomValue:
      DefineCustomValue(source.fCustomValue, false);
      break;
    default:
      CopyFrom(source, true);
      if (source.fValueType == vtRangeValue) FRangeIntPrecision = source.FRangeIntPrecision;
  }
}

void TValueRec::CopyFrom(const TValueRec& source, bool deep) {
  const TValueType t = source.fValueType;
  if (t == vtString || t == vtCustomValue || static_cast<int>(t) >= ValueTypeCount)
    throw EZelParseError(Fmt("TValueRec.Copy: operation not supported for value type: (%s)", ValTypeName(t)));
  if (&source == this) return;

  // An owned source object is deep-copied, a referenced one is referenced (copied too when `deep`). The
  // copy is made before this record frees its own object, and an object this record owns is kept when the
  // source points at it.
  const auto takeObject = [&](auto*& field, auto* src) {
    using T = std::remove_pointer_t<std::remove_reference_t<decltype(field)>>;
    if (fValueType == t && fOwned && src && field == src) return;
    std::unique_ptr<T> copy;
    if ((deep || source.fOwned) && src) {
      copy = std::make_unique<T>();
      copy->Copy(*src);
    }
    InternalUndefine(t);
    fValueType = t;
    fOwned = copy != nullptr;
    field = copy ? copy.release() : src;
  };

  switch (t) {
    case vtUndefined:
      InternalUndefine(t);
      break;
    case vtDoubleValue:
      InternalUndefine(t);
      fDoubleValue = source.fDoubleValue;
      break;
    case vtIntegerValue:
      InternalUndefine(t);
      SetIntegerValue(source.fIntegerValue);
      break;
    case vtBoolValue:
      InternalUndefine(t);
      fBoolValue = source.fBoolValue;
      break;
    case vtComplexValue:
      InternalUndefine(t);
      fComplexValue = source.fComplexValue;
      break;
    case vtRangeValue:
      if (source.fExtRange) {
        takeObject(fVectorValue, source.fVectorValue);
        fExtRange = true;
      } else {
        InternalUndefine(t);
        if (fExtRange) fVectorValue = nullptr;  // a referenced extended range is dropped
        fExtRange = false;
        fRange.assign(source.fRange.begin(), source.fRange.end());
      }
      break;
    case vtVectorValue:
      takeObject(fVectorValue, source.fVectorValue);
      break;
    case vtMatrixValue:
      takeObject(fMatrixValue, source.fMatrixValue);
      break;
    case vtIntVectorValue:
    case vtBoolVectorValue:
      takeObject(fIntVectorValue, source.fIntVectorValue);
      break;
    case vtIntMatrixValue:
    case vtBoolMatrixValue:
      takeObject(fIntMatrixValue, source.fIntMatrixValue);
      break;
    default:
      break;
  }
  fValueType = t;
}

// --- setters and value-level assignment ----------------------------------------------------------

void TValueRec::SetVectorValue(const TVec& src) { fVectorValue->Assign(src); }
void TValueRec::SetMatrixValue(const TZel& src) { fMatrixValue->Assign(src); }
void TValueRec::SetIntVectorValue(const TVecInt& src) { fIntVectorValue->Assign(src); }
void TValueRec::SetIntMatrixValue(const TZelInt& src) { fIntMatrixValue->Assign(src); }

void TValueRec::AssignOper(const TValueRec& source) {
  const TValueType s = source.fValueType;
  const TValueType d = fValueType;
  const auto incompatible = [s, d]() {
    if (s == vtUndefined || d == vtUndefined) throw EZelParseError(UnknownExprWord);
    throw EZelParseError(
        Fmt("assign: Incompatible value types: Src:%s, Dst:%s", ValTypeName(s), ValTypeName(d)));
  };
  // Core copies skip a record assigned onto itself (same object on both sides).
  const auto copyReal = [](TNubraVec* dst, const TNubraVec* src) {
    if (dst != src) dst->Copy(*src);
  };
  const auto copyInt = [](TNubraInt* dst, const TNubraInt* src) {
    if (dst != src) dst->Copy(*src);
  };
  const double boolAsReal = source.fBoolValue ? 1.0 : 0.0;
  const std::int32_t boolAsInt = source.fBoolValue ? 1 : 0;
  const auto lowInt = static_cast<std::int32_t>(source.fIntegerValue);

  switch (d) {
    case vtDoubleValue:
      if (s == vtDoubleValue)
        fDoubleValue = source.fDoubleValue;
      else if (s == vtIntegerValue)
        fDoubleValue = static_cast<double>(source.fIntegerValue);
      else
        incompatible();
      break;
    case vtIntegerValue:
      if (s == vtIntegerValue)
        SetIntegerValue(source.fIntegerValue);
      else if (s == vtBoolValue)
        SetIntegerValue(boolAsInt);
      else
        incompatible();
      break;
    case vtBoolValue:
      if (s == vtBoolValue)
        fBoolValue = source.fBoolValue;
      else if (s == vtIntegerValue)
        fBoolValue = source.fIntegerValue != 0;
      else
        incompatible();
      break;
    case vtComplexValue:
      if (s == vtDoubleValue)
        fComplexValue = TCplx(source.fDoubleValue, 0);
      else if (s == vtComplexValue)
        fComplexValue = source.fComplexValue;
      else if (s == vtIntegerValue)
        fComplexValue = TCplx(static_cast<double>(source.fIntegerValue), 0);
      else
        incompatible();
      break;
    case vtString:
      if (s == vtString)
        FStringValue = source.FStringValue;
      else
        incompatible();
      break;
    case vtRangeValue:
      if (s == vtRangeValue)
        Copy(source);
      else
        incompatible();
      break;
    case vtVectorValue:
      switch (s) {
        case vtDoubleValue:
          fVectorValue->SetVal(source.fDoubleValue);
          break;
        case vtIntegerValue:
          fVectorValue->SetVal(static_cast<double>(source.fIntegerValue));
          break;
        case vtBoolValue:
          fVectorValue->SetVal(boolAsReal);
          break;
        case vtComplexValue:
          fVectorValue->SetVal(source.fComplexValue);
          break;
        case vtVectorValue:
          copyReal(fVectorValue, source.fVectorValue);
          break;
        case vtMatrixValue:
          copyReal(fVectorValue, source.fMatrixValue);
          break;
        default:
          incompatible();
      }
      break;
    case vtMatrixValue:
      switch (s) {
        case vtDoubleValue:
          fMatrixValue->SetVal(source.fDoubleValue);
          break;
        case vtIntegerValue:
          fMatrixValue->SetVal(static_cast<double>(source.fIntegerValue));
          break;
        case vtComplexValue:
          fMatrixValue->SetVal(source.fComplexValue);
          break;
        case vtVectorValue:
          copyReal(fMatrixValue, source.fVectorValue);
          break;
        case vtMatrixValue:
          copyReal(fMatrixValue, source.fMatrixValue);
          break;
        case vtIntVectorValue:
          fMatrixValue->CopyFromInt(*source.fIntVectorValue);
          break;
        case vtIntMatrixValue:
          fMatrixValue->CopyFromInt(*source.fIntMatrixValue);
          break;
        default:
          incompatible();
      }
      break;
    case vtIntVectorValue:
      switch (s) {
        case vtIntegerValue:
          fIntVectorValue->SetVal(lowInt);
          break;
        case vtBoolValue:
          fIntVectorValue->SetVal(boolAsInt);
          break;
        case vtIntVectorValue:
          copyInt(fIntVectorValue, source.fIntVectorValue);
          break;
        case vtIntMatrixValue:
          copyInt(fIntVectorValue, source.fIntMatrixValue);
          break;
        default:
          incompatible();
      }
      break;
    case vtIntMatrixValue:
      switch (s) {
        case vtIntegerValue:
          fIntMatrixValue->SetVal(lowInt);
          break;
        case vtBoolValue:
          fIntMatrixValue->SetVal(boolAsInt);
          break;
        case vtIntVectorValue:
          copyInt(fIntMatrixValue, source.fIntVectorValue);
          break;
        case vtIntMatrixValue:
          copyInt(fIntMatrixValue, source.fIntMatrixValue);
          break;
        default:
          incompatible();
      }
      break;
    case vtBoolVectorValue:
      switch (s) {
        case vtBoolValue:
          fIntVectorValue->SetVal(boolAsInt);
          break;
        case vtBoolVectorValue:
          copyInt(fIntVectorValue, source.fIntVectorValue);
          break;
        case vtBoolMatrixValue:
          copyInt(fIntVectorValue, source.fIntMatrixValue);
          break;
        default:
          incompatible();
      }
      break;
    case vtBoolMatrixValue:
      switch (s) {
        case vtBoolValue:
          fIntMatrixValue->SetVal(boolAsInt);
          break;
        case vtBoolVectorValue:
          copyInt(fIntMatrixValue, source.fIntVectorValue);
          break;
        case vtBoolMatrixValue:
          copyInt(fIntMatrixValue, source.fIntMatrixValue);
          break;
        default:
          incompatible();
      }
      break;
    default:
      incompatible();
  }
}

void TValueRec::AssignTo(TPersistent& dest) const {
  auto* rec = dynamic_cast<TValueRec*>(&dest);
  if (rec && rec != this)
    rec->Copy(*this);
  else
    TPersistent::AssignTo(dest);
}

namespace {

// Renders a core object as lines (one per element or matrix row, ", " between columns) joined by CR LF.
std::string ObjectText(const TNubra* obj) {
  if (!obj) return {};
  std::vector<std::string> lines;
  obj->ValuesToStrings(lines, ", ");
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) out += "\r\n";
    out += lines[i];
  }
  return out;
}

}  // namespace

std::string TValueRec::GetAsString() const {
  std::string text;
  switch (fValueType) {
    case vtUndefined:
      text = "Undefined";
      break;
    case vtDoubleValue:
      text = SampleToStr(fDoubleValue);
      break;
    case vtString:
      text = FStringValue;
      break;
    case vtComplexValue:
      text = CplxToStr(fComplexValue, 0, 15);
      break;
    case vtIntegerValue:
      text = std::to_string(fIntegerValue);
      break;
    case vtBoolValue:
      text = fBoolValue ? "True" : "False";
      break;
    case vtVectorValue:
      text = ObjectText(fVectorValue);
      break;
    case vtMatrixValue:
      text = ObjectText(fMatrixValue);
      break;
    case vtIntVectorValue:
    case vtBoolVectorValue:
      text = ObjectText(fIntVectorValue);
      break;
    case vtIntMatrixValue:
    case vtBoolMatrixValue:
      text = ObjectText(fIntMatrixValue);
      break;
    default:
      throw std::runtime_error(
          Fmt("TValueRec.GetAsString: Unexpected value type: %d", static_cast<int>(fValueType)));
  }
  // One-line form: blanks removed first, then each CR LF becomes "; ".
  std::erase(text, ' ');
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out += "; ";
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace zel
