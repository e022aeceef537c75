#include "objects/OBJArraySizes.h"

namespace {

bool Names(std::int32_t index, std::size_t size) {
    return index >= 1 && static_cast<std::size_t>(index) <= size;
}

std::string Misnamed(const char* kind, std::int32_t index, std::size_t count, const char* one,
                     const char* many) {
    return std::string("its ") + kind + " index is " + std::to_string(index) +
           ", but the file has " + (count == 0 ? "no" : std::to_string(count)) + " " +
           (count == 1 ? one : many);
}

}  // namespace

std::string OBJArraySizes::IndexProblem(const OBJFace& face) const {
    for (int corner = 0; corner < 3; ++corner) {
        if (!Names(face.position[corner], positions)) {
            return Misnamed("position", face.position[corner], positions, "position", "positions");
        }
        if (texCoords != 0 && !Names(face.texCoord[corner], texCoords)) {
            return Misnamed("texture-coordinate", face.texCoord[corner], texCoords,
                            "texture coordinate", "texture coordinates");
        }
        if (!Names(face.normal[corner], normals)) {
            return Misnamed("normal", face.normal[corner], normals, "normal", "normals");
        }
    }
    return {};
}
