#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace torvin {

class TLocalEncoding;
class TPageLines;
class TTitleList;

// The recording number between "video?O=V" and the first "&P=2" of a stream URL:
// -1 when either marker is missing, -2 when the text between them is not a number.
std::int32_t GetRecordNo(std::string_view url, const TLocalEncoding& encoding);

// Resolves both layers of the recorder's escaping on one line: "&amp;", "&lt;", "&gt;",
// "&quot;", "&apos;" and "&amp;" again, each replaced over the whole text in that order.
// The text counts up to its first NUL byte.
std::string DecodeEntities(std::string_view line, const TLocalEncoding& encoding);

// What a page parse writes to besides the lines and the start index.
struct TParseTarget {
    TTitleList& rows;
    std::int32_t& liveId;
    const TLocalEncoding& encoding;
    // Set to the number of "</Result>" lines the page held.
    int resultLines = 0;
};

// Parses one received page: converts every line from UTF-8 in place, then appends one
// row per item line, adds each result line's NumberReturned to `startIndex` (kept inside
// the 32-bit range), sets `liveId` from the first res line while `startIndex` is 0, and
// returns the TotalMatches of the last result line (0 without one).
std::int32_t ParseResponse(TPageLines& lines, std::int32_t& startIndex,
                           TParseTarget& target);

}  // namespace torvin
