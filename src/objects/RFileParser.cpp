#include "objects/RFileParser.h"

#include <algorithm>
#include <memory>

#include "common/FileError.h"
#include "common/WholeFile.h"
#include "factory/FactoryException.h"
#include "objects/ByteReader.h"
#include "objects/RenderableGraphicObject.h"

namespace {

std::string Counted(std::uint64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

namespace Tarnhold {

RFileParser::RFileParser(RenderableGraphicObject& target, std::string fileName)
    : target(target), fileName(std::move(fileName)) {}

void RFileParser::Parse() {
    std::string bytes;
    try {
        bytes = ReadWholeFile(fileName);
    } catch (const FileError& failure) {
        throw FactoryException("The model file " + fileName + failure.Reason());
    }
    ParseBuffer(bytes);
}

void RFileParser::ParseBuffer(std::string_view bytes) {
    ByteReader in(bytes);
    Keep(ReadMesh(in));
}

RFileParser::Mesh RFileParser::ReadMesh(ByteReader& in) const {
    const std::uint32_t vertexCount = ReadCount(in, "vertex count");
    Require(in, std::uint64_t{vertexCount} * sizeof(MeshVertex),
            Counted(vertexCount, "vertex", "vertices"));
    VertexArray vertices;
    vertices.count = vertexCount;
    vertices.data = std::make_unique_for_overwrite<MeshVertex[]>(vertexCount);
    in.CopyWords(vertices.data.get(), vertexCount);

    const std::uint32_t triangleCount = ReadCount(in, "triangle count");
    const std::uint64_t indexCount = std::uint64_t{triangleCount} * 3;
    Require(in, indexCount * 4, Counted(triangleCount, "triangle", "triangles"));
    const std::size_t indicesAt = in.Offset();
    IndexArray indices;
    indices.count = static_cast<std::uint32_t>(indexCount);
    indices.data = std::make_unique_for_overwrite<std::uint32_t[]>(indexCount);
    in.CopyWords(indices.data.get(), indexCount);

    const std::uint32_t* begin = indices.data.get();
    const std::uint32_t* end = begin + indexCount;
    if (begin != end && *std::max_element(begin, end) >= vertexCount) {
        const std::uint32_t* bad =
            std::find_if(begin, end, [&](std::uint32_t index) { return index >= vertexCount; });
        Fail("has a vertex index out of range: " + std::to_string(*bad) + " at byte " +
             std::to_string(indicesAt + 4 * static_cast<std::size_t>(bad - begin)) +
             ", but the file has " + Counted(vertexCount, "vertex", "vertices") + ".");
    }

    return {std::move(vertices), std::move(indices)};
}

void RFileParser::Keep(Mesh mesh) {
    target.vertices = std::move(mesh.vertices);
    target.indices = std::move(mesh.indices);
}

void RFileParser::Fail(const std::string& problem) const {
    throw FactoryException("The model file " + fileName + " " + problem);
}

void RFileParser::Require(const ByteReader& in, std::uint64_t count,
                          const std::string& what) const {
    if (in.Has(count)) return;
    Fail("is cut short: it ends at byte " + std::to_string(in.Size()) + ", before the end of its " +
         what + " (" + std::to_string(count) + " bytes from byte " + std::to_string(in.Offset()) +
         ").");
}

std::uint32_t RFileParser::ReadCount(ByteReader& in, const std::string& what) const {
    Require(in, 4, what);
    return in.ReadWord();
}

}  // namespace Tarnhold
