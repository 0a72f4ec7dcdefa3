#include <gtest/gtest.h>

#include "cds/PageLines.h"
#include "cds/ResponseParser.h"
#include "cds/TitleList.h"
#include "text/LocalEncoding.h"
#include "text/Search.h"

namespace torvin {
namespace {

using Lines = std::vector<std::string>;
using Items = std::vector<std::string>;
const TLocalEncoding& utf8 = TLocalEncoding::Utf8();
const TLocalEncoding& cp932 = TLocalEncoding::Cp932();

struct Parsed {
    TTitleList rows;
    std::int32_t liveId = -1;
    std::int32_t startIndex = 0;
    std::int32_t total = 0;
    int resultLines = 0;
};

void Parse(Parsed& p, const Lines& text, const TLocalEncoding& e = utf8) {
    TPageLines lines;
    lines.Assign(text);
    TParseTarget target{p.rows, p.liveId, e};
    p.total = ParseResponse(lines, p.startIndex, target);
    p.resultLines = target.resultLines;
}

const Lines kWorkedPage = {
    "HTTP/1.0 200 OK",
    "Content-Type: text/xml; charset=\"utf-8\"",
    "",
    "<?xml version=\"1.0\"?>",
    "<s:Envelope>",
    "<s:Body>",
    "<u:BrowseResponse>",
    "<Result>&lt;DIDL-Lite&gt;",
    "&lt;item id=&quot;41&quot; parentID=&quot;0&quot; restricted=&quot;1&quot;&gt;&lt;dc:title&gt;"
    "Evening News &amp;amp; Weather&lt;/dc:title&gt;",
    "&lt;av:dateTime&gt;2004-06-30T19:00:00&lt;/av:dateTime&gt;",
    "&lt;res av:kind=&quot;0&quot; protocolInfo=&quot;http-get:*:video/mpeg:*&quot; "
    "size=&quot;1650000000&quot; duration=&quot;1:00:00.000&quot; bitrate=&quot;458333&quot;&gt;"
    "http://192.0.2.10/video?O=V1234&amp;amp;P=2&amp;amp;C=1&lt;/res&gt;",
    "&lt;upnp:channelName&gt;Channel 8&lt;/upnp:channelName&gt;",
    "&lt;/item&gt;",
    "&lt;/DIDL-Lite&gt;",
    "</Result><NumberReturned>1</NumberReturned><TotalMatches>3</TotalMatches><UpdateID>7</UpdateID>",
    "</u:BrowseResponse>",
    "</s:Body>",
    "</s:Envelope>",
};

const Items kWorkedRow = {"2004-06-30 19:00:00", "1650000000", "1:00:00", "Channel 8", "1234",
                          "http://192.0.2.10/video?O=V1234&P=2&C=1"};

TEST(ParseResponse, WorkedExamplePage) {
    ASSERT_EQ(kWorkedPage.size(), 18u);
    Parsed p;
    Parse(p, kWorkedPage);
    ASSERT_EQ(p.rows.Count(), 1u);
    EXPECT_EQ(p.rows[0].caption, "Evening News & Weather");
    EXPECT_EQ(p.rows[0].subItems, kWorkedRow);
    EXPECT_EQ(p.liveId, 1235);
    EXPECT_EQ(p.startIndex, 1);
    EXPECT_EQ(p.total, 3);

    // The same text as a second page: the same row again, liveId untouched.
    p.liveId = 77;
    Parse(p, kWorkedPage);
    ASSERT_EQ(p.rows.Count(), 2u);
    EXPECT_EQ(p.rows[1].caption, "Evening News & Weather");
    EXPECT_EQ(p.rows[1].subItems, kWorkedRow);
    EXPECT_EQ(p.startIndex, 2);
    EXPECT_EQ(p.total, 3);
    EXPECT_EQ(p.liveId, 77);
}

TEST(ParseResponse, EmptyPageChangesNothing) {
    Parsed p;
    p.startIndex = 5;
    Parse(p, {});
    EXPECT_EQ(p.total, 0);
    EXPECT_EQ(p.startIndex, 5);
    EXPECT_EQ(p.liveId, -1);
    EXPECT_TRUE(p.rows.Empty());
    EXPECT_EQ(p.resultLines, 0);
}

TEST(GetRecordNo, ReadsTheNumberBetweenTheMarkers) {
    struct Case {
        const char* url;
        std::int32_t expected;
    } cases[] = {
        {"http://h/video?O=V1234&P=2&C=1", 1234},
        {"http://h/nothing&P=2", -1},
        {"http://h/video?O=V12", -1},
        {"video?O=Vabc&P=2", -2},
        {"video?O=V&P=2", -2},
        {"&P=2video?O=V5", -2},     // "&P=2" searched from the start of the URL
        {"video?O=V 12&P=2", 12},
        {"video?O=V12 &P=2", -2},
        {"video?O=Vx1F&P=2", 31},
        {"video?O=V-5&P=2&P=2", -5},
    };
    for (const auto& c : cases) EXPECT_EQ(GetRecordNo(c.url, utf8), c.expected) << c.url;
}

// A page of one item whose lines are given already decoded; the parser sees them as
// the recorder sends them (markup escaped once).
std::string Escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '"') out += "&quot;";
        else out += c;
    }
    return out;
}

