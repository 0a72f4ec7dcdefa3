#pragma once

#include <cstdint>
#include <string_view>

namespace torvin {

struct TTitleRow;
class TTitleList;

// Compares two rows under the process-wide `sortKey`; negative puts row1 first. Keys
// outside 1-6 and -1 to -6 answer -1 for every pair. `data` is not read.
int CompareItems(const TTitleRow& row1, const TTitleRow& row2, std::intptr_t data);

// The same comparison under an explicit key.
int CompareItemsByKey(const TTitleRow& row1, const TTitleRow& row2, std::int32_t key);

// Byte order with ASCII a-z folded onto A-Z; a prefix comes first.
int CompareTitleText(std::string_view a, std::string_view b);

// A text read as a signed 64-bit integer by the numeric columns' rule; 0 when it is not
// one (leading spaces, one sign, decimal or "$"/"0x"/"0X" hex, nothing after the digits).
std::int64_t ReadSortNumber(std::string_view text);

// Whether `key` names a field (1-6 either way).
bool IsSortKey(std::int32_t key);

// The end-of-fetch sort and the column click's sort: the whole table under `key`. A key
// that names no field leaves the rows in their order.
void SortTitles(TTitleList& rows, std::int32_t key);

}  // namespace torvin
