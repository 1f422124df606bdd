// Assign/AssignTo dispatch and owned collections.
#include "core/persistent.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "core/errors.h"

namespace zel::test {
namespace {

struct TNumberItem : TZelCollectionItem {
  using TZelCollectionItem::TZelCollectionItem;
  int value = 0;
  void AssignTo(TPersistent& dest) const override {
    if (auto* d = dynamic_cast<TNumberItem*>(&dest)) return void(d->value = value);
    TZelCollectionItem::AssignTo(dest);
  }
  std::string ClassName() const override { return "TNumberItem"; }
};

struct TNumbers : TZelCollection {
  int At(int i) const { return static_cast<TNumberItem*>(Item(i))->value; }
  void Add(int v) { static_cast<TNumberItem*>(AddItem())->value = v; }
  std::string ClassName() const override { return "TNumbers"; }
  std::unique_ptr<TZelCollectionItem> NewItem() override { return std::make_unique<TNumberItem>(this); }
};

TEST(Collection, IndicesAssignAndErrors) {
  TNumbers src, dst;
  src.Add(5);
  src.Add(7);
  TZelCollectionItem* second = src.Item(1);
  EXPECT_EQ(src.InsertItem(0)->Collection(), &src);
  EXPECT_EQ(second->Index(), 2);
  src.Delete(0);
  EXPECT_EQ(second->Index(), 1);
  EXPECT_EQ(TNumberItem(nullptr).Index(), -1);
  for (int bad : {-1, 2}) {
    EXPECT_THROW(src.Item(bad), ENubraRangeError);
    EXPECT_THROW(src.Delete(bad), ENubraRangeError);
  }
  EXPECT_THROW(src.InsertItem(3), ENubraRangeError);

  dst.Add(1);
  dst.Assign(src);
  ASSERT_EQ(dst.Count(), 2);
  EXPECT_EQ(dst.At(0) * 10 + dst.At(1), 57);
  EXPECT_EQ(dst.Item(1)->Collection(), &dst);
  try {
    dst.Assign(TNumberItem(nullptr));
    ADD_FAILURE();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TNumberItem to a TNumbers");
  }
}

}  // namespace
}  // namespace zel::test
