#include "text/Search.h"

#include <cassert>
#include <cstring>

#include "text/Bytes.h"
#include "text/LocalEncoding.h"

namespace torvin {

namespace {

// First occurrence of a pattern by its first byte and a compare; the program's patterns
// are short and their first bytes rare enough that this beats a general memmem.
const char* FindBytes(const char* text, std::size_t n, std::string_view pattern) {
    const std::size_t m = pattern.size();
    if (m > n) return nullptr;
    const char first = pattern[0];
    const char* p = text;
    const char* last = text + (n - m);
    while (p <= last) {
        p = static_cast<const char*>(std::memchr(p, first, static_cast<std::size_t>(last - p) + 1));
        if (!p) return nullptr;
        if (std::memcmp(p + 1, pattern.data() + 1, m - 1) == 0) return p;
        ++p;
    }
    return nullptr;
}

// Zero-based offset of the match in a NUL-free text, or npos. Under a double-byte
// encoding the text is divided into characters from its first byte; a candidate found by
// the byte search counts only when it starts a character. The division only walks
// forward, so a whole search stays linear in the text; it is needed only for a
// candidate right after a lead byte.
std::size_t FindIn(std::string_view pattern, std::string_view text, const TLocalEncoding& encoding) {
    if (pattern.empty() || text.size() < pattern.size()) return std::string_view::npos;
    std::size_t from = 0;
    std::size_t charStart = 0;
    while (from + pattern.size() <= text.size()) {
        const char* hit = FindBytes(text.data() + from, text.size() - from, pattern);
        if (!hit) return std::string_view::npos;
        std::size_t at = static_cast<std::size_t>(hit - text.data());
        if (!encoding.HasLeadBytes()) return at;
        // A byte right after a byte that is no lead byte always starts a character.
        if (at == 0 || !encoding.IsLeadByte(static_cast<unsigned char>(text[at - 1]))) return at;
        while (charStart < at) {
            charStart += encoding.IsLeadByte(static_cast<unsigned char>(text[charStart])) ? 2 : 1;
        }
        if (charStart == at) return at;
        from = at + 1;
    }
    return std::string_view::npos;
}

}  // namespace

std::int64_t FindPos(std::string_view pattern, std::string_view text,
                     const TLocalEncoding& encoding) {
    std::size_t at = FindIn(pattern, UpToNul(text), encoding);
    return at == std::string_view::npos ? 0 : static_cast<std::int64_t>(at) + 1;
}

std::string ReplaceText(std::string_view source, std::string_view pattern,
                        std::string_view replacement, const TLocalEncoding& encoding) {
    std::string_view s = UpToNul(source);
    std::string result;
    result.reserve(s.size());
    for (;;) {
        // Each search starts afresh on the rest, as if it were a text of its own.
        std::size_t at = FindIn(pattern, s, encoding);
        if (at == std::string_view::npos) break;
        result.append(s.substr(0, at));
        result.append(replacement);
        s = s.substr(at + pattern.size());
    }
    result.append(s);
    return result;
}

bool ReplaceShorterInPlace(std::string& text, std::string_view pattern,
                           std::string_view replacement, const TLocalEncoding& encoding) {
    assert(replacement.size() <= pattern.size());
    std::string_view s(text);
    std::size_t at = FindIn(pattern, s, encoding);
    if (at == std::string_view::npos) return false;
    char* out = text.data();
    std::size_t read = 0;
    std::size_t write = 0;
    do {
        std::memmove(out + write, out + read, at);
        write += at;
        std::memcpy(out + write, replacement.data(), replacement.size());
        write += replacement.size();
        read += at + pattern.size();
        // The rest is searched as a text of its own, exactly like ReplaceText does.
        at = FindIn(pattern, std::string_view(text.data() + read, text.size() - read), encoding);
    } while (at != std::string_view::npos);
    std::memmove(out + write, out + read, text.size() - read);
    write += text.size() - read;
    text.resize(write);
    return true;
}

}  // namespace torvin
