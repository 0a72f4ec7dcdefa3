#include "text/Lines.h"

#include "text/Bytes.h"

namespace torvin {

namespace detail {

namespace {

std::size_t Find(std::string_view text, std::size_t from, char c) {
    const std::size_t at = FindByte(text, c, from);
    return at == std::string_view::npos ? text.size() : at;
}

}  // namespace

TLineCutter::TLineCutter(std::string_view t) : text(UpToNul(t)) {
    // The next CR and LF are searched again only once the cut passes them, so a text
    // with one kind of line end is not rescanned per line.
    nextLf = Find(text, 0, '\n');
    nextCr = Find(text, 0, '\r');
}

std::string_view TLineCutter::Next() {
    if (nextLf < at) nextLf = Find(text, at, '\n');
    if (nextCr < at) nextCr = Find(text, at, '\r');
    const std::size_t stop = nextLf < nextCr ? nextLf : nextCr;
    std::string_view line = text.substr(at, stop - at);
    at = stop;
    // CR, LF and CR LF each end one line.
    if (at < text.size() && text[at] == '\r') ++at;
    if (at < text.size() && text[at] == '\n') ++at;
    return line;
}

}  // namespace detail

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    ForEachLine(text, [&lines](std::string_view line) { lines.emplace_back(line); });
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
