// The value record: the one holder of every datum the language handles (literals, variables, arguments,
// intermediate results). A record carries a type tag and the storage for each kind of value; only the
// storage matching the tag is meaningful. Once defined, a record keeps its type until it is undefined.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "core/component.h"
#include "core/cplx.h"
#include "core/nubra.h"
#include "core/persistent.h"
#include "lang/values/valuetypes.h"

namespace zel {

class TValueRec : public TPersistent {
 public:
  TValueRec() = default;
  TValueRec(const TValueRec&) = delete;
  TValueRec& operator=(const TValueRec&) = delete;
  ~TValueRec() override;

  // --- properties ---------------------------------------------------------------------------------
  TValueType ValueType() const { return fValueType; }
  // Same type: nothing. vtUndefined: Undefine. vtCustomValue: DefineCustomValue(nullptr, true).
  // Otherwise the type's define operation (so the persistence rule applies).
  void SetValueType(TValueType t);
  bool IsOwned() const { return fOwned; }
  // The record of a constant word (a literal, a folded sub-expression, a named constant): its value and
  // type never change, so optimisers may read it once.
  bool IsConstant() const { return fConstant; }
  void MarkConstant() { fConstant = true; }

  double DoubleValue() const { return fDoubleValue; }
  // Addresses of the type tag and the scalar fields, for compiled code that reads them directly.
  const TValueType* TypeField() const { return &fValueType; }
  const double* DoubleField() const { return &fDoubleValue; }
  double* DoubleField() { return &fDoubleValue; }
  bool* BoolField() { return &fBoolValue; }
  const std::int64_t* IntegerField() const { return &fIntegerValue; }
  std::int64_t* IntegerField() { return &fIntegerValue; }
  void SetDoubleValue(double x) { fDoubleValue = x; }
  std::int64_t IntegerValue() const { return fIntegerValue; }
  // Stores the integer and mirrors it into DoubleValue.
  void SetIntegerValue(std::int64_t v) {
    fIntegerValue = v;
    fDoubleValue = static_cast<double>(v);
  }
  bool BoolValue() const { return fBoolValue; }
  void SetBoolValue(bool b) { fBoolValue = b; }
  const TCplx& ComplexValue() const { return fComplexValue; }
  void SetComplexValue(TCplx z) { fComplexValue = z; }
  const std::string& StringValue() const { return FStringValue; }
  void SetStringValue(const std::string& s) { FStringValue = s; }
  TObject* CustomValue() const { return fCustomValue; }
  // Stores the reference only; ownership is unchanged.
  void SetCustomValue(TObject* obj) { fCustomValue = obj; }

  // Real vector; a range is first expanded in place (the record becomes an owned vector).
  TVec& getVectorValue();
  TVec& VectorValue() { return getVectorValue(); }
  void SetVectorValue(const TVec& src);  // Assign into the existing vector
  TZel& MatrixValue() const { return Deref(fMatrixValue, "matrix"); }
  void SetMatrixValue(const TZel& src);
  // The start/[step/]stop numbers of an extended range (the vector field as it is).
  TVec* ExtRangeValue() const { return fVectorValue; }
  TVecInt& BoolVectorValue() const { return Deref(fIntVectorValue, "bool vector"); }
  TZelInt& BoolMatrixValue() const { return Deref(fIntMatrixValue, "bool matrix"); }
  // Integer vector; a range is first expanded in place in RangeIntPrecision.
  TVecInt& GetIntVectorValue();
  TVecInt& IntVectorValue() { return GetIntVectorValue(); }
  void SetIntVectorValue(const TVecInt& src);
  TZelInt& IntMatrixValue() const { return Deref(fIntMatrixValue, "integer matrix"); }
  void SetIntMatrixValue(const TZelInt& src);

  // The flat elements of a matrix or vector value (a range is expanded in place first).
  TNubraVec& RealElements();
  // The flat elements of an integer or bool matrix or vector value (an integer range is expanded first).
  TNubraInt& IntElements();

  // The bounds of a plain integer range: (start, stop) or (start, step, stop).
  std::vector<std::int32_t>& Range() { return fRange; }
  const std::vector<std::int32_t>& Range() const { return fRange; }

