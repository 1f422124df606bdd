// Named variables, variable collections, contexts and the line list of a script.
#include "lang/words/context.h"

#include <stdexcept>

namespace zel {

void TNamedVariable::SetVarName(const std::string& name) {
  if (name == fVarName) return;
  auto* owner = dynamic_cast<TVariableCollection*>(Collection());
  if (owner && owner->FindByName(name))
    throw std::runtime_error(
        Fmt("TNamedVariable.SetVarName: Can't rename variable %s to %s. Variable already exists.",
            fVarName.c_str(), name.c_str()));
  fVarName = name;
}

void TNamedVariable::SetValue(const TValueRec& value) { fValue.CopyValue(value); }

void TNamedVariable::AssignTo(TPersistent& dest) const {
  if (auto* other = dynamic_cast<TNamedVariable*>(&dest)) {
    if (other == this) return;
    other->SetVarName(fVarName);
    other->SetValue(fValue);
    return;
  }
  TZelCollectionItem::AssignTo(dest);
}

TNamedVariable* TVariableCollection::Add(const std::string& name) {
  if (FindByName(name))
    throw std::runtime_error(
        Fmt("TVariableCollection.Add: Can't add variable %s. Variable already exists.", name.c_str()));
  auto* item = static_cast<TNamedVariable*>(AddItem());
  item->SetVarName(name);
  return item;
}

TNamedVariable* TVariableCollection::FindByName(const std::string& name) const {
  for (int i = 0; i < Count(); ++i) {
    TNamedVariable* item = Items(i);
    if (item->VarName() == name) return item;
  }
  return nullptr;
}

void TExprContext::AssignTo(TPersistent& dest) const {
  auto* other = dynamic_cast<TExprContext*>(&dest);
  if (!other) throw std::runtime_error("TExprContext.AssignTo: dest is not TExprContext!");
  if (other == this) return;
  other->fExpression = fExpression;
  other->fVariables.Assign(fVariables);
}

void TSingleExpression::SetChain(TNodeChain nodes) {
  ClearChain();
  fNodes = std::move(nodes);
  Rec = fNodes.empty() ? nullptr : fNodes.front().get();
  Tuned = false;
}

void TSingleExpression::ClearChain() {
  if (fNodes.empty() || Rec != fNodes.front().get()) {
    // A caller has freed, taken or replaced the chain through Rec (DisposeList, or nodes linked by hand):
    // the chain at Rec, if any, is owned along Next as before, and the handed-over nodes are not.
    for (std::unique_ptr<TExprRec>& node : fNodes) static_cast<void>(node.release());
    DisposeList(Rec);
  }
  fNodes.clear();
  Rec = nullptr;
  Res = nullptr;
  Tuned = false;
}

void TExprList::RaiseIndex(int i) { throw ENubraRangeError(Fmt("List index out of bounds (%d)", i)); }

void TExprList::SetItems(int i, std::unique_ptr<TSingleExpression> item) {
  Items(i);  // bounds check
  fItems[static_cast<size_t>(i)] = std::move(item);
}

TSingleExpression* TExprList::Add(std::unique_ptr<TSingleExpression> item) {
  fItems.push_back(std::move(item));
  return fItems.back().get();
}

TSingleExpression* TExprList::Insert(int i, std::unique_ptr<TSingleExpression> item) {
  if (i < 0 || i > Count()) throw ENubraRangeError(Fmt("List index out of bounds (%d)", i));
  return fItems.insert(fItems.begin() + i, std::move(item))->get();
}

void TExprList::Delete(int i) {
  Items(i);  // bounds check
  fItems.erase(fItems.begin() + i);
}

}  // namespace zel
