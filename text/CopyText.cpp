#include "text/CopyText.h"

namespace torvin {

std::string CopyText(std::string_view text, std::int64_t index, std::int64_t count) {
    const auto length = static_cast<std::int64_t>(text.size());
    if (index > length || count < 1) return {};
    if (index < 1) index = 1;
    std::int64_t available = length - index + 1;
    return std::string(text.substr(static_cast<std::size_t>(index - 1),
                                   static_cast<std::size_t>(count < available ? count : available)));
}

}  // namespace torvin
