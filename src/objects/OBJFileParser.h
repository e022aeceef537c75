#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "objects/OBJPolygon.h"

class OBJGraphicObject;
class TextCursor;
struct OBJFace;

// Reads the subset of Wavefront OBJ that models use here into an OBJGraphicObject:
// "v" positions (multiplied by a factor), "vt" texture coordinates, "vn" normals and "f"
// faces, of which only the first three corners count. Every other statement, "#"
// comments included, is skipped to the end of its line, however long the line is.
//
// The reading follows the token rules of a C++ stream: numbers may stand on the next
// line, and a "v", "vt" or "vn" statement does not skip what follows its numbers, which is
// read as the next statement. An index that a face corner does not give keeps the value it
// had in the previous face.
//
// The file is read into memory whole and parsed in place. A number that cannot be read
// ends the reading, keeping what came before it; faces with an index outside their arrays
// are kept but cannot be drawn. Both are reported in Problems(), naming the file and line.
//
// For tools that need whole polygons, KeepPolygons() switches the reading of faces: each
// face then ends at the end of its line and goes with every corner to Polygons() instead
// of the target. Its indices are not checked; that is left to the caller.
class OBJFileParser {
public:
    OBJFileParser(OBJGraphicObject& target, std::string fileName);

    // Reads the file and parses it; a file that cannot be read throws FactoryException.
    void Parse(float factor);

    // Parses a file's content that is already in memory.
    void ParseBuffer(std::string_view text, float factor);

    // Each problem is a complete sentence for the log.
    const std::vector<std::string>& Problems() const { return problems; }

    // The line where an unreadable number stopped the reading; 0 if it did not stop.
    std::uint32_t StopLine() const { return stopLine; }

    // To be called before parsing: faces are read whole into Polygons().
    void KeepPolygons() { keepPolygons = true; }
    const std::vector<OBJPolygon>& Polygons() const { return polygons; }

private:
    // Reads one face's first three corners into `face`; false if a number is unreadable.
    static bool ReadFace(TextCursor& in, OBJFace& face);
    // Reads the corners of a face up to the end of its line; false if one is unreadable.
    static bool ReadPolygon(TextCursor& in, OBJPolygon& polygon);

    void ReportUnreadable(const TextCursor& in, std::string_view statement, std::uint32_t line);
    void ReportUndrawable(std::size_t facesBefore, const std::vector<std::uint32_t>& faceLines);

    OBJGraphicObject& target;
    std::string fileName;
    std::vector<std::string> problems;
    std::uint32_t stopLine = 0;
    bool keepPolygons = false;
    std::vector<OBJPolygon> polygons;
};
