// The expression object: a script (one statement per line), a symbol table filled with the built-in
// language, the host's variables and functions, and the compiled form of the script. Hosts set script
// text, define variables bound to their own data, compile once and evaluate many times.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lang/words/context.h"
#include "lang/words/gridvar.h"
#include "lang/words/wordlist.h"
#include "library/probabilities/expr_tester.h"
#include "script/compile_state.h"

namespace zel {

class TCodeArena;

// The names of the assignment and equality operator words.
extern const char* const AssignOperator;
extern const char* const EqualOperator;

// Raised when a run is stopped from outside the script: its step budget ran out or the host asked it to
// cancel. The variables keep the values the lines before the stop gave them.
// Whether lines of real scalar arithmetic are compiled to machine code after their first run (on by
// default, where the processor is supported). Results are the same either way; the switch is for
// measuring and testing. Takes effect for lines tuned after the call.
void SetNativeCode(bool enabled);

class EZelEvaluationStopped : public EZelParseError {
 public:
  using EZelParseError::EZelParseError;
};

// The syntax words (ewWhile, ewIf, ewAssign, ...) are public members inherited from TSyntaxWords. The
// compiler itself is the stage functions of script/stages.h; the compiler methods below forward to them.
class TZelExpression : public TPersistent, public TSyntaxWords, public TExprTester {
 public:
  TZelExpression();
  ~TZelExpression() override;
  TZelExpression(const TZelExpression&) = delete;
  TZelExpression& operator=(const TZelExpression&) = delete;
  std::string ClassName() const override { return "TZelExpression"; }

  // ---- script text ---------------------------------------------------------------------------------
  int AddExpr(const std::string& expr);
  int AddExpr(const std::vector<std::string>& exprList);
  void InsertExpr(int index, const std::string& expr);
  void DeleteExpr(int index);
  void ClearExpressions();
  const std::string& Expression(int index) const { return fExprList[index]->Str; }
  void SetExpression(int index, const std::string& text);
  // All lines joined with CR LF; setting splits at CR LF (a lone LF also ends a line).
  std::string Expressions() const;
  void SetExpressions(const std::string& text);
  int ExprCount() const { return fExprList.Count(); }
  // ClearExpressions, AddExpr(expr), Evaluate().
  TValueRec* Run(const std::string& expr);

  // ---- symbols -------------------------------------------------------------------------------------
  TValueRec& DefineVariable(const std::string& name);
  TDoubleValue& DefineDouble(const std::string& name);
  TBoolValue& DefineBool(const std::string& name);
  TIntegerValue& DefineInteger(const std::string& name);
  TStringValue& DefineString(const std::string& name);
  TRangeValue& DefineRange(const std::string& name);
  TComplexValue& DefineComplex(const std::string& name);
  TVectorValue& DefineVector(const std::string& name, TVec* host = nullptr);
  TIntVectorValue& DefineIntVector(const std::string& name, TVecInt* host = nullptr);
  TBoolVectorValue& DefineBoolVector(const std::string& name, TVecInt* host = nullptr);
  TMatrixValue& DefineMatrix(const std::string& name, TZel* host = nullptr);
  TIntMatrixValue& DefineIntMatrix(const std::string& name, TZelInt* host = nullptr);
  TBoolMatrixValue& DefineBoolMatrix(const std::string& name, TZelInt* host = nullptr);
  TCustomValue& DefineCustomValue(const std::string& name, TObject* obj = nullptr);

  int DefineFunction(const std::string& name, TExprFunc func, int nArguments, int nResults,
                     const std::string& help);
  int DefineFunction(const std::string& name, TExprFunc func, int nArguments, const std::string& help = "");
  int DefineFunction(const std::string& name, int nArguments, TExprFuncObj func,
                     const std::string& help = "");
  int DefineFunction(const std::string& name, int nArguments, int nResults, TExprFuncObj func,
                     const std::string& help);
  int DefineVaryingFunction(const std::string& name, TExprFunc func, int nArguments,
                            const std::string& help = "");
  int DefineVaryingFunction(const std::string& name, int nArguments, TExprFuncObj func,
                            const std::string& help = "");
  int DefineOperator(const std::string& sign, TExprFunc func, int nArguments, int precedence,
                     const std::string& help = "");
  void DefineDoubleConstant(const std::string& name, double value, const std::string& help = "");
  void DefineBoolConstant(const std::string& name, bool value, const std::string& help = "");
  void DefineComplexConstant(const std::string& name, TCplx value, const std::string& help = "");

