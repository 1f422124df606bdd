// The process-wide list of editor extension items (see editchart.h).
#include "ui/editchart.h"

#include <algorithm>
#include <memory>

namespace zel {

namespace {
std::unique_ptr<TZelEditChartItems> items;
}

// Creates the list on first use and adds the item unless it is there already.
void RegisterZelEditItem(TZelEditChartItem* item) {
  if (!item) return;
  if (!items) items = std::make_unique<TZelEditChartItems>();
  if (std::find(items->begin(), items->end(), item) == items->end()) items->push_back(item);
}

// Removes the item and frees the list when it becomes empty.
void UnRegisterZelEditItem(TZelEditChartItem* item) {
  if (!items) return;
  items->erase(std::remove(items->begin(), items->end(), item), items->end());
  if (items->empty()) items.reset();
}

// The list, or null.
const TZelEditChartItems* ZelEditChartItems() { return items.get(); }

}  // namespace zel
