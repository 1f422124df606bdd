// Named variables, variable collections and contexts that carry variables between expressions, and the
// per-line records of a compiled script.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "core/persistent.h"
#include "lang/values/valuerec.h"
#include "lang/words/wordlist.h"

namespace zel {

// The separator between the lines of a multi-line expression.
inline constexpr const char* EXPRESSION_SEPARATOR = "\r\n";

// A variable of a collection: a name and an owned value record.
class TNamedVariable : public TZelCollectionItem {
 public:
  explicit TNamedVariable(TZelCollection* collection) : TZelCollectionItem(collection) {}

  const std::string& VarName() const { return fVarName; }
  // Renaming onto a name another item of the collection has raises; the own name is accepted.
  void SetVarName(const std::string& name);
  TValueRec& Value() { return fValue; }
  const TValueRec& Value() const { return fValue; }
  // Copies the value into the item's own record (TValueRec::CopyValue): the item owns its data, even when
  // the source refers to a host's vector or matrix; a custom object is referenced without ownership.
  void SetValue(const TValueRec& value);

  void AssignTo(TPersistent& dest) const override;
  std::string ClassName() const override { return "TNamedVariable"; }

  // The variable as component properties: `prefix` + "VarName" and the value's `prefix` + "Value.Data".
  void WriteProperties(TZelComponent::TProperties& dst, const std::string& prefix) const;
  // Reads them back: the name through SetVarName, the value through TValueRec::ReadProperties.
  void ReadProperties(const TZelComponent::TProperties& src, const std::string& prefix);

 private:
  std::string fVarName;
  TValueRec fValue;
};

class TVariableCollection : public TZelCollection {
 public:
  TNamedVariable* Items(int i) const { return static_cast<TNamedVariable*>(Item(i)); }
  // Assigns name and value of `item` onto the i-th item.
  void SetItems(int i, const TNamedVariable& item) { Items(i)->Assign(item); }
  // Appends a new undefined variable; an existing name raises.
  TNamedVariable* Add(const std::string& name);
  // First item with exactly that name, or null.
  TNamedVariable* FindByName(const std::string& name) const;
  TNamedVariable* Insert(int index) { return static_cast<TNamedVariable*>(InsertItem(index)); }
  std::string ClassName() const override { return "TVariableCollection"; }

  // The collection as component properties: `prefix` + ".Count", then each variable's properties under
  // `prefix` + "[i].", in collection order (docs/numbers.md).
  void WriteProperties(TZelComponent::TProperties& dst, const std::string& prefix) const;
  // With `prefix` + ".Count" present, replaces the variables with the stored ones; without it the
  // collection is left as it is. A count that is not a number or exceeds the properties raises.
  void ReadProperties(const TZelComponent::TProperties& src, const std::string& prefix);

 protected:
  std::unique_ptr<TZelCollectionItem> NewItem() override { return std::make_unique<TNamedVariable>(this); }
};

// The source text of an expression or script with the variables it works on.
class TExprContext : public TPersistent {
 public:
  const std::string& Expression() const { return fExpression; }
  void SetExpression(const std::string& text) { fExpression = text; }
  TVariableCollection& Variables() { return fVariables; }
  const TVariableCollection& Variables() const { return fVariables; }
  void SetVariables(const TVariableCollection& vars) { fVariables.Assign(vars); }

  // Only onto another context: copies the expression and the variables (names and value copies).
  void AssignTo(TPersistent& dest) const override;
  std::string ClassName() const override { return "TExprContext"; }

  // The context stream (docs/numbers.md): the expression, the variable count and one record per
  // variable. Custom values are saved without contents and load as undefined variables.
  void SaveToStream(std::ostream& s) const;
  // Adds the stream's variables to the collection (which is not cleared: a name already present raises,
  // keeping the variables read before it) and sets the expression. Read errors name the part being read
  // and its offset.
  void LoadFromStream(std::istream& s);
  // Saves through a temporary file renamed over the target; with `append` the context follows the file's
  // existing contents, so one file can hold several contexts.
  void SaveToFile(const std::string& fileName, bool append = false) const;
  // Loads the first context of the file; errors name the file.
  void LoadFromFile(const std::string& fileName);

 private:
  std::string fExpression;
  TVariableCollection fVariables;
};

// The nodes of a compiled line in evaluation order, owned; Next links them for the run loop.
using TNodeChain = std::vector<std::unique_ptr<TExprRec>>;

enum TExprFlowControl { efcNone, efcConditionalJump, efcUnconditionalJump };
enum TExprFlowKeyword { eccNone, eccIf, eccElse, eccEnd, eccWhile, eccFor, eccEndFor, eccBreak, eccContinue };

// One compiled line of a script. The line owns its evaluation chain: the compiler hands it over with
// SetChain. Callers may still work through Rec as with a raw chain: a chain linked to Rec by hand is owned
// and freed along Next, and one freed with DisposeList(Rec) is not freed again.
class TSingleExpression {
 public:
  TSingleExpression() : Words(std::make_unique<TExprWordList>(false)) {}
  TSingleExpression(const TSingleExpression&) = delete;
  TSingleExpression& operator=(const TSingleExpression&) = delete;
  ~TSingleExpression() { ClearChain(); }

  // Takes the nodes of a compiled line (evaluation order, linked by Next); Rec becomes the first.
  void SetChain(TNodeChain nodes);
  // Frees the chain and clears Rec and Res.
  void ClearChain();
  // True while the line runs the chain SetChain handed over (not one a caller linked to Rec by hand):
  // only such a chain may be relinked by the optimisers, since its nodes are owned apart from Next.
  bool OwnsChain() const { return !fNodes.empty() && Rec == fNodes.front().get(); }

  std::string Str;                       // the line's source text
  TExprRec* Rec = nullptr;               // first node of the evaluation chain (owned)
  TExprRec* Res = nullptr;               // the node holding the line's result
  std::unique_ptr<TExprWordList> Words;  // the words of the line (not owned by the list)
  std::string ResultName;                // the variable the line assigns, if any
  TExprFlowControl FlowControl = efcNone;
  int NextLineIndex = 0;
  int JumpLineIndex = 0;
  int NestingDepth = 0;
  TExprFlowKeyword FlowKeyword = eccNone;
  // Set once the line has run and been tuned (script/tune.cpp); a new chain clears it.
  bool Tuned = false;

 private:
  TNodeChain fNodes;  // the chain SetChain handed over
};

// The owned lines of a script.
class TExprList {
 public:
  int Count() const { return static_cast<int>(fItems.size()); }
  // Raises ENubraRangeError outside 0..Count-1.
  TSingleExpression* Items(int i) const {
    if (static_cast<unsigned>(i) >= fItems.size()) [[unlikely]]
      RaiseIndex(i);
    return fItems[static_cast<size_t>(i)].get();
  }
  TSingleExpression* operator[](int i) const { return Items(i); }
  // Line i without the bounds check, for run loops that have checked i already.
  TSingleExpression& At(int i) const { return *fItems[static_cast<size_t>(i)]; }
  void SetItems(int i, std::unique_ptr<TSingleExpression> item);
  TSingleExpression* Add(std::unique_ptr<TSingleExpression> item);
  TSingleExpression* Insert(int i, std::unique_ptr<TSingleExpression> item);
  void Delete(int i);
  void Clear() { fItems.clear(); }

 private:
  // Raises the out-of-bounds error of Items.
  [[noreturn]] static void RaiseIndex(int i);
  std::vector<std::unique_ptr<TSingleExpression>> fItems;
};

}  // namespace zel
