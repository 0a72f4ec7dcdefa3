#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace torvin {

// Up to `count` bytes of `text` from the 1-based position `index` (an index below 1
// counts as 1 without shortening the count); empty when `index` is past the end or
// `count` is below 1.
std::string CopyText(std::string_view text, std::int64_t index, std::int64_t count);

}  // namespace torvin
