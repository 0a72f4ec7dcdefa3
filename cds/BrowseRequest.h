#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace torvin {

class TLocalEncoding;

// The body of every Browse request: a SOAP envelope of 17 CR LF lines, 1526 bytes,
// asking for all children of "C1" from StartingIndex 0 on.
extern const std::string_view kBrowseBodyTemplate;

struct TBrowseRequest {
    std::string head;
    std::string body;
};

// Head and body of one page request. The address and port texts go into the Host line
// exactly as typed; the start index replaces the 0 of <StartingIndex>.
TBrowseRequest BuildBrowseRequest(std::string_view addressText, std::string_view portText,
                                  std::string_view bodyTemplate, std::int32_t startIndex,
                                  const TLocalEncoding& encoding);

}  // namespace torvin
