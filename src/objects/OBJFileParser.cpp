#include "objects/OBJFileParser.h"

#include <sys/mman.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "common/FileError.h"
#include "common/ReadableFile.h"
#include "objects/ModelFileError.h"
#include "objects/OBJGraphicObject.h"
#include "objects/internal/QuickNumbers.h"
#include "objects/internal/TextCursor.h"

OBJFileParser::OBJFileParser(OBJGraphicObject& target, std::string fileName)
    : target(target), fileName(std::move(fileName)) {}

namespace {

// The capacity to grow an array of `count` elements to, when the first of them stood at
// byte `first` and the reading is at byte `at` of `size`: room for as many more as the
// rest of the file would hold if it held them as closely as the part read so far, and a
// little to spare; at least half as many again as now. So one or two steps reach the
// final size instead of twenty doublings, each a copy.
std::size_t Foreseen(std::size_t count, std::uint64_t first, std::uint64_t at, std::uint64_t size) {
    const std::size_t least = std::max<std::size_t>(count + count / 2, 1024);
    if (count == 0 || at <= first || size <= at) return least;
    // No statement is shorter than four bytes, whatever the average says.
    const std::uint64_t apart = std::max<std::uint64_t>((at - first) / count, 4);
    const std::uint64_t more = (size - at) / apart;
    return std::max<std::size_t>(least, count + more + more / 16);
}

// Grows `array` to `capacity`, or only to `least` where the system will not promise that
// much memory, with the new memory marked for huge pages, so that a model of millions of
// elements costs about a thousand page faults instead of tens of thousands.
template <typename Element>
void Grow(std::vector<Element>& array, std::size_t capacity, std::size_t least) {
    // The new block is advised before the elements are copied into it.
    std::vector<Element> larger;
    try {
        larger.reserve(capacity);
    } catch (const std::bad_alloc&) {
        capacity = least;
        larger.reserve(capacity);
    }
    constexpr std::uintptr_t kHuge = 2 << 20;
    const auto first = (reinterpret_cast<std::uintptr_t>(larger.data()) + kHuge - 1) & ~(kHuge - 1);
    const auto last = reinterpret_cast<std::uintptr_t>(larger.data() + capacity) & ~(kHuge - 1);
    // Only advice: where the system has no huge pages this changes nothing.
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    larger.insert(larger.end(), array.begin(), array.end());
    array.swap(larger);
}

// Reads `count` numbers, each after a single space, and the line end after them, as a
// vertex statement usually stands.
[[gnu::always_inline]] inline bool QuickValues(const char*& p, float* values, int count) {
    const char* q = p;
    for (int i = 0; i < count; ++i) {
        if (*q != ' ') return false;
        ++q;
        if (!QuickFloat(q, values[i])) return false;
    }
    if (*q == '\r') ++q;
    if (*q != '\n') return false;
    p = q + 1;
    return true;
}

// Reads three corners (p, p/t, p/t/n or p//n), each after a single space, and the rest of
// the line, as a face statement usually stands.
[[gnu::always_inline]] inline bool QuickFace(const char*& p, const char* end, OBJFace& face) {
    const char* q = p;
    for (int corner = 0; corner < 3; ++corner) {
        if (*q != ' ') return false;
        ++q;
        if (!QuickInt(q, face.position[corner])) return false;
        if (*q != '/') continue;
        ++q;
        // A texture index left out (p//n) keeps the last one, as in the stream reading.
        if (*q != '/' && !QuickInt(q, face.texCoord[corner])) return false;
        if (*q != '/') continue;
        ++q;
        if (!QuickInt(q, face.normal[corner])) return false;
    }
    // Like the stream reading, the character after the third corner is taken, and unless
    // it ends the line, the rest of the line is dropped.
    if (*q++ != '\n') {
        q = static_cast<const char*>(std::memchr(q, '\n', static_cast<std::size_t>(end - q)));
        if (!q) return false;
        ++q;
    }
    p = q;
    return true;
}

}  // namespace

void OBJFileParser::Parse(float factor) {
    try {
        ReadableFile file(fileName, sizeLimit);
        Start(file.KnownSize());
        std::vector<char> buffer(blockSize);
        std::size_t filled = 0;
        for (;;) {
            bool last = false;
            while (filled < buffer.size()) {
                const std::size_t got =
                    file.ReadSome(buffer.data() + filled, buffer.size() - filled);
                if (got == 0) {
                    last = true;
                    break;
                }
                filled += got;
            }
            // A file of unknown size (a pipe) is held to the limit as it is read.
            file.CheckTotal(blockStart + filled);
            const std::size_t used = ParseBlock({buffer.data(), filled}, last, factor);
            blockStart += used;
            if (last || stopped) break;
            // The statement left over goes to the front; a block it fills alone is too small.
            std::memmove(buffer.data(), buffer.data() + used, filled - used);
            filled -= used;
            if (filled == buffer.size()) buffer.resize(buffer.size() * 2);
        }
    } catch (const FileError& failure) {
        throw ModelFileError(
            Problem::At(fileName, 0, "The model file " + fileName + failure.Reason()));
    } catch (const std::bad_alloc&) {
        throw ModelFileError(Problem::At(
            fileName, 0,
            "The model file " + fileName + " needs more memory than this machine can give."));
    }
    Finish();
}

