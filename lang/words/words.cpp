// Words: overload slots, function/operator classes and the node.
#include "lang/words/words.h"

#include <algorithm>
#include <stdexcept>

namespace zel {

namespace {
const std::string kEmpty;
const TExprFuncObj kNoFuncObj;
}  // namespace

// ---- TExprWord -------------------------------------------------------------------------------------

TExprWord::TExprWord(const std::string& name, std::uint32_t kind) : fName(name), fLexemeType(kind) {}

TExprWord::TExprWord(char c, std::uint32_t kind) : fName(1, c), fLexemeType(kind) {}

TExprWord::~TExprWord() = default;

TExprFunc TExprWord::GetFunc() const {
  if (FVariableArgCount) {
    if (!fFunc[0])
      throw EZelParseError(Fmt(
          "Variable argument count function \"%s\" has not overload assign for index 0!  ", fName.c_str()));
    return fFunc[0];
  }
  TExprFunc f = fNFuncArg >= 0 && fNFuncArg < ExprMaxArgs ? fFunc[fNFuncArg] : nullptr;
  if (!f) throw EZelParseError(Fmt("No \"%s\" overload accepts %d arguments!  ", fName.c_str(), fNFuncArg));
  return f;
}

const TExprFuncObj& TExprWord::GetFuncObj() const {
  const int slot = FVariableArgCount ? 0 : fNFuncArg;
  if (!fFuncObj || slot < 0 || slot >= ExprMaxArgs) return kNoFuncObj;
  return (*fFuncObj)[slot];
}

const std::string& TExprWord::GetHelp() const { return HelpAt(FVariableArgCount ? 0 : fNFuncArg); }

const std::string& TExprWord::HelpAt(int slot) const {
  return slot >= 0 && static_cast<size_t>(slot) < fHelp.size() ? fHelp[static_cast<size_t>(slot)] : kEmpty;
}

bool TExprWord::HasOverload(int slot) const {
  if (slot < 0 || slot >= ExprMaxArgs) return false;
  return fFunc[slot] != nullptr || (fFuncObj && (*fFuncObj)[slot]);
}

bool TExprWord::CanHaveZeroArguments() const {
  if (FVariableArgCount) return false;
  return HasOverload(0) || FMaxArgCount == 0;
}

void TExprWord::SetNFuncArg(int) {
  throw EZelParseError(Fmt("Argument count can not be set for \"%s\"", fName.c_str()));
}

void TExprWord::SetSlot(int slot, TExprFunc func, TExprFuncObj funcObj, const std::string& help) {
  fFunc[slot] = func;
  if (!help.empty() && fHelp.size() <= static_cast<size_t>(slot)) fHelp.resize(static_cast<size_t>(slot) + 1);
  if (static_cast<size_t>(slot) < fHelp.size()) fHelp[static_cast<size_t>(slot)] = help;
  if (funcObj || fFuncObj) {
    if (!fFuncObj) fFuncObj = std::make_unique<std::array<TExprFuncObj, ExprMaxArgs>>();
    (*fFuncObj)[slot] = std::move(funcObj);
  }
}

void TExprWord::ClearSlot(int slot) { SetSlot(slot, nullptr, nullptr, std::string()); }

void TExprWord::SetVRec(std::unique_ptr<TValueRec> rec) { fVRec = std::move(rec); }

// ---- functions and operators ----------------------------------------------------------------------

TExprFunction::TExprFunction(const std::string& name, TExprFunc func, int argCount, int resultCount,
                             const std::string& help)
    : TExprFunction(name, ltFunction, func, argCount, resultCount, help) {}

TExprFunction::TExprFunction(const std::string& name, int argCount, int resultCount, TExprFuncObj funcObj,
                             const std::string& help)
    : TExprFunction(name, ltFunction, argCount, resultCount, std::move(funcObj), help) {}

TExprFunction::TExprFunction(const std::string& name, std::uint32_t kind, TExprFunc func, int argCount,
                             int resultCount, const std::string& help)
    : TExprWord(name, kind) {
  if (argCount == -1) {
    FMaxArgCount = ExprVarArgMax;
    FVariableArgCount = true;
    argCount = 0;
  }
  // The bound check of SetNFuncArg is the class-specific one, but virtual dispatch does not reach the
  // derived class from a constructor, so the check is made here with the final class's label.
  if (argCount < 0 || argCount >= ExprMaxArgs)
    throw EZelParseError(Fmt("%s.SetNFuncArg: Too many arguments: %s",
                             kind == ltVaryingFunction ? "TExprVaryingFunction" : "TExprFunction",
                             name.c_str()));
  fNFuncArg = argCount;
  SetSlot(fNFuncArg, func, nullptr, help);
  fNResultArg = resultCount;
  FMaxArgCount = std::max(FMaxArgCount, fNFuncArg);
  if (!func) throw std::runtime_error("Function not assigned!");
}

TExprFunction::TExprFunction(const std::string& name, std::uint32_t kind, int argCount, int resultCount,
                             TExprFuncObj funcObj, const std::string& help)
    : TExprWord(name, kind) {
  if (argCount < 0 || argCount >= ExprMaxArgs)
    throw EZelParseError(Fmt("%s.SetNFuncArg: Too many arguments: %s",
                             kind == ltVaryingFunction ? "TExprVaryingFunction" : "TExprFunction",
                             name.c_str()));
  if (!funcObj) throw std::runtime_error("Function not assigned!");
  fNFuncArg = argCount;
  SetSlot(fNFuncArg, _CallBoundFirst, std::move(funcObj), help);
  fNResultArg = resultCount;
  FMaxArgCount = std::max(FMaxArgCount, fNFuncArg);
}

void TExprFunction::SetNFuncArg(int n) {
  if (!FVariableArgCount && n >= ExprMaxArgs)
    throw EZelParseError(Fmt("%s.SetNFuncArg: Too many arguments: %s", ClassLabel(), fName.c_str()));
  fNFuncArg = n;
}

void TExprFunction::AddOverload(const TExprWord& word) {
  if (FVariableArgCount)
    throw std::runtime_error("Function with variable parameter count cannot be overloaded!");
  const int n = word.NFuncArg();
  if (n < 0 || n >= ExprMaxArgs)
    throw EZelParseError(Fmt("%s.SetNFuncArg: Too many arguments: %s", ClassLabel(), fName.c_str()));
  TExprFunc func = word.GetFunc();  // raises when the new word has no routine in its slot
  SetSlot(n, func, word.GetFuncObj(), word.GetHelp());
  FMaxArgCount = std::max(FMaxArgCount, n);
}

void TExprFunction::RemoveOverload(int i) {
  if (i >= 0 && i < ExprMaxArgs) ClearSlot(i);
}

TExprVaryingFunction::TExprVaryingFunction(const std::string& name, TExprFunc func, int argCount,
                                           int resultCount, const std::string& help)
    : TExprFunction(name, ltVaryingFunction, func, argCount, resultCount, help) {}

TExprVaryingFunction::TExprVaryingFunction(const std::string& name, int argCount, int resultCount,
                                           TExprFuncObj funcObj, const std::string& help)
    : TExprFunction(name, ltVaryingFunction, argCount, resultCount, std::move(funcObj), help) {}

TExprOperator::TExprOperator(const std::string& name, TExprFunc func, int argCount, int precedence,
                             const std::string& help)
    : TExprWord(name, ltOperator) {
  if (argCount < 0 || argCount >= ExprMaxArgs)
    throw EZelParseError(Fmt("TExprOperator.SetNFuncArg: Too many arguments: %s", name.c_str()));
  fNFuncArg = argCount;
  SetSlot(fNFuncArg, func, nullptr, help);
  fOperPrec = precedence;
  FMaxArgCount = std::max(FMaxArgCount, fNFuncArg);
}

TExprOperator::TExprOperator(char c, TExprFunc func, int argCount, int precedence, const std::string& help)
    : TExprOperator(std::string(1, c), func, argCount, precedence, help) {}

void TExprOperator::SetNFuncArg(int n) {
  if (n >= ExprMaxArgs)
    throw EZelParseError(Fmt("TExprOperator.SetNFuncArg: Too many arguments: %s", fName.c_str()));
  fNFuncArg = n;
}

// ---- bound routines --------------------------------------------------------------------------------

namespace {
void CallBound(TExprRec& expr) { expr.OperObj(expr); }
}  // namespace

void _CallBoundFirst(TExprRec& expr) {
  TExprWord* word = expr.ExprWord;
  word->SetNFuncArg(expr.ArgCount);
  const TExprFuncObj& bound = word->GetFuncObj();
  if (!bound)
    throw EZelParseError(
        Fmt("No \"%s\" overload accepts %d arguments!  ", word->Name().c_str(), expr.ArgCount));
  expr.OperObj = bound;
  expr.Oper = CallBound;
  CallBound(expr);
}

// ---- nodes -----------------------------------------------------------------------------------------

TExprRec::TExprRec() : TExprRec(ExprMaxArgs) {}

TExprRec::TExprRec(int argSlots) : tmpRes(std::make_unique<TValueRec>()) {
  Res = tmpRes.get();
  ResizeArgs(argSlots);
}

TExprRec::~TExprRec() = default;

void TExprRec::ResizeArgs(int n) {
  Args.assign(static_cast<size_t>(n), nullptr);
  ArgList.assign(static_cast<size_t>(n), nullptr);
}

void DisposeList(TExprRec*& first) {
  while (first) {
    const std::unique_ptr<TExprRec> node(first);
    first = node->Next;
  }
}

// ---- type errors -----------------------------------------------------------------------------------

namespace {
[[noreturn]] void RaiseUnsupported(const TExprRec& node, std::initializer_list<TValueType> types) {
  std::string list;
  for (TValueType t : types) {
    if (t == vtUndefined) throw EZelParseError(UnknownExprWord);
    if (!list.empty()) list += ", ";
    list += ValTypeName(t);
  }
  const std::string name = node.ExprWord ? node.ExprWord->Name() : std::string();
  throw EZelParseError("Unsupported value types: " + name + " ( " + list + " )");
}
}  // namespace

void UnsupportedValueTypesError(const TExprRec& node, TValueType t1) { RaiseUnsupported(node, {t1}); }
void UnsupportedValueTypesError(const TExprRec& node, TValueType t1, TValueType t2) {
  RaiseUnsupported(node, {t1, t2});
}
void UnsupportedValueTypesError(const TExprRec& node, TValueType t1, TValueType t2, TValueType t3) {
  RaiseUnsupported(node, {t1, t2, t3});
}
void UnsupportedValueTypesError(const TExprRec& node, TValueType t1, TValueType t2, TValueType t3,
                                TValueType t4) {
  RaiseUnsupported(node, {t1, t2, t3, t4});
}
void UnsupportedValueTypesError(const TExprRec& node, TValueType t1, TValueType t2, TValueType t3,
                                TValueType t4, TValueType t5) {
  RaiseUnsupported(node, {t1, t2, t3, t4, t5});
}

}  // namespace zel
