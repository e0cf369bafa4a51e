#pragma once
// The median of a benchmark's timings: the middle one, or the mean of the two
// middle ones for an even count; 0 for none.

#include <algorithm>
#include <vector>

namespace kal::bench {

template <typename T>
T median(std::vector<T> v)
{
    if (v.empty())
        return T{};
    std::sort(v.begin(), v.end());
    const std::size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

} // namespace kal::bench