void OBJFileParser::ParseBuffer(std::string_view text, float factor) {
    Start(text.size());
    ParseBlock(text, true, factor);
    Finish();
}

std::size_t OBJFileParser::ParseBlock(std::string_view text, bool last, float factor) {
    blockText = text.data();
    TextCursor in(text, line);
    TextCursor::Mark start = in.Here();
    // Whether the statement just read must wait for the next block.
    const auto unfinished = [&] {
        if (last || !in.ReachedEnd()) return false;
        in.Return(start);
        return true;
    };
    while (!stopped) {
        if (quickReading && in.Left() >= kQuickLine && QuickStatement(in, factor)) continue;
        start = in.Here();
        const std::string_view token = in.Token();
        // As with a stream, a token that runs into the end of the file is not handled.
        if (in.AtEnd()) {
            unfinished();
            break;
        }
        const std::uint32_t statementLine = in.Line();
        bool read = true;
        if (token == "v") {
            Vector3 p;
            read = in.ReadFloat(p.x) && in.ReadFloat(p.y) && in.ReadFloat(p.z);
            if (unfinished()) break;
            if (read)
                MakeRoom(target.positions, kPositions, in),
                    target.positions.push_back({p.x * factor, p.y * factor, p.z * factor});
        } else if (token == "vt") {
            TexCoord t;
            read = in.ReadFloat(t.u) && in.ReadFloat(t.v);
            if (unfinished()) break;
            if (read) MakeRoom(target.texCoords, kTexCoords, in), target.texCoords.push_back(t);
        } else if (token == "vn") {
            Vector3 n;
            read = in.ReadFloat(n.x) && in.ReadFloat(n.y) && in.ReadFloat(n.z);
            if (unfinished()) break;
            if (read) MakeRoom(target.normals, kNormals, in), target.normals.push_back(n);
        } else if (token == "f" && keepPolygons) {
            OBJPolygon polygon{{},
                               statementLine,
                               target.positions.size(),
                               target.texCoords.size(),
                               target.normals.size()};
            read = ReadPolygon(in, polygon);
            if (unfinished()) break;
            if (read) polygons.push_back(std::move(polygon));
        } else if (token == "f") {
            OBJFace next = face;
            read = ReadFace(in, next);
            if (unfinished()) break;
            if (read) AddFace(next, statementLine, in);
        } else {
            in.SkipLine();
            if (unfinished()) break;
        }
        if (!read) {
            // What is shown of the unreadable text may itself run into the next block.
            in.Upcoming(kShown);
            if (unfinished()) break;
            ReportUnreadable(in, token, statementLine);
            stopped = true;
        }
    }
    line = in.Line();
    return static_cast<std::size_t>(in.Here().at - text.data());
}

bool OBJFileParser::QuickStatement(TextCursor& in, float factor) {
    const char* p = in.Data();
    const char* const end = p + in.Left();
    // The line end that a statement read by the stream rules leaves behind.
    std::uint32_t lines = 1;
    if (*p == '\r' && p[1] == '\n') ++p;
    if (*p == '\n') ++p, ++lines;
    float values[3];
    if (p[0] == 'f' && !keepPolygons) {
        OBJFace next = face;
        if (!QuickFace(++p, end, next)) return false;
        AddFace(next, in.Line() + lines - 1, in);
    } else if (p[0] != 'v') {
        return false;
    } else if (p[1] == ' ') {
        // The keyword is chosen by its second character before any reading: trying one
        // reading after another would move past characters of the keyword, and take
        // "vtn 0 0 1" for a normal.
        ++p;
        if (!QuickValues(p, values, 3)) return false;
        MakeRoom(target.positions, kPositions, in);
        target.positions.push_back({values[0] * factor, values[1] * factor, values[2] * factor});
    } else if (p[1] == 't') {
        p += 2;
        if (!QuickValues(p, values, 2)) return false;
        MakeRoom(target.texCoords, kTexCoords, in);
        target.texCoords.push_back({values[0], values[1]});
    } else if (p[1] == 'n') {
        p += 2;
        if (!QuickValues(p, values, 3)) return false;
        MakeRoom(target.normals, kNormals, in);
        target.normals.push_back({values[0], values[1], values[2]});
    } else {
        return false;
    }
    in.Pass(p, lines);
    return true;
}

void OBJFileParser::AddFace(const OBJFace& next, std::uint32_t statementLine,
                            const TextCursor& in) {
    face = next;
    const bool untextured = target.texCoords.empty();
    if (untextured) untexturedLines.push_back(statementLine);
    if (!SurelyDrawable(face, untextured)) pending.push_back({target.faces.size(), statementLine});
    MakeRoom(target.faces, kFaces, in);
    target.faces.push_back(face);
}

