#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// One OBJ face statement with every corner, as written: indices count from 1 at the start
// of their array, or from -1 back from the last element read before the face. A corner
// without a texture or normal index has none. The array sizes before the face are kept so
// that the negative indices can be resolved.
struct OBJPolygon {
    struct Corner {
        std::int32_t position = 0;
        std::optional<std::int32_t> texCoord;
        std::optional<std::int32_t> normal;
    };

    std::vector<Corner> corners;
    std::uint32_t line = 0;
    std::size_t positionsBefore = 0;
    std::size_t texCoordsBefore = 0;
    std::size_t normalsBefore = 0;
};
