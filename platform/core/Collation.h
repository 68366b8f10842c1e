#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace core {

// Whether `a` comes before `b` in the order a reader of the user's language expects (the collation of
// the environment's locale), capitals and small letters taken alike: "apple", "Banana", "cherry". Texts
// that differ only in case are ordered by their bytes, so that the order is total. Safe from any thread.
bool localizedCaseInsensitiveLess(std::string_view a, std::string_view b);

// Sorts `texts` in that order.
void sortLocalizedCaseInsensitive(std::vector<std::string>& texts);

} // namespace core
