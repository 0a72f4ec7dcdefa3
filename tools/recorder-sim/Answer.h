#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace torvin::sim {

struct TRecording;

struct TAnswerOptions {
    std::string lineEnd = "\r\n";
    // Host part of the stream URLs.
    std::string streamHost = "127.0.0.1:51002";
    // Replace the counts the answer reports (the real ones otherwise).
    std::optional<std::int32_t> numberReturned;
    std::optional<std::int32_t> totalMatches;
    // Leave out the res line of the first recording (an item without a stream URL).
    bool dropFirstRes = false;
};

// The whole HTTP answer to one Browse request, as a recorder writes it: status line and
// headers, then the SOAP envelope whose Result carries the DIDL-Lite document escaped
// once, one element per line (the document's own escapes thereby arrive twice escaped).
// Holds `count` recordings from `start` on (fewer at the end of the catalogue).
std::string ComposeBrowseAnswer(const std::vector<TRecording>& catalogue, std::int64_t start,
                                std::int64_t count, const TAnswerOptions& options);

// The DIDL-Lite text of one item, unescaped, one element per line.
std::vector<std::string> ItemLines(const TRecording& r, const std::string& streamHost);

// XML escaping of element text and attribute values.
std::string EscapeXml(const std::string& text);

}  // namespace torvin::sim
