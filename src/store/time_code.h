// Time codes and small text helpers of the store.
#pragma once

#include <string>
#include <string_view>

namespace core {

// Seconds for "h:m:s" and "h:m", hours for a day-month-hour code such as
// "15Mr0930" (day, month code, hour, minutes that do not count), the leading
// number of any other text, 0 for the empty text. Hours and minutes are summed
// in single precision, the seconds added in double.
double ParseTimeCode(std::string_view text);

// Hours before the first day of the month that a two-letter month code names
// ("Jn" January .. "Dc" December, "Ju" June), in a year of 365 days; 0 for any
// other code. Case-sensitive.
int MonthOffsetHours(std::string_view code);

// Whether a keyed collection (std::map, std::set, std::unordered_map, ...)
// holds `key`; the collection is not changed. Keys compare as the collection
// compares them.
template <class Collection, class Key>
bool CollectionHasKey(const Collection& col, const Key& key) {
    return col.find(key) != col.end();
}

}  // namespace core
