#include "ObjMeshBuilder.h"

#include <cmath>
#include <optional>
#include <unordered_map>

#include "Counted.h"
#include "objects/OBJModel.h"

namespace {

// As Counted, but "no normals" rather than "0 normals".
std::string Count(std::size_t count, const char* one, const char* many) {
    return count == 0 ? std::string("no ") + many : Counted(count, one, many);
}

// The zero-based element that a written index names: from 1 at the start of the array, or
// from -1 back from the last of the `before` elements read before the face.
std::optional<std::uint32_t> Element(std::int32_t index, std::size_t before, std::size_t total) {
    if (index > 0 && static_cast<std::size_t>(index) <= total) {
        return static_cast<std::uint32_t>(index - 1);
    }
    const auto back = -static_cast<std::int64_t>(index);
    if (index < 0 && static_cast<std::uint64_t>(back) <= before) {
        return static_cast<std::uint32_t>(before - static_cast<std::size_t>(back));
    }
    return std::nullopt;
}

// Why `index` names no element of the array of `kind`.
std::string OutOfRange(const char* kind, const char* many, std::int32_t index, int corner,
                       std::size_t before, std::size_t total) {
    std::string reason;
    if (index == 0) {
        reason = "indices start at 1, or count back from -1";
    } else if (index > 0) {
        reason = "the file has " + Count(total, kind, many);
    } else {
        reason = Count(before, kind, many) + (before == 1 ? " comes" : " come") + " before it";
    }
    return std::string(kind) + " index " + std::to_string(index) + " of corner " +
           std::to_string(corner) + " is out of range (" + reason + ")";
}

}  // namespace

ObjMeshBuilder::ObjMeshBuilder(const OBJModel& model, std::string fileName)
    : model(model), fileName(std::move(fileName)) {}

std::vector<ObjMeshBuilder::Corner> ObjMeshBuilder::Resolve(const OBJPolygon& polygon) {
    const auto fail = [&](const std::string& what) {
        problems.push_back(fileName + ":" + std::to_string(polygon.line) + ": " + what +
                           "; the face is left out");
        return std::vector<Corner>{};
    };
    const std::size_t count = polygon.corners.size();
    if (count < 3) {
        return fail("a face needs at least 3 corners, this one has " + std::to_string(count));
    }
    std::vector<Corner> corners;
    for (std::size_t i = 0; i < count; ++i) {
        const OBJPolygon::Corner& written = polygon.corners[i];
        const int number = static_cast<int>(i) + 1;
        Corner corner{kNone, kNone, kNone};
        const auto position =
            Element(written.position, polygon.positionsBefore, model.positions.size());
        if (!position) {
            return fail(OutOfRange("position", "positions", written.position, number,
                                   polygon.positionsBefore, model.positions.size()));
        }
        corner.position = *position;
        if (written.texCoord) {
            const auto texCoord =
                Element(*written.texCoord, polygon.texCoordsBefore, model.texCoords.size());
            if (!texCoord) {
                return fail(OutOfRange("texture-coordinate", "texture coordinates",
                                       *written.texCoord, number, polygon.texCoordsBefore,
                                       model.texCoords.size()));
            }
            corner.texCoord = *texCoord;
        }
        if (written.normal) {
            const auto normal =
                Element(*written.normal, polygon.normalsBefore, model.normals.size());
            if (!normal) {
                return fail(OutOfRange("normal", "normals", *written.normal, number,
                                       polygon.normalsBefore, model.normals.size()));
            }
            corner.normal = *normal;
        }
        corners.push_back(corner);
    }
    return corners;
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

void ObjMeshBuilder::Build(const std::vector<OBJPolygon>& polygons) {
    // Every triangle's corners, three at a time.
    std::vector<Corner> triangles;
    bool computeNormals = false;
    for (const OBJPolygon& polygon : polygons) {
        const std::vector<Corner> corners = Resolve(polygon);
        for (std::size_t i = 1; i + 1 < corners.size(); ++i) {
            triangles.insert(triangles.end(), {corners[0], corners[i], corners[i + 1]});
        }
        for (const Corner& corner : corners) computeNormals |= corner.normal == kNone;
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
        if (corner.normal != kNone) {
            const Vector3& n = model.normals[corner.normal];
            vertex.normal[0] = n.x, vertex.normal[1] = n.y, vertex.normal[2] = n.z;
        } else {
            for (int axis = 0; axis < 3; ++axis) {
                vertex.normal[axis] = computed[std::size_t{corner.position} * 3 + axis];
            }
        }
        if (corner.texCoord != kNone) {
            vertex.texCoord[0] = model.texCoords[corner.texCoord].u;
            vertex.texCoord[1] = model.texCoords[corner.texCoord].v;
        }
        vertices.push_back(vertex);
    }
}
