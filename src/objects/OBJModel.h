#pragma once

#include <string>
#include <vector>

#include "common/Vector3.h"
#include "objects/OBJArraySizes.h"
#include "objects/OBJFace.h"
#include "objects/OBJPolygon.h"
#include "objects/TexCoord.h"

// What an OBJ file holds, as read: positions (already multiplied by the load factor),
// texture coordinates, normals and one face per face statement; or, when whole polygons
// were asked for, the polygons instead of the faces.
struct OBJModel {
    std::vector<Vector3> positions;
    std::vector<TexCoord> texCoords;
    std::vector<Vector3> normals;
    std::vector<OBJFace> faces;
    std::vector<OBJPolygon> polygons;

    OBJArraySizes Sizes() const { return {positions.size(), texCoords.size(), normals.size()}; }

    bool Drawable(const OBJFace& face) const { return Sizes().Drawable(face); }
    std::string IndexProblem(const OBJFace& face) const { return Sizes().IndexProblem(face); }
};
