#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/Problem.h"
#include "objects/ByteSource.h"
#include "objects/OBJFace.h"
#include "objects/OBJModel.h"
#include "objects/OBJReadOptions.h"
#include "objects/OBJReadResult.h"
#include "objects/internal/ArrayForecast.h"
#include "objects/internal/UndrawableFaces.h"

class TextCursor;

// One reading of an OBJ file, as OBJModelReading.h describes it, from a whole text or block
// by block. Each reader reads one file.
class OBJReader {
public:
    OBJReader(const std::string& fileName, const OBJReadOptions& options);

    OBJReadResult Read(std::string_view text);
    OBJReadResult Read(ByteSource& bytes, std::size_t blockSize);

private:
    // How much of an unreadable number a problem shows.
    static constexpr std::size_t kShown = 40;
    // Bytes a quick statement may look at: three numbers or corners with room to spare.
    static constexpr std::size_t kQuickLine = 128;

    // The arrays, for foreseeing how large each grows.
    enum Kind { kPositions, kTexCoords, kNormals, kFaces, kKinds };

    // Parses the statements in `text`, which goes on in the file unless `last`, and returns
    // how many bytes of it were used: a statement that reached the end of the text is left,
    // with everything after it, for the next block.
    std::size_t ReadBlock(std::string_view text, bool last);
    // Reads the statements at the cursor for as long as they stand in the usual form of a
    // vertex or face line and kQuickLine bytes are left, with the same result as the stream
    // reading; stops before the first that does not.
    void QuickStatements(TextCursor& in);
    // Adds a face read on `statementLine`, which later faces take left-out indices from.
    void AddFace(const OBJFace& next, std::uint32_t statementLine, const TextCursor& in);
    // Makes room in `array` for one more element of `kind`, read at the cursor.
    template <typename Element>
    void MakeRoom(std::vector<Element>& array, Kind kind, const TextCursor& in);
    // The bytes the arrays take now, counting their spare room.
    std::uint64_t ArrayBytes() const;
    // Starts the reading of a file of `size` bytes.
    void Start(std::uint64_t size);
    // Reports the faces that cannot be drawn, once the arrays are complete.
    OBJReadResult Finish();

    void ReportUnreadable(TextCursor& in, std::string_view statement, std::uint32_t line);

    const std::string& fileName;
    const OBJReadOptions options;
    OBJModel model;
    std::vector<Problem> problems;
    std::uint32_t stopLine = 0;

    // The reading's state between blocks.
    OBJFace face;  // a corner that leaves out an index keeps the last face's
    std::uint32_t line = 1;
    bool stopped = false;
    UndrawableFaces undrawable;
    // Where the reading stands in the file, for foreseeing the arrays' sizes.
    std::uint64_t fileSize = 0;
    std::uint64_t blockStart = 0;
    const char* blockText = nullptr;
    ArrayForecast forecasts[kKinds];
};
