#include "cds/TitleList.h"


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

void TTitleList::Permute(const std::vector<std::size_t>& order) {
    std::vector<std::unique_ptr<TTitleRow>> reordered;
    reordered.reserve(rows.size());
    for (std::size_t from : order) reordered.push_back(std::move(rows[from]));
    rows = std::move(reordered);
}

}  // namespace torvin
