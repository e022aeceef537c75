#include "objects/internal/ArrayForecast.h"

#include <algorithm>

std::size_t ArrayForecast::Least(std::size_t count) {
    return std::max<std::size_t>(count + count / 2, 1024);
}

std::size_t ArrayForecast::Capacity(std::size_t count, std::uint64_t at, std::uint64_t size) {
    if (count == 0) firstAt = at;
    const std::size_t least = Least(count);
    if (count == 0 || at <= firstAt || size <= at) return least;
    // No statement is shorter than four bytes, whatever the average says.
    const std::uint64_t apart = std::max<std::uint64_t>((at - firstAt) / count, 4);
    const std::uint64_t more = (size - at) / apart;
    return std::max<std::size_t>(least, count + more + more / 16);
}
