#include "objects/internal/OBJReader.h"

#include <optional>

#include "objects/ModelFileError.h"
#include "objects/internal/GrowArray.h"
#include "objects/internal/OBJStatements.h"
#include "objects/internal/TextCursor.h"

OBJReader::OBJReader(const std::string& fileName, const OBJReadOptions& options)
    : fileName(fileName), options(options) {}

OBJReadResult OBJReader::Read(std::string_view text) {
    Start(text.size());
    ReadBlock(text, true);
    return Finish();
}

OBJReadResult OBJReader::Read(ByteSource& bytes, std::size_t blockSize) {
    Start(bytes.Size());
    bytes.ReadBlocks(blockSize, [&](std::string_view block, bool last) {
        const std::size_t used = ReadBlock(block, last);
        blockStart += used;
        return ByteSource::Taken{used, !stopped};
    });
    return Finish();
}

std::size_t OBJReader::ReadBlock(std::string_view text, bool last) {
    blockText = text.data();
    const float factor = options.factor;
    TextCursor in(text, line);
    TextCursor::Mark start = in.Here();
    // Whether the statement just read must wait for the next block.
    const auto unfinished = [&] {
        if (last || !in.ReachedEnd()) return false;
        in.Return(start);
        return true;
    };
    while (!stopped) {
        if (options.quickReading) QuickStatements(in);
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
                MakeRoom(model.positions, kPositions, in),
                    model.positions.push_back({p.x * factor, p.y * factor, p.z * factor});
        } else if (token == "vt") {
            TexCoord t;
            read = in.ReadFloat(t.u) && in.ReadFloat(t.v);
            if (unfinished()) break;
            if (read) MakeRoom(model.texCoords, kTexCoords, in), model.texCoords.push_back(t);
        } else if (token == "vn") {
            Vector3 n;
            read = in.ReadFloat(n.x) && in.ReadFloat(n.y) && in.ReadFloat(n.z);
            if (unfinished()) break;
            if (read) MakeRoom(model.normals, kNormals, in), model.normals.push_back(n);
        } else if (token == "f" && options.polygons) {
            OBJPolygon polygon{{},
                               statementLine,
                               model.positions.size(),
                               model.texCoords.size(),
                               model.normals.size()};
            read = ReadPolygon(in, polygon);
            if (unfinished()) break;
            if (read) model.polygons.push_back(std::move(polygon));
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

void OBJReader::QuickStatements(TextCursor& in) {
    const char* p = in.Data();
    const char* const end = p + in.Left();
    const float factor = options.factor;
    const bool faces = !options.polygons;
    std::uint32_t at = in.Line();  // the line at p
    OBJArraySizes sizes = model.Sizes();
    OBJFace last = face;  // kept here, where it need not be stored after every face
    // Grows a full array, with the cursor moved to the statement for the forecast and
    // for the message of a reading that cannot grow.
    const auto room = [&](auto& array, Kind kind) {
        if (array.size() < array.capacity()) [[likely]]
            return;
        in.Pass(p, at - in.Line());
        MakeRoom(array, kind, in);
    };
    while (end - p >= static_cast<std::ptrdiff_t>(kQuickLine)) {
        const char* q = p;
        // The line end that a statement read by the stream rules leaves behind.
        std::uint32_t statementLine = at;
        if (*q == '\r' && q[1] == '\n') ++q;
        if (*q == '\n') ++q, ++statementLine;
        float values[3];
        if (q[0] == 'f' && faces) {
            OBJFace next = last;
            if (!QuickFace(++q, end, next)) break;
            room(model.faces, kFaces);
            last = next;
            undrawable.Add(last, model.faces.size(), statementLine, sizes);
            model.faces.push_back(last);
        } else if (q[0] != 'v') {
            break;
        } else if (q[1] == ' ') {
            // The keyword is chosen by its second character before any reading: trying one
            // reading after another would move past characters of the keyword, and take
            // "vtn 0 0 1" for a normal.
            ++q;
            if (!QuickValues(q, values, 3)) break;
            room(model.positions, kPositions);
            model.positions.push_back({values[0] * factor, values[1] * factor, values[2] * factor});
            ++sizes.positions;
        } else if (q[1] == 't') {
            q += 2;
            if (!QuickValues(q, values, 2)) break;
            room(model.texCoords, kTexCoords);
            model.texCoords.push_back({values[0], values[1]});
            ++sizes.texCoords;
        } else if (q[1] == 'n') {
            q += 2;
            if (!QuickValues(q, values, 3)) break;
            room(model.normals, kNormals);
            model.normals.push_back({values[0], values[1], values[2]});
            ++sizes.normals;
        } else {
            break;
        }
        p = q;
        at = statementLine + 1;
    }
    face = last;
    in.Pass(p, at - in.Line());
}

void OBJReader::AddFace(const OBJFace& next, std::uint32_t statementLine, const TextCursor& in) {
    face = next;
    undrawable.Add(face, model.faces.size(), statementLine, model.Sizes());
    MakeRoom(model.faces, kFaces, in);
    model.faces.push_back(face);
}

template <typename Element>
void OBJReader::MakeRoom(std::vector<Element>& array, Kind kind, const TextCursor& in) {
    if (array.size() < array.capacity()) return;
    const std::uint64_t at = blockStart + static_cast<std::uint64_t>(in.Data() - blockText);
    const std::size_t least = ArrayForecast::Least(array.size());
    // Text can describe more than memory holds (a face of eight bytes takes 36): the
    // arrays never pass the limit, and a reading that needs more stops with a message
    // rather than let the system give out.
    const auto within = [&](std::size_t capacity) {
        return ArrayBytes() + (capacity - array.capacity()) * sizeof(Element) <= options.sizeLimit;
    };
    std::size_t capacity = forecasts[kind].Capacity(array.size(), at, fileSize);
    if (!within(capacity)) capacity = least;
    if (!within(capacity)) {
        // Placed at the object in Scene.xml, as a file too large to load is.
        throw ModelFileError(
            Problem::At(fileName, 0,
                        "The model file " + fileName +
                            " needs more memory than this machine has: its arrays would pass " +
                            std::to_string(options.sizeLimit) + " bytes at line " +
                            std::to_string(in.Line()) + "."));
    }
    GrowArray(array, capacity, least);
}

std::uint64_t OBJReader::ArrayBytes() const {
    return std::uint64_t{model.positions.capacity()} * sizeof(model.positions[0]) +
           std::uint64_t{model.texCoords.capacity()} * sizeof(model.texCoords[0]) +
           std::uint64_t{model.normals.capacity()} * sizeof(model.normals[0]) +
           std::uint64_t{model.faces.capacity()} * sizeof(model.faces[0]);
}

void OBJReader::Start(std::uint64_t size) {
    fileSize = size;
    blockStart = 0;
}

OBJReadResult OBJReader::Finish() {
    if (std::optional<Problem> found = undrawable.Report(model, fileName)) {
        problems.push_back(std::move(*found));
    }
    return {std::move(model), std::move(problems), stopLine};
}

void OBJReader::ReportUnreadable(TextCursor& in, std::string_view statement,
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
