#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace torvin {

class TLocalEncoding;

// 1-based byte position of the first occurrence of `pattern` in `text`, or 0. Only the
// bytes before the first NUL of `text` are searched; an empty pattern or text gives 0.
// Under a double-byte encoding a place that starts on the second byte of a character
// (a byte preceded by an odd run of lead bytes) is passed over.
std::int64_t FindPos(std::string_view pattern, std::string_view text,
                     const TLocalEncoding& encoding);

// Replaces every occurrence of `pattern`, left to right, without overlap and without
// searching the inserted text again. The source counts up to its first NUL byte.
std::string ReplaceText(std::string_view source, std::string_view pattern,
                        std::string_view replacement, const TLocalEncoding& encoding);

// The same rule on a text with no NUL byte, in place, for a replacement no longer than
// the pattern (the entity decoding of the parser). Returns whether anything changed.
bool ReplaceShorterInPlace(std::string& text, std::string_view pattern,
                           std::string_view replacement, const TLocalEncoding& encoding);

}  // namespace torvin
