#pragma once

#include <string>

#include "objects/RFileParser.h"

class FrameAnimatableRGO;

namespace Tarnhold {

// Reads an RA file into an animated mesh object, as ReadRAMesh reads it (RMeshReading.h).
// A file that cannot be read or is damaged throws ModelFileError naming the file and leaves
// the target as it was. Reading a new track starts its cursor at the first key.
class RAFileParser : public RFileParser {
public:
    RAFileParser(FrameAnimatableRGO& target, std::string fileName);

    void ParseFrom(ByteSource& source) override;

private:
    FrameAnimatableRGO& target;
};

}  // namespace Tarnhold
