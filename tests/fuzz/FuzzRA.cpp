// RA reading: as for R, from the buffer and from the file against the target's own reading
// of the layout; and an RA file is an R file with tracks after it, so wherever the R
// reading of the same bytes fails, the RA reading fails with the same message, and
// wherever the RA reading succeeds, the R reading gives the same mesh.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "FuzzMesh.h"
#include "FuzzTargets.h"
#include "MemoryFile.h"
#include "objects/FrameAnimatableRGO.h"
#include "objects/RAFileParser.h"
#include "objects/RFileParser.h"
#include "objects/RFileWriter.h"
#include "objects/RenderableGraphicObject.h"

namespace {

using namespace fuzzmesh;

struct Reading {
    FrameAnimatableRGO object;
    std::optional<std::string> failure;
};

void Read(std::string_view bytes, bool fromFile, Reading& reading) {
    const std::string& path = MemoryFile::Get().Path();
    FrameAnimatableRGO& object = reading.object;
    SetSentinel(object.vertices, 1);
    SetSentinel(object.indices, 3);
    SetSentinel(object.translationTrack, 2);
    SetSentinel(object.auxTrack, 2);
    object.translationCursor = 1;
    const MeshVertex* vertices = object.vertices.data.get();
    const std::uint32_t* indices = object.indices.data.get();
    const TranslationKey* keys = object.translationTrack.data.get();
    const AuxKey* auxKeys = object.auxTrack.data.get();

    Tarnhold::RAFileParser parser(object, path);
    reading.failure = Failure(path, [&] { fromFile ? parser.Parse() : parser.ParseBuffer(bytes); });
    if (reading.failure) {
        const std::string& failure = *reading.failure;
        CheckUntouched(object.vertices, vertices, 1, "vertices", failure);
        CheckUntouched(object.indices, indices, 3, "indices", failure);
        CheckUntouched(object.translationTrack, keys, 2, "translation track", failure);
        CheckUntouched(object.auxTrack, auxKeys, 2, "second track", failure);
        FUZZ_CHECK(object.translationCursor == 1, "a failed reading moved the cursor: " + failure);
    } else {
        FUZZ_CHECK(object.translationCursor == 0, "the cursor does not start at the first key");
    }
}

}  // namespace

int FuzzRA(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    MemoryFile::Get().Fill(data, size);

    Reading buffer, file;
    Read(bytes, false, buffer);
    Read(bytes, true, file);
    FUZZ_CHECK(buffer.failure == file.failure, "the buffer and the file read differently: \"" +
                                                   buffer.failure.value_or("read") + "\" and \"" +
                                                   file.failure.value_or("read") + "\"");

    Layout layout(bytes);
    const bool meshFits = MeshFits(bytes, layout);
    const std::optional<std::uint32_t> keys = layout.Count();
    const bool keysFit = keys && layout.Records(*keys, sizeof(TranslationKey));
    const std::optional<std::uint32_t> auxKeys = keysFit ? layout.Count() : std::nullopt;
    const bool fits = meshFits && auxKeys && layout.Records(*auxKeys, sizeof(AuxKey));
    FUZZ_CHECK(fits == !buffer.failure, fits ? "a well-formed file failed: " + *buffer.failure
                                             : std::string("a malformed file was read"));

    // The same bytes as an R file.
    RenderableGraphicObject mesh;
    Tarnhold::RFileParser meshParser(mesh, MemoryFile::Get().Path());
    const std::optional<std::string> meshFailure =
        Failure(MemoryFile::Get().Path(), [&] { meshParser.ParseBuffer(bytes); });
    if (meshFailure) {
        FUZZ_CHECK(buffer.failure == meshFailure, "the R reading failed with \"" + *meshFailure +
                                                      "\" but the RA reading with \"" +
                                                      buffer.failure.value_or("none") + "\"");
    }
    if (buffer.failure) return 0;

    const FrameAnimatableRGO& object = buffer.object;
    FUZZ_CHECK(!meshFailure && BytesOf(mesh.vertices) == BytesOf(object.vertices) &&
                   BytesOf(mesh.indices) == BytesOf(object.indices),
               "the R reading of an RA file gives another mesh");
    FUZZ_CHECK(BytesOf(object.vertices) == BytesOf(file.object.vertices) &&
                   BytesOf(object.indices) == BytesOf(file.object.indices) &&
                   BytesOf(object.translationTrack) == BytesOf(file.object.translationTrack) &&
                   BytesOf(object.auxTrack) == BytesOf(file.object.auxTrack),
               "the buffer and the file gave different models");
    const std::string written =
        EncodeRAFile(std::span(object.vertices.data.get(), object.vertices.count),
                     std::span(object.indices.data.get(), object.indices.count),
                     std::span(object.translationTrack.data.get(), object.translationTrack.count),
                     std::span(object.auxTrack.data.get(), object.auxTrack.count));
    FUZZ_CHECK(written == bytes.substr(0, layout.At()),
               "the model read does not write back to the file's " + std::to_string(layout.At()) +
                   " bytes");
    return 0;
}
