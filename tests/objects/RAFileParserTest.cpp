#include "objects/RAFileParser.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "factory/Creators.h"
#include "factory/FactoryException.h"
#include "objects/ModelFileError.h"
#include "objects/FileBytes.h"
#include "objects/FrameAnimatableRGO.h"
#include "objects/RAGraphicObject.h"
#include "scene/FileGraphicMemento.h"
#include "support/MeshFiles.h"
#include "support/ModelRoutes.h"
#include "support/TempFolder.h"
#include "support/Thrown.h"

namespace {

// 4 + 3 * 36 + 4 + 12 = 128 bytes as an R file.
TestMesh Triangle() {
    return {{Vertex(0, 0, 0), Vertex(1, 0, 0, 1), Vertex(0, 1, 0, 0, 1)}, {2, 0, 1}};
}

const std::vector<TranslationKey> kKeys = {{-250, 1.5f, -2, 3}, {4000, 0.125f, 7, -9.75f}};
// Words that only survive if copied as bits: a signalling NaN, a negative zero, all ones.
const std::vector<AuxKey> kAux = {{0, {0x7F800001u, 0x80000000u, 0xFFFFFFFFu, 1}},
                                  {10, {2, 3, 4, 5}},
                                  {-7, {0x3F800000u, 0, 0x12345678u, 0xDEADBEEFu}}};

std::string Word(std::uint32_t value) {
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8) bytes += char((value >> shift) & 0xFF);
    return bytes;
}

std::vector<std::uint8_t> Bytes(const void* data, std::size_t size) {
    const auto* first = static_cast<const std::uint8_t*>(data);
    return {first, first + size};
}

// Each case is read from memory, from a file and from a pipe.
class RAFileParserRoutes : public testing::TestWithParam<ModelRoute> {
protected:
    void Parse(FrameAnimatableRGO& target, const std::string& bytes) {
        ParseThrough(GetParam(), Tarnhold::RAFileParser(target, name), path, bytes);
    }

    TempFolder folder;
    const std::filesystem::path path = folder.Path() / "m.ra";
    const std::string name = path.string();
};

INSTANTIATE_TEST_SUITE_P(Sources, RAFileParserRoutes, testing::ValuesIn(kModelRoutes),
                         ModelRouteName);

TEST_P(RAFileParserRoutes, ReadsTheMeshAndBothTracksExactlyAndStartsAtTheFirstKey) {
    const TestMesh mesh = Triangle();
    for (const std::string& tail : {std::string(), Word(9) + "more"}) {
        FrameAnimatableRGO target;
        target.translationCursor = 5;
        Parse(target, RAFileBytes(mesh, kKeys, kAux) + tail);
        ASSERT_EQ(target.vertices.count, 3u);
        EXPECT_EQ(Bytes(target.vertices.data.get(), 3 * 36), Bytes(mesh.vertices.data(), 3 * 36));
        ASSERT_EQ(target.indices.count, 3u);
        EXPECT_EQ(Bytes(target.indices.data.get(), 12), Bytes(mesh.indices.data(), 12));
        ASSERT_EQ(target.translationTrack.count, 2u);
        EXPECT_EQ(Bytes(target.translationTrack.data.get(), 32), Bytes(kKeys.data(), 32));
        ASSERT_EQ(target.auxTrack.count, 3u);
        EXPECT_EQ(Bytes(target.auxTrack.data.get(), 60), Bytes(kAux.data(), 60));
        EXPECT_EQ(target.translationCursor, 0u);
    }
}

TEST_P(RAFileParserRoutes, AcceptsEmptyTracks) {
    FrameAnimatableRGO target;
    Parse(target, RAFileBytes(Triangle(), {}, {kAux[1]}));
    EXPECT_EQ(target.vertices.count, 3u);
    EXPECT_EQ(target.translationTrack.count, 0u);
    ASSERT_EQ(target.auxTrack.count, 1u);
    EXPECT_EQ(target.auxTrack.data[0].values[3], 5u);
}

