#pragma once

#include <string>
#include <string_view>

namespace torvin {

class TLocalEncoding;

// The text of the general error display: the message, with "." appended when its last
// character (one or more bytes) compares greater than ".".
std::string ErrorDisplayText(std::string_view message, const TLocalEncoding& encoding);

}  // namespace torvin