TEST(ParseResponse, LineEdgeCases) {
    const std::string res =
        R"(<res av:k="0" size="10" duration="0:30:00.000" bitrate="1">http://h/video?O=V9&P=2</res>)";
    struct Case {
        const char* name;
        Lines lines;
        std::string caption;
        Items items;
    } cases[] = {
        {"empty title", {"<item><dc:title></dc:title>"}, "", {}},
        {"no closing title", {"<item><dc:title>News"}, "", {}},
        {"caption from byte 10", {R"(<item id="7">News</dc:title>)"}, R"("7">News)", {}},
        {"date without time", {"<item><dc:title>T</dc:title>", "<av:dateTime>2004-06-30</av:dateTime>"},
         "T", {"2004-06-30 /av:date"}},
        {"zone suffix dropped",
         {"<item><dc:title>T</dc:title>", "<av:dateTime>2004-06-30T19:00:00+09:00</av:dateTime>"},
         "T", {"2004-06-30 19:00:00"}},
        {"short duration",
         {"<item><dc:title>T</dc:title>",
          R"(<res av:k="0" size="10" duration="0:30" bitrate="1">http://h/video?O=V9&P=2</res>)"},
         "T", {"10", "", "", "9", "http://h/video?O=V9&P=2"}},
        {"no bitrate",
         {"<item><dc:title>T</dc:title>",
          R"(<res av:k="0" size="10" duration="0:30:00.000">http://h/video?O=V9&P=2</res>)"},
         "T", {"10", "", "", "9", "http://h/video?O=V9&P=2"}},
        {"no http", {"<item><dc:title>T</dc:title>",
                     R"(<res av:k="0" size="10" duration="0:30:00.000" bitrate="1">rtsp://h/x</res>)"},
         "T",
         {"10", "0:30:00", "", "-1",
          R"(<res av:k="0" size="10" duration="0:30:00.000" bitrate="1">rtsp://h/x<)"}},
        {"no date line", {"<item><dc:title>T</dc:title>", res, "<upnp:channelName>C</upnp:channelName>"},
         "T", {"10", "0:30:00", "", "C", "http://h/video?O=V9&P=2"}},
        {"second res line",
         {"<item><dc:title>T</dc:title>", "<av:dateTime>2004-06-30T19:00:00</av:dateTime>", res,
          "<upnp:channelName>C</upnp:channelName>", res},
         "T",
         {"2004-06-30 19:00:00", "10", "0:30:00", "C", "9", "http://h/video?O=V9&P=2", "10", "0:30:00",
          "", "9", "http://h/video?O=V9&P=2"}},
        {"leading blank", {"<item><dc:title>T</dc:title>", " <av:dateTime>2004-06-30T19:00:00</av:dateTime>"},
         "T", {}},
        {"channel without res", {"<item><dc:title>T</dc:title>", "<upnp:channelName>C</upnp:channelName>"},
         "T", {}},
    };
    for (const auto& c : cases) {
        Lines escaped;
        for (const auto& line : c.lines) escaped.push_back(Escape(line));
        Parsed p;
        Parse(p, escaped);
        ASSERT_EQ(p.rows.Count(), 1u) << c.name;
        EXPECT_EQ(p.rows[0].caption, c.caption) << c.name;
        EXPECT_EQ(p.rows[0].subItems, c.items) << c.name;
    }
}

