#include <GL/glew.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "objects/RFileParser.h"
#include "objects/RGraphicObject.h"
#include "resources/Effect.h"
#include "support/GlTestContext.h"
#include "support/MeshFiles.h"

namespace {

GLint Integer(GLenum what) {
    GLint value = -1;
    glGetIntegerv(what, &value);
    return value;
}

std::uintptr_t Pointer(GLenum what) {
    void* pointer = reinterpret_cast<void*>(-1);
    glGetPointerv(what, &pointer);
    return reinterpret_cast<std::uintptr_t>(pointer);
}

template <typename Object = RenderableGraphicObject>
std::unique_ptr<Object> Make(const TestMesh& mesh) {
    auto object = std::make_unique<Object>();
    Tarnhold::RFileParser(*object, "mesh.r").ParseBuffer(RFileBytes(mesh));
    return object;
}

// A linked program that only passes the vertex through, so glUseProgram accepts it.
GLuint PassThroughProgram() {
    const GLuint program = glCreateProgram();
    const char* vertex = "#version 120\nvoid main() { gl_Position = ftransform(); }\n";
    const char* fragment = "#version 120\nvoid main() { gl_FragColor = vec4(1.0); }\n";
    for (const auto& [type, source] :
         {std::pair{GL_VERTEX_SHADER, vertex}, std::pair{GL_FRAGMENT_SHADER, fragment}}) {
        const GLuint shader = glCreateShader(type);
        glShaderSource(shader, 1, &source, nullptr);
        glCompileShader(shader);
        glAttachShader(program, shader);
        glDeleteShader(shader);
    }
    glLinkProgram(program);
    return program;
}

class RenderableGraphicObjectGl : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_GL(gl); }
    GlTestContext gl{16, 16};
};

TEST_F(RenderableGraphicObjectGl, PrepareUploadsTheVertexBytesAndTheDestructorDeletesThem) {
    for (const TestMesh& mesh : {Cube(2.0f), TestMesh{}}) {
        auto object = Make(mesh);
        object->Prepare();
        const GLuint buffer = object->vertexBuffer.Id();
        ASSERT_TRUE(buffer != 0 && glIsBuffer(buffer));
        GLint size = -1, usage = -1;
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
        glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_USAGE, &usage);
        EXPECT_EQ(size, GLint(mesh.vertices.size() * 36));
        EXPECT_EQ(usage, GL_STATIC_DRAW);
        std::vector<MeshVertex> stored(mesh.vertices.size());
        glGetBufferSubData(GL_ARRAY_BUFFER, 0, size, stored.data());
        // Not for the empty mesh: memcmp must not get its null data(), even for no bytes.
        if (!stored.empty()) {
            EXPECT_EQ(std::memcmp(stored.data(), mesh.vertices.data(), stored.size() * 36), 0);
        }
        // One never prepared has no buffer to delete and must leave the others alone.
        Make(mesh).reset();
        EXPECT_TRUE(glIsBuffer(buffer));
        object.reset();
        EXPECT_FALSE(glIsBuffer(buffer));
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(RenderableGraphicObjectGl, DrawLeavesTheBufferBoundAndTheThreeArraysSet) {
    const auto object = Make(Square(0, 0, 1, 1));
    object->Prepare();
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    object->Draw();
    EXPECT_EQ(Integer(GL_ARRAY_BUFFER_BINDING), GLint(object->vertexBuffer.Id()));
    EXPECT_EQ(Integer(GL_VERTEX_ARRAY_BUFFER_BINDING), GLint(object->vertexBuffer.Id()));
    EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_TRUE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_EQ(Integer(GL_VERTEX_ARRAY_STRIDE), 36);
    EXPECT_EQ(Integer(GL_NORMAL_ARRAY_STRIDE), 36);
    EXPECT_EQ(Integer(GL_TEXTURE_COORD_ARRAY_STRIDE), 36);
    EXPECT_EQ(Integer(GL_VERTEX_ARRAY_SIZE), 3);
    EXPECT_EQ(Integer(GL_TEXTURE_COORD_ARRAY_SIZE), 3);
    // Offsets into the buffer: position, normal, texture coordinate.
    EXPECT_EQ(Pointer(GL_VERTEX_ARRAY_POINTER), 0u);
    EXPECT_EQ(Pointer(GL_NORMAL_ARRAY_POINTER), 12u);
    EXPECT_EQ(Pointer(GL_TEXTURE_COORD_ARRAY_POINTER), 24u);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Starting from identity, the object leaves translate(position) * scale(scale.x) behind.
TEST_F(RenderableGraphicObjectGl, DrawAppliesTheEffectThenTranslatesThenScalesByX) {
    Effect effect;
    effect.program = PassThroughProgram();
    ASSERT_NE(effect.program, 0u);
    const auto object = Make<RGraphicObject>(Square(0, 0, 1, 1));
    object->Prepare();
    object->effect = &effect;
    object->position = {10.0f, 0.0f, 0.0f};
    object->scale = {2.0f, 5.0f, 7.0f};
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    object->Draw();
    EXPECT_EQ(Integer(GL_CURRENT_PROGRAM), GLint(effect.program));
    std::array<float, 16> modelview{};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview.data());
    // Column-major: the translation is in the last column and is not scaled.
    const std::array<float, 16> expected = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 10, 0, 0, 1};
    EXPECT_EQ(modelview, expected);
    glUseProgram(0);
    glDeleteProgram(effect.program);
}

// A unit square placed at (4, 6) and scaled by 3 covers exactly the pixels [4, 7) x [6, 9)
// of a one-unit-per-pixel frame; an empty mesh drawn as well adds nothing.
TEST_F(RenderableGraphicObjectGl, DrawnSquareCoversThePlacedPixels) {
    Effect fixedFunction;
    const auto object = Make<RGraphicObject>(Square(0, 0, 1, 1));
    object->Prepare();
    object->effect = &fixedFunction;
    object->position = {4.0f, 6.0f, 0.0f};
    object->scale = {3.0f, 0.5f, 9.0f};
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 16, 0, 16, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 0, 0);
    object->Draw();
    const auto empty = Make<RGraphicObject>(TestMesh{});
    empty->Prepare();
    empty->Draw();
    // One character per pixel, bottom row first: '#' red, '.' black, '?' anything else.
    const std::vector<std::uint8_t> pixels = gl.ReadPixels();
    std::string drawn, expected;
    for (int y = 0; y < 16; ++y, drawn += '\n', expected += '\n') {
        for (int x = 0; x < 16; ++x) {
            const std::uint8_t* rgb = &pixels[(y * 16 + x) * 4];
            drawn += rgb[1] || rgb[2] ? '?' : rgb[0] == 255 ? '#' : rgb[0] == 0 ? '.' : '?';
            expected += x >= 4 && x < 7 && y >= 6 && y < 9 ? '#' : '.';
        }
    }
    EXPECT_EQ(drawn, expected);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
