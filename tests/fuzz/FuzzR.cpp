// R reading: from the buffer and from the file, against the target's own reading of the
// layout. A file whose counts fit and whose indices name vertices must be read, and read
// back to the same bytes by the writer; any other must fail naming the file and leave the
// target as it was.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "FuzzMesh.h"
#include "FuzzTargets.h"
#include "MemoryFile.h"
#include "objects/RFileParser.h"
#include "objects/RFileWriter.h"
#include "objects/RenderableGraphicObject.h"

namespace {

using namespace fuzzmesh;

struct Reading {
    RenderableGraphicObject object;
    std::optional<std::string> failure;
};

void Read(std::string_view bytes, bool fromFile, Reading& reading) {
    const std::string& path = MemoryFile::Get().Path();
    SetSentinel(reading.object.vertices, 1);
    SetSentinel(reading.object.indices, 3);
    const MeshVertex* vertices = reading.object.vertices.data.get();
    const std::uint32_t* indices = reading.object.indices.data.get();

    Tarnhold::RFileParser parser(reading.object, path);
    reading.failure = Failure(path, [&] { fromFile ? parser.Parse() : parser.ParseBuffer(bytes); });
    if (reading.failure) {
        CheckUntouched(reading.object.vertices, vertices, 1, "vertices", *reading.failure);
        CheckUntouched(reading.object.indices, indices, 3, "indices", *reading.failure);
    }
}

}  // namespace

int FuzzR(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    MemoryFile::Get().Fill(data, size);

    Reading buffer, file;
    Read(bytes, false, buffer);
    Read(bytes, true, file);

    FUZZ_CHECK(buffer.failure == file.failure, "the buffer and the file read differently: \"" +
                                                   buffer.failure.value_or("read") + "\" and \"" +
                                                   file.failure.value_or("read") + "\"");
    Layout layout(bytes);
    const bool fits = MeshFits(bytes, layout);
    FUZZ_CHECK(fits == !buffer.failure, fits ? "a well-formed file failed: " + *buffer.failure
                                             : std::string("a malformed file was read"));
    if (buffer.failure) return 0;

    const RenderableGraphicObject& object = buffer.object;
    FUZZ_CHECK(BytesOf(object.vertices) == BytesOf(file.object.vertices) &&
                   BytesOf(object.indices) == BytesOf(file.object.indices),
               "the buffer and the file gave different meshes");
    const std::string written =
        EncodeRFile(std::span(object.vertices.data.get(), object.vertices.count),
                    std::span(object.indices.data.get(), object.indices.count));
    FUZZ_CHECK(written == bytes.substr(0, layout.At()),
               "the mesh read does not write back to the file's " + std::to_string(layout.At()) +
                   " bytes");
    return 0;
}
