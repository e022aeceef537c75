#include "support/MeshFiles.h"

#include <array>
#include <cstring>
#include <fstream>
#include <sstream>
#include <utility>

#include "objects/RFileWriter.h"

namespace {

void AppendWords(std::string& bytes, const void* words, std::size_t size) {
    // Little-endian on the machines the tests run on, as the format wants.
    bytes.append(static_cast<const char*>(words), size);
}

}  // namespace

std::string RawRFileBytes(std::uint32_t vertexCount, const std::vector<MeshVertex>& vertices,
                          std::uint32_t triangleCount, const std::vector<std::uint32_t>& indices) {
    std::string bytes;
    AppendWords(bytes, &vertexCount, 4);
    AppendWords(bytes, vertices.data(), vertices.size() * sizeof(MeshVertex));
    AppendWords(bytes, &triangleCount, 4);
    AppendWords(bytes, indices.data(), indices.size() * 4);
    return bytes;
}

std::string RFileBytes(const TestMesh& mesh) { return EncodeRFile(mesh.vertices, mesh.indices); }

void WriteRFile(const std::filesystem::path& path, const TestMesh& mesh) {
    std::ofstream(path, std::ios::binary) << RFileBytes(mesh);
}

std::string RAFileBytes(const TestMesh& mesh, const std::vector<TranslationKey>& keys,
                        const std::vector<AuxKey>& auxKeys) {
    return EncodeRAFile(mesh.vertices, mesh.indices, keys, auxKeys);
}

void WriteRAFile(const std::filesystem::path& path, const TestMesh& mesh,
                 const std::vector<TranslationKey>& keys, const std::vector<AuxKey>& auxKeys) {
    std::ofstream(path, std::ios::binary) << RAFileBytes(mesh, keys, auxKeys);
}

MeshVertex Vertex(float x, float y, float z, float s, float t, float r) {
    return MeshVertex{{x, y, z}, {0, 0, 1}, {s, t, r}};
}

TestMesh Square(float x0, float y0, float x1, float y1) {
    // Clockwise seen from +z: bottom left, top left, top right, bottom right.
    return TestMesh{{Vertex(x0, y0, 0, 0, 0), Vertex(x0, y1, 0, 0, 1), Vertex(x1, y1, 0, 1, 1),
                     Vertex(x1, y0, 0, 1, 0)},
                    {0, 1, 2, 0, 2, 3}};
}

TestMesh Cube(float size) {
    const float h = size / 2;
    TestMesh mesh;
    // Each face: an outward normal and two in-plane axes u, v with v x u = normal, so the
    // corners (-v-u), (-v+u), (+v+u), (+v-u) run clockwise seen from outside.
    struct Face {
        std::array<float, 3> normal, u, v;
    };
    const Face faces[] = {
        {{0, 0, 1}, {0, 1, 0}, {1, 0, 0}}, {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}},
        {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}}, {{-1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}}, {{0, -1, 0}, {0, 0, 1}, {1, 0, 0}},
    };
    for (const Face& face : faces) {
        const auto first = static_cast<std::uint32_t>(mesh.vertices.size());
        const float corners[4][2] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};
        for (const auto& corner : corners) {
            MeshVertex vertex{};
            for (int axis = 0; axis < 3; ++axis) {
                vertex.position[axis] =
                    h * (face.normal[axis] + corner[0] * face.v[axis] + corner[1] * face.u[axis]);
                vertex.normal[axis] = face.normal[axis];
            }
            vertex.texCoord[0] = (corner[0] + 1) / 2;
            vertex.texCoord[1] = (corner[1] + 1) / 2;
            mesh.vertices.push_back(vertex);
        }
        for (std::uint32_t i : {0u, 1u, 2u, 0u, 2u, 3u}) mesh.indices.push_back(first + i);
    }
    return mesh;
}

TestMesh Translated(TestMesh mesh, float dx, float dy, float dz) {
    for (MeshVertex& vertex : mesh.vertices) {
        vertex.position[0] += dx;
        vertex.position[1] += dy;
        vertex.position[2] += dz;
    }
    return mesh;
}

TestMesh Reversed(TestMesh mesh) {
    for (std::size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
        std::swap(mesh.indices[i + 1], mesh.indices[i + 2]);
    }
    return mesh;
}

std::string ObjText(const TestMesh& mesh, bool withTexCoords, float scale) {
    std::ostringstream text;
    text << "# " << mesh.vertices.size() << " vertices\n";
    for (const MeshVertex& vertex : mesh.vertices) {
        const float* p = vertex.position;
        const float* n = vertex.normal;
        text << "v " << p[0] * scale << ' ' << p[1] * scale << ' ' << p[2] * scale << '\n';
        if (withTexCoords) text << "vt " << vertex.texCoord[0] << ' ' << vertex.texCoord[1] << '\n';
        text << "vn " << n[0] << ' ' << n[1] << ' ' << n[2] << '\n';
    }
    for (std::size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
        text << 'f';
        for (std::size_t corner = 0; corner < 3; ++corner) {
            const std::uint32_t index = mesh.indices[i + corner] + 1;
            text << ' ' << index << '/';
            if (withTexCoords) text << index;
            text << '/' << index;
        }
        text << '\n';
    }
    return text.str();
}