  // Removes a constant, variable, function or operator; false for punctuation and unknown names.
  bool Undefine(const std::string& name);
  void ClearVariables();
  void ClearAll();
  // The value of the variable of that name (compiling first when needed), or null.
  TValueRec* GetVarByName(const std::string& name);
  TValueRec* VarByName(const std::string& name) { return GetVarByName(name); }

  // Symbol lists: names (and parallel help texts when `help` is given).
  void GetSymbolList(std::vector<std::string>& names, std::vector<std::string>* help, bool argList,
                     std::uint32_t kinds);
  void GetFuncList(std::vector<std::string>& names, std::vector<std::string>* help, bool argList);
  void GetOperList(std::vector<std::string>& names, std::vector<std::string>* help);
  void GetConstList(std::vector<std::string>& names, std::vector<std::string>* help);
  void GetVarList(std::vector<std::string>& names);
  const TWordList& Words() const { return fWordList; }

  // ---- compilation and evaluation ------------------------------------------------------------------
  void Compile();
  bool IsCompiled() const { return fIsCompiled != 0; }
  // Every line once, in order, without flow control; the value of the last line.
  TValueRec* Evaluate();
  TValueRec* Evaluate(int index);
  // Compiles when needed and runs the program from line 0 following the jumps.
  TValueRec* EvaluateCompiled();
  TValueRec* EvaluateRun(int line);
  // Runs one line and returns the index of the line to run next.
  int EvaluateStep(int line);
  const std::string& EvaluatedVarName(int index) const { return fExprList[index]->ResultName; }

  // ---- stopping a run ------------------------------------------------------------------------------
  // Every evaluated line costs one step. A run (Evaluate, Evaluate(index), EvaluateCompiled, EvaluateRun)
  // starts with a full budget of `lines` steps; the line that would exceed it raises
  // EZelEvaluationStopped "Evaluation stopped: the step limit of N lines was reached". 0 (the default)
  // means no limit. EvaluateStep draws on the budget without refilling it: a host that steps through a
  // script calls ResetSteps before its first step.
  void SetMaxSteps(std::uint64_t lines);
  std::uint64_t MaxSteps() const { return fMaxSteps; }
  void ResetSteps() { fStepsLeft = fMaxSteps ? fMaxSteps : UINT64_MAX; }
  // Asks the evaluation to stop before its next line with EZelEvaluationStopped "Evaluation cancelled".
  // Safe to call from another thread or a signal handler. The request stays until ClearCancel, so one
  // made just before a run starts is not lost: every evaluation fails until the host clears it.
  void RequestCancel() noexcept { fCancel.store(true, std::memory_order_relaxed); }
  void ClearCancel() noexcept { fCancel.store(false, std::memory_order_relaxed); }
  bool CancelRequested() const noexcept { return fCancel.load(std::memory_order_relaxed); }

  double EvaluateDouble();
  double EvaluateDouble(int index);
  bool EvaluateBool();
  bool EvaluateBool(int index);
  TCplx EvaluateComplex();
  TCplx EvaluateComplex(int index);
  TVec& EvaluateVector();
  TVec& EvaluateVector(int index);
  TVecInt& EvaluateVectorInt();
  TVecInt& EvaluateVectorInt(int index);
  TZel& EvaluateMatrix();
  TZel& EvaluateMatrix(int index);
  TZelInt& EvaluateMatrixInt();
  TZelInt& EvaluateMatrixInt(int index);

