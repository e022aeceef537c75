#include "ObjMeshBuilder.h"

#include <cmath>
#include <unordered_map>

#include "Counted.h"
#include "objects/OBJModel.h"

namespace {

// The share of its terms' sizes below which the volume the faces enclose counts as none.
constexpr double kNoVolume = 0.01;

// "one" or "many" as `count` asks.
const char* Pick(std::size_t count, const char* one, const char* many) {
    return count == 1 ? one : many;
}

// What the report says of `count` turned faces, after "Turned N faces".
std::string TurnedFaces(std::size_t count, ObjMeshBuilder::Turn why) {
    const auto pick = [&](const char* one, const char* many) { return Pick(count, one, many); };
    switch (why) {
        case ObjMeshBuilder::Turn::ByNormals:
            return std::string(" that wound counter-clockwise as seen from the side ") +
                   pick("its", "their") + " normals point to, so that the viewer shows " +
                   pick("its", "their") + " front";
        case ObjMeshBuilder::Turn::LikeFacesWithNormals:
            return std::string(" without normals, taking ") + pick("it", "them") +
                   " to wind counter-clockwise as most faces with normals do";
        case ObjMeshBuilder::Turn::PositiveVolume:
            return std::string(" without normals, which ") + pick("winds", "wind") +
                   " counter-clockwise seen from outside (the volume the faces enclose is "
                   "positive)";
        case ObjMeshBuilder::Turn::NoVolume:
            return std::string(" without normals, taking ") + pick("it", "them") +
                   " to wind counter-clockwise as OBJ's convention has it, as the faces "
                   "enclose about no volume to tell their outside by";
        case ObjMeshBuilder::Turn::None: break;
    }
    return {};
}

}  // namespace

ObjMeshBuilder::ObjMeshBuilder(const OBJModel& model, std::string fileName, bool keepWinding)
    : model(model), fileName(std::move(fileName)), keepWinding(keepWinding) {}

ObjMeshBuilder::Turn ObjMeshBuilder::TurnUnknown(const ObjFaces& faces) const {
    std::size_t clockwise = 0, counterClockwise = 0;
    for (const ObjFaces::Face& face : faces.Faces()) {
        clockwise += face.winding == ObjFaces::Winding::Clockwise;
        counterClockwise += face.winding == ObjFaces::Winding::CounterClockwise;
    }
    if (clockwise + counterClockwise > 0) {
        return counterClockwise > clockwise ? Turn::LikeFacesWithNormals : Turn::None;
    }
    double absolute = 0;
    const double volume = faces.SignedVolume(absolute);
    if (volume < -kNoVolume * absolute) return Turn::None;
    return volume > kNoVolume * absolute ? Turn::PositiveVolume : Turn::NoVolume;
}

std::vector<float> ObjMeshBuilder::PositionNormals(const std::vector<Corner>& corners) const {
    std::vector<double> sums(model.positions.size() * 3, 0.0);
    for (std::size_t i = 0; i + 2 < corners.size(); i += 3) {
        const Vector3& a = model.positions[corners[i].position];
        const Vector3& b = model.positions[corners[i + 1].position];
        const Vector3& c = model.positions[corners[i + 2].position];
        const double ab[3] = {double(b.x) - a.x, double(b.y) - a.y, double(b.z) - a.z};
        const double ac[3] = {double(c.x) - a.x, double(c.y) - a.y, double(c.z) - a.z};
        // ac x ab: twice the triangle's area long, pointing to the side from which a, b, c
        // run clockwise.
        const double normal[3] = {ac[1] * ab[2] - ac[2] * ab[1], ac[2] * ab[0] - ac[0] * ab[2],
                                  ac[0] * ab[1] - ac[1] * ab[0]};
        for (std::size_t k = i; k < i + 3; ++k) {
            for (int axis = 0; axis < 3; ++axis)
                sums[std::size_t{corners[k].position} * 3 + axis] += normal[axis];
        }
    }
    std::vector<float> normals(sums.size(), 0.0f);
    for (std::size_t p = 0; p < sums.size(); p += 3) {
        const double length =
            std::sqrt(sums[p] * sums[p] + sums[p + 1] * sums[p + 1] + sums[p + 2] * sums[p + 2]);
        // A position whose triangles have no area keeps a zero normal.
        if (length == 0.0) continue;
        for (int axis = 0; axis < 3; ++axis) normals[p + axis] = float(sums[p + axis] / length);
    }
    return normals;
}

void ObjMeshBuilder::Build() {
    const ObjFaces faces(model, fileName);
    problems = faces.Problems();
    const Turn unknown = keepWinding ? Turn::None : TurnUnknown(faces);

    // Every triangle's corners, three at a time.
    std::vector<Corner> triangles;
    bool computeNormals = false;
    std::size_t byNormals = 0, byModel = 0;
    for (const ObjFaces::Face& face : faces.Faces()) {
        const Corner* corners = &faces.Corners()[face.first];
        bool turn = false;
        if (face.winding == ObjFaces::Winding::CounterClockwise) {
            turn = !keepWinding;
            byNormals += turn;
        } else if (face.winding == ObjFaces::Winding::Unknown && face.missingNormals) {
            turn = unknown != Turn::None;
            byModel += turn;
        }
        for (std::size_t i = 1; i + 1 < face.count; ++i) {
            const std::size_t second = turn ? i + 1 : i, third = turn ? i : i + 1;
            triangles.insert(triangles.end(), {corners[0], corners[second], corners[third]});
        }
        computeNormals |= face.missingNormals;
    }
    for (const auto& [count, why] : {std::pair{byNormals, Turn::ByNormals}, {byModel, unknown}}) {
        if (count == 0) continue;
        turned.push_back("Turned " + Counted(count, "face", "faces") + TurnedFaces(count, why) +
                         "; --keep-winding keeps " + Pick(count, "it", "them") + " as written.");
    }
    const std::vector<float> computed =
        computeNormals ? PositionNormals(triangles) : std::vector<float>{};

    const auto key = [](const Corner& c) {
        return (std::uint64_t{c.position} << 32 | c.texCoord) ^
               (std::uint64_t{c.normal} * 0x9E3779B97F4A7C15ull);
    };
    const auto same = [](const Corner& a, const Corner& b) {
        return a.position == b.position && a.texCoord == b.texCoord && a.normal == b.normal;
    };
    std::unordered_map<Corner, std::uint32_t, decltype(key), decltype(same)> made(triangles.size(),
                                                                                  key, same);
    for (const Corner& corner : triangles) {
        const auto [at, isNew] =
            made.try_emplace(corner, static_cast<std::uint32_t>(vertices.size()));
        indices.push_back(at->second);
        if (!isNew) continue;
        MeshVertex vertex{};
        const Vector3& p = model.positions[corner.position];
        vertex.position[0] = p.x, vertex.position[1] = p.y, vertex.position[2] = p.z;
        if (corner.normal != ObjFaces::kNone) {
            const Vector3& n = model.normals[corner.normal];
            vertex.normal[0] = n.x, vertex.normal[1] = n.y, vertex.normal[2] = n.z;
        } else {
            for (int axis = 0; axis < 3; ++axis) {
                vertex.normal[axis] = computed[std::size_t{corner.position} * 3 + axis];
            }
        }
        if (corner.texCoord != ObjFaces::kNone) {
            vertex.texCoord[0] = model.texCoords[corner.texCoord].u;
            vertex.texCoord[1] = model.texCoords[corner.texCoord].v;
        }
        vertices.push_back(vertex);
    }
}
