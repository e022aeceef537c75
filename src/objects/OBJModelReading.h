#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "objects/ByteSource.h"
#include "objects/OBJReadOptions.h"
#include "objects/OBJReadResult.h"

// Reading of the subset of Wavefront OBJ that models use here: "v" positions (multiplied
// by a factor), "vt" texture coordinates, "vn" normals and "f" faces, of which only the
// first three corners count. Every other statement, "#" comments included, is skipped to
// the end of its line, however long the line is.
//
// The reading follows the token rules of a C++ stream: numbers may stand on the next
// line, and a "v", "vt" or "vn" statement does not skip what follows its numbers, which is
// read as the next statement. An index that a face corner does not give keeps the value it
// had in the previous face.
//
// A number that cannot be read ends the reading, keeping what came before it; faces with
// an index outside their arrays are kept but cannot be drawn. Both are reported in the
// problems, naming `fileName` and the line.
//
// With `options.polygons`, each face ends at the end of its line and goes with every
// corner to the polygons instead of the faces. Its indices are not checked; that is left to
// the caller.

// Reads the whole text of a file at once.
OBJReadResult ReadOBJModel(std::string_view text, const std::string& fileName,
                           const OBJReadOptions& options);

// Reads `bytes` in blocks of `blockSize` bytes, so that what is parsed is still in the
// cache; a statement that runs over the end of a block is read again whole from the next
// one, which makes the result the same as reading the whole text at once. Small block sizes
// are for testing the joins.
OBJReadResult ReadOBJModel(ByteSource& bytes, std::size_t blockSize, const std::string& fileName,
                           const OBJReadOptions& options);

// The block size that keeps a block in the cache and costs few fresh pages: each page of a
// new buffer is a page fault, dear enough on the virtual machines measured to take a sixth
// of a 1 MB load with blocks of 256 KB.
inline constexpr std::size_t kOBJBlockSize = 64 * 1024;

// Reads the file at `path` in blocks, refusing one of more than `options.sizeLimit` bytes
// (ReadModelFile.h says how a file that cannot be read fails).
OBJReadResult ReadOBJModelFile(const std::string& path, const OBJReadOptions& options,
                               std::size_t blockSize = kOBJBlockSize);
