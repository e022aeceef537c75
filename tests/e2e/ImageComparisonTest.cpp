// The picture tools the end-to-end tests judge the viewer with: if these were wrong, every
// screenshot comparison would be meaningless.

#include <gtest/gtest.h>

#include <fstream>

#include "ImageComparison.h"
#include "RgbImage.h"
#include "support/TempFolder.h"

namespace {

// Every sample different, and no two channels alike, so swapped channels or flipped rows
// show.
RgbImage Gradient(int width, int height) {
    RgbImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* pixel = image.At(x, y);
            pixel[0] = static_cast<std::uint8_t>(x * 7 + y);
            pixel[1] = static_cast<std::uint8_t>(y * 11 + 3);
            pixel[2] = static_cast<std::uint8_t>(x * y + 101);
        }
    }
    return image;
}

TEST(RgbImagePng, RoundTripKeepsEverySampleInPlace) {
    TempFolder folder;
    const RgbImage original = Gradient(37, 23);
    const std::string path = (folder.Path() / "gradient.png").string();

    ASSERT_TRUE(original.SavePng(path));
    const auto loaded = RgbImage::LoadPng(path);

    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->Width(), 37);
    EXPECT_EQ(loaded->Height(), 23);
    EXPECT_TRUE(*loaded == original);
    // The top left pixel of the file is the top left of the picture, channels in order.
    EXPECT_EQ(loaded->At(0, 0)[0], 0);
    EXPECT_EQ(loaded->At(0, 0)[1], 3);
    EXPECT_EQ(loaded->At(0, 0)[2], 101);
}

TEST(RgbImagePng, MissingOrBrokenFilesGiveNothing) {
    TempFolder folder;
    EXPECT_FALSE(RgbImage::LoadPng((folder.Path() / "missing.png").string()));

    const auto broken = folder.Path() / "broken.png";
    std::ofstream(broken) << "not a picture";
    EXPECT_FALSE(RgbImage::LoadPng(broken.string()));
}

TEST(ImageComparison, CountsPixelsBeyondTheChannelTolerance) {
    const RgbImage expected(10, 10);
    RgbImage actual = expected;
    actual.At(1, 1)[0] = 10;   // within a tolerance of 20
    actual.At(2, 2)[1] = 20;   // exactly at it
    actual.At(3, 3)[2] = 21;   // beyond it
    actual.At(9, 9)[1] = 200;  // far beyond it

    const ImageComparison strict(actual, expected, {20, 0.01});
    EXPECT_TRUE(strict.SameSize());
    EXPECT_EQ(strict.DifferentPixels(), 2u);
    EXPECT_DOUBLE_EQ(strict.DifferentFraction(), 0.02);
    EXPECT_EQ(strict.MaxChannelDifference(), 200);
    EXPECT_FALSE(strict.Matches());

    EXPECT_TRUE(ImageComparison(actual, expected, {20, 0.02}).Matches());
    EXPECT_TRUE(ImageComparison(actual, expected, {200, 0.0}).Matches());
    EXPECT_FALSE(ImageComparison(actual, expected, {199, 0.0}).Matches());
}

TEST(ImageComparison, IdenticalPicturesMatchWithoutTolerance) {
    const RgbImage picture = Gradient(16, 9);
    const ImageComparison comparison(picture, picture, {0, 0.0});
    EXPECT_TRUE(comparison.Matches());
    EXPECT_EQ(comparison.MaxChannelDifference(), 0);
}

TEST(ImageComparison, PicturesOfDifferentSizesNeverMatch) {
    const ImageComparison comparison(RgbImage(10, 10), RgbImage(10, 11), {255, 1.0});
    EXPECT_FALSE(comparison.SameSize());
    EXPECT_FALSE(comparison.Matches());
    EXPECT_NE(comparison.Describe().find("10x10"), std::string::npos);
}

}  // namespace