template <typename Element>
void OBJFileParser::MakeRoom(std::vector<Element>& array, Kind kind, const TextCursor& in) {
    if (array.size() < array.capacity()) return;
    const std::uint64_t at = blockStart + static_cast<std::uint64_t>(in.Data() - blockText);
    if (array.empty()) firstAt[kind] = at;
    const std::size_t count = array.size();
    const std::size_t least = std::max<std::size_t>(count + count / 2, 1024);
    // Text can describe more than memory holds (a face of eight bytes takes 36): the
    // arrays never pass the limit, and a reading that needs more stops with a message
    // rather than let the system give out.
    const auto within = [&](std::size_t capacity) {
        return ArrayBytes() + (capacity - array.capacity()) * sizeof(Element) <= sizeLimit;
    };
    std::size_t capacity = Foreseen(count, firstAt[kind], at, fileSize);
    if (!within(capacity)) capacity = least;
    if (!within(capacity)) {
        // Placed at the object in Scene.xml, as a file too large to load is.
        throw ModelFileError(Problem::At(
            fileName, 0,
            "The model file " + fileName +
                " needs more memory than this machine has: its arrays would pass " +
                std::to_string(sizeLimit) + " bytes at line " + std::to_string(in.Line()) + "."));
    }
    Grow(array, capacity, least);
}

std::uint64_t OBJFileParser::ArrayBytes() const {
    return std::uint64_t{target.positions.capacity()} * sizeof(target.positions[0]) +
           std::uint64_t{target.texCoords.capacity()} * sizeof(target.texCoords[0]) +
           std::uint64_t{target.normals.capacity()} * sizeof(target.normals[0]) +
           std::uint64_t{target.faces.capacity()} * sizeof(target.faces[0]);
}

bool OBJFileParser::SurelyDrawable(const OBJFace& face, bool untextured) const {
    // Unsigned, index - 1 is below the size exactly when 1 <= index <= size.
    const auto names = [](std::int32_t index, std::size_t size) {
        return static_cast<std::uint32_t>(index) - 1u < size;
    };
    const std::size_t positions = target.positions.size(), texCoords = target.texCoords.size(),
                      normals = target.normals.size();
    return names(face.position[0], positions) && names(face.position[1], positions) &&
           names(face.position[2], positions) && names(face.normal[0], normals) &&
           names(face.normal[1], normals) && names(face.normal[2], normals) &&
           (untextured ||
            (names(face.texCoord[0], texCoords) && names(face.texCoord[1], texCoords) &&
             names(face.texCoord[2], texCoords)));
}

void OBJFileParser::Start(std::uint64_t size) {
    fileSize = size;
    blockStart = 0;
    face = OBJFace{};
    line = 1;
    stopped = false;
    pending.clear();
    untexturedLines.clear();
    facesBefore = target.faces.size();
}

void OBJFileParser::Finish() {
    std::size_t count = 0;
    PendingFace first{};
    const auto check = [&](std::size_t index, std::uint32_t line) {
        if (target.Drawable(target.faces[index])) return;
        if (count++ == 0) first = {index, line};
    };
    // Faces read before the first texture coordinate come first in the file; they are
    // checked whole when texture coordinates followed, as then their texture indices count.
    const bool textured = !target.texCoords.empty();
    const std::size_t untexturedEnd = facesBefore + untexturedLines.size();
    if (textured) {
        for (std::size_t i = 0; i < untexturedLines.size(); ++i)
            check(facesBefore + i, untexturedLines[i]);
    }
    for (const PendingFace& face : pending) {
        if (!textured || face.index >= untexturedEnd) check(face.index, face.line);
    }
    pending.clear();
    untexturedLines.clear();
    if (count == 0) return;
    const std::string where = std::to_string(first.line);
    problems.push_back(Problem::At(
        fileName, static_cast<int>(first.line),
        "The model file " + fileName + " has " + std::to_string(count) +
            (count == 1
                 ? " face with an index outside its arrays, which is not drawn. It is on line " +
                       where
                 : " faces with an index outside their arrays, which are not drawn. The "
                   "first is on line " +
                       where) +
            ": " + target.IndexProblem(target.faces[first.index]) + "."));
}

std::vector<std::string> OBJFileParser::Problems() const {
    std::vector<std::string> texts;
    for (const Problem& problem : problems) texts.push_back(problem.text);
    return texts;
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

void OBJFileParser::ReportUnreadable(TextCursor& in, std::string_view statement,
                                     std::uint32_t statementLine) {
    stopLine = statementLine;
    const std::string_view found = in.Upcoming(kShown);
    problems.push_back(
        Problem::At(fileName, static_cast<int>(statementLine),
                    "The model file " + fileName + " has an unreadable number in the " +
                        std::string(statement) + " statement on line " +
                        std::to_string(statementLine) + ", at " +
                        (found.empty() ? std::string("the end of the file")
                                       : "\"" + std::string(found) + "\"") +
                        "; reading stopped there, and what came before it is kept."));
}
