#pragma once

#include <cstddef>
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

    // Puts the rows in a new order: row i becomes the row that stood at order[i].
    // `order` must name every position exactly once.
    void Permute(const std::vector<std::size_t>& order);

private:
    std::vector<std::unique_ptr<TTitleRow>> rows;
};

}  // namespace torvin
