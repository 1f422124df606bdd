// Words and evaluation nodes. A word (TExprWord) is every item the language knows: constants, variables,
// functions with per-argument-count overloads, operators, brackets, comma and semicolon. A node
// (TExprRec) binds one word to its argument nodes and a routine; a compiled line is a chain of nodes.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lang/values/valuerec.h"

namespace zel {

class TExprRec;

// Every operator and function routine: reads the node's Args, defines and fills *Res.
using TExprFunc = void (*)(TExprRec&);
// The same bound to an object (a host method, a lambda with state).
using TExprFuncObj = std::function<void(TExprRec&)>;

// Word kind codes (TExprWord::LexemeType): one bit each, so sets of kinds are bit masks.
enum : std::uint32_t {
  ltConstant = 1,
  ltVariable = 2,
  ltFunction = 4,
  ltVaryingFunction = 8,
  ltOperator = 16,
  ltLeftBracket = 32,
  ltRightBracket = 64,
  ltLeftSquareBracket = 128,
  ltRightSquareBracket = 256,
  ltSemicolon = 512,
  ltComma = 1024,
};

// Overload slots per word: argument counts 0 .. 17.
inline constexpr int ExprMaxArgs = 18;
// MaxArgCount reported by variable-argument functions.
inline constexpr int ExprVarArgMax = 8;

class TExprWord {
 public:
  TExprWord(const std::string& name, std::uint32_t kind);
  TExprWord(char c, std::uint32_t kind);
  TExprWord(const TExprWord&) = delete;
  TExprWord& operator=(const TExprWord&) = delete;
  virtual ~TExprWord();

  const std::string& Name() const { return fName; }
  std::uint32_t LexemeType() const { return fLexemeType; }
  int OperPrec() const { return fOperPrec; }
  TValueRec* VRec() const { return fVRec.get(); }

  // The routine of the selected overload (slot 0 for variable-argument words); raises when it is empty.
  TExprFunc GetFunc() const;
  TExprFunc Func() const { return GetFunc(); }
  // The object-bound routine and the help text of the selected overload (empty when none).
  const TExprFuncObj& GetFuncObj() const;
  const TExprFuncObj& FuncObj() const { return GetFuncObj(); }
  const std::string& GetHelp() const;
  const std::string& Help() const { return GetHelp(); }

  // Per-slot access for listings.
  TExprFunc FuncAt(int slot) const { return fFunc[slot]; }
  const std::string& HelpAt(int slot) const;
  bool HasOverload(int slot) const;
  bool CanHaveZeroArguments() const;

  int MaxArgCount() const { return FMaxArgCount; }
  void SetMaxArgCount(int n) { FMaxArgCount = n; }
  int NFuncArg() const { return fNFuncArg; }
  // Selects the overload slot for a call with n arguments. Raises on words that take no arguments.
  virtual void SetNFuncArg(int n);
  int NResultArg() const { return fNResultArg; }
  void SetNResultArg(int n) { fNResultArg = n; }
  bool VariableArgCount() const { return FVariableArgCount; }
  void SetVariableArgCount(bool b) { FVariableArgCount = b; }

 protected:
  // Fills slot `slot` with a routine, an optional bound routine and a help text.
  void SetSlot(int slot, TExprFunc func, TExprFuncObj funcObj, const std::string& help);
  void ClearSlot(int slot);
  // Gives the word an owned value record (constants and variables).
  void SetVRec(std::unique_ptr<TValueRec> rec);

  std::string fName;
  std::uint32_t fLexemeType;
  int FMaxArgCount = 0;
  bool FVariableArgCount = false;
  std::array<TExprFunc, ExprMaxArgs> fFunc{};
  // Bound routines are rare: the array exists only once one is set.
  std::unique_ptr<std::array<TExprFuncObj, ExprMaxArgs>> fFuncObj;
  // Help texts by slot; only as long as the highest slot given a text (constants and variables have
  // none or one, so a word stays small).
  std::vector<std::string> fHelp;
  int fNFuncArg = 0;
  int fNResultArg = 0;
  int fOperPrec = 0;
  std::unique_ptr<TValueRec> fVRec;
};

// A function: the result depends only on the arguments (kind 4). Argument count -1 at creation means
// any number of arguments, all served by slot 0.
class TExprFunction : public TExprWord {
 public:
  TExprFunction(const std::string& name, TExprFunc func, int argCount, int resultCount,
                const std::string& help);
  TExprFunction(const std::string& name, int argCount, int resultCount, TExprFuncObj funcObj,
                const std::string& help);
  void SetNFuncArg(int n) override;
  // Takes the other word's routine, bound routine and help into the slot of its NFuncArg.
  void AddOverload(const TExprWord& word);
  // Empties slot i; MaxArgCount stays.
  void RemoveOverload(int i);

