#pragma once

#include <string>
#include <vector>

namespace torvin {

// One recording in the table: the title as caption, then the sub-items in the order
// the parser appends them: start time, size, duration, channel, recording number,
// stream URL (and more, when an item carries a second res line).
struct TTitleRow {
    std::string caption;
    std::vector<std::string> subItems;

    // The sub-item at `index`, or the empty text when the row has none there.
    const std::string& SubItem(std::size_t index) const;
};

}  // namespace torvin