  TValueRec* GetExprResult(int index) const;
  TValueRec* ExprResult(int index) const { return GetExprResult(index); }
  TValueRec* GetLastResult() const { return GetExprResult(ExprCount() - 1); }
  TValueRec* LastResult() const { return GetLastResult(); }
  // The line itself (flow fields, result node), for runners that step through a script.
  const TSingleExpression& Line(int index) const { return *fExprList[index]; }

  // ---- settings ------------------------------------------------------------------------------------
  bool ConstantsAlwaysReal() const { return FConstantsAlwaysReal; }
  void SetConstantsAlwaysReal(bool b) { FConstantsAlwaysReal = b; }
  bool ConcatsAlwaysReal() const { return FConcatsAlwaysReal; }
  void SetConcatsAlwaysReal(bool b) { FConcatsAlwaysReal = b; }
  void SetTestIntPrecision(TIntPrecision p) { FTestIntPrecision = p; }
  TIntPrecision TestIntPrecision() const { return FTestIntPrecision; }
  // File access of scripts. With false, every file and directory word (FileOpen, csvRead, FileDelete,
  // ...; library/files.h) leaves the symbol table, so a script that names one gets the ordinary
  // unknown-name error; with true (the default) they are entered again. Compiled lines are dropped.
  void SetFileAccess(bool allowed);
  bool FileAccess() const { return fFileAccess; }
  const TPreprocessorEvent& OnPreprocessor() const { return FOnPreprocessor; }
  void SetOnPreprocessor(TPreprocessorEvent e) { FOnPreprocessor = std::move(e); }

  // ---- contexts and printing -----------------------------------------------------------------------
  void LoadContext(const TExprContext& src);
  void SaveContext(TExprContext& dst);
  void VarPrint(const TValueRec& value, const std::string& name, std::vector<std::string>& dst) const;
  std::string VarToolTip(const std::string& name, const TValueRec& value) const;

  // ---- compiler stages (public for tests and tools; each forwards to a stage of script/stages.h) ------
  // Scans, preprocesses and checks the line's text into expr.Words; sets expr.FlowKeyword.
  void CreateExprWords(TSingleExpression& expr);
  // Scanning, word creation, preprocessing and the syntax check of one normalised line. The list
  // references words of the symbol table and of the constant list.
  std::unique_ptr<TExprWordList> ParseString(const std::string& text);
  // Rewrites a line's syntax into ordinary calls.
  void Preprocessor(TExprWordList& words);
  // The syntax check of a preprocessed line; marks unary signs.
  void Check(TExprWordList& words);
  // A tree owned through its nodes' ArgList; free it with DisposeTree.
  TExprRec* MakeTree(TExprWordList& words);
  // True when every node of the tree has all its arguments.
  bool CheckArguments(const TExprRec* rec) const;
  // True when the tree contains a variable or a varying function.
  bool ResultCanVary(const TExprRec* rec) const;
  // Folds the constant sub-trees of a raw tree (which it takes) and returns the tree.
  TExprRec* RemoveConstants(TExprRec* rec);
  // Flattens a raw tree (which it takes) into a chain along Next; free it with DisposeList.
  TExprRec* MakeLinkedList(TExprRec* root);
  // Runs a chain and returns its last node.
  TExprRec* EvaluateList(TExprRec* rec);
  // The variable a tree assigns or names, or "".
  std::string EvaluateResultName(const TExprRec* rec) const;
  // Frees a raw tree and sets the reference to null.
  void DisposeTree(TExprRec*& rec);
  // CreateExprWords and CreateExprRec2.
  void CreateExprRec(TSingleExpression& expr);
  // Compiles the line's words into its owned evaluation chain.
  void CreateExprRec2(TSingleExpression& expr);
  // The flow keyword that starts the list.
  TExprFlowKeyword EvaluateFlowKeyword(const TExprWordList& words) const;
  // Drops the compiled form of every line (for hosts that delete words).
  void DoDeleteWord(TObject* sender);

