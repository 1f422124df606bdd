// Value records: definitions, the type-persistence rule and range expansion.
#include "lang/values/valuerec.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <type_traits>

namespace zel {

namespace {

// 2^-52: tolerance that lets an extended range reach a stop lost to rounding.
constexpr double RangeEps = 2.220446049250313e-16;

[[noreturn]] void RaiseZeroStep() { ERaise("Invalid Range specification with zero step!"); }

// Element count of an extended range start:step:stop (step non-zero): the rounded count, less one when
// the last element would pass the stop by more than the tolerance.
double ExtRangeCount(double start, double step, double stop) {
  const double span = std::fabs(stop - start);
  const double astep = std::fabs(step);
  double count = std::nearbyint((astep + span) / astep);
  if (span + RangeEps * astep < astep * (count - 1)) count -= 1;
  return count;
}

// Converts a computed element count to a vector length; NaN or counts past the int range are refused.
int CheckedCount(double count) {
  if (!(count >= 0 && count <= INT_MAX)) ERaise("Invalid Range specification: too many elements!");
  return static_cast<int>(count);
}

// Range start and step rounded to the integer vector's element type, saturated to 32 bits.
std::int32_t RangeInt(double x) {
  if (std::isnan(x)) return 0;
  const double r = std::nearbyint(x);
  if (r <= INT32_MIN) return INT32_MIN;
  if (r >= INT32_MAX) return INT32_MAX;
  return static_cast<std::int32_t>(r);
}

// The bounds of a range, read before the record is converted.
struct RangeSpan {
  double start = 0;
  double step = 0;
  double stop = 0;
  int elements = 0;  // 2, 3, or anything else for an empty range
};

}  // namespace

TValueRec::~TValueRec() { Undefine(); }

// --- the persistence rule and definitions ----------------------------------------------------------

void TValueRec::InternalUndefine(TValueType newType) {
  if (fValueType == vtUndefined) return;
  if (fValueType != newType)
    ERaise(std::string("Variable of type \"") + ValTypeName(fValueType) + "\" cannot be redeclared as \"" +
           ValTypeName(newType) +
           "\". The type of a variable is persistent until the variable is undefined with the undefine "
           "function." +
           "The type of a variable is determined from the type of the value on the first assignment.");
  if (fOwned) Undefine();
}

template <class T>
void TValueRec::DefineOwnedObject(TValueType t, T*& field) {
  // Redefining with the current type keeps the owned object and its contents (no allocation).
  if (fValueType == t && fOwned && field) return;
  auto obj = std::make_unique<T>();
  if constexpr (std::is_base_of_v<TNubraVec, T>) obj->SetFloatPrecision(npDouble);
  InternalUndefine(t);
  fValueType = t;
  fOwned = true;
  field = obj.release();
}

template <class T>
void TValueRec::DefineObject(TValueType t, T*& field, T* obj, bool owned) {
  // Handing back the object this record already owns must not free it.
  if (!(fValueType == t && fOwned && obj && field == obj)) InternalUndefine(t);
  fValueType = t;
  fOwned = owned;
  field = obj;
}

void TValueRec::DefineScalar(TValueType t) {
  InternalUndefine(t);
  fValueType = t;
}

void TValueRec::DefineRange() {
  InternalUndefine(vtRangeValue);
  fValueType = vtRangeValue;
  FRangeIntPrecision = static_cast<TIntPrecision>(0);
}

void TValueRec::DefineExtRange() {
  auto v = std::make_unique<TVec>();
  v->SetFloatPrecision(npDouble);
  InternalUndefine(vtRangeValue);
  fValueType = vtRangeValue;
  fOwned = true;
  fVectorValue = v.release();
  fExtRange = true;
}

void TValueRec::DefineExtRange(TVec* v, bool owned) {
  DefineObject(vtRangeValue, fVectorValue, v, owned);
  fExtRange = true;
}

void TValueRec::DefineVector() { DefineOwnedObject(vtVectorValue, fVectorValue); }
void TValueRec::DefineVector(TVec* v, bool owned) { DefineObject(vtVectorValue, fVectorValue, v, owned); }
void TValueRec::DefineMatrix() { DefineOwnedObject(vtMatrixValue, fMatrixValue); }
void TValueRec::DefineMatrix(TZel* m, bool owned) { DefineObject(vtMatrixValue, fMatrixValue, m, owned); }
void TValueRec::DefineIntVector() { DefineOwnedObject(vtIntVectorValue, fIntVectorValue); }
void TValueRec::DefineIntVector(TVecInt* v, bool owned) {
  DefineObject(vtIntVectorValue, fIntVectorValue, v, owned);
}
void TValueRec::DefineIntMatrix() { DefineOwnedObject(vtIntMatrixValue, fIntMatrixValue); }
void TValueRec::DefineIntMatrix(TZelInt* m, bool owned) {
  DefineObject(vtIntMatrixValue, fIntMatrixValue, m, owned);
}
void TValueRec::DefineBoolVector() { DefineOwnedObject(vtBoolVectorValue, fIntVectorValue); }
void TValueRec::DefineBoolVector(TVecInt* v, bool owned) {
  DefineObject(vtBoolVectorValue, fIntVectorValue, v, owned);
}
void TValueRec::DefineBoolMatrix() { DefineOwnedObject(vtBoolMatrixValue, fIntMatrixValue); }
void TValueRec::DefineBoolMatrix(TZelInt* m, bool owned) {
  DefineObject(vtBoolMatrixValue, fIntMatrixValue, m, owned);
}

void TValueRec::DefineCustomValue() {
  InternalUndefine(vtCustomValue);
  fValueType = vtCustomValue;
  fOwned = false;
  fCustomValue = nullptr;
}

void TValueRec::DefineCustomValue(TObject* obj, bool owned) {
  DefineObject(vtCustomValue, fCustomValue, obj, owned);
}

void TValueRec::InternalDefineOwned(TValueRec& source) {
  const TValueType t = source.fValueType;
  switch (t) {
    case vtVectorValue:
    case vtIntVectorValue:
    case vtBoolVectorValue:
    case vtIntMatrixValue:
    case vtBoolMatrixValue:
    case vtMatrixValue:
    case vtCustomValue:
      break;
    default:
      if (fValueType != vtUndefined && fValueType != t) InternalUndefine(t);  // the persistence error
      ERaise(std::string("Unsupported ownership type change: ") + ValTypeName(t));
  }
  if (&source == this) return;
  switch (t) {
    case vtVectorValue:
      DefineObject(t, fVectorValue, source.fVectorValue, source.fOwned);
      break;
    case vtIntVectorValue:
    case vtBoolVectorValue:
      DefineObject(t, fIntVectorValue, source.fIntVectorValue, source.fOwned);
      break;
    case vtIntMatrixValue:
    case vtBoolMatrixValue:
      DefineObject(t, fIntMatrixValue, source.fIntMatrixValue, source.fOwned);
      break;
    case vtMatrixValue:
      DefineObject(t, fMatrixValue, source.fMatrixValue, source.fOwned);
      break;
    default:
      DefineObject(t, fCustomValue, source.fCustomValue, source.fOwned);
      break;
  }
  source.fOwned = false;
}

void TValueRec::SetValueType(TValueType t) {
  if (t == fValueType) return;
  switch (t) {
    case vtUndefined:
      Undefine();
      break;
    case vtDoubleValue:
      DefineDouble();
      break;
    case vtRangeValue:
      DefineRange();
      break;
    case vtString:
      DefineString();
      break;
    case vtComplexValue:
      DefineComplex();
      break;
    case vtVectorValue:
      DefineVector();
      break;
    case vtIntegerValue:
      DefineInteger();
      break;
    case vtIntVectorValue:
      DefineIntVector();
      break;
    case vtIntMatrixValue:
      DefineIntMatrix();
      break;
    case vtBoolValue:
      DefineBool();
      break;
    case vtBoolVectorValue:
      DefineBoolVector();
      break;
    case vtBoolMatrixValue:
      DefineBoolMatrix();
      break;
    case vtMatrixValue:
      DefineMatrix();
      break;
    case vtCustomValue:
      DefineCustomValue(nullptr, true);
      break;
  }
}

// Frees (when owned) or drops the object of the current type.
void TValueRec::FreeObjects() {
  const auto release = [this](auto*& p) {
    if (fOwned) delete p;
    p = nullptr;
  };
  switch (fValueType) {
    case vtRangeValue:
      fRange.clear();
      if (fExtRange) release(fVectorValue);
      break;
    case vtVectorValue:
      release(fVectorValue);
      break;
    case vtIntVectorValue:
    case vtBoolVectorValue:
      release(fIntVectorValue);
      break;
    case vtIntMatrixValue:
    case vtBoolMatrixValue:
      release(fIntMatrixValue);
      break;
    case vtMatrixValue:
      release(fMatrixValue);
      break;
    case vtCustomValue:
      release(fCustomValue);
      break;
    default:
      break;
  }
}

void TValueRec::Undefine() {
  FreeObjects();
  fExtRange = false;
  fValueType = vtUndefined;
}

// --- range expansion -----------------------------------------------------------------------------

namespace {

RangeSpan ReadRange(const TValueRec& r, bool extended) {
  RangeSpan s;
  if (extended) {
    const TVec* v = r.ExtRangeValue();
    s.elements = v ? v->Length() : 0;
    if (s.elements == 2) {
      s.start = v->Values(0);
      s.stop = v->Values(1);
    } else if (s.elements == 3) {
      s.start = v->Values(0);
      s.step = v->Values(1);
      s.stop = v->Values(2);
    }
  } else {
    const auto& b = r.Range();
    s.elements = static_cast<int>(b.size());
    if (s.elements == 2) {
      s.start = b[0];
      s.stop = b[1];
    } else if (s.elements == 3) {
      s.start = b[0];
      s.step = b[1];
      s.stop = b[2];
    }
  }
  if (s.elements == 2) s.step = s.stop < s.start ? -1 : 1;
  if (s.elements != 2 && s.elements != 3) s = RangeSpan{};
  return s;
}

// Element count of a range whose step is non-zero. Plain ranges hold integers, so their 3-element count
// is an exact integer division.
int RangeCount(const RangeSpan& s, bool extended) {
  if (s.elements == 2) return CheckedCount(std::nearbyint(std::fabs(s.stop - s.start) + 1));
  if (s.elements != 3) return 0;
  if (extended) return CheckedCount(ExtRangeCount(s.start, s.step, s.stop));
  const std::int64_t span =
      std::llabs(static_cast<std::int64_t>(s.stop) - static_cast<std::int64_t>(s.start));
  const std::int64_t astep = std::llabs(static_cast<std::int64_t>(s.step));
  return CheckedCount(static_cast<double>((span + astep) / astep));
}

}  // namespace

TVec& TValueRec::getVectorValue() {
  if (fValueType == vtVectorValue) return *fVectorValue;
  if (fValueType != vtRangeValue)
    throw EZelParseError(
        Fmt("TValueRec.GetVectorValue called, but type is %d", static_cast<int>(fValueType)));
  const bool extended = fExtRange;
  if (extended && fVectorValue && fVectorValue->Complex())
    throw EZelParseError("TValueRec.GetVectorValue called, but complex Range is not supported!");
  const RangeSpan s = ReadRange(*this, extended);
  if (s.elements == 3 && s.step == 0) RaiseZeroStep();
  const int count = RangeCount(s, extended);
  Undefine();
  DefineVector();
  fVectorValue->Size(count);
  fVectorValue->Ramp(s.start, s.step);
  return *fVectorValue;
}

TVecInt& TValueRec::GetIntVectorValue() {
  if (fValueType == vtIntVectorValue) return *fIntVectorValue;
  if (fValueType != vtRangeValue)
    throw EZelParseError(Fmt("TValueRec.GetIntVectorValue called, but type is %s", ValTypeName(fValueType)));
  const bool extended = fExtRange;
  if (extended && fVectorValue && fVectorValue->Complex())
    throw EZelParseError("TValueRec.GetIntVectorValue called, but complex Range is not supported!");
  const RangeSpan s = ReadRange(*this, extended);
  // A real step that rounds to zero would fill the vector with one repeated value: refuse it as well.
  if (s.elements == 3 && (s.step == 0 || RangeInt(s.step) == 0)) RaiseZeroStep();
  const int count = RangeCount(s, extended);
  if (s.elements == 3) {
    if (s.stop > s.start && s.step < 0) ERaise("Invalid Range specification with negative step!");
    if (s.stop < s.start && s.step > 0) ERaise("Invalid Range specification with positive step!");
  }
  Undefine();
  DefineIntVector();
  fIntVectorValue->Size(count, FRangeIntPrecision);
  fIntVectorValue->Ramp(RangeInt(s.start), RangeInt(s.step));
  return *fIntVectorValue;
}

TNubraVec& TValueRec::RealElements() {
  if (fValueType == vtMatrixValue) return MatrixValue();
  return getVectorValue();
}

TNubraInt& TValueRec::IntElements() {
  switch (fValueType) {
    case vtIntMatrixValue:
      return IntMatrixValue();
    case vtBoolVectorValue:
      return BoolVectorValue();
    case vtBoolMatrixValue:
      return BoolMatrixValue();
    default:
      return GetIntVectorValue();
  }
}

}  // namespace zel
