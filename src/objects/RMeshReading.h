#pragma once

#include <string>

#include "objects/ByteSource.h"
#include "objects/RAMesh.h"
#include "objects/RMesh.h"

// R and RA files read from their bytes. An R file is a vertex count, that many 36-byte
// vertices, a triangle count and three 32-bit indices per triangle, all little-endian;
// bytes after the last index are not read. An RA file follows its mesh with a count and
// that many 16-byte translation keys, then a count and that many 20-byte keys of the second
// track; keys are kept in file order and not checked.
//
// Every count is first checked against the size of the bytes, then the arrays are
// allocated and read straight into. Everything is checked before anything is returned: a
// file shorter than its counts say (including a count too large for any file, which is
// never allocated, and a file that shrinks while it is read) or an index not below the
// vertex count throws ModelFileError naming `fileName`, the byte offset and what is wrong.
// In an RA file, an index out of range is reported before a track cut short, in file order.
RMesh ReadRMesh(ByteSource& bytes, const std::string& fileName);
RAMesh ReadRAMesh(ByteSource& bytes, const std::string& fileName);

// The same, read from the file at `path` (ReadModelFile.h says how a file that cannot be
// read fails).
RMesh ReadRMeshFile(const std::string& path);
RAMesh ReadRAMeshFile(const std::string& path);
