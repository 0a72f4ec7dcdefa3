#pragma once

#include <cstddef>
#include <list>
#include <unordered_map>
#include <vector>

namespace torvin {

struct TTitleRow;

// The rows in the order in which they last became selected, oldest first. Membership,
// appending and removal take constant time, so selecting a whole large table is cheap.
class TSelectionOrder final {
public:
    // One selection-change event of a row: a row that stands in the list leaves it, and
    // a row that became selected goes to the end.
    void lvInfoSelectItem(const TTitleRow* row, bool selected);
    void Clear();
    // Room for this many rows, ahead of a large selection.
    void Reserve(std::size_t rows);

    std::size_t Count() const { return order.size(); }
    bool Contains(const TTitleRow* row) const { return where.count(row) != 0; }
    std::vector<const TTitleRow*> Rows() const { return {order.begin(), order.end()}; }

private:
    std::list<const TTitleRow*> order;
    std::unordered_map<const TTitleRow*, std::list<const TTitleRow*>::iterator> where;
};

}  // namespace torvin
