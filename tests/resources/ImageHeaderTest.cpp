#include "resources/internal/ImageHeader.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/ResourceException.h"

namespace {

// What Check throws for `header`, with no side limit; "" when it passes.
std::string Refusal(const ImageHeader& header) {
    try {
        header.Check("x", 0);
    } catch (const ResourceException& e) {
        return e.what();
    }
    return "";
}

// Headers can claim sizes whose byte counts pass 64 bits; none may wrap into a pass.
TEST(ImageHeader, HugeClaimsAreRefusedWithoutOverflow) {
    // 2^31 rows of 2^33 bytes: 2^64, which wraps to 0.
    const ImageHeader wraps{.width = 1ull << 31,
                            .height = 1ull << 31,
                            .bitsPerPixel = 32,
                            .expansion = 128,
                            .fileBytes = 100};
    EXPECT_EQ(Refusal(wraps),
              "The image file x claims 2147483648 x 2147483648 pixels, more than its 100 bytes "
              "could hold; it is damaged or not an image.");

    // Without a bound on the file, the pixel count alone: 2^32, which wraps to 0 in 32 bits.
    const ImageHeader square{.width = 16384, .height = 16384, .bitsPerPixel = 24};
    EXPECT_EQ(Refusal(square), "");
    for (const auto& [width, height] : {std::pair{65536ull, 65536ull}, {16384ull, 16385ull}}) {
        const ImageHeader over{.width = width, .height = height, .bitsPerPixel = 24};
        EXPECT_EQ(Refusal(over), "The image file x is " + std::to_string(width) + " x " +
                                     std::to_string(height) +
                                     " pixels, more than the 16384 x 16384 pixels the viewer "
                                     "decodes.");
    }
}

}  // namespace
