#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
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
        if (sizes.texCoords == 0) NoteUntextured(line);
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

    // Faces on consecutive lines, from `firstLine` on.
    struct LineRun {
        std::uint32_t firstLine;
        std::uint32_t count;
    };

    // Notes the line of the next face read before any texture coordinate. Faces mostly
    // stand on consecutive lines, so their lines are kept as runs: a file of millions of
    // such faces then needs a few runs instead of four bytes a face.
    void NoteUntextured(std::uint32_t line) {
        if (!untexturedLines.empty()) {
            LineRun& last = untexturedLines.back();
            if (line - last.firstLine == last.count &&
                last.count != std::numeric_limits<std::uint32_t>::max()) {
                ++last.count;
                return;
            }
        }
        untexturedLines.push_back({line, 1});
    }

    std::vector<PendingFace> pending;
    // The lines of the first faces, those read before any texture coordinate, in order.
    std::vector<LineRun> untexturedLines;
};
