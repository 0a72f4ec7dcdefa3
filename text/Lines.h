#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace torvin {

// Cuts a byte text into lines: the text ends at its first NUL byte; CR, LF and CR LF
// each end one line; a last line without a line end still counts; an empty text has
// no lines.
std::vector<std::string> SplitLines(std::string_view text);

// Same rule, appending into an existing list (kept for its capacity).
void SplitLinesInto(std::string_view text, std::vector<std::string>& lines);

// Every line followed by CR LF, nothing else.
std::string WriteLines(const std::vector<std::string>& lines);

}  // namespace torvin
