#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "objects/AuxKey.h"
#include "objects/MeshVertex.h"
#include "objects/TranslationKey.h"

// Makes R and RA model files, the reverse of RFileParser and RAFileParser. Counts and
// numbers are written little-endian whatever the machine.

// The bytes of an R file: the vertex count, the vertices, the triangle count and the
// indices. `indices` holds three per triangle; a size that is not a multiple of three, or
// a count beyond 32 bits, throws std::invalid_argument. Indices are written as given.
std::string EncodeRFile(std::span<const MeshVertex> vertices,
                        std::span<const std::uint32_t> indices);

// The bytes of an RA file: the R file, then each track preceded by its key count. Keys
// are written in the order given.
std::string EncodeRAFile(std::span<const MeshVertex> vertices,
                         std::span<const std::uint32_t> indices,
                         std::span<const TranslationKey> keys, std::span<const AuxKey> auxKeys);

// Writes `bytes` to the file at `path`, replacing it. Returns an empty string on success,
// otherwise what went wrong, as "cannot write PATH: REASON". A regular file left
// incomplete by a failed write is removed.
[[nodiscard]] std::string WriteModelFile(const std::string& path, std::string_view bytes);
