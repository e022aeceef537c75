#pragma once

#include <cstdint>
#include <span>

#include "objects/TranslationKey.h"

// The two keys around a time and how far the time is from the first towards the second.
struct KeyBlend {
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    float blend = 0.0f;  // 0 <= blend < 1
};

// Finds the keys of `track` (at least one key, times not decreasing) around `time`.
// Before the first key and from the last key on, both indices name that key and the blend
// is 0; the animation neither loops nor extrapolates.
//
// `cursor` is the caller's memory of the key at or before the last time searched. It only
// moves forward, so as time advances each search starts where the last one stopped and
// costs almost nothing until the next key is passed. Keys whose times decrease give jumps,
// never a read past the last key. A cursor beyond the track starts again at the first key.
KeyBlend FindKeys(std::span<const TranslationKey> track, std::int32_t time, std::uint32_t& cursor);
