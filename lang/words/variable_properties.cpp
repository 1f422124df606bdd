// Named variables and variable collections as component properties, so a component that holds variables
// saves them in its file: a count, then per variable its name and its value blob as hex text.
#include <string>

#include "core/errors.h"
#include "lang/words/context.h"

namespace zel {

void TNamedVariable::WriteProperties(TZelComponent::TProperties& dst, const std::string& prefix) const {
  dst.emplace_back(prefix + "VarName", fVarName);
  fValue.DefineProperties(dst, prefix + "Value.");
}

void TNamedVariable::ReadProperties(const TZelComponent::TProperties& src, const std::string& prefix) {
  if (const std::string* name = TZelComponent::FindProperty(src, prefix + "VarName")) SetVarName(*name);
  fValue.ReadProperties(src, prefix + "Value.");
}

void TVariableCollection::WriteProperties(TZelComponent::TProperties& dst, const std::string& prefix) const {
  dst.emplace_back(prefix + ".Count", std::to_string(Count()));
  for (int i = 0; i < Count(); ++i) Items(i)->WriteProperties(dst, Fmt("%s[%d].", prefix.c_str(), i));
}

void TVariableCollection::ReadProperties(const TZelComponent::TProperties& src, const std::string& prefix) {
  const std::string countName = prefix + ".Count";
  const std::string* text = TZelComponent::FindProperty(src, countName);
  if (!text) return;
  // Each stored variable has at least its name, so a larger count is corrupt (and would allocate freely).
  std::size_t count = 0;
  const bool digits =
      !text->empty() && text->size() < 10 && text->find_first_not_of("0123456789") == std::string::npos;
  if (digits) count = std::stoul(*text);
  if (!digits || count > src.size())
    ERaise("Component stream read error: property \"" + countName + "\" is not a variable count");
  Clear();
  for (std::size_t i = 0; i < count; ++i)
    static_cast<TNamedVariable*>(AddItem())->ReadProperties(src, Fmt("%s[%zu].", prefix.c_str(), i));
}

}  // namespace zel