  std::intptr_t Tag() const { return FTag; }
  void SetTag(std::intptr_t t) { FTag = t; }
  TIntPrecision RangeIntPrecision() const { return FRangeIntPrecision; }
  void SetRangeIntPrecision(TIntPrecision p) { FRangeIntPrecision = p; }
  bool ExtRange() const { return fExtRange; }
  void SetExtRange(bool b) { fExtRange = b; }

  // Raw object fields (null unless the tag says otherwise), for code that tests what is present.
  TVec* VectorField() const { return fVectorValue; }
  TZel* MatrixField() const { return fMatrixValue; }
  TVecInt* IntVectorField() const { return fIntVectorValue; }
  TZelInt* IntMatrixField() const { return fIntMatrixValue; }

  // --- definitions --------------------------------------------------------------------------------
  // Scalars: redefining a scalar with its own type changes nothing, so that case returns at once (every
  // typed routine defines its result on every run).
  void DefineDouble() {
    if (fValueType != vtDoubleValue) DefineScalar(vtDoubleValue);
  }
  void DefineInteger() {
    if (fValueType != vtIntegerValue) DefineScalar(vtIntegerValue);
  }
  void DefineBool() {
    if (fValueType != vtBoolValue) DefineScalar(vtBoolValue);
  }
  void DefineComplex() {
    if (fValueType != vtComplexValue) DefineScalar(vtComplexValue);
  }
  void DefineString() {
    if (fValueType != vtString) DefineScalar(vtString);
  }
  void DefineRange();
  void DefineExtRange();
  void DefineExtRange(TVec* v, bool owned);
  void DefineVector();
  void DefineVector(TVec* v, bool owned);
  void DefineMatrix();
  void DefineMatrix(TZel* m, bool owned);
  void DefineIntVector();
  void DefineIntVector(TVecInt* v, bool owned);
  void DefineIntMatrix();
  void DefineIntMatrix(TZelInt* m, bool owned);
  void DefineBoolVector();
  void DefineBoolVector(TVecInt* v, bool owned);
  void DefineBoolMatrix();
  void DefineBoolMatrix(TZelInt* m, bool owned);
  void DefineCustomValue();
  void DefineCustomValue(TObject* obj, bool owned);
  // Moves the source's object into this record; the source keeps a non-owning reference.
  void InternalDefineOwned(TValueRec& source);
  void Undefine();

  // --- copies and conversions ---------------------------------------------------------------------
  // Makes this record the same type as the source: deep copy of owned objects, reference otherwise.
  void Copy(const TValueRec& source);
  // Makes this record the same type as the source with its own copy of the data, whether the source owns
  // its object or refers to a host's; strings are copied too, a custom object is referenced (never owned),
  // and a range keeps its integer precision. Contexts use it so a saved or loaded variable never shares a
  // host's storage.
  void CopyValue(const TValueRec& source);
  // Converts the source into this record's existing type, keeping this record's objects.
  void AssignOper(const TValueRec& source);
  void AssignTo(TPersistent& dest) const override;

  // Text of the value: no blanks, CR LF replaced by "; " (so matrix rows are joined by "; ").
  virtual std::string GetAsString() const;
  std::string AsString() const { return GetAsString(); }
  // True exactly for double and integer values.
  bool IsRealValue() const { return fValueType == vtDoubleValue || fValueType == vtIntegerValue; }
  // No effect: ranges are expanded by the two vector getters.
  void PromoteRangeToVector() {}

  // --- binary form (the value blob, docs/numbers.md) -----------------------------------------------
  // Writes the type byte and the payload; a range, string or custom value raises EZelParseError
  // "TValueRec.WriteBinData: Unexpected value type" after the type byte.
  void WriteBinData(std::ostream& s) const;
  // Reads a blob into this record: the type byte must agree with a defined record's type (the
  // persistence rule); range, string, custom and unknown ordinals raise EZelParseError
  // "TValueRec.ReadBinData: Unexpected value type". A record that holds a vector or matrix (its own or a
  // host's) loads into that object.
  void ReadBinData(std::istream& s);

  // --- component streaming (TZelComponent properties) ---------------------------------------------
  // Publishes the value blob as the property `prefix` + "Data", its bytes as hex text; always stored, so
  // an undefined record writes "00". A range, string or custom value raises as WriteBinData does.
  void DefineProperties(TZelComponent::TProperties& dst, const std::string& prefix = "") const;
  // Reads `prefix` + "Data" back through ReadBinData; without that property the record is left as it is.
  // Text that is not hex raises ENubraException naming the property.
  void ReadProperties(const TZelComponent::TProperties& src, const std::string& prefix = "");

