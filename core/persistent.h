// Small class-library pieces the language builds on: a persistent base with Assign/AssignTo, and owned
// collections of items that know their collection.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace zel {

// Root of polymorphic objects the language passes around by reference (custom values, senders).
class TObject {
 public:
  virtual ~TObject() = default;
  // Name used in messages ("Unsupported custom object type: " + ClassName()).
  virtual std::string ClassName() const { return "TObject"; }
};

// Base of objects that can be assigned onto each other. Assign asks the source to copy itself onto this
// object; a source that cannot raises "Cannot assign a <source> to a <destination>".
class TPersistent : public TObject {
 public:
  virtual void Assign(const TPersistent& source);
  virtual void AssignTo(TPersistent& dest) const;
  // Name used in messages.
  std::string ClassName() const override { return "TPersistent"; }
};

class TZelCollection;

// An item owned by a TZelCollection.
class TZelCollectionItem : public TPersistent {
 public:
  explicit TZelCollectionItem(TZelCollection* collection) : fCollection(collection) {}
  TZelCollection* Collection() const { return fCollection; }
  // Position in the collection, -1 when the item belongs to none.
  int Index() const;

 private:
  friend class TZelCollection;
  TZelCollection* fCollection;
};

// An owning, ordered collection; NewItem makes items of the concrete item class.
class TZelCollection : public TPersistent {
 public:
  TZelCollection() = default;
  TZelCollection(const TZelCollection&) = delete;
  TZelCollection& operator=(const TZelCollection&) = delete;

  int Count() const { return static_cast<int>(fItems.size()); }
  TZelCollectionItem* Item(int i) const;  // raises ENubraRangeError outside 0..Count-1
  TZelCollectionItem* AddItem();
  TZelCollectionItem* InsertItem(int index);
  void Delete(int index);
  void Clear();
  int IndexOf(const TZelCollectionItem* item) const;

  // Replaces the items with copies of the source's (item by item through Assign).
  void Assign(const TPersistent& source) override;
  std::string ClassName() const override { return "TZelCollection"; }

 protected:
  virtual std::unique_ptr<TZelCollectionItem> NewItem() = 0;

 private:
  std::vector<std::unique_ptr<TZelCollectionItem>> fItems;
};

}  // namespace zel
