#pragma once

// What the R and RA targets share: a reading of their own of the file layout, to say
// whether the reader must accept the bytes, and the reader's failure as a message.

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzTargets.h"
#include "objects/ModelFileError.h"
#include "objects/MeshArray.h"

namespace fuzzmesh {

// Walks the little-endian layout of a model file: counts, then records of fixed size.
class Layout {
public:
    explicit Layout(std::string_view bytes) : bytes(bytes) {}

    // The next count, or nothing if the bytes end first.
    std::optional<std::uint32_t> Count() {
        if (bytes.size() - at < 4) return std::nullopt;
        std::uint32_t word = 0;
        for (int i = 3; i >= 0; --i) word = (word << 8) | static_cast<std::uint8_t>(bytes[at + i]);
        at += 4;
        return word;
    }

    // Steps over `count` records of `recordBytes`; false if the bytes end first.
    bool Records(std::uint32_t count, std::uint64_t recordBytes) {
        const std::uint64_t length = count * recordBytes;
        if (bytes.size() - at < length) return false;
        at += length;
        return true;
    }

    std::size_t At() const { return at; }

private:
    std::string_view bytes;
    std::size_t at = 0;
};

// Whether the bytes hold an R mesh whose counts fit and whose indices all name a vertex;
// `layout` is left after the mesh.
inline bool MeshFits(std::string_view bytes, Layout& layout) {
    const std::optional<std::uint32_t> vertices = layout.Count();
    if (!vertices || !layout.Records(*vertices, 36)) return false;
    const std::optional<std::uint32_t> triangles = layout.Count();
    const std::size_t indicesAt = layout.At();
    if (!triangles || !layout.Records(*triangles, 12)) return false;
    for (std::uint64_t i = 0; i < std::uint64_t{*triangles} * 3; ++i) {
        Layout index(bytes.substr(indicesAt + 4 * i, 4));
        if (*index.Count() >= *vertices) return false;
    }
    return true;
}

// The bytes of an array, to compare two readings.
template <typename Element>
std::string_view BytesOf(const MeshArray<Element>& array) {
    return {reinterpret_cast<const char*>(array.data.get()), array.count * sizeof(Element)};
}

// Runs `parse`; the ModelFileError's message if it threw one. The message must name
// the file as every model-file message does.
template <typename Parse>
std::optional<std::string> Failure(const std::string& fileName, Parse parse) {
    try {
        parse();
    } catch (const ModelFileError& failure) {
        const std::string message = failure.what();
        FUZZ_CHECK(message.rfind("The model file " + fileName + " ", 0) == 0,
                   "a message that does not start with the file: " + message);
        return message;
    }
    return std::nullopt;
}

}  // namespace fuzzmesh
