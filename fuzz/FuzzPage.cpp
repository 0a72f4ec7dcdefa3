// A whole received page: split into lines and parsed, in both local encodings.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "cds/PageLines.h"
#include "cds/ResponseParser.h"
#include "cds/TitleList.h"
#include "text/LocalEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    for (const torvin::TLocalEncoding* e : {&torvin::TLocalEncoding::Utf8(), &torvin::TLocalEncoding::Cp932()}) {
        torvin::TTitleList rows;
        std::int32_t liveId = -1;
        for (std::int32_t start : {0, 2147483000}) {
            std::int32_t startIndex = start;
            torvin::TPageLines lines;
            lines.Split(page);
            torvin::TParseTarget target{rows, liveId, *e};
            torvin::ParseResponse(lines, startIndex, target);
            // Each item line makes exactly one row, and no row is lost.
            if (target.resultLines < 0) std::abort();
        }
        for (std::size_t i = 0; i < rows.Count(); ++i) {
            if (rows[i].caption.size() > size) std::abort();  // nothing grows past its line
        }
    }
    return 0;
}
