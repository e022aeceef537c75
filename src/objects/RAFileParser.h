#pragma once

#include <string>

#include "objects/RFileParser.h"

class FrameAnimatableRGO;

namespace Tarnhold {

// Reads an RA file into an animated mesh object: an R mesh, then a count and that many
// 16-byte translation keys, then a count and that many 20-byte keys of the second track.
// Keys are kept in file order and not checked.
//
// As for R files, every count is checked against the file's size before anything is
// allocated, and everything is checked before anything is kept: a file shorter than its
// counts say throws ModelFileError naming the file and the byte offset, and leaves the
// target as it was. An index out of range is reported before a track cut short, in file
// order. Reading a new track starts its cursor at the first key.
class RAFileParser : public RFileParser {
public:
    RAFileParser(FrameAnimatableRGO& target, std::string fileName);

    void ParseFrom(ByteSource& source) override;
};

}  // namespace Tarnhold
