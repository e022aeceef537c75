// OBJ reading: the whole buffer at once against the same bytes handed in in small blocks, so
// that every statement a block's end cuts is read again whole, with the quick reading on or
// off, and with faces read as whole polygons.
//
// The first byte chooses the variant: bits 0-5 the block size less one (1 to 64 bytes),
// bit 6 turns the quick reading off for the block reading, bit 7 adds the polygon reading.
// The rest is the file.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzTargets.h"
#include "objects/MemoryBytes.h"
#include "objects/OBJModelReading.h"

namespace {

constexpr float kFactor = 0.1f;
const std::string kFileName = "fuzz.obj";

using Reading = OBJReadResult;

struct Variant {
    std::size_t blockSize = 0;  // 0: the whole buffer at once
    bool quick = true;
    bool polygons = false;
};

Reading Read(std::string_view text, const Variant& variant) {
    OBJReadOptions options;
    options.factor = kFactor;
    options.quickReading = variant.quick;
    options.polygons = variant.polygons;
    if (variant.blockSize == 0) return ReadOBJModel(text, kFileName, options);
    MemoryBytes bytes(text);
    return ReadOBJModel(bytes, variant.blockSize, kFileName, options);
}

std::string Describe(const Variant& variant) {
    return "blocks of " + std::to_string(variant.blockSize) + " bytes, quick reading " +
           (variant.quick ? "on" : "off") + (variant.polygons ? ", polygons" : "");
}

bool SameBits(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

bool SameVector(const Vector3& a, const Vector3& b) {
    return SameBits(a.x, b.x) && SameBits(a.y, b.y) && SameBits(a.z, b.z);
}

bool SameTexCoord(const TexCoord& a, const TexCoord& b) {
    return SameBits(a.u, b.u) && SameBits(a.v, b.v);
}

bool SameFace(const OBJFace& a, const OBJFace& b) {
    return std::equal(a.position, a.position + 3, b.position) &&
           std::equal(a.texCoord, a.texCoord + 3, b.texCoord) &&
           std::equal(a.normal, a.normal + 3, b.normal);
}

bool SamePolygon(const OBJPolygon& a, const OBJPolygon& b) {
    const auto sameCorner = [](const OBJPolygon::Corner& x, const OBJPolygon::Corner& y) {
        return x.position == y.position && x.texCoord == y.texCoord && x.normal == y.normal;
    };
    return a.line == b.line && a.positionsBefore == b.positionsBefore &&
           a.texCoordsBefore == b.texCoordsBefore && a.normalsBefore == b.normalsBefore &&
           std::equal(a.corners.begin(), a.corners.end(), b.corners.begin(), b.corners.end(),
                      sameCorner);
}

// Fails naming the array and the first element where `a` and `b` differ.
template <typename Element, typename Same>
void CheckSame(const std::vector<Element>& a, const std::vector<Element>& b, Same same,
               const char* what, const std::string& variant) {
    const auto [first, second] = std::mismatch(a.begin(), a.end(), b.begin(), b.end(), same);
    if (first == a.end() && second == b.end()) return;
    FuzzFail(std::string(what) + " differ when read in " + variant + ": " +
             std::to_string(a.size()) + " at once, " + std::to_string(b.size()) +
             " in blocks, first difference at element " + std::to_string(first - a.begin()));
}

void CheckSameReading(const Reading& whole, const Reading& blocks, const std::string& variant) {
    CheckSame(whole.model.positions, blocks.model.positions, SameVector, "positions", variant);
    CheckSame(whole.model.texCoords, blocks.model.texCoords, SameTexCoord, "texture coordinates",
              variant);
    CheckSame(whole.model.normals, blocks.model.normals, SameVector, "normals", variant);
    CheckSame(whole.model.faces, blocks.model.faces, SameFace, "faces", variant);
    CheckSame(whole.model.polygons, blocks.model.polygons, SamePolygon, "polygons", variant);
    CheckSame(whole.problems, blocks.problems, std::equal_to<>(), "problems", variant);
    FUZZ_CHECK(whole.stopLine == blocks.stopLine,
               "the stop line differs when read in " + variant + ": " +
                   std::to_string(whole.stopLine) + " at once, " + std::to_string(blocks.stopLine));
}

// What the problems must say of any reading of `text`.
void CheckProblems(std::string_view text, const Reading& reading, bool polygons) {
    const std::uint32_t lines =
        static_cast<std::uint32_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    std::size_t unreadable = 0, outside = 0;
    std::size_t reportedOutside = 0;
    for (const Problem& found : reading.problems) {
        const std::string& problem = found.text;
        if (problem.find("has an unreadable number") != std::string::npos) ++unreadable;
        if (const auto at = problem.find(" outside "); at != std::string::npos) {
            ++outside;
            // "The model file NAME has N face(s) with an index outside ..."
            const auto has = problem.rfind(" has ", at);
            FUZZ_CHECK(has != std::string::npos, "no count in the problem: " + problem);
            reportedOutside = std::strtoull(problem.c_str() + has + 5, nullptr, 10);
        }
    }
    FUZZ_CHECK(unreadable <= 1 && outside <= 1 && reading.problems.size() == unreadable + outside,
               "unexpected problems: " + std::to_string(reading.problems.size()));
    FUZZ_CHECK(
        (reading.stopLine != 0) == (unreadable == 1),
        "the stop line " + std::to_string(reading.stopLine) +
            " does not go with the unreadable-number problems: " + std::to_string(unreadable));
    FUZZ_CHECK(reading.stopLine <= lines, "the stop line " + std::to_string(reading.stopLine) +
                                              " is beyond the text's " + std::to_string(lines) +
                                              " lines");

    if (polygons) {
        FUZZ_CHECK(reading.model.faces.empty(), "faces were kept while reading polygons");
        for (const OBJPolygon& polygon : reading.model.polygons) {
            FUZZ_CHECK(polygon.line >= 1 && polygon.line <= lines,
                       "a polygon on line " + std::to_string(polygon.line));
        }
        return;
    }
    // Every face that cannot be drawn is counted in the one problem about them.
    const auto undrawable = static_cast<std::size_t>(
        std::count_if(reading.model.faces.begin(), reading.model.faces.end(),
                      [&](const OBJFace& face) { return !reading.model.Drawable(face); }));
    FUZZ_CHECK(reportedOutside == undrawable,
               std::to_string(undrawable) + " faces cannot be drawn but the problems report " +
                   std::to_string(reportedOutside));
}

}  // namespace

int FuzzObj(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t options = size > 0 ? data[0] : 0;
    const std::string_view text =
        size > 0 ? std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1)
                 : std::string_view();
    Variant blocks;
    blocks.blockSize = (options & 0x3Fu) + 1;
    blocks.quick = (options & 0x40u) == 0;

    const Reading whole = Read(text, Variant{});
    CheckProblems(text, whole, false);
    CheckSameReading(whole, Read(text, blocks), Describe(blocks));

    if (options & 0x80u) {
        Variant polygons;
        polygons.polygons = true;
        blocks.polygons = true;
        const Reading wholePolygons = Read(text, polygons);
        CheckProblems(text, wholePolygons, true);
        CheckSameReading(wholePolygons, Read(text, blocks), Describe(blocks));
    }
    return 0;
}
