// R reading: from memory through the reader, against the target's own reading of the
// layout. A file whose counts fit and whose indices name vertices must be read, and read
// back to the same bytes by the writer; any other must fail naming the file.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "FuzzMesh.h"
#include "FuzzTargets.h"
#include "objects/MemoryBytes.h"
#include "objects/RFileWriter.h"
#include "objects/RMeshReading.h"

namespace {

using namespace fuzzmesh;

const std::string kFileName = "fuzz.r";

}  // namespace

int FuzzR(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    std::optional<RMesh> mesh;
    const std::optional<std::string> failure = Failure(kFileName, [&] {
        MemoryBytes source(bytes);
        mesh = ReadRMesh(source, kFileName);
    });
    Layout layout(bytes);
    const bool fits = MeshFits(bytes, layout);
    FUZZ_CHECK(fits == !failure, fits ? "a well-formed file failed: " + *failure
                                      : std::string("a malformed file was read"));
    if (failure) return 0;

    const std::string written =
        EncodeRFile(std::span(mesh->vertices.data.get(), mesh->vertices.count),
                    std::span(mesh->indices.data.get(), mesh->indices.count));
    FUZZ_CHECK(written == bytes.substr(0, layout.At()),
               "the mesh read does not write back to the file's " + std::to_string(layout.At()) +
                   " bytes");
    return 0;
}