  // ---- self-test (Test, TestVec and NegativeTest are also the TExprTester entry points) -------------
  void Test(const std::string& expr, double expected, bool allowNanInf = false);
  void Test(const std::string& expr, bool expected);
  void Test(const std::string& expr, TCplx expected, bool allowNanInf = false);
  void TestVec(const std::string& expr, const TVec& expected, bool allowNanInf = false);
  void TestVec(const std::string& expr, const std::vector<double>& expected, bool allowNanInf = false);
  void TestVecInt(const std::string& expr, const std::vector<int>& expected);
  void TestZel(const std::string& expr, const TZel& expected, bool allowNanInf = false);
  void TestZel(const std::string& expr, const std::vector<double>& expected, bool allowNanInf = false);
  void TestZelInt(const std::string& expr, const std::vector<int>& expected);
  void NegativeTest(const std::string& expr);
  void TestSelectAssign();
  void SelfTest();
  // The file battery: binary handles, CSV files and file management, in `folder` (created when missing);
  // "" uses a new folder under the system's temporary directory, removed again when the battery passes.
  // Needs file access. Raises on the first failing check.
  void TestFileFunctions(const std::string& folder = "");

 private:
  void InitSymbols();
  void InitConsts();
  void InitControlWords();
  // Enters the file words (library/files.h) into the symbol table, unsorted.
  void InitFileManagement();
  // The compile state over this object's symbol table, constant list, syntax words and settings.
  TCompileState CompileState();
  // Enters a word into the symbol table (TWordList::Add), dropping compiled lines it could invalidate.
  int AddWord(std::unique_ptr<TExprWord> word);
  template <class W, class... A>
  auto& AddVariable(const std::string& name, A&&... args);
  TValueRec* EvaluateLine(TSingleExpression& line);
  TValueRec* RunFirst(TSingleExpression& line);
  // Evaluate() of scripts of several lines (or not yet compiled).
  TValueRec* EvaluateLines();
  // Tunes a line after its first run (script/tune.cpp).
  void Tune(TSingleExpression& line);
  // The executable memory of this object's machine code (created on first use).
  TCodeArena& CodeArena();
  // Runs the iterations of a tuned for-loop itself (script/loop_run.cpp).
  friend struct TLoopRun;
  // Raises the error of a run stopped by its step budget or by a cancel request.
  [[noreturn]] void RaiseStopped() const;

  // Declared before the lines, so it outlives the code their nodes run.
  std::unique_ptr<TCodeArena> fCodeArena;
  TExprList fExprList;
  TWordList fWordList;
  TExprWordList fConstList;
  TPreprocessorEvent FOnPreprocessor;
  TIntPrecision FTestIntPrecision = prInt32;
  // 0: not compiled; 1: compiled; kCompiledOneLine: compiled, one line (Evaluate's short path).
  std::uint8_t fIsCompiled = 0;
  static constexpr std::uint8_t kCompiledOneLine = 2;
  bool fFileAccess = true;
  bool FConstantsAlwaysReal = false;
  bool FConcatsAlwaysReal = true;
  std::uint64_t fMaxSteps = 0;
  std::uint64_t fStepsLeft = UINT64_MAX;
  std::atomic<bool> fCancel{false};
  bool fInRun = false;   // EvaluateRun is following the jumps: a tuned loop may run its body itself
  int fFailedLine = -1;  // the line a loop run raised from, for EvaluateRun's message
  static_assert(std::atomic<bool>::is_always_lock_free, "RequestCancel must be usable in a signal handler");
};

// Routines of the flow keywords if, while, for and endfor.
void _If(TExprRec& expr);
void _While(TExprRec& expr);
void _For(TExprRec& expr);
void _EndFor(TExprRec& expr);

// True when the text, trimmed, is not empty and ends with ";".
bool TerminatedWithSemicolon(const std::string& text);
// The identifier containing position charIdx (1-based) of src, or "".
std::string ExpandCharToWord(const std::string& src, int charIdx);

}  // namespace zel
