#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/Problem.h"
#include "objects/OBJArraySizes.h"
#include "objects/OBJFace.h"

struct OBJModel;

// Finds the faces of an OBJ reading that cannot be drawn once its arrays are complete,
// looking again at as few as it can: a face whose indices all name elements already read
// can be drawn whatever follows, so only the others are checked at the end, with the faces
// read before the first texture coordinate, whose texture indices count if any follow.
class UndrawableFaces {
public:
    // Notes face number `index`, read on `line` when the arrays had `sizes`.
    [[gnu::always_inline]] void Add(const OBJFace& face, std::size_t index, std::uint32_t line,
                                    const OBJArraySizes& sizes) {
        if (sizes.texCoords == 0) untexturedLines.push_back(line);
        if (!sizes.Drawable(face)) [[unlikely]]
            pending.push_back({index, line});
    }

    // The problem that reports the faces of `model` that cannot be drawn, with the line and
    // index problem of the first; nothing if every face can be drawn.
    std::optional<Problem> Report(const OBJModel& model, const std::string& fileName) const;

private:
    struct PendingFace {
        std::size_t index;
        std::uint32_t line;
    };

    std::vector<PendingFace> pending;
    std::vector<std::uint32_t> untexturedLines;  // the first faces', before any texture coordinate
};
