#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace torvin {

// The lines of one received page. A line is a view into the page's bytes until it is
// rewritten; a rewritten line keeps its text here, so the page is never copied whole.
class TPageLines final {
public:
    TPageLines() = default;
    TPageLines(const TPageLines&) = delete;
    TPageLines& operator=(const TPageLines&) = delete;

    // Cuts `text` into lines by the line-splitting rule. The lines refer to `text`,
    // which must outlive them.
    void Split(std::string_view text);
    // Lines that own their text (for pages composed in memory).
    void Assign(const std::vector<std::string>& lines);
    void Clear();

    std::size_t Count() const { return lines.size(); }
    std::string_view operator[](std::size_t index) const { return lines[index]; }
    void Replace(std::size_t index, std::string text);

private:
    std::vector<std::string_view> lines;
    std::deque<std::string> owned;
};

}  // namespace torvin
