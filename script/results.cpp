// Results for the host: typed evaluation (EvaluateDouble, EvaluateVector, ...), line results, and the
// contexts that carry a script and its variables in and out.
#include <stdexcept>

#include "script/expression.h"

namespace zel {

// ---- typed evaluation ------------------------------------------------------------------------------

namespace {

// Raises the type error of a typed evaluation: the prefix names the expected type.
[[noreturn]] void WrongResult(const char* prefix, const TValueRec* v) {
  throw EZelParseError(std::string(prefix) + ValTypeName(v ? v->ValueType() : vtUndefined) + "\"");
}

// The result as the type each typed evaluation asks for, or its type error.
double AsDouble(const TValueRec* v) {
  if (v) {
    if (v->ValueType() == vtDoubleValue) return v->DoubleValue();
    if (v->ValueType() == vtIntegerValue) return static_cast<double>(v->IntegerValue());
    if (v->ValueType() == vtComplexValue && v->ComplexValue().imag() == 0) return v->ComplexValue().real();
  }
  WrongResult("TZelExpression.EvaluateDouble: double value was expected, but result is \"", v);
}

bool AsBool(const TValueRec* v) {
  if (v && v->ValueType() == vtBoolValue) return v->BoolValue();
  WrongResult("TZelExpression.EvaluateBool: boolean value was expected, but result is \"", v);
}

TCplx AsComplex(const TValueRec* v) {
  if (v) {
    switch (v->ValueType()) {
      case vtComplexValue:
        return v->ComplexValue();
      case vtDoubleValue:
        return {v->DoubleValue(), 0};
      case vtIntegerValue:
        return {static_cast<double>(v->IntegerValue()), 0};
      case vtBoolValue:
        return {v->BoolValue() ? 1.0 : 0.0, 0};
      default:
        break;
    }
  }
  WrongResult(
      "TZelExpression.EvaluateComplex: \"complex\" value requsted as the result of expression, but result is "
      "\"",
      v);
}

TVec& AsVector(TValueRec* v) {
  if (v && v->ValueType() == vtVectorValue) return v->VectorValue();
  WrongResult(
      "TZelExpression.EvaluateVector: \"vector\" value type requested as the result of expression, but "
      "result is \"",
      v);
}

TVecInt& AsVectorInt(TValueRec* v) {
  if (v && v->ValueType() == vtIntVectorValue) return v->IntVectorValue();
  if (v && v->ValueType() == vtBoolVectorValue) return v->BoolVectorValue();
  WrongResult(
      "TZelExpression.EvaluateVector: \"integer vector\" value type requested as the result of expression, "
      "but "
      "result is \"",
      v);
}

TZel& AsMatrix(TValueRec* v) {
  if (v && v->ValueType() == vtMatrixValue) return v->MatrixValue();
  WrongResult("TZelExpression.EvaluateMatrix: matrix value expected, but result is \"", v);
}

TZelInt& AsMatrixInt(TValueRec* v) {
  if (v && v->ValueType() == vtIntMatrixValue) return v->IntMatrixValue();
  if (v && v->ValueType() == vtBoolMatrixValue) return v->BoolMatrixValue();
  WrongResult("TZelExpression.EvaluateMatrix: matrix value expected, but result is \"", v);
}

}  // namespace

double TZelExpression::EvaluateDouble() { return AsDouble(Evaluate()); }
double TZelExpression::EvaluateDouble(int index) { return AsDouble(Evaluate(index)); }
bool TZelExpression::EvaluateBool() { return AsBool(Evaluate()); }
bool TZelExpression::EvaluateBool(int index) { return AsBool(Evaluate(index)); }
TCplx TZelExpression::EvaluateComplex() { return AsComplex(Evaluate()); }
TCplx TZelExpression::EvaluateComplex(int index) { return AsComplex(Evaluate(index)); }
TVec& TZelExpression::EvaluateVector() { return AsVector(Evaluate()); }
TVec& TZelExpression::EvaluateVector(int index) { return AsVector(Evaluate(index)); }
TVecInt& TZelExpression::EvaluateVectorInt() { return AsVectorInt(Evaluate()); }
TVecInt& TZelExpression::EvaluateVectorInt(int index) { return AsVectorInt(Evaluate(index)); }
TZel& TZelExpression::EvaluateMatrix() { return AsMatrix(Evaluate()); }
TZel& TZelExpression::EvaluateMatrix(int index) { return AsMatrix(Evaluate(index)); }
TZelInt& TZelExpression::EvaluateMatrixInt() { return AsMatrixInt(Evaluate()); }
TZelInt& TZelExpression::EvaluateMatrixInt(int index) { return AsMatrixInt(Evaluate(index)); }

TValueRec* TZelExpression::GetExprResult(int index) const {
  const TSingleExpression& line = *fExprList[index];
  TValueRec* v = line.Res ? line.Res->Res : nullptr;
  // A line like v(1:3) leaves a view of v as its result; once v has moved its storage the view must not
  // be read.
  const TNubra* obj = v ? (v->VectorField() ? static_cast<const TNubra*>(v->VectorField())
                                            : static_cast<const TNubra*>(v->IntVectorField()))
                        : nullptr;
  if (obj &&
      (v->ValueType() == vtVectorValue || v->ValueType() == vtIntVectorValue ||
       v->ValueType() == vtBoolVectorValue) &&
      !obj->ViewIsCurrent())
    throw EZelParseError(
        Fmt("The result of line %d refers to data that has changed since it was computed; evaluate the line "
            "again",
            index));
  return v;
}

// ---- contexts --------------------------------------------------------------------------------------

void TZelExpression::LoadContext(const TExprContext& src) {
  ClearAll();
  SetExpressions(src.Expression());
  const TVariableCollection& vars = src.Variables();
  for (int i = 0; i < vars.Count(); ++i) {
    const TNamedVariable& item = *vars.Items(i);
    const TValueRec& v = item.Value();
    if (v.ValueType() == vtCustomValue) continue;
    DefineVariable(item.VarName()).CopyValue(v);  // the variable owns a copy, never the context's data
  }
  fIsCompiled = false;
}

void TZelExpression::SaveContext(TExprContext& dst) {
  dst.Variables().Clear();
  dst.SetExpression(Expressions());
  std::vector<std::string> names;
  GetVarList(names);
  for (const std::string& name : names) {
    const TValueRec* v = GetVarByName(name);
    if (!v || v->ValueType() == vtCustomValue) continue;
    dst.Variables().Add(name)->SetValue(*v);
  }
}

}  // namespace zel
