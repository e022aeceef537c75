#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/Problem.h"
#include "objects/OBJModelReading.h"
#include "objects/OBJPolygon.h"

class OBJGraphicObject;

// Reads an OBJ file into an OBJGraphicObject, as ReadOBJModel reads it (OBJModelReading.h),
// replacing the arrays the object had. A file that cannot be read, or whose arrays would
// pass the size limit, throws ModelFileError and leaves the object as it was.
class OBJFileParser {
public:
    OBJFileParser(OBJGraphicObject& target, std::string fileName);

    // Reads the file and parses it.
    void Parse(float factor);

    // Parses a file's content that is already in memory.
    void ParseBuffer(std::string_view text, float factor);

    // Each problem is a complete sentence for the log, placed at its line of the file.
    const std::vector<Problem>& Found() const { return problems; }
    // The problems' texts alone.
    std::vector<std::string> Problems() const;

    // The line where an unreadable number stopped the reading; 0 if it did not stop.
    std::uint32_t StopLine() const { return stopLine; }

    // The size of the blocks the file is read in (at least 1 byte); the buffer grows when
    // a single statement needs more. Small sizes are for testing the joins.
    void SetBlockSize(std::size_t bytes) { blockSize = bytes == 0 ? 1 : bytes; }

    // Whether statements in their usual form are read by the quick way (the default) or,
    // like all others, by the stream rules alone.
    void SetQuickReading(bool on) { options.quickReading = on; }

    // The most bytes the file and the arrays read from it may take (the machine's memory
    // by default): a larger file is refused before reading. Small limits are for tests.
    void SetSizeLimit(std::uint64_t bytes) { options.sizeLimit = bytes; }

    // To be called before parsing: faces are read whole into Polygons().
    void KeepPolygons() { options.polygons = true; }
    const std::vector<OBJPolygon>& Polygons() const { return polygons; }

private:
    // Keeps the problems and polygons of `result` and gives its arrays to the target.
    void Keep(OBJReadResult&& result);

    OBJGraphicObject& target;
    std::string fileName;
    OBJReadOptions options;
    std::size_t blockSize = kOBJBlockSize;
    std::vector<Problem> problems;
    std::uint32_t stopLine = 0;
    std::vector<OBJPolygon> polygons;
};
