// Word lists: the sorted symbol table of an expression and the registration operations that fill it.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lang/words/words.h"

namespace zel {

// A list of words, optionally owning them. When sorted, names are in ascending ordinal (byte) order, case
// sensitive: "Sin" and "sin" are different words and upper-case ASCII sorts before lower case.
class TExprWordList {
 public:
  explicit TExprWordList(bool ownsObjects = true) : fOwnsObjects(ownsObjects) {}
  TExprWordList(const TExprWordList&) = delete;
  TExprWordList& operator=(const TExprWordList&) = delete;
  virtual ~TExprWordList();

  int Count() const { return static_cast<int>(fItems.size()); }
  bool OwnsObjects() const { return fOwnsObjects; }
  TExprWord* operator[](int i) const { return Items(i); }
  TExprWord* Items(int i) const;  // raises ENubraRangeError outside 0..Count-1
  // Insertion by unique_ptr, for owning lists: the list takes the word, and a call that raises frees it.
  // A list that does not own its words refuses them with ENubraException. SetItems frees the word it
  // replaces.
  void SetItems(int i, std::unique_ptr<TExprWord> word);
  int Append(std::unique_ptr<TExprWord> word);
  void Insert(int i, std::unique_ptr<TExprWord> word);
  // Raw forms: an owning list takes ownership of the word; any other list only refers to it.
  void SetItems(int i, TExprWord* word);
  int Append(TExprWord* word);
  void Insert(int i, TExprWord* word);
  // Removes the i-th word, freeing it when owning.
  void Delete(int i);
  // Removes the i-th word without freeing it and returns it.
  TExprWord* Extract(int i);
  void Clear();
  // Makes room for n words without reallocating.
  void Reserve(int n) { fItems.reserve(static_cast<size_t>(std::max(n, 0))); }
  int IndexOf(const TExprWord* word) const;

  // Binary search. True with the matching index, or false with the index at which the name would be
  // inserted to keep the order.
  bool Find(const std::string& name, int& index) const;
  void Sort();
  // Raises ENubraException at the first pair of equal adjacent names.
  virtual void CheckForDuplicates() const;

 protected:
  // Raises unless the list owns its words.
  void RequireOwnership() const;

  std::vector<TExprWord*> fItems;

 private:
  bool fOwnsObjects;
};

class TWordList;
// Registration hook of an add-on package: adds words to a symbol table.
using TWordPopulate = void (*)(TWordList&);
// Self-test hook of an add-on package, given the sender (the expression object).
using TExprTest = void (*)(TObject*);

// The symbol table: a word list with merge/replace insertion, the bulk registration operations and the
// class-wide hooks through which add-on packages register their words in every new symbol table.
class TWordList : public TExprWordList {
 public:
  explicit TWordList(bool ownsObjects = true) : TExprWordList(ownsObjects) {}

  // Sorted insertion into an owning list; the list takes the word in every case. A new name is inserted; a
  // function name already present takes the new word as an overload (the new word is freed); any other
  // existing word is replaced (and freed).
  int Add(std::unique_ptr<TExprWord> word);
  // Takes ownership of the word; the same as Add with a unique_ptr.
  int Add(TExprWord* word);
  // Bulk registration: overloadIndex < 0 appends; otherwise the word is another overload of the function
  // at overloadIndex (and is freed). Sort before using Find or Add. The word is freed when it is refused.
  int AddUnsorted(std::unique_ptr<TExprWord> word, int overloadIndex);
  // Takes ownership of the word once it is accepted; a refused overload raises before that and leaves the
  // word with the caller.
  int AddUnsorted(TExprWord* word, int overloadIndex);

  int DefineFunctionUnsorted(const std::string& name, TExprFunc func, int argCount, int index);
  int DefineFunctionUnsorted(const std::string& name, TExprFunc func, int argCount, const std::string& help,
                             int index);
  int DefineFunctionUnsorted(const std::string& name, TExprFunc func, int argCount, int resultCount,
                             const std::string& help, int index);
  int DefineFunctionUnsorted(const std::string& name, int argCount, TExprFuncObj func, int index);
  int DefineFunctionUnsorted(const std::string& name, int argCount, int resultCount, TExprFuncObj func,
                             const std::string& help, int index);

