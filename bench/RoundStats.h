#pragma once

#include <algorithm>
#include <vector>

namespace harborlite::bench {

// The fastest, middle and slowest of a benchmark's rounds.
struct Stats {
    double min;
    double median;
    double max;
};

inline Stats stats(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return {values.front(), values[values.size() / 2], values.back()};
}

} // namespace harborlite::bench
