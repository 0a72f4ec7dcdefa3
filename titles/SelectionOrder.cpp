#include "titles/SelectionOrder.h"

namespace torvin {

void TSelectionOrder::lvInfoSelectItem(const TTitleRow* row, bool selected) {
    if (auto found = where.find(row); found != where.end()) {
        order.erase(found->second);
        where.erase(found);
    }
    if (selected) where.emplace(row, order.insert(order.end(), row));
}

void TSelectionOrder::Clear() {
    order.clear();
    where.clear();
}

}  // namespace torvin
