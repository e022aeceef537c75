#pragma once

#include <cstdint>

#include "objects/MeshArray.h"

// A key of an RA file's second track: a time and four words kept exactly as read. Nothing
// is drawn from them. 20 bytes, as in the file.
struct AuxKey {
    std::int32_t time;
    std::uint32_t values[4];
};

static_assert(sizeof(AuxKey) == 20, "an auxiliary key is five packed words");

using AuxTrack = MeshArray<AuxKey>;
