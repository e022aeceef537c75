#pragma once

#include <cstdint>
#include <string>

// What a model file holds by its bytes, whatever its name or element says: text (OBJ), or
// binary whose counts fill its size as an R or RA mesh does, or other binary.
struct ModelContent {
    enum class Kind {
        Unreadable,  // missing, empty or unreadable: the loader says why
        Text,        // no NUL byte at its start: OBJ text
        RMesh,       // binary, its counts fit an R mesh (later bytes ignored, as the reader does)
        RAMesh,      // binary, an R mesh followed by key tracks that end with the file
        Binary,      // binary, but its counts fit neither
    };

    // Reads what it needs of the file at `path`.
    static ModelContent Of(const std::string& path);

    Kind kind = Kind::Unreadable;
    std::uint64_t size = 0;
    std::uint32_t vertices = 0;         // R and RA
    std::uint32_t triangles = 0;        // R and RA
    std::uint32_t translationKeys = 0;  // RA
};
