#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "resources/ResourceException.h"
#include "resources/Texture.h"
#include "support/GlTestContext.h"
#include "support/TempFolder.h"
#include "support/TestImages.h"

namespace {

// A different colour for every pixel of a small image.
Rgb Distinct(int x, int y) {
    return {std::uint8_t(10 + 40 * x), std::uint8_t(20 + 70 * y),
            std::uint8_t(3 + 11 * x + 55 * y)};
}

GLint Level0(GLenum parameter) {
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, parameter, &value);
    return value;
}

// The bound texture's level 0 read back in `format`, tightly packed, bottom row first.
std::vector<std::uint8_t> BoundTexels(GLenum format = GL_RGB) {
    std::vector<std::uint8_t> texels(Level0(GL_TEXTURE_WIDTH) * Level0(GL_TEXTURE_HEIGHT) *
                                     (format == GL_RGB ? 3 : 4));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

// Compares every texel of the bound texture, read as RGB, with `expected`.
void ExpectTexels(int width, int height, const std::function<Rgb(int, int)>& expected) {
    ASSERT_EQ(Level0(GL_TEXTURE_WIDTH), width);
    ASSERT_EQ(Level0(GL_TEXTURE_HEIGHT), height);
    const std::vector<std::uint8_t> texels = BoundTexels();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* t = &texels[3 * (y * width + x)];
            EXPECT_EQ((Rgb{t[0], t[1], t[2]}), expected(x, y)) << "texel " << x << "," << y;
        }
    }
}

std::set<GLuint> LiveTextures() {
    std::set<GLuint> live;
    for (GLuint name = 1; name <= 64; ++name) {
        if (glIsTexture(name)) live.insert(name);
    }
    return live;
}

// What LoadTexture throws for `path`, with the driver's limit or the one given.
template <typename... Limit>
std::string Failure(const std::string& path, Limit... limit) {
    try {
        LoadTexture(path, limit...);
    } catch (const ResourceException& e) {
        return e.what();
    }
    return "no exception";
}

// A GIF whose first frame claims `width` x `height` pixels but whose data holds one.
std::string ClaimingGif(std::uint16_t width, std::uint16_t height) {
    const auto word = [](std::uint16_t value) {
        return std::string{char(value), char(value >> 8)};
    };
    return "GIF89a" + word(width) + word(height) + std::string("\x80\0\0\0\0\0\xff\xff\xff", 9) +
           "\x2c" + word(0) + word(0) + word(width) + word(height) +
           // No local palette; codes of 2 + 1 bits: clear, pixel 0, end.
           std::string("\0\x02\x02\x44\x01\0\x3b", 7);
}

// A 32-bit run-length TGA of one colour: packets of 128 pixels, the format's best.
std::string FlatRleTarga(std::uint16_t width, std::uint16_t height) {
    const auto word = [](std::uint16_t value) {
        return std::string{char(value), char(value >> 8)};
    };
    std::string bytes =
        std::string("\0\0\x0a\0\0\0\0\0\0\0\0\0", 12) + word(width) + word(height) + "\x20\x08";
    for (int i = 0; i < width * height / 128; ++i) bytes += "\xff\x40\x80\xc0\xff";
    return bytes;
}

class TextureGl : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_GL(gl); }
    std::string File(const std::string& name) const { return (folder.Path() / name).string(); }

    GlTestContext gl{16, 16};
    TempFolder folder;
};

