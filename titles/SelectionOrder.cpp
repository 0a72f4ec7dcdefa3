#include "titles/SelectionOrder.h"

namespace torvin {

void TSelectionOrder::lvInfoSelectItem(const TTitleRow* row, bool selected) {
    if (selected) {
        // One hash lookup whether the row is new or moves to the end.
        auto [at, fresh] = where.try_emplace(row);
        if (!fresh) order.erase(at->second);
        at->second = order.insert(order.end(), row);
    } else if (auto found = where.find(row); found != where.end()) {
        order.erase(found->second);
        where.erase(found);
    }
}

void TSelectionOrder::Reserve(std::size_t rows) { where.reserve(rows); }

void TSelectionOrder::Clear() {
    order.clear();
    where.clear();
}

}  // namespace torvin
