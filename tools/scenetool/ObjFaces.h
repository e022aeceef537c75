#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "objects/OBJPolygon.h"

struct OBJModel;

// The faces of an OBJ model read with whole polygons, their indices resolved to zero-based
// elements of the model's arrays, each with the way it winds as seen from the side its
// normals point to: its corners taken in order by the right-hand rule give a geometric
// normal (the sum of its fan triangles' cross products), compared with the sum of the
// normals its corners give.
//
// A face with fewer than three corners or with an index outside its array is left out and
// reported as "FILE:LINE: what is wrong; the face is left out".
class ObjFaces {
public:
    // Zero-based indices into the model's arrays; kNone where a corner gives none.
    struct Corner {
        std::uint32_t position;
        std::uint32_t texCoord;
        std::uint32_t normal;
    };
    static constexpr std::uint32_t kNone = UINT32_MAX;

    enum class Winding {
        Clockwise,         // as seen from the side its normals point to: the viewer's front
        CounterClockwise,  // the viewer shows its back
        Unknown,           // it gives no normals, or they lie in its plane
    };

    struct Face {
        std::uint32_t line = 0;
        std::size_t first = 0;  // its first corner in Corners()
        std::size_t count = 0;  // its corners, at least three
        Winding winding = Winding::Unknown;
        bool missingNormals = false;  // a corner gives no normal
    };

    ObjFaces(const OBJModel& model, const std::string& fileName);

    const std::vector<Face>& Faces() const { return faces; }
    const std::vector<Corner>& Corners() const { return corners; }
    const std::vector<std::string>& Problems() const { return problems; }

    // Six times the volume the faces enclose as they are written, measured from the
    // middle of their positions: positive when they wind counter-clockwise seen from
    // outside. `absolute` gets the sum of its terms' sizes, which it nears for a closed
    // model and which bounds it for an open one.
    double SignedVolume(double& absolute) const;

private:
    // Adds the corners of `polygon` with their indices resolved; false, with a problem
    // reported and nothing added, if the face cannot be used.
    bool Resolve(const OBJPolygon& polygon);
    Winding WindingOf(const Face& face) const;

    const OBJModel& model;
    std::string fileName;
    std::vector<Face> faces;
    std::vector<Corner> corners;
    std::vector<std::string> problems;
};
