// The host interface of the expression object: script text, symbols, typed evaluation and contexts.
#include "script/expression.h"

#include <stdexcept>

namespace zel {

// ---- script text -----------------------------------------------------------------------------------

int TZelExpression::AddExpr(const std::string& expr) {
  auto line = std::make_unique<TSingleExpression>();
  line->Str = expr;
  fExprList.Add(std::move(line));
  fIsCompiled = false;
  return ExprCount() - 1;
}

int TZelExpression::AddExpr(const std::vector<std::string>& exprList) {
  int last = 0;
  for (const std::string& e : exprList) last = AddExpr(e);
  return last;
}

void TZelExpression::InsertExpr(int index, const std::string& expr) {
  auto line = std::make_unique<TSingleExpression>();
  line->Str = expr;
  fExprList.Insert(index, std::move(line));
  fIsCompiled = false;
}

void TZelExpression::DeleteExpr(int index) {
  fExprList.Delete(index);
  fIsCompiled = false;
}

void TZelExpression::ClearExpressions() {
  fExprList.Clear();
  fConstList.Clear();
  fIsCompiled = false;
}

void TZelExpression::SetExpression(int index, const std::string& text) {
  TSingleExpression& line = *fExprList[index];
  DisposeList(line.Rec);
  line.Res = nullptr;
  line.Str = text;
  fIsCompiled = false;
}

std::string TZelExpression::Expressions() const {
  std::string text;
  for (int i = 0; i < ExprCount(); ++i) {
    if (i > 0) text += EXPRESSION_SEPARATOR;
    text += fExprList[i]->Str;
  }
  return text;
}

void TZelExpression::SetExpressions(const std::string& text) {
  ClearExpressions();
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) return;
  size_t start = 0;
  while (true) {
    const size_t eol = text.find('\n', start);
    std::string line = text.substr(start, eol == std::string::npos ? std::string::npos : eol - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (eol == std::string::npos) {
      if (!line.empty()) AddExpr(line);  // a final line break ends the last line; it opens no new one
      break;
    }
    AddExpr(line);
    start = eol + 1;
  }
}

TValueRec* TZelExpression::Run(const std::string& expr) {
  ClearExpressions();
  AddExpr(expr);
  return Evaluate();
}

// ---- symbols ---------------------------------------------------------------------------------------

int TZelExpression::AddWord(TExprWord* word) {
  // A word that replaces another (anything but a function overload) would leave compiled lines pointing
  // at the freed word: drop the compiled form first; the next evaluation rebuilds it.
  int index = 0;
  if (fWordList.Find(word->Name(), index) && fWordList[index]->LexemeType() != ltFunction) DoDeleteWord(this);
  return fWordList.Add(word);
}

template <class W, class... A>
auto& TZelExpression::AddVariable(const std::string& name, A&&... args) {
  auto* word = new W(name, std::forward<A>(args)...);
  AddWord(word);
  fIsCompiled = false;
  return *word->VRec();
}

TValueRec& TZelExpression::DefineVariable(const std::string& name) {
  return AddVariable<TExprVariable>(name);
}
TDoubleValue& TZelExpression::DefineDouble(const std::string& name) {
  return static_cast<TDoubleValue&>(AddVariable<TExprDoubleVariable>(name));
}
TBoolValue& TZelExpression::DefineBool(const std::string& name) {
  return static_cast<TBoolValue&>(AddVariable<TExprBoolVariable>(name));
}
TIntegerValue& TZelExpression::DefineInteger(const std::string& name) {
  return static_cast<TIntegerValue&>(AddVariable<TExprIntegerVariable>(name));
}
TStringValue& TZelExpression::DefineString(const std::string& name) {
  return static_cast<TStringValue&>(AddVariable<TExprStringVariable>(name));
}
TRangeValue& TZelExpression::DefineRange(const std::string& name) {
  return static_cast<TRangeValue&>(AddVariable<TExprRangeVariable>(name));
}
TComplexValue& TZelExpression::DefineComplex(const std::string& name) {
  return static_cast<TComplexValue&>(AddVariable<TExprComplexVariable>(name));
}
TVectorValue& TZelExpression::DefineVector(const std::string& name, TVec* host) {
  return static_cast<TVectorValue&>(AddVariable<TExprVectorVariable>(name, host));
}
TIntVectorValue& TZelExpression::DefineIntVector(const std::string& name, TVecInt* host) {
  return static_cast<TIntVectorValue&>(AddVariable<TExprIntVectorVariable>(name, host));
}
TBoolVectorValue& TZelExpression::DefineBoolVector(const std::string& name, TVecInt* host) {
  return static_cast<TBoolVectorValue&>(AddVariable<TExprBoolVectorVariable>(name, host));
}
TMatrixValue& TZelExpression::DefineMatrix(const std::string& name, TZel* host) {
  return static_cast<TMatrixValue&>(AddVariable<TExprMatrixVariable>(name, host));
}
TIntMatrixValue& TZelExpression::DefineIntMatrix(const std::string& name, TZelInt* host) {
  return static_cast<TIntMatrixValue&>(AddVariable<TExprIntMatrixVariable>(name, host));
}
TBoolMatrixValue& TZelExpression::DefineBoolMatrix(const std::string& name, TZelInt* host) {
  return static_cast<TBoolMatrixValue&>(AddVariable<TExprBoolMatrixVariable>(name, host));
}
TCustomValue& TZelExpression::DefineCustomValue(const std::string& name, TObject* obj) {
  return static_cast<TCustomValue&>(AddVariable<TExprCustomValueVariable>(name, obj));
}

int TZelExpression::DefineFunction(const std::string& name, TExprFunc func, int nArguments, int nResults,
                                   const std::string& help) {
  return AddWord(new TExprFunction(name, func, nArguments, nResults, help));
}
int TZelExpression::DefineFunction(const std::string& name, TExprFunc func, int nArguments,
                                   const std::string& help) {
  return DefineFunction(name, func, nArguments, 0, help);
}
int TZelExpression::DefineFunction(const std::string& name, int nArguments, TExprFuncObj func,
                                   const std::string& help) {
  return DefineFunction(name, nArguments, 0, std::move(func), help);
}
int TZelExpression::DefineFunction(const std::string& name, int nArguments, int nResults, TExprFuncObj func,
                                   const std::string& help) {
  return AddWord(new TExprFunction(name, nArguments, nResults, std::move(func), help));
}
int TZelExpression::DefineVaryingFunction(const std::string& name, TExprFunc func, int nArguments,
                                          const std::string& help) {
  return AddWord(new TExprVaryingFunction(name, func, nArguments, 0, help));
}
int TZelExpression::DefineVaryingFunction(const std::string& name, int nArguments, TExprFuncObj func,
                                          const std::string& help) {
  return AddWord(new TExprVaryingFunction(name, nArguments, 0, std::move(func), help));
}
int TZelExpression::DefineOperator(const std::string& sign, TExprFunc func, int nArguments, int precedence,
                                   const std::string& help) {
  return AddWord(new TExprOperator(sign, func, nArguments, precedence, help));
}
void TZelExpression::DefineDoubleConstant(const std::string& name, double value, const std::string& help) {
  AddWord(new TExprDoubleConstant(name, value, help));
}
void TZelExpression::DefineBoolConstant(const std::string& name, bool value, const std::string& help) {
  AddWord(new TExprBoolConstant(name, value, help));
}
void TZelExpression::DefineComplexConstant(const std::string& name, TCplx value, const std::string& help) {
  AddWord(new TExprComplexConstant(name, value, help));
}

bool TZelExpression::Undefine(const std::string& name) {
  int index = 0;
  if (name.empty() || !fWordList.Find(name, index)) return false;
  constexpr std::uint32_t kRemovable = ltConstant | ltVariable | ltFunction | ltVaryingFunction | ltOperator;
  TExprWord* word = fWordList[index];
  if ((word->LexemeType() & kRemovable) == 0) return false;
  // The compiler rewrites syntax into these words; they stay so scripts keep compiling.
  const TExprWord* kept[] = {ewWhile,  ewEnd,      ewIf,       ewElse,     ewFor,       ewEndFor,
                             ewBreak,  ewContinue, ewTrue,     ewNubraEOA, ewRowConcat, ewColConcat,
                             ewAssign, ewSelect,   ewAssignOp, ewColonOp};
  for (const TExprWord* k : kept)
    if (k == word) return false;
  // Compiled lines refer to the word's routine and value: drop them so nothing runs against freed words.
  DoDeleteWord(this);
  fWordList.Delete(index);
  fIsCompiled = false;
  return true;
}

void TZelExpression::ClearVariables() {
  DoDeleteWord(this);
  for (int i = fWordList.Count() - 1; i >= 0; --i)
    if (fWordList[i]->LexemeType() == ltVariable) fWordList.Delete(i);
  fIsCompiled = false;
}

void TZelExpression::ClearAll() {
  ClearExpressions();
  ClearVariables();
}

void TZelExpression::DoDeleteWord(TObject*) {
  for (int i = 0; i < ExprCount(); ++i) {
    TSingleExpression& line = *fExprList[i];
    DisposeList(line.Rec);
    line.Res = nullptr;
  }
}

TValueRec* TZelExpression::GetVarByName(const std::string& name) {
  if (!fIsCompiled) Compile();
  for (int i = 0; i < fWordList.Count(); ++i) {
    TExprWord* w = fWordList[i];
    if (w->LexemeType() == ltVariable && w->Name() == name) return w->VRec();
  }
  return nullptr;
}

// ---- symbol lists ----------------------------------------------------------------------------------

void TZelExpression::GetSymbolList(std::vector<std::string>& names, std::vector<std::string>* help,
                                   bool argList, std::uint32_t kinds) {
  if (!fIsCompiled) Compile();
  names.clear();
  if (help) help->clear();
  for (int i = 0; i < fWordList.Count(); ++i) {
    TExprWord* w = fWordList[i];
    if ((w->LexemeType() & kinds) == 0) continue;
    if (w->LexemeType() & (ltFunction | ltVaryingFunction)) {
      for (int n = 0; n < ExprMaxArgs; ++n) {
        if (!w->HasOverload(n)) continue;
        std::string entry = w->Name();
        if (argList) entry += "(" + std::string(n > 1 ? n - 1 : 0, ',') + ")";
        names.push_back(entry);
        if (help) help->push_back(w->HelpAt(n));
      }
      continue;
    }
    std::string entry = w->Name();
    if (w->LexemeType() == ltOperator && entry.size() == 2 && entry[1] == '.') std::swap(entry[0], entry[1]);
    names.push_back(entry);
    if (help) help->push_back(w->Help());
  }
}

void TZelExpression::GetFuncList(std::vector<std::string>& names, std::vector<std::string>* help,
                                 bool argList) {
  GetSymbolList(names, help, argList, ltFunction | ltVaryingFunction);
}
void TZelExpression::GetOperList(std::vector<std::string>& names, std::vector<std::string>* help) {
  GetSymbolList(names, help, false, ltOperator);
}
void TZelExpression::GetConstList(std::vector<std::string>& names, std::vector<std::string>* help) {
  GetSymbolList(names, help, false, ltConstant);
}
void TZelExpression::GetVarList(std::vector<std::string>& names) {
  GetSymbolList(names, nullptr, false, ltVariable);
}

// ---- typed evaluation ------------------------------------------------------------------------------

namespace {

[[noreturn]] void WrongResult(const char* prefix, const TValueRec* v) {
  throw EZelParseError(std::string(prefix) + ValTypeName(v ? v->ValueType() : vtUndefined) + "\"");
}

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
