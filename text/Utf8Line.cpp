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

bool IsStrictUtf8(std::string_view line) {
    const auto* p = reinterpret_cast<const unsigned char*>(line.data());
    const auto* end = p + line.size();
    while (p < end) {
        const unsigned b = *p;
        if (b < 0x80) {
            ++p;
            continue;
        }
        std::size_t length;
        unsigned low = 0x80, high = 0xBF;  // the allowed range of the second byte
        if (b >= 0xC2 && b <= 0xDF) length = 2;
        else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            if (b == 0xE0) low = 0xA0;
            if (b == 0xED) high = 0x9F;  // no surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            if (b == 0xF0) low = 0x90;
            if (b == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (static_cast<std::size_t>(end - p) < length) return false;
        if (p[1] < low || p[1] > high) return false;
        for (std::size_t k = 2; k < length; ++k) {
            if (p[k] < 0x80 || p[k] > 0xBF) return false;
        }
        p += length;
    }
    return true;
}

bool DecodeUtf8Line(std::string_view line, std::u32string& out) {
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

std::string ConvertUtf8Line(std::string_view line, const TLocalEncoding& encoding) {
    if (IsAscii(line)) return std::string(line);
    if (encoding.GetKind() == TLocalEncoding::Kind::Utf8 && IsStrictUtf8(line)) return std::string(line);
    std::u32string codePoints;
    if (!DecodeUtf8Line(line, codePoints)) return {};
    std::string out;
    out.reserve(line.size());
    encoding.AppendCodePoints(codePoints, out);
    return out;
}

}  // namespace torvin
