#include "objects/RFileParser.h"

#include "objects/MemoryBytes.h"
#include "objects/RMeshReading.h"
#include "objects/ReadModelFile.h"
#include "objects/RenderableGraphicObject.h"

namespace Tarnhold {

RFileParser::RFileParser(RenderableGraphicObject& target, std::string fileName)
    : fileName(std::move(fileName)), target(target) {}

void RFileParser::Parse() {
    ReadModelFile(fileName, [&](ByteSource& bytes) { ParseFrom(bytes); });
}

void RFileParser::ParseBuffer(std::string_view bytes) {
    MemoryBytes source(bytes);
    ParseFrom(source);
}

void RFileParser::ParseFrom(ByteSource& source) { target.Take(ReadRMesh(source, fileName)); }

}  // namespace Tarnhold
