#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace torvin {

// Cuts a byte text into lines: the text ends at its first NUL byte; CR, LF and CR LF
// each end one line; a last line without a line end still counts; an empty text has
// no lines.
std::vector<std::string> SplitLines(std::string_view text);

// Same rule, handing each line to `take` as a view into `text`.
template <typename F>
void ForEachLine(std::string_view text, F&& take);

// Every line followed by CR LF, nothing else.
std::string WriteLines(const std::vector<std::string>& lines);

namespace detail {
class TLineCutter final {
public:
    explicit TLineCutter(std::string_view text);
    bool More() const { return at < text.size(); }
    std::string_view Next();

private:
    std::string_view text;
    std::size_t at = 0;
    std::size_t nextLf = 0;
    std::size_t nextCr = 0;
};
}  // namespace detail

template <typename F>
void ForEachLine(std::string_view text, F&& take) {
    detail::TLineCutter cutter(text);
    while (cutter.More()) take(cutter.Next());
}

}  // namespace torvin
