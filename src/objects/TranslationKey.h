#pragma once

#include <cstdint>

#include "objects/MeshArray.h"

// Where an animated mesh stands at one moment: an offset reached at `time` milliseconds of
// animation time. 16 bytes, as in RA files.
struct TranslationKey {
    std::int32_t time;
    float x;
    float y;
    float z;
};

static_assert(sizeof(TranslationKey) == 16, "a translation key is four packed words");

// The translation keys of one object, in file order.
using TranslationTrack = MeshArray<TranslationKey>;
