// The seams of the model readers: the blocks a file is handed in, and the OBJ arrays'
// growth against the size limit.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "objects/FileBytes.h"
#include "objects/OBJModelReading.h"
#include "support/TempFolder.h"

namespace {

// A file that shrinks after it was opened is handed in up to where it really ends, every
// byte once and in order, and the block that reaches that end is the last.
TEST(ByteSourceBlocks, AFileThatShrinksWhileReadIsHandedInUpToWhereItEnds) {
    const TempFolder folder;
    const std::filesystem::path path = folder.Path() / "m.obj";
    std::string text;
    for (int i = 0; i < 20; ++i) text += "v " + std::to_string(i) + " 0 0\n";
    std::ofstream(path, std::ios::binary) << text;
    FileBytes file(path.string());
    std::filesystem::resize_file(path, 37);

    std::string handed;
    int lasts = 0;
    // Each block but the last leaves its final 3 bytes for the next one.
    file.ReadBlocks(8, [&](std::string_view block, bool last) {
        EXPECT_EQ(lasts, 0) << "a block after the last";
        lasts += last;
        const std::size_t used = last ? block.size() : block.size() - 3;
        handed += block.substr(0, used);
        return ByteSource::Taken{used, true};
    });
    EXPECT_EQ(handed, text.substr(0, 37));
    EXPECT_EQ(lasts, 1);
}

// The arrays are grown ahead of need, as far as the rest of the file suggests, but never
// past the size limit: a file that fits the limit is read whole within it.
TEST(OBJModelReading, ArraysGrowAheadButStayWithinTheSizeLimit) {
    std::string text;
    for (int i = 0; i < 8000; ++i) text += "f 1 1 1\n";
    OBJReadOptions options;
    options.sizeLimit = 300000;  // 8,000 faces take 288,000 bytes
    const OBJReadResult read = ReadOBJModel(text, "m.obj", options);
    EXPECT_EQ(read.model.faces.size(), 8000u);
    EXPECT_LE(read.model.faces.capacity() * sizeof(OBJFace), options.sizeLimit);
}

}  // namespace
