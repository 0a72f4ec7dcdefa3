#include "cds/TitleList.h"

#include <algorithm>

namespace torvin {

const std::string& TTitleRow::SubItem(std::size_t index) const {
    static const std::string empty;
    return index < subItems.size() ? subItems[index] : empty;
}

TTitleList::TTitleList() = default;
TTitleList::~TTitleList() = default;

TTitleRow& TTitleList::Add() {
    rows.push_back(std::make_unique<TTitleRow>());
    return *rows.back();
}

void TTitleList::Clear() { rows.clear(); }

std::ptrdiff_t TTitleList::IndexOf(const TTitleRow* row) const {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].get() == row) return static_cast<std::ptrdiff_t>(i);
    }
    return -1;
}

void TTitleList::StableSort(const std::function<bool(const TTitleRow&, const TTitleRow&)>& before) {
    std::stable_sort(rows.begin(), rows.end(),
                     [&before](const std::unique_ptr<TTitleRow>& a,
                               const std::unique_ptr<TTitleRow>& b) { return before(*a, *b); });
}

}  // namespace torvin