 protected:
  TExprFunction(const std::string& name, std::uint32_t kind, TExprFunc func, int argCount, int resultCount,
                const std::string& help);
  TExprFunction(const std::string& name, std::uint32_t kind, int argCount, int resultCount,
                TExprFuncObj funcObj, const std::string& help);
  virtual const char* ClassLabel() const { return "TExprFunction"; }
};

// A function whose result may change between evaluations with the same arguments (kind 8): never folded.
class TExprVaryingFunction : public TExprFunction {
 public:
  TExprVaryingFunction(const std::string& name, TExprFunc func, int argCount, int resultCount,
                       const std::string& help);
  TExprVaryingFunction(const std::string& name, int argCount, int resultCount, TExprFuncObj funcObj,
                       const std::string& help);

 protected:
  const char* ClassLabel() const override { return "TExprVaryingFunction"; }
};

// An operator (kind 16) with its precedence.
class TExprOperator : public TExprWord {
 public:
  TExprOperator(const std::string& name, TExprFunc func, int argCount, int precedence,
                const std::string& help);
  TExprOperator(char c, TExprFunc func, int argCount, int precedence, const std::string& help);
  void SetNFuncArg(int n) override;
};

// The shared routine of constants and variables: the node's result is the word's own record (Args[0]).
void _ValueOfWord(TExprRec& expr);

// ---- constants (kind 1) ----------------------------------------------------------------------------

// Base of constants and variables: a word whose slot 0 is _ValueOfWord and which owns a value record.
class TExprValueWord : public TExprWord {
 protected:
  TExprValueWord(const std::string& name, std::uint32_t kind, std::unique_ptr<TValueRec> rec,
                 const std::string& help = "");
};

// A literal: an integer when the text is a 64-bit integer (unless alwaysReal), else a double or a complex.
class TExprConstant : public TExprValueWord {
 public:
  TExprConstant(const std::string& name, const std::string& value, bool alwaysReal);
};
class TExprStringConstant : public TExprValueWord {
 public:
  // The name is the quoted literal; the value is the text between the quotes.
  explicit TExprStringConstant(const std::string& name);
  TExprStringConstant(const std::string& name, const std::string& help, const std::string& value);
};
class TExprDoubleConstant : public TExprValueWord {
 public:
  TExprDoubleConstant(const std::string& name, double value, const std::string& help = "");
};
class TExprBoolConstant : public TExprValueWord {
 public:
  TExprBoolConstant(const std::string& name, bool value, const std::string& help = "");
};
class TExprIntegerConstant : public TExprValueWord {
 public:
  TExprIntegerConstant(const std::string& name, std::int64_t value, const std::string& help = "");
};
class TExprComplexConstant : public TExprValueWord {
 public:
  TExprComplexConstant(const std::string& name, TCplx value, const std::string& help = "");
};
class TExprRangeConstant : public TExprValueWord {
 public:
  TExprRangeConstant(const std::string& name, const std::vector<std::int32_t>& bounds,
                     const std::string& help = "");
};
class TExprExtRangeConstant : public TExprValueWord {
 public:
  TExprExtRangeConstant(const std::string& name, const TVec& bounds, const std::string& help = "");
};
class TExprVectorConstant : public TExprValueWord {
 public:
  TExprVectorConstant(const std::string& name, const TVec& value, const std::string& help = "");
};
class TExprIntVectorConstant : public TExprValueWord {
 public:
  TExprIntVectorConstant(const std::string& name, const TVecInt& value, const std::string& help = "");
};
class TExprBoolVectorConstant : public TExprValueWord {
 public:
  TExprBoolVectorConstant(const std::string& name, const TVecInt& value, const std::string& help = "");
};
class TExprMatrixConstant : public TExprValueWord {
 public:
  TExprMatrixConstant(const std::string& name, const TZel& value, const std::string& help = "");
};
class TExprIntMatrixConstant : public TExprValueWord {
 public:
  TExprIntMatrixConstant(const std::string& name, const TZelInt& value, const std::string& help = "");
};
class TExprBoolMatrixConstant : public TExprValueWord {
 public:
  TExprBoolMatrixConstant(const std::string& name, const TZelInt& value, const std::string& help = "");
};

// ---- variables (kind 2) ----------------------------------------------------------------------------

// An untyped variable: its type is fixed by the first assignment.
class TExprVariable : public TExprValueWord {
 public:
  explicit TExprVariable(const std::string& name);

