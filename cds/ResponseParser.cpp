#include "cds/ResponseParser.h"

#include <cstring>
#include <limits>
#include <vector>

#include "cds/PageLines.h"
#include "cds/TitleList.h"
#include "text/Bytes.h"
#include "text/CopyText.h"
#include "text/LocalEncoding.h"
#include "text/Numbers.h"
#include "text/Search.h"
#include "text/Utf8Line.h"

namespace torvin {

namespace {

struct TEntity {
    std::string_view pattern;
    std::string_view replacement;
};

constexpr TEntity kEntities[] = {
    {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"},
};

bool HasLeadByte(std::string_view line, const TLocalEncoding& encoding) {
    if (!encoding.HasLeadBytes()) return false;
    for (char c : line) {
        if (encoding.IsLeadByte(static_cast<unsigned char>(c))) return true;
    }
    return false;
}

bool At(std::string_view text, std::size_t at, std::string_view pattern) {
    return at <= text.size() && text.size() - at >= pattern.size() && std::memcmp(text.data() + at, pattern.data(), pattern.size()) == 0;
}

// The six replacements in one pass. Every pattern starts with "&" and holds no other
// "&", so each match of each pass starts at an "&" of the original text, and what one
// pass leaves at that "&" is all the next pass can match there. So the passes can be
// run per "&", one after the other, in a single walk over the text. This holds when no
// byte can be passed over as the second byte of a double-byte character.
void DecodeFused(std::string_view line, std::string& out) {
    out.clear();
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t amp = FindByte(line, '&', at);
        const std::size_t next = amp == std::string_view::npos ? line.size() : amp;
        out.append(line.data() + at, next - at);
        if (next == line.size()) break;
        // The text after the "&" that stands at `next` after each pass so far.
        std::size_t rest = next + 1;
        if (At(line, rest, "amp;")) rest += 4;  // pass 1 leaves an "&" in its place
        char replaced = '&';
        if (At(line, rest, "lt;")) replaced = '<', rest += 3;
        else if (At(line, rest, "gt;")) replaced = '>', rest += 3;
        else if (At(line, rest, "quot;")) replaced = '"', rest += 5;
        else if (At(line, rest, "apos;")) replaced = '\'', rest += 5;
        else if (At(line, rest, "amp;")) rest += 4;  // pass 6 leaves an "&" again
        out += replaced;
        at = rest;
    }
}

// The decoded line into `out` (reused from line to line to keep its capacity).
void DecodeInto(std::string_view line, std::string& out, const TLocalEncoding& encoding) {
    line = UpToNul(line);
    if (!HasLeadByte(line, encoding)) {
        DecodeFused(line, out);
        return;
    }
    out.assign(line);
    for (const auto& entity : kEntities) {
        if (out.find('&') == std::string::npos) break;
        ReplaceShorterInPlace(out, entity.pattern, entity.replacement, encoding);
    }
}

bool StartsWith(const std::string& text, std::string_view marker) {
    return text.size() >= marker.size() && std::memcmp(text.data(), marker.data(), marker.size()) == 0;
}

std::int32_t AddClamped(std::int32_t a, std::int32_t b) {
    const std::int64_t sum = static_cast<std::int64_t>(a) + b;
    if (sum > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (sum < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(sum);
}

class TPageScanner final {
public:
    TPageScanner(std::int32_t& startIndex, TParseTarget& target)
        : startIndex(startIndex), target(target), encoding(target.encoding) {}

    // A line that could not be converted: whatever item it belonged to has lost its
    // start, so the lines after it must not be put into the row before it.
    void Unreadable() { current = nullptr; }

    void Line(const std::string& line) {
        if (StartsWith(line, "<item")) ItemLine(line);
        else if (StartsWith(line, "<av:dateTime")) DateLine(line);
        else if (StartsWith(line, "<res av:")) ResLine(line);
        else if (StartsWith(line, "<upnp:channelName>")) ChannelLine(line);
        else if (StartsWith(line, "</Result>")) ResultLine(line);
    }

    std::int32_t totalMatches = 0;

private:
    std::int64_t Find(std::string_view marker, const std::string& line) const {
        return FindPos(marker, line, encoding);
    }

    void ItemLine(const std::string& line) {
        const std::int64_t start = Find("<dc:title>", line) + 10;
        const std::int64_t length = Find("</dc:title>", line) - start;
        current = &target.rows.Add();
        current->subItems.reserve(6);
        current->caption = CopyText(line, start, length);
    }

    void DateLine(const std::string& line) {
        // Before the first item of a page there is no row to put the value in.
        if (!current) return;
        const std::int64_t v = Find("<av:dateTime>", line) + 13;
        std::string when = CopyText(line, v, 10);
        when += ' ';
        when += CopyText(line, v + 11, 8);
        current->subItems.push_back(std::move(when));
    }

    void ResLine(const std::string& line) {
        if (!current) return;
        std::int64_t start = Find("\" size=\"", line) + 8;
        std::int64_t length = Find("\" duration", line) - start;
        current->subItems.push_back(CopyText(line, start, length));

        start = Find("\" duration=\"", line) + 12;
        length = Find("\" bitrate", line) - start - 4;
        current->subItems.push_back(CopyText(line, start, length));

        start = Find("http://", line);
        length = Find("</res>", line) - start;
        std::string url = CopyText(line, start, length);

        current->subItems.emplace_back();
        const std::int32_t recordNo = GetRecordNo(url, encoding);
        current->subItems.push_back(DecimalText(recordNo));
        if (startIndex == 0 && !liveIdSet) {
            target.liveId = static_cast<std::int32_t>(static_cast<std::int64_t>(recordNo) + 1);
            liveIdSet = true;
        }
        current->subItems.push_back(std::move(url));
    }

    void ChannelLine(const std::string& line) {
        // A channel line needs the channel's place that the res line leaves empty.
        if (!current || current->subItems.size() < 4) return;
        const std::int64_t start = Find("<upnp:channelName>", line) + 18;
        const std::int64_t length = Find("</upnp:channelName>", line) - start;
        current->subItems[3] = CopyText(line, start, length);
    }

    void ResultLine(const std::string& line) {
        ++target.resultLines;
        std::int64_t start = Find("<NumberReturned>", line) + 16;
        std::int64_t length = Find("</NumberReturned>", line) - start;
        startIndex = AddClamped(startIndex, IntOrDefault(CopyText(line, start, length), 0));

        start = Find("<TotalMatches>", line) + 14;
        length = Find("</TotalMatches>", line) - start;
        totalMatches = IntOrDefault(CopyText(line, start, length), 0);
    }

    std::int32_t& startIndex;
    TParseTarget& target;
    const TLocalEncoding& encoding;
    TTitleRow* current = nullptr;
    bool liveIdSet = false;
};

}  // namespace

std::int32_t GetRecordNo(std::string_view url, const TLocalEncoding& encoding) {
    const std::int64_t a = FindPos("video?O=V", url, encoding);
    if (a == 0) return -1;
    const std::int64_t d = FindPos("&P=2", url, encoding);
    if (d == 0) return -1;
    return IntOrDefault(CopyText(url, a + 9, d - a - 9), -2);
}

std::string DecodeEntities(std::string_view line, const TLocalEncoding& encoding) {
    std::string out;
    DecodeInto(line, out, encoding);
    return out;
}

std::int32_t ParseResponse(TPageLines& lines, std::int32_t& startIndex, TParseTarget& target) {
    target.resultLines = 0;
    std::vector<std::size_t> unreadable;
    const bool utf8 = target.encoding.GetKind() == TLocalEncoding::Kind::Utf8;
    for (std::size_t i = 0; i < lines.Count(); ++i) {
        // Lines that convert to themselves stay views into the received bytes.
        if (IsAscii(lines[i]) || (utf8 && IsStrictUtf8(lines[i]))) continue;
        std::string converted = ConvertUtf8Line(lines[i], target.encoding);
        if (converted.empty()) unreadable.push_back(i);
        lines.Replace(i, std::move(converted));
    }

    TPageScanner scanner(startIndex, target);
    std::string decoded;
    std::size_t nextUnreadable = 0;
    for (std::size_t i = 0; i < lines.Count(); ++i) {
        if (nextUnreadable < unreadable.size() && unreadable[nextUnreadable] == i) {
            ++nextUnreadable;
            scanner.Unreadable();
            continue;
        }
        const std::string_view line = lines[i];
        // Every marker begins with "<". Decoding only rewrites text from an "&" on, so a
        // line whose first byte is neither can be no marker line.
        if (line.empty() || (line[0] != '<' && line[0] != '&')) continue;
        DecodeInto(line, decoded, target.encoding);
        scanner.Line(decoded);
    }
    return scanner.totalMatches;
}

}  // namespace torvin
