#include "objects/RAFileParser.h"

#include "objects/FrameAnimatableRGO.h"
#include "objects/RMeshReading.h"

namespace Tarnhold {

RAFileParser::RAFileParser(FrameAnimatableRGO& target, std::string fileName)
    : RFileParser(target, std::move(fileName)), target(target) {}

void RAFileParser::ParseFrom(ByteSource& source) { target.Take(ReadRAMesh(source, fileName)); }

}  // namespace Tarnhold
