#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ObjFaces.h"
#include "objects/MeshVertex.h"

struct OBJModel;

// Turns an OBJ model read with whole polygons into an indexed triangle mesh for an R file.
//
// Each polygon is fanned from its first corner (0, i, i + 1). Unless the winding is kept,
// faces are written so that the viewer, which takes clockwise faces as the front, shows
// their outside: a face that winds counter-clockwise as seen from the side its normals
// point to is turned (each triangle (0, i + 1, i)). A face whose normals do not show its
// winding because it lacks some is judged by the model: turned when most faces with
// normals wind counter-clockwise; without such faces, when the faces enclose a positive
// volume (counter-clockwise seen from outside) or about none (open or flat: OBJ's own
// convention, counter-clockwise, is taken).
//
// Corners with the same position, texture-coordinate and normal indices become one
// vertex, in the order they first appear. A corner without a normal gets the area-weighted
// average of the normals of every triangle at its position, each pointing to the side from
// which the triangle, as it is written (turned or not), is seen clockwise: the viewer's
// front, so outwards. A corner without a texture coordinate gets (0, 0); r is always 0.
//
// A face that cannot be used is left out and reported as ObjFaces does.
class ObjMeshBuilder {
public:
    ObjMeshBuilder(const OBJModel& model, std::string fileName, bool keepWinding);

    // Makes the mesh of the model's polygons; called once.
    void Build();

    const std::vector<MeshVertex>& Vertices() const { return vertices; }
    const std::vector<std::uint32_t>& Indices() const { return indices; }
    const std::vector<std::string>& Problems() const { return problems; }
    // What was turned and why, a sentence each; empty when nothing was.
    const std::vector<std::string>& Turned() const { return turned; }

    // Why faces are turned.
    enum class Turn {
        None,
        ByNormals,             // they wind counter-clockwise as seen from their normals' side
        LikeFacesWithNormals,  // without normals, as most faces with normals wind so
        PositiveVolume,        // without normals, counter-clockwise seen from outside
        NoVolume,              // without normals, open or flat: OBJ's convention
    };

private:
    using Corner = ObjFaces::Corner;

    // Whether, and why, the faces whose normals do not show their winding are turned.
    Turn TurnUnknown(const ObjFaces& faces) const;
    // Smooth normals per position from the triangles of `corners`, three per triangle.
    std::vector<float> PositionNormals(const std::vector<Corner>& corners) const;

    const OBJModel& model;
    std::string fileName;
    bool keepWinding;
    std::vector<MeshVertex> vertices;
    std::vector<std::uint32_t> indices;
    std::vector<std::string> problems;
    std::vector<std::string> turned;
};
