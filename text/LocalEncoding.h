#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace torvin {

// The byte encoding in which the program holds its texts: UTF-8 (the default) or
// code page 932. It knows its lead bytes (for the double-byte search rule) and how to
// write Unicode code points as its own bytes.
class TLocalEncoding final {
public:
    enum class Kind { Utf8, Cp932 };

    static const TLocalEncoding& Utf8();
    static const TLocalEncoding& Cp932();
    // Code page 932 when the locale's character set is Shift_JIS / CP932 / SJIS,
    // UTF-8 otherwise (also under the C locale).
    static const TLocalEncoding& ForCharset(std::string_view charset);
    static const TLocalEncoding& FromLocale();

    Kind GetKind() const { return kind; }
    const char* Name() const { return kind == Kind::Utf8 ? "UTF-8" : "CP932"; }
    bool IsLeadByte(unsigned char b) const { return leadBytes[b]; }
    bool HasLeadBytes() const { return kind == Kind::Cp932; }

    // Appends the code points as bytes of this encoding. A code point this encoding
    // cannot hold (a surrogate, or a character missing from code page 932) becomes "?".
    void AppendCodePoints(std::u32string_view codePoints, std::string& out) const;

    // Text crossing the boundary to the window toolkit, which speaks UTF-8. A character
    // or byte the other side cannot hold becomes "?".
    std::string FromUtf8Text(std::string_view utf8) const;
    std::string ToUtf8Text(std::string_view local) const;

    ~TLocalEncoding();
    TLocalEncoding(const TLocalEncoding&) = delete;
    TLocalEncoding& operator=(const TLocalEncoding&) = delete;

private:
    explicit TLocalEncoding(Kind kind);
    void AppendCp932(std::u32string_view codePoints, std::string& out) const;

    Kind kind;
    std::array<bool, 256> leadBytes{};
    struct Converter;
    std::unique_ptr<Converter> converter;
    std::unique_ptr<Converter> toUtf8;
    // Code page 932 bytes of each BMP code point (lead << 8 | trail, or one byte).
    std::vector<std::uint16_t> cp932Table;
};

}  // namespace torvin
