// BuildBrowseRequest with arbitrary address and port texts.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cds/BrowseRequest.h"
#include "text/LocalEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find('\xFF');
    const std::string address = input.substr(0, cut);
    const std::string port = cut == std::string::npos ? "" : input.substr(cut + 1);
    std::int32_t start = 0;
    if (size >= 4) start = static_cast<std::int32_t>(data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24);
    const auto request =
        torvin::BuildBrowseRequest(address, port, torvin::kBrowseBodyTemplate, start, torvin::TLocalEncoding::Utf8());
    const std::string& head = request.head;
    // The head ends with one empty line, and every CR and LF in it is part of a CR LF.
    if (head.size() < 4 || head.compare(head.size() - 4, 4, "\r\n\r\n") != 0) std::abort();
    if (head.size() >= 6 && head.compare(head.size() - 6, 6, "\r\n\r\n\r\n") == 0) std::abort();
    for (std::size_t i = 0; i < head.size(); ++i) {
        if (head[i] == '\r' && (i + 1 >= head.size() || head[i + 1] != '\n')) std::abort();
        if (head[i] == '\n' && (i == 0 || head[i - 1] != '\r')) std::abort();
    }
    // The body is the template with the start index put in, and the head says its length.
    if (head.find("\r\nContent-Length:" + std::to_string(request.body.size()) + "\r\n") == std::string::npos) std::abort();
    if (request.body.find("<StartingIndex xsi:type=\"xsd:int\">" + std::to_string(start) + "</StartingIndex>") ==
        std::string::npos) {
        std::abort();
    }
    return 0;
}
