// The host interface of the expression object: script text, symbol definitions and symbol lists.
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
  line.ClearChain();
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

int TZelExpression::AddWord(std::unique_ptr<TExprWord> word) {
  // A word that replaces another (anything but a function overload) would leave compiled lines pointing
  // at the freed word: drop the compiled form first; the next evaluation rebuilds it.
  int index = 0;
  if (fWordList.Find(word->Name(), index) && fWordList[index]->LexemeType() != ltFunction) DoDeleteWord(this);
  return fWordList.Add(std::move(word));
}

template <class W, class... A>
auto& TZelExpression::AddVariable(const std::string& name, A&&... args) {
  auto word = std::make_unique<W>(name, std::forward<A>(args)...);
  TValueRec& value = *word->VRec();
  AddWord(std::move(word));
  fIsCompiled = false;
  return value;
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
  return AddWord(std::make_unique<TExprFunction>(name, func, nArguments, nResults, help));
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
  return AddWord(std::make_unique<TExprFunction>(name, nArguments, nResults, std::move(func), help));
}
int TZelExpression::DefineVaryingFunction(const std::string& name, TExprFunc func, int nArguments,
                                          const std::string& help) {
  return AddWord(std::make_unique<TExprVaryingFunction>(name, func, nArguments, 0, help));
}
int TZelExpression::DefineVaryingFunction(const std::string& name, int nArguments, TExprFuncObj func,
                                          const std::string& help) {
  return AddWord(std::make_unique<TExprVaryingFunction>(name, nArguments, 0, std::move(func), help));
}
int TZelExpression::DefineOperator(const std::string& sign, TExprFunc func, int nArguments, int precedence,
                                   const std::string& help) {
  return AddWord(std::make_unique<TExprOperator>(sign, func, nArguments, precedence, help));
}
void TZelExpression::DefineDoubleConstant(const std::string& name, double value, const std::string& help) {
  AddWord(std::make_unique<TExprDoubleConstant>(name, value, help));
}
void TZelExpression::DefineBoolConstant(const std::string& name, bool value, const std::string& help) {
  AddWord(std::make_unique<TExprBoolConstant>(name, value, help));
}
void TZelExpression::DefineComplexConstant(const std::string& name, TCplx value, const std::string& help) {
  AddWord(std::make_unique<TExprComplexConstant>(name, value, help));
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

}  // namespace zel
