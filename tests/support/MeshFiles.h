#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "objects/MeshVertex.h"

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