TEST(ParseResponse, LinesBeforeTheFirstItemAreIgnored) {
    Parsed p;
    Parse(p, {"&lt;av:dateTime&gt;2004-06-30T19:00:00&lt;/av:dateTime&gt;",
              "&lt;res av:k=&quot;0&quot; size=&quot;1&quot; duration=&quot;0:30:00.000&quot; "
              "bitrate=&quot;1&quot;&gt;http://h/video?O=V5&amp;amp;P=2&lt;/res&gt;",
              "&lt;upnp:channelName&gt;C&lt;/upnp:channelName&gt;",
              " &lt;item&gt;&lt;dc:title&gt;indented&lt;/dc:title&gt;"});
    EXPECT_TRUE(p.rows.Empty());
    EXPECT_EQ(p.liveId, -1);
}

TEST(ParseResponse, ResultLines) {
    struct Case {
        Lines lines;
        std::int32_t start, startAfter, total;
        int resultLines;
    } cases[] = {
        {{"</Result><NumberReturned>2</NumberReturned><TotalMatches>9</TotalMatches>",
          "</Result><NumberReturned>3</NumberReturned><TotalMatches>7</TotalMatches>"},
         0, 5, 7, 2},
        {{"</Result><NumberReturned> 5</NumberReturned><TotalMatches>9</TotalMatches>"}, 0, 5, 9, 1},
        {{"</Result><NumberReturned> 5 </NumberReturned><TotalMatches>9</TotalMatches>"}, 0, 0, 9, 1},
        {{"</Result><NumberReturned>x</NumberReturned><TotalMatches>9</TotalMatches>"}, 4, 4, 9, 1},
        {{"</Result><NumberReturned>1</NumberReturned>"}, 0, 1, 0, 1},
        {{"<Result>nothing</Result>"}, 3, 3, 0, 0},
        {{"</Result><NumberReturned>-4</NumberReturned><TotalMatches>-1</TotalMatches>"}, 2, -2, -1, 1},
        // The sum stays inside the 32-bit range.
        {{"</Result><NumberReturned>2147483647</NumberReturned><TotalMatches>2147483647</TotalMatches>"},
         10, 2147483647, 2147483647, 1},
        {{"</Result><NumberReturned>-2147483648</NumberReturned><TotalMatches>1</TotalMatches>"},
         -10, -2147483647 - 1, 1, 1},
    };
    for (const auto& c : cases) {
        Parsed p;
        p.startIndex = c.start;
        Parse(p, c.lines);
        EXPECT_EQ(p.startIndex, c.startAfter) << c.lines[0];
        EXPECT_EQ(p.total, c.total) << c.lines[0];
        EXPECT_EQ(p.resultLines, c.resultLines) << c.lines[0];
    }
}

Lines Item(const std::string& title, const std::string& recordNo) {
    return {"&lt;item&gt;&lt;dc:title&gt;" + title + "&lt;/dc:title&gt;",
            "&lt;res av:k=&quot;0&quot; size=&quot;1&quot; duration=&quot;0:30:00.000&quot; "
            "bitrate=&quot;1&quot;&gt;http://h/video?O=V" +
                recordNo + "&amp;amp;P=2&lt;/res&gt;"};
}

TEST(ParseResponse, OnlyTheFirstResLineOfTheFirstPageSetsLiveId) {
    Lines page = Item("A", "20");
    for (const auto& l : Item("B", "30")) page.push_back(l);
    Parsed p;
    Parse(p, page);
    EXPECT_EQ(p.liveId, 21);
    Parsed q;
    Parse(q, Item("A", "x"));
    EXPECT_EQ(q.liveId, -1);  // -2 + 1
    Parsed r;
    r.liveId = 50;
    Parse(r, {"&lt;item&gt;&lt;dc:title&gt;A&lt;/dc:title&gt;",
              "&lt;res av:k=&quot;0&quot; size=&quot;1&quot;&gt;http://h/x&lt;/res&gt;"});
    EXPECT_EQ(r.liveId, 0);  // -1 + 1
    Parsed s;
    s.startIndex = 1;
    s.liveId = 50;
    Parse(s, Item("A", "20"));
    EXPECT_EQ(s.liveId, 50);
}

