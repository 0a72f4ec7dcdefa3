#include "titles/SortKey.h"

namespace torvin {

std::int32_t sortKey = 2;

}  // namespace torvin
