#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace torvin {

// Offset of the first `c` at or after `from`, or npos. Safe on an empty view, whose data
// may be null (memchr itself must not see a null pointer, not even with length 0).
inline std::size_t FindByte(std::string_view text, char c, std::size_t from = 0) {
    if (from >= text.size()) return std::string_view::npos;
    const void* hit = std::memchr(text.data() + from, c, text.size() - from);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) : std::string_view::npos;
}

// The text up to, not including, its first NUL byte.
inline std::string_view UpToNul(std::string_view text) {
    const std::size_t nul = FindByte(text, '\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

}  // namespace torvin
