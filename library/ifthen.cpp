// ifthen(a, b, c): a copy of b when a is true, else a copy of c. All three arguments are evaluated.
#include "lang/words/registration.h"
#include "library/families.h"

namespace zel {

namespace {

// The condition: a boolean, or a non-zero integer, double or complex number; other kinds are refused.
bool Condition(const TExprRec& e) {
  const TValueRec& a = *e.Args[0];
  switch (a.ValueType()) {
    case vtBoolValue:
      return a.BoolValue();
    case vtIntegerValue:
      return a.IntegerValue() != 0;
    case vtDoubleValue:
      return a.DoubleValue() != 0;
    case vtComplexValue:
      return a.ComplexValue() != TCplx(0, 0);
    case vtUndefined:
      throw EZelParseError(UnknownExprWord);
    default:
      throw EZelParseError("If: The first argument can not be vector or matrix");
  }
}

// ifthen(a, b, c): b when a is true, else c.
void _IfThen(TExprRec& e) {
  const TValueRec& b = *e.Args[1];
  const TValueRec& c = *e.Args[2];
  if (b.ValueType() != c.ValueType())
    throw EZelParseError("If: The second and the third argument have different value types");
  const TValueRec& src = Condition(e) ? b : c;
  TValueRec& res = *e.Res;
  switch (src.ValueType()) {
    case vtDoubleValue:
    case vtIntegerValue:
      res.DefineDouble();
      res.SetDoubleValue(src.DoubleValue());
      break;
    case vtComplexValue:
      res.DefineComplex();
      res.SetComplexValue(src.ComplexValue());
      break;
    case vtBoolValue:
      res.DefineBool();
      res.SetBoolValue(src.BoolValue());
      break;
    case vtVectorValue:
    case vtIntVectorValue:
    case vtIntMatrixValue:
    case vtBoolVectorValue:
    case vtBoolMatrixValue:
    case vtMatrixValue:
      // The result keeps its own object of that type and takes a copy of the chosen value.
      res.SetValueType(src.ValueType());
      res.AssignOper(src);
      break;
    default:
      UnsupportedValueTypesError(e, b.ValueType());
  }
}

constexpr TFunctionEntry kIfThen[] = {
    {"ifthen", nullptr, _IfThen, 3,
     "ifthen(a,b,c): returns 'b', if 'a' is TRUE (not zero), otherwise returns 'c'"},
};

}  // namespace

void RegisterIfThen(TWordList& words) { RegisterFunctions(words, kIfThen); }

}  // namespace zel