// Rows of an odd width are padded in the file's memory; a skew would show from row 1 on.
TEST_F(TextureGl, OddWidthImageArrivesTexelForTexelBoundAndLinear) {
    for (const std::string name : {"rgb.png", "rgb.bmp"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(WriteRgbImage(File(name), 5, 3, Distinct));
        auto texture = LoadTexture(File(name));
        GLint bound = 0, minFilter = 0, magFilter = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        ASSERT_EQ(GLuint(bound), texture->id.Id());
        ExpectTexels(5, 3, Distinct);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
        EXPECT_EQ(minFilter, GL_LINEAR);
        EXPECT_EQ(magFilter, GL_LINEAR);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

        const GLuint id = texture->id.Id();
        texture.reset();
        EXPECT_FALSE(glIsTexture(id)) << "the texture outlived its owner";
    }
}

TEST_F(TextureGl, AlphaIsDroppedAndTheTextureIsOpaqueRgb) {
    const auto alpha = [](int x, int y) { return std::uint8_t((x + y) % 2 ? 0 : 255); };
    ASSERT_TRUE(WriteRgbaImage(File("alpha.png"), 6, 2, Distinct, alpha));
    ASSERT_EQ(DescribeImage(File("alpha.png")).bitsPerPixel, 32u);

    const auto texture = LoadTexture(File("alpha.png"));
    const GLint internal = Level0(GL_TEXTURE_INTERNAL_FORMAT);
    EXPECT_TRUE(internal == GL_RGB || internal == GL_RGB8) << std::hex << internal;
    EXPECT_EQ(Level0(GL_TEXTURE_ALPHA_SIZE), 0);
    const std::vector<std::uint8_t> rgba = BoundTexels(GL_RGBA);
    for (std::size_t i = 0; i < 6 * 2; ++i) EXPECT_EQ(rgba[4 * i + 3], 255) << "texel " << i;
    ExpectTexels(6, 2, Distinct);
}

TEST_F(TextureGl, GreyAndPaletteImagesArriveAsTheirColours) {
    const auto level = [](int x, int y) { return std::uint8_t(12 * x + 80 * y + 9); };
    const std::vector<Rgb> palette{{250, 10, 40}, {5, 200, 90}, {60, 70, 240}, {255, 255, 0}};
    const auto index = [](int x, int y) { return std::uint8_t((x + 2 * y) % 4); };
    for (const std::string type : {".png", ".bmp"}) {
        SCOPED_TRACE(type);
        const std::string grey = File("grey" + type), coloured = File("palette" + type);
        ASSERT_TRUE(WritePaletteImage(grey, 7, 3, GreyPalette(), level));
        ASSERT_TRUE(WritePaletteImage(coloured, 7, 3, palette, index));
        ASSERT_EQ(DescribeImage(grey).bitsPerPixel, 8u);
        ASSERT_TRUE(DescribeImage(grey).greyscale);
        ASSERT_EQ(DescribeImage(coloured).bitsPerPixel, 8u);
        ASSERT_FALSE(DescribeImage(coloured).greyscale);

        const auto greyTexture = LoadTexture(grey);
        ExpectTexels(7, 3, [&](int x, int y) {
            return Rgb{level(x, y), level(x, y), level(x, y)};
        });
        const auto colouredTexture = LoadTexture(coloured);
        ExpectTexels(7, 3, [&](int x, int y) { return palette[index(x, y)]; });
    }
}

// Each failure must say why, and must neither leave a texture behind nor change the binding.
TEST_F(TextureGl, UnusableFilesThrowTheirReasonWithoutMakingATexture) {
    const std::string missing = File("missing.png"), text = File("notes.png");
    const std::string directory = File("folder.bmp");
    ASSERT_TRUE(WriteBytes(text, "These are notes, not a picture.\n"));
    std::filesystem::create_directory(directory);
    GLuint existing = 0;
    glGenTextures(1, &existing);
    glBindTexture(GL_TEXTURE_2D, existing);
    const std::set<GLuint> before = LiveTextures();

    const auto failure = [](const std::string& path) -> std::string {
        try {
            LoadTexture(path);
        } catch (const ResourceException& e) {
            return e.what();
        }
        return "no exception";
    };
    EXPECT_EQ(failure(missing), "The image file " + missing + " was not found.");
    EXPECT_EQ(failure(text), "The image file " + text + " is not in a known image format.");
    const std::string unreadable = failure(directory);
    EXPECT_EQ(unreadable.rfind("The image file " + directory + " could not be read", 0), 0u)
        << unreadable;
    EXPECT_NE(unreadable.find(std::strerror(EISDIR)), std::string::npos) << unreadable;

    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), existing);
    EXPECT_EQ(LiveTextures(), before);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Refused images make no texture; the limit is the driver's unless one is given. A GIF's
