#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
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

}  // namespace
