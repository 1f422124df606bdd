// The persistent base's double dispatch and owned collections.
#include "core/persistent.h"

#include <algorithm>
#include <stdexcept>

#include "core/errors.h"

namespace zel {

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& dest) const {
  throw std::runtime_error("Cannot assign a " + ClassName() + " to a " + dest.ClassName());
}

int TZelCollectionItem::Index() const { return fCollection ? fCollection->IndexOf(this) : -1; }

namespace {

void CheckIndex(int index, int count, bool allowEnd) {
  if (index < 0 || index > count || (index == count && !allowEnd))
    throw ENubraRangeError(Fmt("Collection index %d out of range (Count = %d)", index, count));
}

}  // namespace

TZelCollectionItem* TZelCollection::Item(int i) const {
  CheckIndex(i, Count(), false);
  return fItems[i].get();
}

TZelCollectionItem* TZelCollection::AddItem() { return InsertItem(Count()); }

TZelCollectionItem* TZelCollection::InsertItem(int index) {
  CheckIndex(index, Count(), true);
  std::unique_ptr<TZelCollectionItem> item = NewItem();
  item->fCollection = this;
  TZelCollectionItem* raw = item.get();
  fItems.insert(fItems.begin() + index, std::move(item));
  return raw;
}

void TZelCollection::Delete(int index) {
  CheckIndex(index, Count(), false);
  fItems.erase(fItems.begin() + index);
}

void TZelCollection::Clear() { fItems.clear(); }

int TZelCollection::IndexOf(const TZelCollectionItem* item) const {
  const auto it =
      std::find_if(fItems.begin(), fItems.end(), [item](const auto& p) { return p.get() == item; });
  return it == fItems.end() ? -1 : static_cast<int>(it - fItems.begin());
}

void TZelCollection::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TZelCollection*>(&source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  Clear();
  for (const auto& item : other->fItems) AddItem()->Assign(*item);
}

}  // namespace zel
