// A model file larger than the machine's memory, or one whose text would make arrays
// larger than it, is refused with a message naming the file, before the memory is taken;
// the target keeps what it had.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/SizeLimit.h"
#include "objects/ModelFileError.h"
#include "objects/FrameAnimatableRGO.h"
#include "objects/OBJFileParser.h"
#include "objects/OBJGraphicObject.h"
#include "objects/RAFileParser.h"
#include "objects/RFileParser.h"
#include "objects/RGraphicObject.h"
#include "support/MeshFiles.h"
#include "support/TempFolder.h"
#include "support/Thrown.h"

namespace {

// A sparse file of `size` bytes that starts with `head`: it takes no disk space, but
// claims more bytes than the machine has memory.
std::string SparseFile(const std::filesystem::path& path, const std::string& head,
                       std::uint64_t size) {
    std::ofstream(path, std::ios::binary) << head;
    std::filesystem::resize_file(path, size);
    return path.string();
}

std::string TooLarge(const std::string& path, std::uint64_t size) {
    return "The model file " + path + " is too large: it is " + std::to_string(size) +
           " bytes long, more than this machine's memory of " + std::to_string(FileSizeLimit()) +
           " bytes. It is not read.";
}

class HugeModelFile : public ::testing::Test {
protected:
    TempFolder folder;
    const std::uint64_t huge = FileSizeLimit() + 1;
};

TEST_F(HugeModelFile, AnRFileWhoseCountsFitItsHugeSizeIsRefusedUnread) {
    // The counts are honest for the file's size: only its size is the problem.
    const std::uint32_t vertices = static_cast<std::uint32_t>(
        std::min<std::uint64_t>((huge - 8) / sizeof(MeshVertex), UINT32_MAX));
    const std::string path =
        SparseFile(folder.Path() / "huge.r", RawRFileBytes(vertices, {}, 0, {}), huge);
    RGraphicObject target;
    EXPECT_EQ(MessageOf<ModelFileError>([&] { Tarnhold::RFileParser(target, path).Parse(); }),
              TooLarge(path, huge));
    EXPECT_EQ(target.vertices.count, 0u);
}

TEST_F(HugeModelFile, AnRAFileIsRefusedAlike) {
    const std::string path =
        SparseFile(folder.Path() / "huge.ra", RawRFileBytes(0, {}, 0, {}), huge);
    FrameAnimatableRGO target;
    EXPECT_EQ(MessageOf<ModelFileError>([&] { Tarnhold::RAFileParser(target, path).Parse(); }),
              TooLarge(path, huge));
    EXPECT_EQ(target.translationTrack.count, 0u);
}

TEST_F(HugeModelFile, AnObjFileIsRefusedUnread) {
    const std::string path = SparseFile(folder.Path() / "huge.obj", "v 1 2 3\n", huge);
    OBJGraphicObject target;
    EXPECT_EQ(MessageOf<ModelFileError>([&] { OBJFileParser(target, path).Parse(1.0f); }),
              TooLarge(path, huge));
    EXPECT_TRUE(target.positions.empty());
}

TEST_F(HugeModelFile, ObjTextWhoseArraysWouldPassTheLimitStopsWithTheLine) {
    // Eight bytes of text per face, 36 bytes of array: 8,000 faces need about 300 KB.
    std::string text;
    for (int i = 0; i < 8000; ++i) text += "f 1 1 1\n";
    const std::string path = (folder.Path() / "faces.obj").string();
    std::ofstream(path, std::ios::binary) << text;

    OBJGraphicObject target;
    OBJFileParser parser(target, path);
    parser.SetSizeLimit(128 * 1024);
    const std::string message = MessageOf<ModelFileError>([&] { parser.Parse(1.0f); });
    EXPECT_EQ(message.rfind("The model file " + path +
                                " needs more memory than this machine has: its arrays would "
                                "pass 131072 bytes at line ",
                            0),
              0u)
        << message;
    EXPECT_LE(target.faces.capacity() * sizeof(OBJFace), 128u * 1024);

    // With room enough, the same file reads whole.
    OBJGraphicObject whole;
    OBJFileParser enough(whole, path);
    enough.SetSizeLimit(1024 * 1024);
    enough.Parse(1.0f);
    EXPECT_EQ(whole.faces.size(), 8000u);
}

}  // namespace
