// RA reading: as for R, from memory through the reader against the target's own reading of
// the layout; and an RA file is an R file with tracks after it, so wherever the R reading
// of the same bytes fails, the RA reading fails with the same message, and wherever the RA
// reading succeeds, the R reading gives the same mesh.

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

const std::string kFileName = "fuzz.ra";

}  // namespace

int FuzzRA(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    std::optional<RAMesh> animated;
    const std::optional<std::string> failure = Failure(kFileName, [&] {
        MemoryBytes source(bytes);
        animated = ReadRAMesh(source, kFileName);
    });
    Layout layout(bytes);
    const bool meshFits = MeshFits(bytes, layout);
    const std::optional<std::uint32_t> keys = layout.Count();
    const bool keysFit = keys && layout.Records(*keys, sizeof(TranslationKey));
    const std::optional<std::uint32_t> auxKeys = keysFit ? layout.Count() : std::nullopt;
    const bool fits = meshFits && auxKeys && layout.Records(*auxKeys, sizeof(AuxKey));
    FUZZ_CHECK(fits == !failure, fits ? "a well-formed file failed: " + *failure
                                      : std::string("a malformed file was read"));

    // The same bytes as an R file.
    std::optional<RMesh> mesh;
    const std::optional<std::string> meshFailure = Failure(kFileName, [&] {
        MemoryBytes source(bytes);
        mesh = ReadRMesh(source, kFileName);
    });
    if (meshFailure) {
        FUZZ_CHECK(failure == meshFailure, "the R reading failed with \"" + *meshFailure +
                                               "\" but the RA reading with \"" +
                                               failure.value_or("none") + "\"");
    }
    if (failure) return 0;

    const RMesh& read = animated->mesh;
    FUZZ_CHECK(!meshFailure && BytesOf(mesh->vertices) == BytesOf(read.vertices) &&
                   BytesOf(mesh->indices) == BytesOf(read.indices),
               "the R reading of an RA file gives another mesh");
    const std::string written = EncodeRAFile(
        std::span(read.vertices.data.get(), read.vertices.count),
        std::span(read.indices.data.get(), read.indices.count),
        std::span(animated->translationTrack.data.get(), animated->translationTrack.count),
        std::span(animated->auxTrack.data.get(), animated->auxTrack.count));
    FUZZ_CHECK(written == bytes.substr(0, layout.At()),
               "the model read does not write back to the file's " + std::to_string(layout.At()) +
                   " bytes");
    return 0;
}
