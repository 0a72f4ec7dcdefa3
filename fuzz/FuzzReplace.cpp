// FindPos, ReplaceText and the parser's one-pass entity decoding against literal
// renderings of their rules.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cds/ResponseParser.h"
#include "text/LocalEncoding.h"
#include "text/Search.h"

namespace {

using torvin::TLocalEncoding;

// Byte at `at` is a second byte when an odd run of lead bytes stands right before it.
bool IsSecondByte(const std::string& t, std::size_t at, const TLocalEncoding& e) {
    std::size_t leads = 0;
    while (leads < at && e.IsLeadByte(static_cast<unsigned char>(t[at - 1 - leads]))) ++leads;
    return leads % 2 == 1;
}

std::int64_t LiteralFindPos(const std::string& pattern, std::string text, const TLocalEncoding& e) {
    text = text.substr(0, text.find('\0'));
    if (pattern.empty() || text.empty()) return 0;
    for (std::size_t at = 0; at + pattern.size() <= text.size(); ++at) {
        if (text.compare(at, pattern.size(), pattern) == 0 && !IsSecondByte(text, at, e)) return at + 1;
    }
    return 0;
}

std::string LiteralReplace(const std::string& source, const std::string& pattern, const std::string& with,
                           const TLocalEncoding& e) {
    std::string s = source.substr(0, source.find('\0'));
    std::string result;
    for (;;) {
        const std::int64_t p = LiteralFindPos(pattern, s, e);
        if (p == 0) break;
        result += s.substr(0, static_cast<std::size_t>(p - 1)) + with;
        s = s.substr(static_cast<std::size_t>(p - 1) + pattern.size());
    }
    return result + s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Input: pattern 0xFF replacement 0xFF source (missing parts are empty).
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t a = input.find('\xFF');
    const std::size_t b = a == std::string::npos ? std::string::npos : input.find('\xFF', a + 1);
    const std::string pattern = input.substr(0, a);
    const std::string with = a == std::string::npos ? "" : input.substr(a + 1, b == std::string::npos ? std::string::npos : b - a - 1);
    const std::string source = b == std::string::npos ? input : input.substr(b + 1);
    for (const TLocalEncoding* e : {&TLocalEncoding::Utf8(), &TLocalEncoding::Cp932()}) {
        if (torvin::FindPos(pattern, source, *e) != LiteralFindPos(pattern, source, *e)) std::abort();
        if (torvin::ReplaceText(source, pattern, with, *e) != LiteralReplace(source, pattern, with, *e)) std::abort();
        std::string decoded = LiteralReplace(input, "&amp;", "&", *e);
        decoded = LiteralReplace(decoded, "&lt;", "<", *e);
        decoded = LiteralReplace(decoded, "&gt;", ">", *e);
        decoded = LiteralReplace(decoded, "&quot;", "\"", *e);
        decoded = LiteralReplace(decoded, "&apos;", "'", *e);
        decoded = LiteralReplace(decoded, "&amp;", "&", *e);
        if (torvin::DecodeEntities(input, *e) != decoded) std::abort();
    }
    return 0;
}