TEST_P(RAFileParserRoutes, FilesCutShortNameTheFieldAndKeepTheTarget) {
    // Translation count at 128, keys at 132; second-track count at 164, keys at 168.
    const std::string whole = RAFileBytes(Triangle(), kKeys, kAux);
    ASSERT_EQ(whole.size(), 228u);
    const std::string r = RFileBytes(Triangle());
    const std::string cut = "The model file " + name + " is cut short: it ends at byte ";
    TestMesh badIndex = Triangle();
    badIndex.indices[2] = 3;
    const struct {
        std::string bytes, message;
    } cases[] = {
        {r, cut + "128, before the end of its translation key count (4 bytes from byte 128)."},
        {whole.substr(0, 130),
         cut + "130, before the end of its translation key count (4 bytes from byte 128)."},
        {whole.substr(0, 163),
         cut + "163, before the end of its 2 translation keys (32 bytes from byte 132)."},
        {RAFileBytes(Triangle(), {kKeys[0]}).substr(0, 147),
         cut + "147, before the end of its 1 translation key (16 bytes from byte 132)."},
        {whole.substr(0, 164),
         cut + "164, before the end of its second-track key count (4 bytes from byte 164)."},
        {whole.substr(0, 227),
         cut + "227, before the end of its 3 second-track keys (60 bytes from byte 168)."},
        {RAFileBytes(Triangle(), kKeys, {kAux[0]}).substr(0, 168),
         cut + "168, before the end of its 1 second-track key (20 bytes from byte 168)."},
        // Counts far beyond the file are reported, not allocated.
        {r + Word(0xFFFFFFFF),
         cut + "132, before the end of its 4294967295 translation keys (68719476720 bytes from "
               "byte 132)."},
        {r + Word(0) + Word(0xFFFFFFFF),
         cut + "136, before the end of its 4294967295 second-track keys (85899345900 bytes from "
               "byte 136)."},
        // An index out of range comes before the tracks, so it is reported first.
        {RAFileBytes(badIndex, kKeys).substr(0, 140),
         "The model file " + name +
             " has a vertex index out of range: 3 at byte 124, but the "
             "file has 3 vertices."},
    };
    for (const auto& damaged : cases) {
        FrameAnimatableRGO target;
        target.translationCursor = 5;
        EXPECT_EQ(MessageOf<ModelFileError>([&] { Parse(target, damaged.bytes); }),
                  damaged.message);
        EXPECT_EQ(target.vertices.count, 0u) << damaged.message;
        EXPECT_EQ(target.indices.count, 0u) << damaged.message;
        EXPECT_EQ(target.translationTrack.count, 0u) << damaged.message;
        EXPECT_EQ(target.auxTrack.count, 0u) << damaged.message;
        EXPECT_EQ(target.translationCursor, 5u) << damaged.message;
    }
}

// A file that shrinks after it was opened is cut short where it really ends, whichever
// array the read was filling, and nothing of it is kept.
TEST(RAFileParser, AFileThatShrinksWhileReadIsCutShortWhereItEnds) {
    TempFolder folder;
    const std::filesystem::path path = folder.Path() / "m.ra";
    const std::string cut = "The model file " + path.string() + " is cut short: it ends at byte ";
    const std::string indices =
        cut + "120, before the end of its 1 triangle (12 bytes from byte 116).";
    const struct {
        bool animated;
        std::uintmax_t size;
        std::string message;
    } cases[] = {
        {false, 120, indices},
        {true, 120, indices},  // found by the translation key count, but the indices come first
        {true, 200,
         cut + "200, before the end of its 3 second-track keys (60 bytes from byte 168)."},
    };
    for (const auto& shrunk : cases) {
        WriteRAFile(path, Triangle(), kKeys, kAux);
        FileBytes file(path.string());
        std::filesystem::resize_file(path, shrunk.size);
        FrameAnimatableRGO target;
        EXPECT_EQ(MessageOf<ModelFileError>([&] {
                      if (shrunk.animated) {
                          Tarnhold::RAFileParser(target, path.string()).ParseFrom(file);
                      } else {
                          Tarnhold::RFileParser(target, path.string()).ParseFrom(file);
                      }
                  }),
                  shrunk.message);
        EXPECT_EQ(target.vertices.count, 0u);
        EXPECT_EQ(target.indices.count, 0u);
        EXPECT_EQ(target.auxTrack.count, 0u);
    }
}

TEST(CreateRAGraphicObject, ReadsTheFileAndCopiesPositionAndScale) {
    TempFolder folder;
    FileGraphicMemento description;
    description.fileName = (folder.Path() / "tri.ra").string();
    description.position = {1.5f, -2.0f, 3.25f};
    description.scale = {4.0f, 5.0f, 6.0f};
    WriteRAFile(description.fileName, Triangle(), kKeys, kAux);
    const auto object = CreateRAGraphicObject(description);
    EXPECT_EQ(object->vertices.count, 3u);
    EXPECT_EQ(object->translationTrack.count, 2u);
    EXPECT_EQ(object->auxTrack.count, 3u);
    EXPECT_EQ(object->clock, nullptr);  // the factory gives it the scene's clock
    const Vector3 at = object->position, scale = object->scale;
    EXPECT_EQ(std::vector<float>({at.x, at.y, at.z}), std::vector<float>({1.5f, -2.0f, 3.25f}));
    EXPECT_EQ(std::vector<float>({scale.x, scale.y, scale.z}), std::vector<float>({4, 5, 6}));

    description.fileName = (folder.Path() / "gone.ra").string();
    EXPECT_EQ(MessageOf<FactoryException>([&] { CreateRAGraphicObject(description); }),
              "The model file " + description.fileName + " was not found.");
}

}  // namespace
