#include "objects/internal/OBJStatements.h"

namespace {

// Reads an index that starts right at the cursor: whitespace there means there is none.
bool ReadAdjacentIndex(TextCursor& in, std::int32_t& index) {
    return !in.Upcoming(1).empty() && in.ReadInt(index);
}

bool ReadCorner(TextCursor& in, OBJPolygon::Corner& corner) {
    if (!in.ReadInt(corner.position)) return false;
    if (in.Upcoming(1) != "/") return true;
    in.Get();
    if (in.Upcoming(1) != "/") {
        std::int32_t index = 0;
        if (!ReadAdjacentIndex(in, index)) return false;
        corner.texCoord = index;
        if (in.Upcoming(1) != "/") return true;
    }
    in.Get();
    std::int32_t index = 0;
    if (!ReadAdjacentIndex(in, index)) return false;
    corner.normal = index;
    return true;
}

}  // namespace

bool ReadFace(TextCursor& in, OBJFace& face) {
    int separator = -1;
    for (int corner = 0; corner < 3; ++corner) {
        if (!in.ReadInt(face.position[corner])) return false;
        separator = in.Get();
        if (separator != '/') continue;
        // A missing texture index, as in 1//3, is no failure: the index stays as it was.
        in.ReadInt(face.texCoord[corner]);
        separator = in.Get();
        if (separator != '/') continue;
        // Nothing is taken after a normal index: the next corner's number is read
        // straight on, so "1/2/3/4" or "1//3x" is an unreadable number, as for a stream.
        if (!in.ReadInt(face.normal[corner])) return false;
        separator = -1;
    }
    // The character taken after the third corner may itself have ended the line.
    if (separator != '\n') in.SkipLine();
    return true;
}

bool ReadPolygon(TextCursor& in, OBJPolygon& polygon) {
    for (;;) {
        const std::string_view next = in.Upcoming(1);
        if (next.empty()) {
            // Whitespace between corners, or the end of the face.
            const int c = in.Get();
            if (c == '\n' || c == -1) return true;
        } else if (next == "#") {
            in.SkipLine();
            return true;
        } else {
            OBJPolygon::Corner corner;
            // A corner must end at whitespace: "1x" or "1/2/3/4" is no corner.
            if (!ReadCorner(in, corner) || !in.Upcoming(1).empty()) return false;
            polygon.corners.push_back(corner);
        }
    }
}
