#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "objects/AuxKey.h"
#include "objects/MeshVertex.h"
#include "objects/TranslationKey.h"

// Meshes written as R files, so tests make their own model files.
struct TestMesh {
    std::vector<MeshVertex> vertices;
    std::vector<std::uint32_t> indices;  // three per triangle
};

// The bytes of an R file: vertex count, vertices, triangle count, indices, little-endian.
std::string RFileBytes(const TestMesh& mesh);

// An R file with counts that need not match the data that follows (for damaged files).
std::string RawRFileBytes(std::uint32_t vertexCount, const std::vector<MeshVertex>& vertices,
                          std::uint32_t triangleCount, const std::vector<std::uint32_t>& indices);

void WriteRFile(const std::filesystem::path& path, const TestMesh& mesh);

// The bytes of an RA file: the R file of `mesh`, then the translation keys and the keys of
// the second track, each track preceded by its count.
std::string RAFileBytes(const TestMesh& mesh, const std::vector<TranslationKey>& keys,
                        const std::vector<AuxKey>& auxKeys = {});

void WriteRAFile(const std::filesystem::path& path, const TestMesh& mesh,
                 const std::vector<TranslationKey>& keys, const std::vector<AuxKey>& auxKeys = {});

// A vertex with a normal along +z and texture coordinate (s, t, r).
MeshVertex Vertex(float x, float y, float z, float s = 0, float t = 0, float r = 0);

// An axis-aligned square in the z = 0 plane from (x0, y0) to (x1, y1), two triangles,
// front face clockwise as the viewer sets it, facing +z.
TestMesh Square(float x0, float y0, float x1, float y1);

// `mesh` with every position moved by (dx, dy, dz).
TestMesh Translated(TestMesh mesh, float dx, float dy, float dz);

// A cube of edge `size` centred on the origin, each face two triangles, with normals
// pointing out and front faces clockwise seen from outside.
TestMesh Cube(float size);

// `mesh` with each triangle's last two corners swapped, so that its faces wind the other
// way (Cube's then wind counter-clockwise seen from outside, as most OBJ files do).
TestMesh Reversed(TestMesh mesh);

// `mesh` as Wavefront OBJ text: positions multiplied by `scale` (10 undoes the 0.1 that the
// viewer applies), normals, and texture coordinates if `withTexCoords`; each triangle a
// face of corners p/t/n, or p//n without texture coordinates.
std::string ObjText(const TestMesh& mesh, bool withTexCoords, float scale = 10.0f);