  int DefineVaryingFunctionUnsorted(const std::string& name, TExprFunc func, int argCount, int index);
  int DefineVaryingFunctionUnsorted(const std::string& name, TExprFunc func, int argCount,
                                    const std::string& help, int index);
  int DefineVaryingFunctionUnsorted(const std::string& name, TExprFunc func, int argCount, int resultCount,
                                    const std::string& help, int index);
  int DefineVaryingFunctionUnsorted(const std::string& name, int argCount, TExprFuncObj func, int index);
  int DefineVaryingFunctionUnsorted(const std::string& name, int argCount, TExprFuncObj func,
                                    const std::string& help, int index);
  int DefineVaryingFunctionUnsorted(const std::string& name, int argCount, int resultCount, TExprFuncObj func,
                                    const std::string& help, int index);

  int DefineOperatorUnsorted(const std::string& name, TExprFunc func, int argCount, int precedence);
  int DefineOperatorUnsorted(const std::string& name, TExprFunc func, int argCount, int precedence,
                             const std::string& help);
  int DefineOperatorUnsorted(char c, TExprFunc func, int argCount, int precedence, const std::string& help);

  void DefineDoubleConstantUnsorted(const std::string& name, double value, const std::string& help = "");
  int DefineBoolConstantUnsorted(const std::string& name, bool value, const std::string& help = "");
  int DefineIntegerConstantUnsorted(const std::string& name, std::int32_t value,
                                    const std::string& help = "");
  void DefineComplexConstantUnsorted(const std::string& name, TCplx value, const std::string& help = "");

  // Call the class-wide hook with this list when it is set.
  void DoOnProbabilities();
  void DoOnStatistics();
  void DoOnSignal();
  void DoOnCustom();

  static void SetOnProbabilities(TWordPopulate hook) { FOnProbabilities = hook; }
  static void SetOnStatistics(TWordPopulate hook) { FOnStatistics = hook; }
  static void SetOnSignal(TWordPopulate hook) { FOnSignal = hook; }
  static void SetOnCustom(TWordPopulate hook) { FOnCustom = hook; }
  static void SetOnTestProbabilities(TExprTest hook) { FOnTestProbabilities = hook; }
  static void SetOnTestCustom(TExprTest hook) { FOnTestCustom = hook; }
  static void SetOnTestStatistics(TExprTest hook) { FOnTestStatistics = hook; }
  static void SetOnTestSignal(TExprTest hook) { FOnTestSignal = hook; }
  static TWordPopulate OnProbabilities() { return FOnProbabilities; }
  static TWordPopulate OnStatistics() { return FOnStatistics; }
  static TWordPopulate OnSignal() { return FOnSignal; }
  static TWordPopulate OnCustom() { return FOnCustom; }
  static TExprTest OnTestProbabilities() { return FOnTestProbabilities; }
  static TExprTest OnTestCustom() { return FOnTestCustom; }
  static TExprTest OnTestStatistics() { return FOnTestStatistics; }
  static TExprTest OnTestSignal() { return FOnTestSignal; }

  // Stored for the host; no operation of the list raises it.
  std::function<void(TObject*)> OnDelete;

 private:
  // Raises unless the word may become another overload of the function at overloadIndex.
  void CheckOverload(const TExprWord& word, int overloadIndex) const;

  static inline TWordPopulate FOnProbabilities = nullptr;
  static inline TWordPopulate FOnStatistics = nullptr;
  static inline TWordPopulate FOnSignal = nullptr;
  static inline TWordPopulate FOnCustom = nullptr;
  static inline TExprTest FOnTestProbabilities = nullptr;
  static inline TExprTest FOnTestCustom = nullptr;
  static inline TExprTest FOnTestStatistics = nullptr;
  static inline TExprTest FOnTestSignal = nullptr;
};

}  // namespace zel
