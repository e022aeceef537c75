#include "objects/OBJFileParser.h"

#include "common/FileError.h"
#include "common/WholeFile.h"
#include "factory/FactoryException.h"
#include "objects/OBJGraphicObject.h"
#include "objects/TextCursor.h"

OBJFileParser::OBJFileParser(OBJGraphicObject& target, std::string fileName)
    : target(target), fileName(std::move(fileName)) {}

void OBJFileParser::Parse(float factor) {
    std::string text;
    try {
        text = ReadWholeFile(fileName);
    } catch (const FileError& failure) {
        throw FactoryException("The model file " + fileName + failure.Reason());
    }
    ParseBuffer(text, factor);
}

void OBJFileParser::ParseBuffer(std::string_view text, float factor) {
    TextCursor in(text);
    // One record for every face: a corner that leaves out an index keeps the last one.
    OBJFace face;
    // The line of each face read here, to say where the first undrawable one is.
    const std::size_t facesBefore = target.faces.size();
    std::vector<std::uint32_t> faceLines;
    for (;;) {
        const std::string_view token = in.Token();
        // As with a stream, a token that runs into the end of the file is not handled.
        if (in.AtEnd()) break;
        const std::uint32_t line = in.Line();
        if (token == "v") {
            Vector3 p;
            if (!in.ReadFloat(p.x) || !in.ReadFloat(p.y) || !in.ReadFloat(p.z)) {
                ReportUnreadable(in, token, line);
                break;
            }
            target.positions.push_back({p.x * factor, p.y * factor, p.z * factor});
        } else if (token == "vt") {
            TexCoord t;
            if (!in.ReadFloat(t.u) || !in.ReadFloat(t.v)) {
                ReportUnreadable(in, token, line);
                break;
            }
            target.texCoords.push_back(t);
        } else if (token == "vn") {
            Vector3 n;
            if (!in.ReadFloat(n.x) || !in.ReadFloat(n.y) || !in.ReadFloat(n.z)) {
                ReportUnreadable(in, token, line);
                break;
            }
            target.normals.push_back(n);
        } else if (token == "f" && keepPolygons) {
            OBJPolygon polygon{
                {}, line, target.positions.size(), target.texCoords.size(), target.normals.size()};
            if (!ReadPolygon(in, polygon)) {
                ReportUnreadable(in, token, line);
                break;
            }
            polygons.push_back(std::move(polygon));
        } else if (token == "f") {
            if (!ReadFace(in, face)) {
                ReportUnreadable(in, token, line);
                break;
            }
            target.faces.push_back(face);
            faceLines.push_back(line);
        } else {
            in.SkipLine();
        }
    }
    ReportUndrawable(facesBefore, faceLines);
}

bool OBJFileParser::ReadFace(TextCursor& in, OBJFace& face) {
    int separator = -1;
    for (int corner = 0; corner < 3; ++corner) {
        if (!in.ReadInt(face.position[corner])) return false;
        separator = in.Get();
        if (separator != '/') continue;
        // A missing texture index, as in 1//3, is no failure: the index stays as it was.
        in.ReadInt(face.texCoord[corner]);
        separator = in.Get();
        if (separator != '/') continue;
        if (!in.ReadInt(face.normal[corner])) return false;
        separator = in.Get();
    }
    // The character after the third corner may itself have ended the line.
    if (separator != '\n') in.SkipLine();
    return true;
}

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

bool OBJFileParser::ReadPolygon(TextCursor& in, OBJPolygon& polygon) {
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

void OBJFileParser::ReportUnreadable(const TextCursor& in, std::string_view statement,
                                     std::uint32_t line) {
    stopLine = line;
    const std::string_view found = in.Upcoming(40);
    problems.push_back(
        "The model file " + fileName + " has an unreadable number in the " +
        std::string(statement) + " statement on line " + std::to_string(line) + ", at " +
        (found.empty() ? std::string("the end of the file") : "\"" + std::string(found) + "\"") +
        "; reading stopped there, and what came before it is kept.");
}

void OBJFileParser::ReportUndrawable(std::size_t facesBefore,
                                     const std::vector<std::uint32_t>& faceLines) {
    std::size_t count = 0;
    std::size_t first = 0;
    for (std::size_t i = faceLines.size(); i-- > 0;) {
        if (target.Drawable(target.faces[facesBefore + i])) continue;
        ++count;
        first = i;
    }
    if (count == 0) return;
    const std::string line = std::to_string(faceLines[first]);
    problems.push_back(
        "The model file " + fileName + " has " + std::to_string(count) +
        (count == 1
             ? " face with an index outside its arrays, which is not drawn. It is on line " + line
             : " faces with an index outside their arrays, which are not drawn. The "
               "first is on line " +
                   line) +
        ": " + target.IndexProblem(target.faces[facesBefore + first]) + ".");
}
