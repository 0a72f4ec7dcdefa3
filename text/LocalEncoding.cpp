#include "text/LocalEncoding.h"

#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <stdexcept>
#include <vector>

#include "text/Utf8Line.h"

namespace torvin {

namespace {

constexpr std::uint16_t kUnmapped = 0xFFFF;

// Code page 932 bytes of one code point through iconv: a single byte as itself, a
// double-byte character as lead << 8 | trail, kUnmapped when the code page lacks it.
std::uint16_t ConvertOne(iconv_t handle, char32_t c) {
    char in[4] = {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF),
                  static_cast<char>((c >> 16) & 0xFF), static_cast<char>((c >> 24) & 0xFF)};
    char out[8];
    char* inPtr = in;
    char* outPtr = out;
    std::size_t inLeft = 4;
    std::size_t outLeft = sizeof out;
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
    if (iconv(handle, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return kUnmapped;
    const auto n = static_cast<std::size_t>(outPtr - out);
    if (n == 1) return static_cast<unsigned char>(out[0]);
    if (n == 2) return static_cast<std::uint16_t>(static_cast<unsigned char>(out[0]) << 8 | static_cast<unsigned char>(out[1]));
    return kUnmapped;
}

}  // namespace

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
        // Every character of the Basic Multilingual Plane, looked up once through iconv
        // and kept; everything above it has no place in the code page.
        cp932Table.assign(0x10000, kUnmapped);
        for (char32_t c = 0; c < 0x10000; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF) continue;
            cp932Table[c] = c < 0x80 ? static_cast<std::uint16_t>(c) : ConvertOne(converter->handle, c);
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
    out.reserve(out.size() + codePoints.size() * 2);
    for (char32_t c : codePoints) {
        const std::uint16_t bytes = c < 0x10000 ? cp932Table[c] : kUnmapped;
        if (bytes == kUnmapped) {
            out += '?';
        } else if (bytes < 0x100) {
            out += static_cast<char>(bytes);
        } else {
            out += static_cast<char>(bytes >> 8);
            out += static_cast<char>(bytes & 0xFF);
        }
    }
}

std::string TLocalEncoding::FromUtf8Text(std::string_view utf8) const {
    // The toolkit hands over well-formed UTF-8, which the line conversion takes whole.
    return ConvertUtf8Line(utf8, *this);
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
