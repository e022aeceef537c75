#include "objects/RAFileParser.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "factory/FactoryException.h"
#include "objects/FrameAnimatableRGO.h"
#include "objects/RAGraphicObject.h"
#include "scene/FileGraphicMemento.h"
#include "support/MeshFiles.h"
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

TEST(RAFileParser, ReadsTheMeshAndBothTracksExactlyAndStartsAtTheFirstKey) {
    const TestMesh mesh = Triangle();
    for (const std::string& tail : {std::string(), Word(9) + "more"}) {
        FrameAnimatableRGO target;
        target.translationCursor = 5;
        Tarnhold::RAFileParser(target, "m.ra").ParseBuffer(RAFileBytes(mesh, kKeys, kAux) + tail);
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

TEST(RAFileParser, AcceptsEmptyTracks) {
    FrameAnimatableRGO target;
    Tarnhold::RAFileParser(target, "m.ra").ParseBuffer(RAFileBytes(Triangle(), {}, {kAux[1]}));
    EXPECT_EQ(target.vertices.count, 3u);
    EXPECT_EQ(target.translationTrack.count, 0u);
    ASSERT_EQ(target.auxTrack.count, 1u);
    EXPECT_EQ(target.auxTrack.data[0].values[3], 5u);
}

TEST(RAFileParser, FilesCutShortNameTheFieldAndKeepTheTarget) {
    // Translation count at 128, keys at 132; second-track count at 164, keys at 168.
    const std::string whole = RAFileBytes(Triangle(), kKeys, kAux);
    ASSERT_EQ(whole.size(), 228u);
    const std::string r = RFileBytes(Triangle());
    const std::string cut = "The model file m.ra is cut short: it ends at byte ";
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
    };
    for (const auto& damaged : cases) {
        FrameAnimatableRGO target;
        target.translationCursor = 5;
        EXPECT_EQ(MessageOf<FactoryException>(
                      [&] { Tarnhold::RAFileParser(target, "m.ra").ParseBuffer(damaged.bytes); }),
                  damaged.message);
        EXPECT_EQ(target.vertices.count, 0u) << damaged.message;
        EXPECT_EQ(target.indices.count, 0u) << damaged.message;
        EXPECT_EQ(target.translationTrack.count, 0u) << damaged.message;
        EXPECT_EQ(target.auxTrack.count, 0u) << damaged.message;
        EXPECT_EQ(target.translationCursor, 5u) << damaged.message;
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
