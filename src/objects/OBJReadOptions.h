#pragma once

#include <cstdint>

#include "common/SizeLimit.h"

// How an OBJ file is read.
struct OBJReadOptions {
    // What positions are multiplied by.
    float factor = 1.0f;
    // Whether statements in their usual form are read the quick way or, like all others,
    // by the stream rules alone; both read the same, which tests check.
    bool quickReading = true;
    // Whether faces are read whole, with every corner, into the polygons instead of the faces.
    bool polygons = false;
    // The most bytes the arrays read may take (the machine's memory by default): a reading
    // whose arrays would pass it stops with ModelFileError.
    std::uint64_t sizeLimit = FileSizeLimit();
};
