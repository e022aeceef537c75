#include <GL/glew.h>
#include <gtest/gtest.h>

#include <utility>

#include "gl/GlBuffer.h"
#include "gl/GlDisplayList.h"
#include "gl/GlProgram.h"
#include "gl/GlShader.h"
#include "gl/GlTexture.h"
#include "support/GlTestContext.h"

namespace {

// Makes two handles with `make`, moves the first into the second through a third, and
// checks with `alive` (the kind's glIs*) that each name lives until its last holder lets go.
template <typename Make, typename Alive>
void ExpectOwnership(const char* kind, Make make, Alive alive) {
    SCOPED_TRACE(kind);
    auto first = make(), second = make();
    const GLuint kept = first.Id(), replaced = second.Id();
    ASSERT_TRUE(kept != 0 && alive(kept) && alive(replaced));
    auto moved(std::move(first));
    first.Release();
    EXPECT_EQ(first.Id(), 0u);
    EXPECT_TRUE(alive(kept));
    second = std::move(moved);
    EXPECT_FALSE(alive(replaced));
    EXPECT_EQ(moved.Id(), 0u);
    EXPECT_EQ(second.Id(), kept);
    EXPECT_TRUE(alive(kept));
    second.Release();
    EXPECT_EQ(second.Id(), 0u);
    EXPECT_FALSE(alive(kept));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(GlObjectGl, EveryKindDeletesItsNameWhenItsLastHolderLetsGo) {
    GlTestContext gl{16, 16};
    REQUIRE_GL(gl);
    // Buffer and texture names become objects only once bound.
    ExpectOwnership(
        "buffer",
        [] {
            auto buffer = GlBuffer::Create();
            glBindBuffer(GL_ARRAY_BUFFER, buffer.Id());
            return buffer;
        },
        glIsBuffer);
    ExpectOwnership(
        "texture",
        [] {
            auto texture = GlTexture::Create();
            glBindTexture(GL_TEXTURE_2D, texture.Id());
            return texture;
        },
        glIsTexture);
    ExpectOwnership(
        "shader", [] { return GlShader::Create(GL_FRAGMENT_SHADER); }, glIsShader);
    ExpectOwnership(
        "program", [] { return GlProgram::Create(); }, glIsProgram);
    ExpectOwnership(
        "display list", [] { return GlDisplayList::Create(); }, glIsList);
}

}  // namespace
