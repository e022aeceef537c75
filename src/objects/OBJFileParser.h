#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/Problem.h"
#include "common/SizeLimit.h"
#include "objects/OBJFace.h"
#include "objects/OBJPolygon.h"

class OBJGraphicObject;
class TextCursor;

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
// The file is read in blocks into one reused buffer, so that what is parsed is still in the
// cache; a statement that runs over the end of a block is read again whole from the next
// one, which makes the result the same as reading the whole file at once. A number that cannot be
// read ends the reading, keeping what came before it; faces with an index outside their arrays are
// kept but cannot be drawn. Both are reported in Problems(), naming the file and line.
//
// For tools that need whole polygons, KeepPolygons() switches the reading of faces: each
// face then ends at the end of its line and goes with every corner to Polygons() instead
// of the target. Its indices are not checked; that is left to the caller.
class OBJFileParser {
public:
    OBJFileParser(OBJGraphicObject& target, std::string fileName);

    // Reads the file and parses it; a file that cannot be read throws ModelFileError.
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
    // like all others, by the stream rules alone; both read the same, which tests check.
    void SetQuickReading(bool on) { quickReading = on; }

    // The most bytes the file and the arrays read from it may take (the machine's memory
    // by default): a larger file is refused before reading, and a reading whose arrays would
    // pass it stops with ModelFileError. Small limits are for tests.
    void SetSizeLimit(std::uint64_t bytes) { sizeLimit = bytes; }

    // To be called before parsing: faces are read whole into Polygons().
    void KeepPolygons() { keepPolygons = true; }
    const std::vector<OBJPolygon>& Polygons() const { return polygons; }

private:
    // How much of an unreadable number a problem shows.
    static constexpr std::size_t kShown = 40;
    // Bytes a quick statement may look at: three numbers or corners with room to spare.
    static constexpr std::size_t kQuickLine = 128;

    // A face read before the arrays it names were complete, and its line.
    struct PendingFace {
        std::size_t index;
        std::uint32_t line;
    };

    // Parses the statements in `text`, which goes on in the file unless `last`, and returns
    // how many bytes of it were used: a statement that reached the end of the text is left,
    // with everything after it, for the next block.
    std::size_t ParseBlock(std::string_view text, bool last, float factor);
    // Reads the statement at the cursor if it stands in the usual form of a vertex or face
    // line and kQuickLine bytes are left, with the same result as the stream reading;
    // false, having read nothing, otherwise.
    bool QuickStatement(TextCursor& in, float factor);
    // Adds a face read on `statementLine`, which later faces take left-out indices from.
    void AddFace(const OBJFace& next, std::uint32_t statementLine, const TextCursor& in);
    // The arrays, for foreseeing how large they grow.
    enum Kind { kPositions, kTexCoords, kNormals, kFaces };
    // Makes room in `array` for one more element of `kind`, read at the cursor.
    template <typename Element>
    void MakeRoom(std::vector<Element>& array, Kind kind, const TextCursor& in);
    // The bytes the target's arrays take now, counting their spare room.
    std::uint64_t ArrayBytes() const;
    // Whether `face` can be drawn whatever the rest of the file holds: every index it uses
    // names an element already read; texture indices count unless the file has no texture
    // coordinates yet (`untextured`), and such faces are checked again at the end.
    bool SurelyDrawable(const OBJFace& face, bool untextured) const;
    // Starts a reading from the beginning of a file of `size` bytes (0 if not known).
    void Start(std::uint64_t size);
    // Reports the faces that cannot be drawn, once the arrays are complete.
    void Finish();

    // Reads one face's first three corners into `face`; false if a number is unreadable.
    static bool ReadFace(TextCursor& in, OBJFace& face);
    // Reads the corners of a face up to the end of its line; false if one is unreadable.
    static bool ReadPolygon(TextCursor& in, OBJPolygon& polygon);

    void ReportUnreadable(TextCursor& in, std::string_view statement, std::uint32_t line);

    OBJGraphicObject& target;
    std::string fileName;
    std::vector<Problem> problems;
    std::uint32_t stopLine = 0;
    bool keepPolygons = false;
    std::vector<OBJPolygon> polygons;
    std::size_t blockSize = 256 * 1024;
    bool quickReading = true;
    std::uint64_t sizeLimit = FileSizeLimit();

    // The reading's state between blocks.
    OBJFace face;  // a corner that leaves out an index keeps the last face's
    std::uint32_t line = 1;
    bool stopped = false;
    // Faces that might name an element beyond the end of its array: a face whose indices
    // all name elements already read can be drawn whatever follows, so only the others are
    // checked at the end, with the faces read before the first texture coordinate, whose
    // texture indices count if any follow.
    std::vector<PendingFace> pending;
    std::size_t facesBefore = 0;                 // the target's faces when this reading began
    std::vector<std::uint32_t> untexturedLines;  // of the faces read before any texture coordinate
    // Where the reading stands in the file, and where each array's first element stood.
    std::uint64_t fileSize = 0;
    std::uint64_t blockStart = 0;
    const char* blockText = nullptr;
    std::uint64_t firstAt[4] = {};
};