TEST(ParseResponse, EntityLayers) {
    struct Case {
        const char* title;
        const char* caption;
    } cases[] = {
        {"&amp;lt;", "<"},
        {"&amp;amp;", "&"},
        {"&amp;amp;lt;", "&lt;"},
        {"&amp;amp;amp;", "&amp;"},
        {"&lt;&gt;", "<>"},
        {"&#39;", "&#39;"},
        {"&amp;quot;x&amp;apos;", "\"x'"},
    };
    for (const auto& c : cases) {
        Parsed p;
        Parse(p, {"&lt;item&gt;&lt;dc:title&gt;" + std::string(c.title) + "&lt;/dc:title&gt;"});
        ASSERT_EQ(p.rows.Count(), 1u);
        EXPECT_EQ(p.rows[0].caption, c.caption) << c.title;
    }
}

TEST(ParseResponse, Encodings) {
    const std::string a = "\xE3\x81\x82";  // U+3042
    const Lines page = {"&lt;item&gt;&lt;dc:title&gt;" + a + "x&lt;/dc:title&gt;"};
    Parsed u;
    Parse(u, page, utf8);
    EXPECT_EQ(u.rows[0].caption, a + "x");
    Parsed s;
    Parse(s, page, cp932);
    EXPECT_EQ(s.rows[0].caption, "\x82\xA0x");

    // A lone lead byte at the end or C3 without continuation empties the line: no row.
    for (const char* bad : {"\xC3", "a\xC3", "\xE3\x81", "\xF5\x80\x80\x80", "\xF0\x9F\x98"}) {
        Parsed p;
        Parse(p, {"&lt;item&gt;&lt;dc:title&gt;" + std::string(bad) + "&lt;/dc:title&gt;"});
        EXPECT_TRUE(p.rows.Empty()) << testing::PrintToString(bad);
    }

    // C0 80 is a zero: decoding takes the line only up to it.
    Parsed z;
    Parse(z, {"&lt;item&gt;&lt;dc:title&gt;ab\xC0\x80" "cd&lt;/dc:title&gt;"});
    ASSERT_EQ(z.rows.Count(), 1u);
    EXPECT_EQ(z.rows[0].caption, "");  // "</dc:title>" lies beyond the cut

    // An emoji keeps its row; code page 932 writes it as one "?".
    const std::string emoji = "\xF0\x9F\x98\x80";
    Parsed e;
    Parse(e, {"&lt;item&gt;&lt;dc:title&gt;" + emoji + "!&lt;/dc:title&gt;"}, utf8);
    ASSERT_EQ(e.rows.Count(), 1u);
    EXPECT_EQ(e.rows[0].caption, emoji + "!");
    Parsed e932;
    Parse(e932, {"&lt;item&gt;&lt;dc:title&gt;" + emoji + "!&lt;/dc:title&gt;"}, cp932);
    ASSERT_EQ(e932.rows.Count(), 1u);
    EXPECT_EQ(e932.rows[0].caption, "?!");
}

TEST(ParseResponse, AnUnreadableItemLeavesTheRowBeforeItAlone) {
    Lines page = Item("A", "20");
    page.push_back("&lt;upnp:channelName&gt;CA&lt;/upnp:channelName&gt;");
    for (const auto& l : Item("bad \xC3 title", "30")) page.push_back(l);
    page.push_back("&lt;upnp:channelName&gt;CB&lt;/upnp:channelName&gt;");
    for (const auto& l : Item("C", "40")) page.push_back(l);
    Parsed p;
    Parse(p, page);
    ASSERT_EQ(p.rows.Count(), 2u);
    EXPECT_EQ(p.rows[0].caption, "A");
    // (No date lines: the values stand one place earlier, the channel in place 3.)
    EXPECT_EQ(p.rows[0].subItems, (Items{"1", "0:30:00", "", "CA", "http://h/video?O=V20&P=2"}));
    EXPECT_EQ(p.rows[1].caption, "C");
    EXPECT_EQ(p.rows[1].SubItem(3), "40");
}