  std::string ClassName() const override { return "TValueRec"; }

 protected:
  // The persistence check every define runs first (see docs/language.md): raises when the record is
  // defined with another type; frees the owned object when it is redefined with its own type.
  void InternalUndefine(TValueType newType);
  // The persistence check, then the tag (for the scalar types).
  void DefineScalar(TValueType t);
  // Sets the tag directly, for the typed holders.
  void SetTypeTag(TValueType t) { fValueType = t; }

 private:
  // The object behind a container field; a record that holds none (its type changed under a compiled
  // node) raises instead of crashing.
  template <class T>
  static T& Deref(T* p, const char* what) {
    if (!p) throw EZelParseError(std::string("TValueRec: no ") + what + " value is defined");
    return *p;
  }
  void CopyFrom(const TValueRec& source, bool deep);
  template <class T>
  void DefineOwnedObject(TValueType t, T*& field);
  template <class T>
  void DefineObject(TValueType t, T*& field, T* obj, bool owned);
  void FreeObjects();

  // Scalars first: the evaluation hot path reads these.
  TValueType fValueType = vtUndefined;
  bool fOwned = false;
  bool fConstant = false;
  bool fExtRange = false;
  bool fBoolValue = false;
  TIntPrecision FRangeIntPrecision = prInt32;
  std::int64_t fIntegerValue = 0;
  double fDoubleValue = 0;
  TCplx fComplexValue{};
  std::intptr_t FTag = 0;
  TVecInt* fIntVectorValue = nullptr;
  TZelInt* fIntMatrixValue = nullptr;
  TVec* fVectorValue = nullptr;
  TZel* fMatrixValue = nullptr;
  TObject* fCustomValue = nullptr;
  std::string FStringValue;
  std::vector<std::int32_t> fRange;
};

// Typed holders: a TValueRec whose constructor fixes the type.
class TDoubleValue : public TValueRec {
 public:
  TDoubleValue() { SetTypeTag(vtDoubleValue); }
};
class TRangeValue : public TValueRec {
 public:
  TRangeValue() { SetTypeTag(vtRangeValue); }
};
class TStringValue : public TValueRec {
 public:
  TStringValue() { SetTypeTag(vtString); }
};
class TComplexValue : public TValueRec {
 public:
  TComplexValue() { SetTypeTag(vtComplexValue); }
};
class TIntegerValue : public TValueRec {
 public:
  TIntegerValue() { SetTypeTag(vtIntegerValue); }
};
class TBoolValue : public TValueRec {
 public:
  TBoolValue() { SetTypeTag(vtBoolValue); }
};
// Container holders: without an object a new owned one; with a non-null object a reference to it.
class TVectorValue : public TValueRec {
 public:
  TVectorValue() { DefineVector(); }
  explicit TVectorValue(TVec* v) { v ? DefineVector(v, false) : DefineVector(); }
};
class TMatrixValue : public TValueRec {
 public:
  TMatrixValue() { DefineMatrix(); }
  explicit TMatrixValue(TZel* m) { m ? DefineMatrix(m, false) : DefineMatrix(); }
};
class TIntVectorValue : public TValueRec {
 public:
  TIntVectorValue() { DefineIntVector(); }
  explicit TIntVectorValue(TVecInt* v) { v ? DefineIntVector(v, false) : DefineIntVector(); }
};
class TIntMatrixValue : public TValueRec {
 public:
  TIntMatrixValue() { DefineIntMatrix(); }
  explicit TIntMatrixValue(TZelInt* m) { m ? DefineIntMatrix(m, false) : DefineIntMatrix(); }
};
class TBoolVectorValue : public TValueRec {
 public:
  TBoolVectorValue() { DefineBoolVector(); }
  explicit TBoolVectorValue(TVecInt* v) { v ? DefineBoolVector(v, false) : DefineBoolVector(); }
};
class TBoolMatrixValue : public TValueRec {
 public:
  TBoolMatrixValue() { DefineBoolMatrix(); }
  explicit TBoolMatrixValue(TZelInt* m) { m ? DefineBoolMatrix(m, false) : DefineBoolMatrix(); }
};

}  // namespace zel
