#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "objects/ByteReader.h"
#include "objects/MeshArray.h"

class RenderableGraphicObject;

namespace Tarnhold {

// Reads an R file into a mesh object. The file is a vertex count, that many 36-byte
// vertices, a triangle count and three 32-bit indices per triangle, all little-endian;
// bytes after the last index are not read.
//
// Every count is first checked against the file's size, then the arrays are allocated and
// read straight into, from the file or from bytes in memory alike. Everything is checked
// before anything is kept: a file shorter than its counts say (including a count too large
// for any file, which is never allocated, and a file that shrinks while it is read) or an
// index not below the vertex count throws ModelFileError naming the file, the byte
// offset and what is wrong, and leaves the target as it was.
class RFileParser {
public:
    RFileParser(RenderableGraphicObject& target, std::string fileName);
    virtual ~RFileParser() = default;

    RFileParser(const RFileParser&) = delete;
    RFileParser& operator=(const RFileParser&) = delete;

    // Reads the file and parses it; a file that cannot be read throws ModelFileError.
    virtual void Parse();

    // Parses a file's content that is already in memory.
    virtual void ParseBuffer(std::string_view bytes);

    // Parses the bytes of `source`, named by the parser's file name in every message.
    virtual void ParseFrom(ByteSource& source);

protected:
    // An array's place in the file: `count` records from byte `at`, `bytes` long, found
    // within the file's size; `what` names it in messages ("3 vertices").
    struct Placed {
        std::uint64_t at = 0;
        std::uint32_t count = 0;
        std::uint64_t bytes = 0;
        std::string what;
    };

    // Where the mesh's vertices and triangles lie.
    struct MeshPlace {
        Placed vertices;
        Placed triangles;
    };

    // A checked mesh, not yet given to the target.
    struct Mesh {
        VertexArray vertices;
        IndexArray indices;
    };

    // Reads a count word and checks that its records, each `recordBytes` long, fit the
    // file; leaves the reader just after them. `one` and `many` name a record.
    Placed Place(ByteReader& in, const std::string& countName, std::size_t recordBytes,
                 const char* one, const char* many) const;

    // Places the mesh at the reader's position and leaves the reader just after it.
    MeshPlace PlaceMesh(ByteReader& in) const;

    // Reads and checks the mesh placed by PlaceMesh. Throws ModelFileError if an index
    // is out of range or the file turns out shorter than its size said.
    Mesh ReadMesh(ByteReader& in, const MeshPlace& place) const;

    // Reads the mesh's indices into `into`, a chunk at a time, checking each chunk while it
    // is in cache; with `into` null, checks them without keeping them, through a small
    // buffer.
    void ReadIndices(ByteReader& in, const MeshPlace& place, std::uint32_t* into) const;

    // The records of a placed array, read straight into a fresh array.
    template <typename Record>
    MeshArray<Record> ReadArray(ByteReader& in, const Placed& placed) const {
        MeshArray<Record> array;
        array.data = std::make_unique_for_overwrite<Record[]>(placed.count);
        array.count = placed.count;
        in.Seek(placed.at);
        if (!in.ReadWords(array.data.get(), placed.count)) CutShort(in, placed);
        return array;
    }

    // Gives the mesh to the target.
    void Keep(Mesh mesh);

    // Throws ModelFileError "The model file NAME " followed by `problem`, placed at byte `at`.
    [[noreturn]] void Fail(const std::string& problem, std::uint64_t at) const;

    // Fails saying that the file ends (at in.Size()) before the end of the `count` bytes of
    // `what` from byte `from`.
    [[noreturn]] void CutShort(const ByteReader& in, std::uint64_t from, std::uint64_t count,
                               const std::string& what) const;
    [[noreturn]] void CutShort(const ByteReader& in, const Placed& placed) const;

    // Fails unless `count` bytes are left for `what` (for example "3 vertices"), saying
    // where the file ends.
    void Require(const ByteReader& in, std::uint64_t count, const std::string& what) const;

    // Reads a 32-bit count named `what`, failing if the file ends first.
    std::uint32_t ReadCount(ByteReader& in, const std::string& what) const;

    RenderableGraphicObject& target;
    std::string fileName;
};

}  // namespace Tarnhold
