#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/Vector3.h"
#include "gl/GlDisplayList.h"
#include "objects/AbstractGraphicObject.h"
#include "objects/OBJArraySizes.h"
#include "objects/OBJFace.h"
#include "objects/TexCoord.h"

struct OBJModel;

// A Wavefront OBJ model: the arrays read from the file, compiled by Prepare() into one
// display list of triangles that Draw() calls. The arrays stay after compiling. Moving
// passes the list on; destroying the object deletes it, if Prepare() made one: needs the
// context then.
class OBJGraphicObject : public AbstractGraphicObject {
public:
    OBJGraphicObject() = default;

    OBJGraphicObject(OBJGraphicObject&&) = default;
    OBJGraphicObject& operator=(OBJGraphicObject&&) = default;

    // Pushes the matrix, applies the effect and placement, calls the list and pops.
    void Draw() override;

    // Compiles every drawable face, in file order, into one list of triangles: per corner
    // a texture coordinate (only if the model has any), a normal and a position. Faces
    // with an index outside their arrays are left out.
    void Prepare() override;

    // Takes the arrays to draw from, replacing those it had; polygons are not drawn.
    void Take(OBJModel&& model);

    // How many positions, texture coordinates and normals the object has.
    OBJArraySizes Sizes() const;

    // Whether every index the list uses for `face` names an element: positions and
    // normals always, texture coordinates if the model has any.
    bool Drawable(const OBJFace& face) const;

    // What is wrong with the first index of `face` outside its array, for example "its
    // normal index is 0, but the file has no normals"; empty if the face is drawable.
    std::string IndexProblem(const OBJFace& face) const;

    GlDisplayList displayList;
    std::vector<Vector3> positions;  // already multiplied by the load factor
    std::vector<TexCoord> texCoords;
    std::vector<Vector3> normals;
    std::vector<OBJFace> faces;  // one per face statement, as read
};
