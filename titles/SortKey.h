#pragma once

#include <cstdint>

namespace torvin {

// The one sort key of the process: magnitude 1-6 names the compared field, the sign
// the direction (positive = greatest first). 2 at start.
extern std::int32_t sortKey;

}  // namespace torvin
