#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "cds/TitleRow.h"

namespace torvin {

// The rows of the title table in table order. A row keeps its address for its whole
// life, so other lists may refer to it while the table is sorted.
class TTitleList final {
public:
    TTitleList();
    ~TTitleList();
    TTitleList(const TTitleList&) = delete;
    TTitleList& operator=(const TTitleList&) = delete;

    // Appends a new empty row at the end and returns it.
    TTitleRow& Add();
    void Clear();
    std::size_t Count() const { return rows.size(); }
    bool Empty() const { return rows.empty(); }
    TTitleRow& operator[](std::size_t index) { return *rows[index]; }
    const TTitleRow& operator[](std::size_t index) const { return *rows[index]; }
    // Position of a row in table order, or -1.
    std::ptrdiff_t IndexOf(const TTitleRow* row) const;

    // Reorders the rows; `before(a, b)` must be a strict weak ordering. Rows that
    // compare equal keep their order.
    void StableSort(const std::function<bool(const TTitleRow&, const TTitleRow&)>& before);

private:
    std::vector<std::unique_ptr<TTitleRow>> rows;
};

}  // namespace torvin
