#include "objects/internal/FindKeys.h"

#include <algorithm>
#include <cmath>

KeyBlend FindKeys(std::span<const TranslationKey> track, std::int32_t time, std::uint32_t& cursor) {
    const auto last = static_cast<std::uint32_t>(track.size() - 1);
    if (time <= track.front().time) return {0, 0, 0.0f};
    if (time >= track.back().time) return {last, last, 0.0f};

    if (cursor > last) cursor = 0;
    if (time <= track[cursor].time) return {cursor, cursor, 0.0f};

    // The last key's time is above `time`, so the scan stops there at the latest.
    std::uint32_t next = cursor + 1;
    while (next < last && track[next].time <= time) cursor = next++;

    // 64-bit differences: the span between two keys may exceed the int32 range.
    const double passed = std::int64_t{time} - track[cursor].time;
    const double span = std::int64_t{track[next].time} - track[cursor].time;
    // Just before the next key of a span of hours the quotient rounds up to 1 as a float;
    // the blend stays below 1, as the key found is still the earlier one.
    const float blend = std::min(static_cast<float>(passed / span), std::nextafter(1.0f, 0.0f));
    return {cursor, next, blend};
}
