#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "objects/OBJFace.h"

// How many positions, texture coordinates and normals an OBJ model has: all it takes to
// say whether a face's indices name elements.
struct OBJArraySizes {
    std::size_t positions = 0;
    std::size_t texCoords = 0;
    std::size_t normals = 0;

    // Whether every index drawing `face` uses names an element: positions and normals
    // always, texture coordinates if there are any. Inline and without branches: the
    // reader asks it of every face.
    bool Drawable(const OBJFace& face) const {
        // Unsigned, index - 1 is below the size exactly when 1 <= index <= size.
        const auto names = [](const std::int32_t(&indices)[3], std::size_t size) {
            return (static_cast<std::uint32_t>(indices[0]) - 1u < size) &
                   (static_cast<std::uint32_t>(indices[1]) - 1u < size) &
                   (static_cast<std::uint32_t>(indices[2]) - 1u < size);
        };
        return names(face.position, positions) & names(face.normal, normals) &
               ((texCoords == 0) | names(face.texCoord, texCoords));
    }

    // What is wrong with the first index of `face` outside its array, for example "its
    // normal index is 0, but the file has no normals"; empty if the face is drawable.
    std::string IndexProblem(const OBJFace& face) const;
};
