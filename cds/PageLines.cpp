#include "cds/PageLines.h"

#include "text/Lines.h"

namespace torvin {

void TPageLines::Split(std::string_view text) {
    Clear();
    ForEachLine(text, [this](std::string_view line) { lines.push_back(line); });
}

void TPageLines::Assign(const std::vector<std::string>& source) {
    Clear();
    for (const auto& line : source) lines.push_back(owned.emplace_back(line));
}

void TPageLines::Clear() {
    lines.clear();
    owned.clear();
}

void TPageLines::Replace(std::size_t index, std::string text) {
    // A deque never moves its elements, so views of earlier replacements stay valid.
    lines[index] = owned.emplace_back(std::move(text));
}

}  // namespace torvin
