#pragma once

#include <string>
#include <string_view>

#include "objects/ByteSource.h"

class RenderableGraphicObject;

namespace Tarnhold {

// Reads an R file into a mesh object, as ReadRMesh reads it (RMeshReading.h). A file that
// cannot be read or is damaged throws ModelFileError naming the file and leaves the target
// as it was.
class RFileParser {
public:
    RFileParser(RenderableGraphicObject& target, std::string fileName);
    virtual ~RFileParser() = default;

    RFileParser(const RFileParser&) = delete;
    RFileParser& operator=(const RFileParser&) = delete;

    // Reads the file and parses it.
    virtual void Parse();

    // Parses a file's content that is already in memory.
    virtual void ParseBuffer(std::string_view bytes);

    // Parses the bytes of `source`, named by the parser's file name in every message.
    virtual void ParseFrom(ByteSource& source);

protected:
    std::string fileName;

private:
    RenderableGraphicObject& target;
};

}  // namespace Tarnhold
