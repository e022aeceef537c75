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

// Faces read before the first texture coordinate are checked again once it comes, each
// still reported on its own line when the lines between them hold something else.
TEST(OBJModelReading, FacesBeforeTheTextureCoordinatesKeepTheirLines) {
    const std::string text =
        "v 0 0 0\nv 1 0 0\nv 0 1 0\nvn 0 0 1\n"  // lines 1 to 4
        "f 1/1/1 2/1/1 3/1/1\n# between\n\nf 1/1/1 2/1/1 3/1/1\nf 1/2/1 2/2/1 3/2/1\n"
        "vt 0 0\nf 1/1/1 2/1/1 3/1/1\n";
    const OBJReadResult read = ReadOBJModel(text, "m.obj", OBJReadOptions{});
    ASSERT_EQ(read.model.faces.size(), 4u);
    ASSERT_EQ(read.problems.size(), 1u);
    EXPECT_EQ(read.problems[0].line, 9);
    EXPECT_NE(read.problems[0].text.find("has 1 face with an index outside its arrays"),
              std::string::npos)
        << read.problems[0].text;
}

}  // namespace
