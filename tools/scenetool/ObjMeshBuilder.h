#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "objects/MeshVertex.h"
#include "objects/OBJPolygon.h"

struct OBJModel;

// Turns an OBJ model read with whole polygons into an indexed triangle mesh for an R file.
//
// Each polygon is fanned from its first corner (0, i, i + 1), keeping the file's winding.
// Corners with the same position, texture-coordinate and normal indices become one
// vertex, in the order they first appear. A corner without a normal gets the
// area-weighted average of the normals of every triangle at its position, each pointing
// to the side from which the triangle is seen clockwise: the viewer's front. A corner
// without a texture coordinate gets (0, 0); r is always 0.
//
// A face with fewer than three corners or with an index outside its array is left out
// and reported as "FILE:LINE: what is wrong".
class ObjMeshBuilder {
public:
    ObjMeshBuilder(const OBJModel& model, std::string fileName);

    // Makes the mesh of `polygons`, read from the model; called once.
    void Build(const std::vector<OBJPolygon>& polygons);

    const std::vector<MeshVertex>& Vertices() const { return vertices; }
    const std::vector<std::uint32_t>& Indices() const { return indices; }
    const std::vector<std::string>& Problems() const { return problems; }

private:
    // Zero-based indices into the model's arrays; kNone where a corner gives none.
    struct Corner {
        std::uint32_t position;
        std::uint32_t texCoord;
        std::uint32_t normal;
    };
    static constexpr std::uint32_t kNone = UINT32_MAX;

    // The corners of `polygon` with their indices resolved; empty, with a problem
    // reported, if the face cannot be used.
    std::vector<Corner> Resolve(const OBJPolygon& polygon);
    // Smooth normals per position from the triangles of `corners`, three per triangle.
    std::vector<float> PositionNormals(const std::vector<Corner>& corners) const;

    const OBJModel& model;
    std::string fileName;
    std::vector<MeshVertex> vertices;
    std::vector<std::uint32_t> indices;
    std::vector<std::string> problems;
};
