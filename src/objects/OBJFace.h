#pragma once

#include <cstdint>

// The first three corners of an OBJ face statement, as written in the file: 1-based
// indices into the positions, texture coordinates and normals, not yet checked.
struct OBJFace {
    std::int32_t position[3] = {0, 0, 0};
    std::int32_t texCoord[3] = {0, 0, 0};
    std::int32_t normal[3] = {0, 0, 0};
};
