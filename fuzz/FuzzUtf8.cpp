// The UTF-8 line conversion in both local encodings.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/LocalEncoding.h"
#include "text/Utf8Line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    const std::string asUtf8 = torvin::ConvertUtf8Line(line, torvin::TLocalEncoding::Utf8());
    const std::string asCp932 = torvin::ConvertUtf8Line(line, torvin::TLocalEncoding::Cp932());
    // No form ever gets longer; a line either converts whole in both or empties in both.
    if (asUtf8.size() > line.size() || asCp932.size() > line.size()) std::abort();
    if (asUtf8.empty() != asCp932.empty()) std::abort();
    // What comes out as UTF-8 is well-formed and converts to itself again, except that an
    // overlong zero shows up as a NUL byte, which is plain ASCII anyway.
    if (torvin::ConvertUtf8Line(asUtf8, torvin::TLocalEncoding::Utf8()) != asUtf8) std::abort();
    // The shortcut for well-formed UTF-8 gives what decoding and writing again gives.
    std::u32string codePoints;
    std::string slow;
    if (torvin::DecodeUtf8Line(line, codePoints)) torvin::TLocalEncoding::Utf8().AppendCodePoints(codePoints, slow);
    if (slow != asUtf8) std::abort();
    // The toolkit boundary never fails on either side.
    (void)torvin::TLocalEncoding::Cp932().ToUtf8Text(asCp932);
    (void)torvin::TLocalEncoding::Cp932().FromUtf8Text(asUtf8);
    return 0;
}