 protected:
  TExprVariable(const std::string& name, std::unique_ptr<TValueRec> rec);
};
class TExprDoubleVariable : public TExprVariable {
 public:
  explicit TExprDoubleVariable(const std::string& name);
};
class TExprIntegerVariable : public TExprVariable {
 public:
  explicit TExprIntegerVariable(const std::string& name);
};
class TExprBoolVariable : public TExprVariable {
 public:
  explicit TExprBoolVariable(const std::string& name);
};
class TExprRangeVariable : public TExprVariable {
 public:
  explicit TExprRangeVariable(const std::string& name);
};
class TExprStringVariable : public TExprVariable {
 public:
  explicit TExprStringVariable(const std::string& name);
};
class TExprComplexVariable : public TExprVariable {
 public:
  explicit TExprComplexVariable(const std::string& name);
};
// Container variables: without an object a new owned one; with a host object a reference to it, so the
// script reads and writes the host's data in place.
class TExprVectorVariable : public TExprVariable {
 public:
  explicit TExprVectorVariable(const std::string& name, TVec* host = nullptr);
};
class TExprIntVectorVariable : public TExprVariable {
 public:
  explicit TExprIntVectorVariable(const std::string& name, TVecInt* host = nullptr);
};
class TExprBoolVectorVariable : public TExprVariable {
 public:
  explicit TExprBoolVectorVariable(const std::string& name, TVecInt* host = nullptr);
};
class TExprMatrixVariable : public TExprVariable {
 public:
  explicit TExprMatrixVariable(const std::string& name, TZel* host = nullptr);
};
class TExprIntMatrixVariable : public TExprVariable {
 public:
  explicit TExprIntMatrixVariable(const std::string& name, TZelInt* host = nullptr);
};
class TExprBoolMatrixVariable : public TExprVariable {
 public:
  explicit TExprBoolMatrixVariable(const std::string& name, TZelInt* host = nullptr);
};

// ---- punctuation -----------------------------------------------------------------------------------

class TExprLeftBracket : public TExprWord {
 public:
  TExprLeftBracket() : TExprWord('(', ltLeftBracket) {}
};
class TExprRightBracket : public TExprWord {
 public:
  TExprRightBracket() : TExprWord(')', ltRightBracket) {}
};
class TExprLeftSquareBracket : public TExprWord {
 public:
  TExprLeftSquareBracket() : TExprWord('[', ltLeftSquareBracket) {}
};
class TExprRightSquareBracket : public TExprWord {
 public:
  TExprRightSquareBracket() : TExprWord(']', ltRightSquareBracket) {}
};
class TExprSemicolon : public TExprWord {
 public:
  TExprSemicolon() : TExprWord(';', ltSemicolon) {}
};
class TExprComma : public TExprWord {
 public:
  TExprComma() : TExprWord(',', ltComma) {}
};

// ---- evaluation nodes ------------------------------------------------------------------------------

// What a run-time optimiser attaches to a node that it has made evaluate a whole sub-tree at once (a
// fused scalar program, a one-pass element-wise chain). Owned by the node.
class TNodeProgram {
 public:
  virtual ~TNodeProgram() = default;
};

class TExprRec {
 public:
  TExprRec();
  // A node with `argSlots` argument slots (the compiler's nodes: as many as the node's arguments).
  explicit TExprRec(int argSlots);
  TExprRec(const TExprRec&) = delete;
  TExprRec& operator=(const TExprRec&) = delete;
  ~TExprRec();

  // Sets the length of Args and ArgList (new entries null).
  void ResizeArgs(int n);

  TExprFunc Oper = nullptr;
  TExprFuncObj OperObj;
  TExprRec* Next = nullptr;
  TValueRec* Res;                     // the result: tmpRes, or a record the routine points it to
  std::unique_ptr<TValueRec> tmpRes;  // the node's own result record
  TExprWord* ExprWord = nullptr;
  int ArgCount = 0;
  std::vector<TValueRec*> Args;    // argument values (for constants and variables: the word's VRec)
  std::vector<TExprRec*> ArgList;  // argument nodes
  // The node that reads this node's result: its parent, set when a line's tree is flattened (null for a
  // line's last node and in chains a host links itself). An assignment lets the node that computes its
  // source write into the assigned variable through it (lang/operators/direct.h).
  TExprRec* Consumer = nullptr;
  // Set on an assignment by its source node when that node has written the result straight into the
  // assigned variable; the assignment then clears it instead of copying.
  bool Delivered = false;
  // Set by the optimisers that tune a line after its first run (script/tune.cpp); null otherwise.
  std::unique_ptr<TNodeProgram> Program;
};

// Frees the chain of nodes along Next and sets `first` to null.
void DisposeList(TExprRec*& first);

// The slot-0 routine of words created with a bound routine: caches the bound routine in the node and
// replaces the node's Oper with a direct call, so later evaluations skip the lookup.
void _CallBoundFirst(TExprRec& expr);

// The common type error of operators and functions: "Unsupported value types: NAME ( t1, t2 )"; when a
// type is undefined, the UnknownExprWord text instead. Always raises EZelParseError.
[[noreturn]] void UnsupportedValueTypesError(const TExprRec& node, TValueType t1);
[[noreturn]] void UnsupportedValueTypesError(const TExprRec& node, TValueType t1, TValueType t2);
[[noreturn]] void UnsupportedValueTypesError(const TExprRec& node, TValueType t1, TValueType t2,
                                             TValueType t3);
[[noreturn]] void UnsupportedValueTypesError(const TExprRec& node, TValueType t1, TValueType t2,
                                             TValueType t3, TValueType t4);
[[noreturn]] void UnsupportedValueTypesError(const TExprRec& node, TValueType t1, TValueType t2,
                                             TValueType t3, TValueType t4, TValueType t5);

}  // namespace zel
