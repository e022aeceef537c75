#include "objects/RMeshReading.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "objects/internal/ByteReader.h"
#include "objects/ModelFileError.h"
#include "objects/ReadModelFile.h"

namespace {

std::string Counted(std::uint64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Indices read and checked at a time: 256 KB, checked while still in cache.
constexpr std::size_t kIndexChunk = std::size_t{1} << 16;

// Whether any of `count` indices is `limit` or more: compared and gathered without
// branches, in fixed blocks so that the compiler vectorises it.
bool AnyAtLeast(const std::uint32_t* indices, std::size_t count, std::uint32_t limit) {
    std::uint32_t found = 0;
    std::size_t i = 0;
    for (; i + 64 <= count; i += 64) {
        for (std::size_t j = 0; j < 64; ++j) found |= indices[i + j] >= limit;
    }
    for (; i < count; ++i) found |= indices[i] >= limit;
    return found != 0;
}

// One reading of an R or RA file's bytes.
class MeshReading {
public:
    MeshReading(ByteSource& bytes, const std::string& fileName) : in(bytes), fileName(fileName) {}

    RMesh ReadR() {
        const MeshPlace place = PlaceMesh();
        return ReadMesh(place);
    }

    RAMesh ReadRA() {
        const MeshPlace meshPlace = PlaceMesh();
        Placed translationsPlace, auxPlace;
        try {
            translationsPlace = Place("translation key count", sizeof(TranslationKey),
                                      "translation key", "translation keys");
            auxPlace = Place("second-track key count", sizeof(AuxKey), "second-track key",
                             "second-track keys");
        } catch (const ModelFileError&) {
            // An index out of range lies before the tracks, so it is the problem reported.
            ReadIndices(meshPlace, nullptr);
            throw;
        }
        RAMesh read;
        read.mesh = ReadMesh(meshPlace);
        read.translationTrack = ReadArray<TranslationKey>(translationsPlace);
        read.auxTrack = ReadArray<AuxKey>(auxPlace);
        return read;
    }

private:
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

    // Reads a count word and checks that its records, each `recordBytes` long, fit the
    // file; leaves the reader just after them. `one` and `many` name a record.
    Placed Place(const std::string& countName, std::size_t recordBytes, const char* one,
                 const char* many) {
        Placed placed;
        placed.count = ReadCount(countName);
        placed.at = in.Offset();
        placed.bytes = std::uint64_t{placed.count} * recordBytes;
        placed.what = Counted(placed.count, one, many);
        Require(placed.bytes, placed.what);
        in.Skip(placed.bytes);
        return placed;
    }

    // Places the mesh at the reader's position and leaves the reader just after it.
    MeshPlace PlaceMesh() {
        MeshPlace place;
        place.vertices = Place("vertex count", sizeof(MeshVertex), "vertex", "vertices");
        place.triangles =
            Place("triangle count", 3 * sizeof(std::uint32_t), "triangle", "triangles");
        return place;
    }

    // Reads and checks the mesh placed by PlaceMesh.
    RMesh ReadMesh(const MeshPlace& place) {
        RMesh mesh;
        mesh.vertices = ReadArray<MeshVertex>(place.vertices);
        const std::uint64_t indexCount = std::uint64_t{place.triangles.count} * 3;
        mesh.indices.count = static_cast<std::uint32_t>(indexCount);
        mesh.indices.data = std::make_unique_for_overwrite<std::uint32_t[]>(indexCount);
        ReadIndices(place, mesh.indices.data.get());
        return mesh;
    }

    // Reads the mesh's indices into `into`, a chunk at a time, checking each chunk while it
    // is in cache; with `into` null, checks them without keeping them, through a small
    // buffer.
    void ReadIndices(const MeshPlace& place, std::uint32_t* into) {
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
            if (!in.ReadWords(chunk, step)) CutShort(place.triangles);
            if (AnyAtLeast(chunk, step, vertexCount)) {
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

    // The records of a placed array, read straight into a fresh array.
    template <typename Record>
    MeshArray<Record> ReadArray(const Placed& placed) {
        MeshArray<Record> array;
        array.data = std::make_unique_for_overwrite<Record[]>(placed.count);
        array.count = placed.count;
        in.Seek(placed.at);
        if (!in.ReadWords(array.data.get(), placed.count)) CutShort(placed);
        return array;
    }

    // Throws ModelFileError "The model file NAME " followed by `problem`, placed at byte `at`.
    [[noreturn]] void Fail(const std::string& problem, std::uint64_t at) const {
        Problem found = Problem::At(fileName, 0, "The model file " + fileName + " " + problem);
        found.offset = at;
        throw ModelFileError(std::move(found));
    }

    // Fails saying that the file ends (at in.Size()) before the end of the `count` bytes of
    // `what` from byte `from`.
    [[noreturn]] void CutShort(std::uint64_t from, std::uint64_t count,
                               const std::string& what) const {
        Fail("is cut short: it ends at byte " + std::to_string(in.Size()) +
                 ", before the end of its " + what + " (" + std::to_string(count) +
                 " bytes from byte " + std::to_string(from) + ").",
             in.Size());
    }
    [[noreturn]] void CutShort(const Placed& placed) const {
        CutShort(placed.at, placed.bytes, placed.what);
    }

    // Fails unless `count` bytes are left for `what` (for example "3 vertices").
    void Require(std::uint64_t count, const std::string& what) const {
        if (!in.Has(count)) CutShort(in.Offset(), count, what);
    }

    // Reads a 32-bit count named `what`, failing if the file ends first.
    std::uint32_t ReadCount(const std::string& what) {
        Require(4, what);
        const std::uint64_t at = in.Offset();
        std::uint32_t count;
        if (!in.ReadWords(&count, 1)) CutShort(at, 4, what);
        return count;
    }

    ByteReader in;
    const std::string& fileName;
};

}  // namespace

RMesh ReadRMesh(ByteSource& bytes, const std::string& fileName) {
    return MeshReading(bytes, fileName).ReadR();
}

RAMesh ReadRAMesh(ByteSource& bytes, const std::string& fileName) {
    return MeshReading(bytes, fileName).ReadRA();
}

RMesh ReadRMeshFile(const std::string& path) {
    return ReadModelFile(path, [&](ByteSource& bytes) { return ReadRMesh(bytes, path); });
}

RAMesh ReadRAMeshFile(const std::string& path) {
    return ReadModelFile(path, [&](ByteSource& bytes) { return ReadRAMesh(bytes, path); });
}
