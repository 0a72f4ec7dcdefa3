#include "app/ErrorText.h"

#include "text/LocalEncoding.h"

namespace torvin {

namespace {

// Where the last character of a text starts.
std::size_t LastCharacter(std::string_view text, const TLocalEncoding& encoding) {
    if (encoding.HasLeadBytes()) {
        std::size_t at = 0;
        std::size_t last = 0;
        while (at < text.size()) {
            last = at;
            at += encoding.IsLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
        }
        return last;
    }
    std::size_t at = text.size() - 1;
    while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) --at;
    return at;
}

}  // namespace

std::string ErrorDisplayText(std::string_view message, const TLocalEncoding& encoding) {
    std::string text(message);
    if (text.empty()) return text;
    const std::string_view last = std::string_view(text).substr(LastCharacter(text, encoding));
    // char_traits<char> compares bytes as unsigned, so a multi-byte character counts
    // as greater than ".".
    if (last.compare(".") > 0) text += '.';
    return text;
}

}  // namespace torvin
