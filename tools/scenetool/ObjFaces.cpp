#include "ObjFaces.h"

#include <cmath>
#include <optional>

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

struct Vec {
    double x = 0, y = 0, z = 0;
};

Vec Of(const Vector3& v) { return {v.x, v.y, v.z}; }
Vec operator-(const Vec& a, const Vec& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec Cross(const Vec& a, const Vec& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// How far from perpendicular the geometric and the given normal must be for the winding to
// count: the cosine of the angle between them.
constexpr double kLeastCosine = 1e-3;

}  // namespace

ObjFaces::ObjFaces(const OBJModel& model, const std::string& fileName)
    : model(model), fileName(fileName) {
    for (const OBJPolygon& polygon : model.polygons) {
        if (!Resolve(polygon)) continue;
        Face& face = faces.back();
        face.winding = WindingOf(face);
    }
}

bool ObjFaces::Resolve(const OBJPolygon& polygon) {
    const std::size_t start = corners.size();
    const auto fail = [&](const std::string& what) {
        problems.push_back(fileName + ":" + std::to_string(polygon.line) + ": " + what +
                           "; the face is left out");
        corners.resize(start);
        return false;
    };
    const std::size_t count = polygon.corners.size();
    if (count < 3) {
        return fail("a face needs at least 3 corners, this one has " + std::to_string(count));
    }
    Face face;
    face.line = polygon.line;
    face.first = start;
    face.count = count;
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
        } else {
            face.missingNormals = true;
        }
        corners.push_back(corner);
    }
    faces.push_back(face);
    return true;
}

ObjFaces::Winding ObjFaces::WindingOf(const Face& face) const {
    const Corner* c = &corners[face.first];
    const Vec a = Of(model.positions[c[0].position]);
    Vec geometric, given;
    for (std::size_t i = 1; i + 1 < face.count; ++i) {
        const Vec n = Cross(Of(model.positions[c[i].position]) - a,
                            Of(model.positions[c[i + 1].position]) - a);
        geometric = {geometric.x + n.x, geometric.y + n.y, geometric.z + n.z};
    }
    for (std::size_t i = 0; i < face.count; ++i) {
        if (c[i].normal == kNone) continue;
        const Vec n = Of(model.normals[c[i].normal]);
        given = {given.x + n.x, given.y + n.y, given.z + n.z};
    }
    const double dot = Dot(geometric, given);
    const double lengths = std::sqrt(Dot(geometric, geometric) * Dot(given, given));
    if (!(std::fabs(dot) > kLeastCosine * lengths)) return Winding::Unknown;
    return dot > 0 ? Winding::CounterClockwise : Winding::Clockwise;
}

double ObjFaces::SignedVolume(double& absolute) const {
    Vec middle;
    for (const Corner& corner : corners) {
        const Vector3& p = model.positions[corner.position];
        middle = {middle.x + p.x, middle.y + p.y, middle.z + p.z};
    }
    if (!corners.empty()) {
        const double n = static_cast<double>(corners.size());
        middle = {middle.x / n, middle.y / n, middle.z / n};
    }
    double volume = 0;
    absolute = 0;
    for (const Face& face : faces) {
        const Corner* c = &corners[face.first];
        const Vec a = Of(model.positions[c[0].position]) - middle;
        for (std::size_t i = 1; i + 1 < face.count; ++i) {
            const Vec b = Of(model.positions[c[i].position]) - middle;
            const Vec d = Of(model.positions[c[i + 1].position]) - middle;
            const double term = Dot(a, Cross(b, d));
            volume += term;
            absolute += std::fabs(term);
        }
    }
    return volume;
}
