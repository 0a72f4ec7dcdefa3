#include <gtest/gtest.h>
#include <iconv.h>

#include "text/LocalEncoding.h"
#include "text/Utf8Line.h"

namespace torvin {
namespace {

const TLocalEncoding& utf8 = TLocalEncoding::Utf8();
const TLocalEncoding& cp932 = TLocalEncoding::Cp932();

TEST(ConvertUtf8Line, DecodesByTheFirstByteRule) {
    struct Case {
        std::string in, asUtf8, asCp932;
    } cases[] = {
        {"plain ascii", "plain ascii", "plain ascii"},
        {"\xE3\x81\x82", "\xE3\x81\x82", "\x82\xA0"},            // あ
        {"\xC3\xA9", "\xC3\xA9", "?"},                           // é is not in code page 932
        {"\xC0\x80", std::string("\0", 1), std::string("\0", 1)},  // overlong zero
        {"\xC1\x81", "A", "A"},                                  // overlong A
        {"\x80\x80", std::string("\0", 1), std::string("\0", 1)},  // 0x80-0x9F lead two bytes
        {"\xA3\x81\x82", "\xE3\x81\x82", "\x82\xA0"},            // 0xA0-0xBF lead three bytes
        {"\xED\xA0\x80", "?", "?"},                              // a surrogate cannot be written
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80", "?"},           // four-byte form
        {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF", "?"},           // U+10FFFF
        {"\xF4\x90\x80\x80", "", ""},                            // beyond U+10FFFF
        {"\xF5\x80\x80\x80", "", ""},
        {"\xFF", "", ""},
        {"a\xC3", "", ""},                                       // form cut by the line end
        {"\xC3" "a", "", ""},                                    // wrong continuation
        {"\xE3\x81" "b", "", ""},
        {"\xF0\x9F\x98", "", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ConvertUtf8Line(c.in, utf8), c.asUtf8) << testing::PrintToString(c.in);
        EXPECT_EQ(ConvertUtf8Line(c.in, cp932), c.asCp932) << testing::PrintToString(c.in);
    }
}

TEST(LocalEncoding, Cp932AgreesWithIconvCharacterByCharacter) {
    iconv_t direct = iconv_open("CP932", "UTF-32LE");
    ASSERT_NE(direct, reinterpret_cast<iconv_t>(-1));
    for (char32_t c = 0x80; c < 0x10000; c += (c < 0x3100 ? 1 : 7)) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        char in[4] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8), 0, 0};
        char buffer[8];
        char* inPtr = in;
        char* outPtr = buffer;
        std::size_t inLeft = 4, outLeft = sizeof buffer;
        iconv(direct, nullptr, nullptr, nullptr, nullptr);
        const bool ok = iconv(direct, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
        const std::string expected = ok ? std::string(buffer, outPtr) : "?";
        std::string got;
        cp932.AppendCodePoints(std::u32string(1, c), got);
        ASSERT_EQ(got, expected) << std::hex << static_cast<unsigned>(c);
    }
    iconv_close(direct);
}

TEST(LocalEncoding, ChosenFromTheLocaleCharset) {
    for (const char* name : {"SHIFT_JIS", "Shift_JIS", "CP932", "SJIS", "sjis", "WINDOWS-31J"}) {
        EXPECT_EQ(TLocalEncoding::ForCharset(name).GetKind(), TLocalEncoding::Kind::Cp932) << name;
    }
    for (const char* name : {"UTF-8", "ANSI_X3.4-1968", "EUC-JP", ""}) {
        EXPECT_EQ(TLocalEncoding::ForCharset(name).GetKind(), TLocalEncoding::Kind::Utf8) << name;
    }
    EXPECT_TRUE(TLocalEncoding::Cp932().IsLeadByte(0x81));
    EXPECT_TRUE(TLocalEncoding::Cp932().IsLeadByte(0xFC));
    EXPECT_FALSE(TLocalEncoding::Cp932().IsLeadByte(0xA0));
    EXPECT_FALSE(TLocalEncoding::Utf8().IsLeadByte(0x81));
}

}  // namespace
}  // namespace torvin

namespace torvin {
namespace {

TEST(LocalEncoding, ToolkitBoundary) {
    const TLocalEncoding& cp932 = TLocalEncoding::Cp932();
    EXPECT_EQ(cp932.FromUtf8Text("あx"), "\x82\xA0x");
    EXPECT_EQ(cp932.ToUtf8Text("\x82\xA0x"), "あx");
    EXPECT_EQ(cp932.ToUtf8Text("a\x82"), "a?");  // a lone lead byte at the end
    EXPECT_EQ(cp932.FromUtf8Text("é"), "?");
    EXPECT_EQ(TLocalEncoding::Utf8().FromUtf8Text("é"), "é");
}

}  // namespace
}  // namespace torvin
