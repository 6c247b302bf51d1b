#pragma once

#include <algorithm>

namespace harborlite {

// Largest first; equal sizes keep the order in which they were found.
template <typename List>
void sortBySize(List& list)
{
    std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) { return a.size > b.size; });
}

} // namespace harborlite
