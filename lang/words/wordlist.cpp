// Word lists and the symbol table's registration operations.
#include "lang/words/wordlist.h"

#include <algorithm>
#include <memory>

namespace zel {

namespace {
// Frees a word that an owning list gives up.
void Free(TExprWord* word) { const std::unique_ptr<TExprWord> owned(word); }
}  // namespace

// ---- TExprWordList ---------------------------------------------------------------------------------

TExprWordList::~TExprWordList() { Clear(); }

TExprWord* TExprWordList::Items(int i) const {
  if (i < 0 || i >= Count()) throw ENubraRangeError(Fmt("List index out of bounds (%d)", i));
  return fItems[static_cast<size_t>(i)];
}

void TExprWordList::RequireOwnership() const {
  if (!fOwnsObjects) ERaise("TExprWordList: the list does not own its words and cannot take one");
}

void TExprWordList::SetItems(int i, std::unique_ptr<TExprWord> word) {
  RequireOwnership();
  Items(i);  // bounds check
  std::unique_ptr<TExprWord> old(fItems[static_cast<size_t>(i)]);
  if (old == word) old.release();  // the word is already in this slot
  fItems[static_cast<size_t>(i)] = word.release();
}

int TExprWordList::Append(std::unique_ptr<TExprWord> word) {
  RequireOwnership();
  fItems.push_back(word.get());
  word.release();
  return Count() - 1;
}

void TExprWordList::Insert(int i, std::unique_ptr<TExprWord> word) {
  RequireOwnership();
  if (i < 0 || i > Count()) throw ENubraRangeError(Fmt("List index out of bounds (%d)", i));
  fItems.insert(fItems.begin() + i, word.get());
  word.release();
}

void TExprWordList::SetItems(int i, TExprWord* word) {
  if (fOwnsObjects) return SetItems(i, std::unique_ptr<TExprWord>(word));
  Items(i);  // bounds check
  fItems[static_cast<size_t>(i)] = word;
}

int TExprWordList::Append(TExprWord* word) {
  if (fOwnsObjects) return Append(std::unique_ptr<TExprWord>(word));
  fItems.push_back(word);
  return Count() - 1;
}

void TExprWordList::Insert(int i, TExprWord* word) {
  if (fOwnsObjects) return Insert(i, std::unique_ptr<TExprWord>(word));
  if (i < 0 || i > Count()) throw ENubraRangeError(Fmt("List index out of bounds (%d)", i));
  fItems.insert(fItems.begin() + i, word);
}

void TExprWordList::Delete(int i) {
  TExprWord* word = Extract(i);
  if (fOwnsObjects) Free(word);
}

TExprWord* TExprWordList::Extract(int i) {
  TExprWord* word = Items(i);
  fItems.erase(fItems.begin() + i);
  return word;
}

void TExprWordList::Clear() {
  std::vector<TExprWord*> items;
  items.swap(fItems);
  if (fOwnsObjects)
    for (TExprWord* w : items) Free(w);
}

int TExprWordList::IndexOf(const TExprWord* word) const {
  auto it = std::find(fItems.begin(), fItems.end(), word);
  return it == fItems.end() ? -1 : static_cast<int>(it - fItems.begin());
}

bool TExprWordList::Find(const std::string& name, int& index) const {
  int lo = 0;
  int hi = Count() - 1;
  while (lo <= hi) {
    const int mid = lo + (hi - lo) / 2;
    const int c = fItems[static_cast<size_t>(mid)]->Name().compare(name);
    if (c < 0) {
      lo = mid + 1;
    } else if (c > 0) {
      hi = mid - 1;
    } else {
      index = mid;
      return true;
    }
  }
  index = lo;
  return false;
}

void TExprWordList::Sort() {
  std::stable_sort(fItems.begin(), fItems.end(),
                   [](const TExprWord* a, const TExprWord* b) { return a->Name() < b->Name(); });
}

void TExprWordList::CheckForDuplicates() const {
  for (int i = 1; i < Count(); ++i) {
    const std::string& name = fItems[static_cast<size_t>(i - 1)]->Name();
    if (name == fItems[static_cast<size_t>(i)]->Name())
      throw ENubraException(
          Fmt("TExprWordList.CheckForDuplicates returned true at Index = %d, for expression: %s", i - 1,
              name.c_str()));
  }
}

// ---- TWordList -------------------------------------------------------------------------------------

int TWordList::Add(std::unique_ptr<TExprWord> word) {
  RequireOwnership();
  int index = 0;
  if (!Find(word->Name(), index)) {
    Insert(index, std::move(word));
    return index;
  }
  TExprWord* existing = fItems[static_cast<size_t>(index)];
  if (existing->LexemeType() == ltFunction) {
    static_cast<TExprFunction*>(existing)->AddOverload(*word);
    return index;
  }
  Delete(index);
  Insert(index, std::move(word));
  return index;
}

int TWordList::Add(TExprWord* word) { return Add(std::unique_ptr<TExprWord>(word)); }

void TWordList::CheckOverload(const TExprWord& word, int overloadIndex) const {
  const TExprWord* existing = Items(overloadIndex);
  if ((existing->LexemeType() & (ltFunction | ltVaryingFunction)) == 0)
    ERaise("Attempt to overload a non-function!");
  if (existing->Name() != word.Name())
    ERaise("Attemped to add overload for a different function: " + existing->Name() + " <> " + word.Name());
}

int TWordList::AddUnsorted(std::unique_ptr<TExprWord> word, int overloadIndex) {
  RequireOwnership();
  if (overloadIndex < 0) return Append(std::move(word));
  CheckOverload(*word, overloadIndex);
  static_cast<TExprFunction*>(fItems[static_cast<size_t>(overloadIndex)])->AddOverload(*word);
  return overloadIndex;
}

int TWordList::AddUnsorted(TExprWord* word, int overloadIndex) {
  if (overloadIndex >= 0) CheckOverload(*word, overloadIndex);
  return AddUnsorted(std::unique_ptr<TExprWord>(word), overloadIndex);
}

int TWordList::DefineFunctionUnsorted(const std::string& name, TExprFunc func, int argCount, int index) {
  return AddUnsorted(std::make_unique<TExprFunction>(name, func, argCount, 1, ""), index);
}
int TWordList::DefineFunctionUnsorted(const std::string& name, TExprFunc func, int argCount,
                                      const std::string& help, int index) {
  return AddUnsorted(std::make_unique<TExprFunction>(name, func, argCount, 0, help), index);
}
int TWordList::DefineFunctionUnsorted(const std::string& name, TExprFunc func, int argCount, int resultCount,
                                      const std::string& help, int index) {
  return AddUnsorted(std::make_unique<TExprFunction>(name, func, argCount, resultCount, help), index);
}
int TWordList::DefineFunctionUnsorted(const std::string& name, int argCount, TExprFuncObj func, int index) {
  return AddUnsorted(std::make_unique<TExprFunction>(name, argCount, 0, std::move(func), ""), index);
}
int TWordList::DefineFunctionUnsorted(const std::string& name, int argCount, int resultCount,
                                      TExprFuncObj func, const std::string& help, int index) {
  return AddUnsorted(std::make_unique<TExprFunction>(name, argCount, resultCount, std::move(func), help),
                     index);
}

int TWordList::DefineVaryingFunctionUnsorted(const std::string& name, TExprFunc func, int argCount,
                                             int index) {
  return AddUnsorted(std::make_unique<TExprVaryingFunction>(name, func, argCount, 0, ""), index);
}
int TWordList::DefineVaryingFunctionUnsorted(const std::string& name, TExprFunc func, int argCount,
                                             const std::string& help, int index) {
  return AddUnsorted(std::make_unique<TExprVaryingFunction>(name, func, argCount, 0, help), index);
}
int TWordList::DefineVaryingFunctionUnsorted(const std::string& name, TExprFunc func, int argCount,
                                             int resultCount, const std::string& help, int index) {
  return AddUnsorted(std::make_unique<TExprVaryingFunction>(name, func, argCount, resultCount, help), index);
}
int TWordList::DefineVaryingFunctionUnsorted(const std::string& name, int argCount, TExprFuncObj func,
                                             int index) {
  return AddUnsorted(std::make_unique<TExprVaryingFunction>(name, argCount, 0, std::move(func), ""), index);
}
int TWordList::DefineVaryingFunctionUnsorted(const std::string& name, int argCount, TExprFuncObj func,
                                             const std::string& help, int index) {
  return AddUnsorted(std::make_unique<TExprVaryingFunction>(name, argCount, 0, std::move(func), help), index);
}
int TWordList::DefineVaryingFunctionUnsorted(const std::string& name, int argCount, int resultCount,
                                             TExprFuncObj func, const std::string& help, int index) {
  return AddUnsorted(
      std::make_unique<TExprVaryingFunction>(name, argCount, resultCount, std::move(func), help), index);
}

int TWordList::DefineOperatorUnsorted(const std::string& name, TExprFunc func, int argCount, int precedence) {
  return AddUnsorted(std::make_unique<TExprOperator>(name, func, argCount, precedence, ""), -1);
}
int TWordList::DefineOperatorUnsorted(const std::string& name, TExprFunc func, int argCount, int precedence,
                                      const std::string& help) {
  return AddUnsorted(std::make_unique<TExprOperator>(name, func, argCount, precedence, help), -1);
}
int TWordList::DefineOperatorUnsorted(char c, TExprFunc func, int argCount, int precedence,
                                      const std::string& help) {
  return AddUnsorted(std::make_unique<TExprOperator>(c, func, argCount, precedence, help), -1);
}

void TWordList::DefineDoubleConstantUnsorted(const std::string& name, double value, const std::string& help) {
  AddUnsorted(std::make_unique<TExprDoubleConstant>(name, value, help), -1);
}
int TWordList::DefineBoolConstantUnsorted(const std::string& name, bool value, const std::string& help) {
  return AddUnsorted(std::make_unique<TExprBoolConstant>(name, value, help), -1);
}
int TWordList::DefineIntegerConstantUnsorted(const std::string& name, std::int32_t value,
                                             const std::string& help) {
  return AddUnsorted(std::make_unique<TExprIntegerConstant>(name, value, help), -1);
}
void TWordList::DefineComplexConstantUnsorted(const std::string& name, TCplx value, const std::string& help) {
  AddUnsorted(std::make_unique<TExprComplexConstant>(name, value, help), -1);
}

void TWordList::DoOnProbabilities() {
  if (FOnProbabilities) FOnProbabilities(*this);
}
void TWordList::DoOnStatistics() {
  if (FOnStatistics) FOnStatistics(*this);
}
void TWordList::DoOnSignal() {
  if (FOnSignal) FOnSignal(*this);
}
void TWordList::DoOnCustom() {
  if (FOnCustom) FOnCustom(*this);
}

}  // namespace zel
