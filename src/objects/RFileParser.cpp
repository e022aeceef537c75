#include "objects/RFileParser.h"

#include <algorithm>
#include <memory>
#include <new>

#include "common/FileError.h"
#include "objects/ModelFileError.h"
#include "objects/FileBytes.h"
#include "objects/MemoryBytes.h"
#include "objects/RenderableGraphicObject.h"

namespace {

std::string Counted(std::uint64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Indices read and checked at a time: 256 KB, checked while still in cache.
constexpr std::size_t kIndexChunk = std::size_t{1} << 16;

// The largest of `count` indices, in fixed blocks so that the compiler vectorises it.
std::uint32_t Largest(const std::uint32_t* indices, std::size_t count) {
    std::uint32_t largest = 0;
    std::size_t i = 0;
    for (; i + 64 <= count; i += 64) {
        for (std::size_t j = 0; j < 64; ++j) largest = std::max(largest, indices[i + j]);
    }
    for (; i < count; ++i) largest = std::max(largest, indices[i]);
    return largest;
}

}  // namespace

namespace Tarnhold {

RFileParser::RFileParser(RenderableGraphicObject& target, std::string fileName)
    : target(target), fileName(std::move(fileName)) {}

void RFileParser::Parse() {
    try {
        FileBytes file(fileName);
        ParseFrom(file);
    } catch (const FileError& failure) {
        throw ModelFileError(
            Problem::At(fileName, 0, "The model file " + fileName + failure.Reason()));
    } catch (const std::bad_alloc&) {
        throw ModelFileError(Problem::At(
            fileName, 0,
            "The model file " + fileName + " needs more memory than this machine can give."));
    }
}

void RFileParser::ParseBuffer(std::string_view bytes) {
    MemoryBytes source(bytes);
    ParseFrom(source);
}

void RFileParser::ParseFrom(ByteSource& source) {
    ByteReader in(source);
    const MeshPlace place = PlaceMesh(in);
    Keep(ReadMesh(in, place));
}

RFileParser::Placed RFileParser::Place(ByteReader& in, const std::string& countName,
                                       std::size_t recordBytes, const char* one,
                                       const char* many) const {
    Placed placed;
    placed.count = ReadCount(in, countName);
    placed.at = in.Offset();
    placed.bytes = std::uint64_t{placed.count} * recordBytes;
    placed.what = Counted(placed.count, one, many);
    Require(in, placed.bytes, placed.what);
    in.Skip(placed.bytes);
    return placed;
}

RFileParser::MeshPlace RFileParser::PlaceMesh(ByteReader& in) const {
    MeshPlace place;
    place.vertices = Place(in, "vertex count", sizeof(MeshVertex), "vertex", "vertices");
    place.triangles =
        Place(in, "triangle count", 3 * sizeof(std::uint32_t), "triangle", "triangles");
    return place;
}

RFileParser::Mesh RFileParser::ReadMesh(ByteReader& in, const MeshPlace& place) const {
    Mesh mesh;
    mesh.vertices = ReadArray<MeshVertex>(in, place.vertices);
    const std::uint64_t indexCount = std::uint64_t{place.triangles.count} * 3;
    mesh.indices.count = static_cast<std::uint32_t>(indexCount);
    mesh.indices.data = std::make_unique_for_overwrite<std::uint32_t[]>(indexCount);
    ReadIndices(in, place, mesh.indices.data.get());
    return mesh;
}

void RFileParser::ReadIndices(ByteReader& in, const MeshPlace& place, std::uint32_t* into) const {
    const std::uint32_t vertexCount = place.vertices.count;
    const std::uint64_t count = std::uint64_t{place.triangles.count} * 3;
    std::unique_ptr<std::uint32_t[]> scratch;
    if (!into) {
        scratch = std::make_unique_for_overwrite<std::uint32_t[]>(
            std::min<std::uint64_t>(count, kIndexChunk));
    }
    in.Seek(place.triangles.at);
    for (std::uint64_t done = 0; done < count;) {
        const auto step =
            static_cast<std::size_t>(std::min<std::uint64_t>(count - done, kIndexChunk));
        std::uint32_t* chunk = into ? into + done : scratch.get();
        if (!in.ReadWords(chunk, step)) CutShort(in, place.triangles);
        if (Largest(chunk, step) >= vertexCount) {
            const std::uint32_t* bad = std::find_if(
                chunk, chunk + step, [&](std::uint32_t index) { return index >= vertexCount; });
            const std::uint64_t at = place.triangles.at + 4 * (done + (bad - chunk));
            Fail("has a vertex index out of range: " + std::to_string(*bad) + " at byte " +
                     std::to_string(at) + ", but the file has " + place.vertices.what + ".",
                 at);
        }
        done += step;
    }
}

void RFileParser::Keep(Mesh mesh) {
    target.vertices = std::move(mesh.vertices);
    target.indices = std::move(mesh.indices);
}

void RFileParser::Fail(const std::string& problem, std::uint64_t at) const {
    Problem found = Problem::At(fileName, 0, "The model file " + fileName + " " + problem);
    found.offset = at;
    throw ModelFileError(std::move(found));
}

void RFileParser::CutShort(const ByteReader& in, std::uint64_t from, std::uint64_t count,
                           const std::string& what) const {
    Fail("is cut short: it ends at byte " + std::to_string(in.Size()) + ", before the end of its " +
             what + " (" + std::to_string(count) + " bytes from byte " + std::to_string(from) +
             ").",
         in.Size());
}

void RFileParser::CutShort(const ByteReader& in, const Placed& placed) const {
    CutShort(in, placed.at, placed.bytes, placed.what);
}

void RFileParser::Require(const ByteReader& in, std::uint64_t count,
                          const std::string& what) const {
    if (!in.Has(count)) CutShort(in, in.Offset(), count, what);
}

std::uint32_t RFileParser::ReadCount(ByteReader& in, const std::string& what) const {
    Require(in, 4, what);
    const std::uint64_t at = in.Offset();
    std::uint32_t count;
    if (!in.ReadWords(&count, 1)) CutShort(in, at, 4, what);
    return count;
}

}  // namespace Tarnhold
