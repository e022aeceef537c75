#pragma once

#include <cstdint>
#include <memory>

#include "objects/MeshVertex.h"

// An array made by a model-file parser, with its element count. The object it is given to
// keeps it for its whole life: indices are read by every draw, vertices stay after upload.
template <typename Element>
struct MeshArray {
    std::unique_ptr<Element[]> data;
    std::uint32_t count = 0;
};

using VertexArray = MeshArray<MeshVertex>;
// Zero-based vertex positions, three per triangle.
using IndexArray = MeshArray<std::uint32_t>;