TEST(ParseResponse, Cp932PositionsCountTwoBytes) {
    // ド (E3 83 89 in UTF-8, 83 68 in code page 932) directly before "ttp://".
    const std::string res = "&lt;res av:k=&quot;0&quot; size=&quot;1&quot; duration=&quot;0:30:00.000&quot; "
                            "bitrate=&quot;1&quot;&gt;\xE3\x83\x89ttp://h/video?O=V3&amp;amp;P=2&lt;/res&gt;";
    Parsed p;
    Parse(p, {"&lt;item&gt;&lt;dc:title&gt;T&lt;/dc:title&gt;", res}, cp932);
    ASSERT_EQ(p.rows.Count(), 1u);
    // The bytes 68 74 74 70 3A 2F 2F are there, but start on ド's second byte: "http://"
    // is not found and the URL runs from byte 1.
    const std::string& url = p.rows[0].SubItem(4);
    EXPECT_EQ(url.substr(0, 8), "<res av:");
    EXPECT_NE(url.find("\x83http://"), std::string::npos);
    EXPECT_EQ(p.rows[0].SubItem(3), "3");
}

// The entity decoding against a literal rendering of the six replacements.
std::string LiteralDecode(const std::string& line, const TLocalEncoding& e) {
    std::string t = ReplaceText(line, "&amp;", "&", e);
    t = ReplaceText(t, "&lt;", "<", e);
    t = ReplaceText(t, "&gt;", ">", e);
    t = ReplaceText(t, "&quot;", "\"", e);
    t = ReplaceText(t, "&apos;", "'", e);
    return ReplaceText(t, "&amp;", "&", e);
}

TEST(DecodeEntities, AgreesWithTheSixLiteralPasses) {
    const std::string lines[] = {
        "&amp;amp;lt;", "&amp;amp;amp;", "&lt;&gt;", "&#39;", std::string("x\0&amp;", 7),
        "ab\xC0\x80&lt;", "&&amp;;amp;", "&amp;&amp;lt;lt;", "&quot;&apos;&amp;quot;",
        "\x83&amp;lt;", "\x83\x83&amp;", "&amp", "&l&lt;t;", "\x82\xA0&lt;\x83&quot;",
        "&amp;amp;amp;amp;lt;", "&&&&;;;;", "", "&amp;gt;&amp;quot;&amp;apos;", "&amp;amp;quot;",
        "&amp;lt;amp;", "&lt;amp;", "&quot;amp;", "x&amp;&amp;&amp;y", "&amp;&lt;", "&apos", "&amp;apos;&gt;",
        "\x83&amp;amp;lt;", "a\xE0&amp;lt;&amp;amp;", "&lt;&lt;amp;lt;",
    };
    for (const auto& line : lines) {
        for (const TLocalEncoding* e : {&utf8, &cp932}) {
            EXPECT_EQ(DecodeEntities(line, *e), LiteralDecode(line, *e))
                << testing::PrintToString(line) << " " << e->Name();
        }
    }
    // And on many lines drawn from the bytes the entities are made of.
    const char alphabet[] = {'&', 'a', 'm', 'p', ';', 'l', 't', 'g', 'q', 'u', 'o', 's', 'x', '\x83', '\0'};
    std::uint32_t seed = 12345;
    for (int n = 0; n < 20000; ++n) {
        std::string line;
        const int length = static_cast<int>(seed % 24);
        for (int i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            line += alphabet[(seed >> 16) % sizeof alphabet];
        }
        seed = seed * 1103515245u + 12345u;
        for (const TLocalEncoding* e : {&utf8, &cp932}) {
            ASSERT_EQ(DecodeEntities(line, *e), LiteralDecode(line, *e))
                << testing::PrintToString(line) << " " << e->Name();
        }
    }
}

}  // namespace
}  // namespace torvin
