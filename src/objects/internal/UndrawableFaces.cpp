#include "objects/internal/UndrawableFaces.h"

#include "objects/OBJModel.h"

std::optional<Problem> UndrawableFaces::Report(const OBJModel& model,
                                               const std::string& fileName) const {
    std::size_t count = 0;
    PendingFace first{};
    const auto check = [&](std::size_t index, std::uint32_t line) {
        if (model.Drawable(model.faces[index])) return;
        if (count++ == 0) first = {index, line};
    };
    // The faces read before the first texture coordinate come first in the file; they are
    // checked whole when texture coordinates followed, as then their texture indices count.
    const bool textured = !model.texCoords.empty();
    std::size_t untextured = 0;  // the faces read before any texture coordinate
    for (const LineRun& run : untexturedLines) {
        if (textured) {
            for (std::uint32_t i = 0; i < run.count; ++i) check(untextured + i, run.firstLine + i);
        }
        untextured += run.count;
    }
    for (const PendingFace& face : pending) {
        if (!textured || face.index >= untextured) check(face.index, face.line);
    }
    if (count == 0) return std::nullopt;
    const std::string where = std::to_string(first.line);
    return Problem::At(
        fileName, static_cast<int>(first.line),
        "The model file " + fileName + " has " + std::to_string(count) +
            (count == 1
                 ? " face with an index outside its arrays, which is not drawn. It is on line " +
                       where
                 : " faces with an index outside their arrays, which are not drawn. The "
                   "first is on line " +
                       where) +
            ": " + model.IndexProblem(model.faces[first.index]) + ".");
}
