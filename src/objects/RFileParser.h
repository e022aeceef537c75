#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "objects/MeshArray.h"

class RenderableGraphicObject;
class ByteReader;

namespace Tarnhold {

// Reads an R file into a mesh object. The file is a vertex count, that many 36-byte
// vertices, a triangle count and three 32-bit indices per triangle, all little-endian;
// bytes after the last index are not read.
//
// The whole file is read into memory in one pass and checked before anything is kept: a
// file shorter than its counts say (including a count too large for any file) or an index
// not below the vertex count throws FactoryException naming the file, the byte offset
// and what is wrong, and leaves the target as it was.
class RFileParser {
public:
    RFileParser(RenderableGraphicObject& target, std::string fileName);
    virtual ~RFileParser() = default;

    RFileParser(const RFileParser&) = delete;
    RFileParser& operator=(const RFileParser&) = delete;

    // Reads the file and parses it; a file that cannot be read throws FactoryException.
    virtual void Parse();

    // Parses a file's content that is already in memory.
    virtual void ParseBuffer(std::string_view bytes);

protected:
    // A checked mesh, not yet given to the target.
    struct Mesh {
        VertexArray vertices;
        IndexArray indices;
    };

    // Reads and checks the mesh at the reader's position and leaves the reader just after
    // it. Throws FactoryException if the mesh is cut short or an index is out of range.
    Mesh ReadMesh(ByteReader& in) const;

    // Gives the mesh to the target.
    void Keep(Mesh mesh);

    // Throws FactoryException "The model file NAME " followed by `problem`.
    [[noreturn]] void Fail(const std::string& problem) const;

    // Fails unless `count` bytes are left for `what` (for example "3 vertices"), saying
    // where the file ends.
    void Require(const ByteReader& in, std::uint64_t count, const std::string& what) const;

    // Reads a 32-bit count named `what`, failing if the file ends first.
    std::uint32_t ReadCount(ByteReader& in, const std::string& what) const;

    RenderableGraphicObject& target;
    std::string fileName;
};

}  // namespace Tarnhold