// size is known only once decoded, and is checked then.
TEST_F(TextureGl, ImagesWiderOrTallerThanTheLimitAreRefusedWithoutATexture) {
    GLint driverLimit = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &driverLimit);
    ASSERT_GE(driverLimit, 64);
    const auto over = std::uint32_t(driverLimit) + 1;
    const std::string wide = File("wide.png"), tall = File("tall.gif"), square = File("square.png");
    const std::string overDriver = File("overdriver.png");
    ASSERT_TRUE(WriteRgbImage(wide, 9, 4, Distinct));
    ASSERT_TRUE(WritePaletteImage(tall, 4, 9, GreyPalette(), [](int, int) { return 7; }));
    ASSERT_TRUE(WriteRgbImage(square, 8, 8, Distinct));
    ASSERT_TRUE(WriteBytes(overDriver, PngBytes(over, 1, 8, 2, std::string(1 + 3 * over, '\0'))));
    const std::set<GLuint> before = LiveTextures();

    const auto refusal = [](const std::string& path, const std::string& size, GLint limit) {
        return "The image file " + path + " is " + size +
               " pixels, larger than this OpenGL driver's limit of " + std::to_string(limit) +
               " pixels on a side (GL_MAX_TEXTURE_SIZE).";
    };
    EXPECT_EQ(Failure(wide, 8), refusal(wide, "9 x 4", 8));
    EXPECT_EQ(Failure(tall, 8), refusal(tall, "4 x 9", 8));
    EXPECT_EQ(Failure(overDriver), refusal(overDriver, std::to_string(over) + " x 1", driverLimit));
    EXPECT_EQ(LiveTextures(), before);

    const auto texture = LoadTexture(square, 8);
    ExpectTexels(8, 8, Distinct);
}

// A header that claims more pixels than its file could hold is refused unread: decoding
// would have said "could not be read as PNG (...)" after allocating 1.2 GB. The library
// decodes a GIF like this one as though whole; its first frame's own header is read before
// that, so one cut short after it is refused rather than failing to decode.
TEST_F(TextureGl, ImagesClaimingMorePixelsThanTheirFileHoldsAreRefused) {
    const std::string png = File("huge.png"), gif = File("huge.gif"), cut = File("cut.gif");
    ASSERT_TRUE(WriteBytes(png, PngBytes(20000, 20000, 8, 2, "")));
    ASSERT_TRUE(WriteBytes(gif, ClaimingGif(4000, 3000)));
    ASSERT_TRUE(WriteBytes(cut, ClaimingGif(60000, 50000).substr(0, 29)));
    const std::set<GLuint> before = LiveTextures();

    const auto refusal = [](const std::string& path, const std::string& size) {
        return "The image file " + path + " claims " + size + " pixels, more than its " +
               std::to_string(std::filesystem::file_size(path)) +
               " bytes could hold; it is damaged or not an image.";
    };
    EXPECT_EQ(Failure(png), refusal(png, "20000 x 20000"));
    EXPECT_EQ(Failure(gif), refusal(gif, "4000 x 3000"));
    EXPECT_EQ(Failure(cut), refusal(cut, "60000 x 50000"));
    EXPECT_EQ(LiveTextures(), before);
}

// The most compressible valid files still load: a single colour deflates to within 1 %
// of deflate's bound, and grey with alpha counts at the 16 bits the file stores, not the 32
// the library widens it to; run-length TGA packets of 128 pixels.
TEST_F(TextureGl, TheMostCompressedValidImagesStillLoad) {
    const std::string png = File("flat.png"), tga = File("flat.tga");
    ASSERT_TRUE(
        WriteBytes(png, PngBytes(2048, 2048, 8, 4, std::string(2048 * (1 + 2 * 2048), '\0'))));
    ASSERT_TRUE(WriteBytes(tga, FlatRleTarga(512, 256)));
    for (const auto& [path, width, height] :
         {std::tuple{png, 2048, 2048}, std::tuple{tga, 512, 256}}) {
        SCOPED_TRACE(path);
        const auto texture = LoadTexture(path);
        EXPECT_EQ(Level0(GL_TEXTURE_WIDTH), width);
        EXPECT_EQ(Level0(GL_TEXTURE_HEIGHT), height);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
