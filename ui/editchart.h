// Extension items of the vector/matrix editor: add-ons (charts, exports) register an item and every
// editor form lists it in its Chart menu. One process-wide list, created with the first registration and
// freed when the last item leaves it; items belong to whoever registered them.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zel {

class TNubraEditForm;

// One entry of the Chart menu.
class TZelEditChartItem {
 public:
  std::string Caption;
  // Runs the item on the form's data; `seriesInColumns` tells how the matrix is read as data series.
  std::function<void(TNubraEditForm& form, bool seriesInColumns)> OnExecute;
  // Whether the item can run on the form's current data (enabled when absent).
  std::function<bool(const TNubraEditForm& form)> OnUpdate;
};

using TZelEditChartItems = std::vector<TZelEditChartItem*>;

// Adds `item` to the list (once).
void RegisterZelEditItem(TZelEditChartItem* item);
// Removes `item`; the list itself goes with its last item.
void UnRegisterZelEditItem(TZelEditChartItem* item);
// The registered items, or null while none is registered.
const TZelEditChartItems* ZelEditChartItems();

}  // namespace zel
