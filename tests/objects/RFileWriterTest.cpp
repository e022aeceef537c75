// Writing R and RA files: what the readers read back, and failures that say why.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "objects/FrameAnimatableRGO.h"
#include "objects/RAFileParser.h"
#include "objects/RFileWriter.h"
#include "support/MeshFiles.h"
#include "support/TempFolder.h"

namespace {

std::uint32_t WordAt(const std::string& bytes, std::size_t offset) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + offset);
    return b[0] | b[1] << 8 | b[2] << 16 | std::uint32_t{b[3]} << 24;
}

template <typename Record>
bool SameBytes(const Record* read, std::uint32_t count, const std::vector<Record>& expected) {
    return count == expected.size() &&
           (count == 0 || std::memcmp(read, expected.data(), count * sizeof(Record)) == 0);
}

TEST(RFileWriter, WritesWhatTheReadersReadBack) {
    const TestMesh mesh = Cube(3.0f);
    const std::vector<TranslationKey> keys = {{-5, 1, 2, 3}, {70, -0.5f, 0, 1e9f}};
    const std::vector<AuxKey> aux = {{9, {1, 0xFFFFFFFF, 3, 4}}};
    const std::string bytes = EncodeRAFile(mesh.vertices, mesh.indices, keys, aux);

    // Counts little-endian, just before their elements.
    ASSERT_EQ(bytes.size(), 4 + 24 * 36 + 4 + 36 * 4 + 4 + 2 * 16 + 4 + 20u);
    EXPECT_EQ(WordAt(bytes, 0), 24u);
    EXPECT_EQ(WordAt(bytes, 4 + 24 * 36), 12u);
    EXPECT_EQ(WordAt(bytes, 8 + 24 * 36 + 36 * 4), 2u);
    EXPECT_EQ(bytes.substr(0, 8 + 24 * 36 + 36 * 4), EncodeRFile(mesh.vertices, mesh.indices));

    FrameAnimatableRGO object;
    Tarnhold::RAFileParser(object, "m.ra").ParseBuffer(bytes);
    EXPECT_TRUE(SameBytes(object.vertices.data.get(), object.vertices.count, mesh.vertices));
    EXPECT_TRUE(SameBytes(object.indices.data.get(), object.indices.count, mesh.indices));
    EXPECT_TRUE(SameBytes(object.translationTrack.data.get(), object.translationTrack.count, keys));
    EXPECT_TRUE(SameBytes(object.auxTrack.data.get(), object.auxTrack.count, aux));

    const std::vector<std::uint32_t> partial = {0, 1};
    EXPECT_THROW(EncodeRFile(mesh.vertices, partial), std::invalid_argument);
}

TEST(RFileWriter, WritesTheFileOrSaysWhyNot) {
    TempFolder folder;
    const std::string path = (folder.Path() / "m.r").string();
    std::ofstream(path) << "an older and longer file";
    ASSERT_EQ(WriteModelFile(path, std::string("\0ab", 3)), "");
    std::ostringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();
    EXPECT_EQ(content.str(), std::string("\0ab", 3));

    const std::string missing = (folder.Path() / "no" / "m.r").string();
    EXPECT_EQ(WriteModelFile(missing, "x"),
              "cannot write " + missing + ": No such file or directory");
    // A device that is always full fails on writing, after the opening succeeded.
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_EQ(WriteModelFile("/dev/full", "x"),
                  "cannot write /dev/full: No space left on device");
    }
}

}  // namespace
