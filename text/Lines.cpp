#include "text/Lines.h"

#include <cstring>

namespace torvin {

void SplitLinesInto(std::string_view text, std::vector<std::string>& lines) {
    if (const void* nul = std::memchr(text.data(), '\0', text.size())) {
        text = text.substr(0, static_cast<const char*>(nul) - text.data());
    }
    const char* p = text.data();
    const char* end = p + text.size();
    // Next CR and next LF at or after p; each is searched again only once p passes it,
    // so texts with one kind of line end are not rescanned per line.
    const char* nextLf = p;
    const char* nextCr = p;
    auto find = [end](const char* from, char c) {
        const void* hit = std::memchr(from, c, end - from);
        return hit ? static_cast<const char*>(hit) : end;
    };
    nextLf = find(p, '\n');
    nextCr = find(p, '\r');
    while (p < end) {
        if (nextLf < p) nextLf = find(p, '\n');
        if (nextCr < p) nextCr = find(p, '\r');
        const char* stop = nextLf < nextCr ? nextLf : nextCr;
        lines.emplace_back(p, stop);
        p = stop;
        if (p < end && *p == '\r') ++p;
        if (p < end && *p == '\n') ++p;
    }
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    SplitLinesInto(text, lines);
    return lines;
}

std::string WriteLines(const std::vector<std::string>& lines) {
    std::string out;
    std::size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    out.reserve(size);
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

}  // namespace torvin
