#include "text/Utf8Line.h"

#include <cstdint>
#include <cstring>

#include "text/LocalEncoding.h"

namespace torvin {

bool IsAscii(std::string_view line) {
    const char* p = line.data();
    std::size_t n = line.size();
    while (n >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if (word & 0x8080808080808080ULL) return false;
        p += 8;
        n -= 8;
    }
    while (n > 0) {
        if (static_cast<unsigned char>(*p) >= 0x80) return false;
        ++p;
        --n;
    }
    return true;
}

namespace {

// Decodes the whole line into code points; false on any fault.
bool Decode(std::string_view line, std::u32string& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(line.data());
    const auto* end = p + line.size();
    out.resize(line.size());
    char32_t* o = out.data();
    while (p < end) {
        unsigned b = *p;
        std::size_t length;
        char32_t value;
        if (b < 0x80) {
            *o++ = static_cast<char32_t>(b);
            ++p;
            continue;
        } else if (b <= 0x9F || (b >= 0xC0 && b <= 0xDF)) {
            length = 2;
            value = b & 0x1F;
        } else if (b <= 0xBF || (b >= 0xE0 && b <= 0xEF)) {
            length = 3;
            value = b & 0x0F;
        } else if (b <= 0xF4) {
            length = 4;
            value = b & 0x07;
        } else {
            return false;
        }
        if (static_cast<std::size_t>(end - p) < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            unsigned c = p[k];
            if (c < 0x80 || c > 0xBF) return false;
            value = (value << 6) | (c & 0x3F);
        }
        if (value > 0x10FFFF) return false;
        *o++ = value;
        p += length;
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    return true;
}

}  // namespace

std::string ConvertUtf8Line(std::string_view line, const TLocalEncoding& encoding) {
    if (IsAscii(line)) return std::string(line);
    std::u32string codePoints;
    if (!Decode(line, codePoints)) return {};
    std::string out;
    out.reserve(line.size());
    encoding.AppendCodePoints(codePoints, out);
    return out;
}

}  // namespace torvin
