#include "text/LocalEncoding.h"

#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <stdexcept>

namespace torvin {

struct TLocalEncoding::Converter {
    iconv_t handle = reinterpret_cast<iconv_t>(-1);
    ~Converter() {
        if (handle != reinterpret_cast<iconv_t>(-1)) iconv_close(handle);
    }
};

TLocalEncoding::TLocalEncoding(Kind k)
    : kind(k), converter(std::make_unique<Converter>()), toUtf8(std::make_unique<Converter>()) {
    if (kind == Kind::Cp932) {
        for (int b = 0x81; b <= 0x9F; ++b) leadBytes[b] = true;
        for (int b = 0xE0; b <= 0xFC; ++b) leadBytes[b] = true;
        converter->handle = iconv_open("CP932", "UTF-32LE");
        toUtf8->handle = iconv_open("UTF-8", "CP932");
        if (converter->handle == reinterpret_cast<iconv_t>(-1) || toUtf8->handle == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error("iconv cannot convert to CP932");
        }
    }
}

TLocalEncoding::~TLocalEncoding() = default;

const TLocalEncoding& TLocalEncoding::Utf8() {
    static const TLocalEncoding encoding(Kind::Utf8);
    return encoding;
}

const TLocalEncoding& TLocalEncoding::Cp932() {
    static const TLocalEncoding encoding(Kind::Cp932);
    return encoding;
}

const TLocalEncoding& TLocalEncoding::ForCharset(std::string_view charset) {
    std::string name;
    for (char c : charset) {
        if (c != '-' && c != '_') name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (name == "SHIFTJIS" || name == "CP932" || name == "SJIS" || name == "WINDOWS31J") {
        return Cp932();
    }
    return Utf8();
}

const TLocalEncoding& TLocalEncoding::FromLocale() {
    const char* charset = nl_langinfo(CODESET);
    return ForCharset(charset ? charset : "");
}

namespace {

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool Representable(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

}  // namespace

void TLocalEncoding::AppendCodePoints(std::u32string_view codePoints, std::string& out) const {
    if (kind == Kind::Cp932) {
        AppendCp932(codePoints, out);
        return;
    }
    for (char32_t c : codePoints) {
        if (Representable(c)) AppendUtf8(c, out);
        else out += '?';
    }
}

void TLocalEncoding::AppendCp932(std::u32string_view codePoints, std::string& out) const {
    // ASCII maps to itself; everything else goes through iconv one run at a time, and
    // a character the code page lacks becomes "?".
    std::size_t i = 0;
    const std::size_t n = codePoints.size();
    while (i < n) {
        if (codePoints[i] < 0x80) {
            out += static_cast<char>(codePoints[i]);
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < n && codePoints[j] >= 0x80) ++j;
        std::u32string run(codePoints.substr(i, j - i));
        for (auto& c : run) {
            if (!Representable(c)) c = U'?';
        }
        // UTF-32LE input: build little-endian bytes explicitly.
        std::string in;
        in.reserve(run.size() * 4);
        for (char32_t c : run) {
            in += static_cast<char>(c & 0xFF);
            in += static_cast<char>((c >> 8) & 0xFF);
            in += static_cast<char>((c >> 16) & 0xFF);
            in += static_cast<char>((c >> 24) & 0xFF);
        }
        char* inPtr = in.data();
        std::size_t inLeft = in.size();
        std::string buffer(run.size() * 2 + 8, '\0');
        iconv(converter->handle, nullptr, nullptr, nullptr, nullptr);
        while (inLeft > 0) {
            char* outPtr = buffer.data();
            std::size_t outLeft = buffer.size();
            std::size_t r = iconv(converter->handle, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer.data(), outPtr - buffer.data());
            if (r == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG) continue;
                // EILSEQ or EINVAL: this character has no place in the code page.
                out += '?';
                std::size_t skip = std::min<std::size_t>(4, inLeft);
                inPtr += skip;
                inLeft -= skip;
            }
        }
        i = j;
    }
}

std::string TLocalEncoding::FromUtf8Text(std::string_view utf8) const {
    if (kind == Kind::Utf8) return std::string(utf8);
    // Well-formed UTF-8 from the toolkit: decode it plainly, then write it as CP932.
    std::u32string codePoints;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* end = p + utf8.size();
    while (p < end) {
        unsigned b = *p;
        std::size_t length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t value = length == 1 ? b : length == 2 ? (b & 0x1F) : length == 3 ? (b & 0x0F) : (b & 0x07);
        if (static_cast<std::size_t>(end - p) < length || (b >= 0x80 && b < 0xC0)) {
            codePoints += U'?';
            ++p;
            continue;
        }
        for (std::size_t k = 1; k < length; ++k) value = (value << 6) | (p[k] & 0x3F);
        codePoints += value;
        p += length;
    }
    std::string out;
    AppendCp932(codePoints, out);
    return out;
}

std::string TLocalEncoding::ToUtf8Text(std::string_view local) const {
    if (kind == Kind::Utf8) return std::string(local);
    std::string in(local);
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    std::string out;
    std::string buffer(in.size() * 3 + 8, '\0');
    iconv(toUtf8->handle, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        std::size_t r = iconv(toUtf8->handle, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer.data(), static_cast<std::size_t>(outPtr - buffer.data()));
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            out += '?';
            ++inPtr;
            --inLeft;
        }
    }
    return out;
}

}  // namespace torvin
