#include <GL/glew.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "objects/OBJFileParser.h"
#include "objects/OBJGraphicObject.h"
#include "support/GlTestContext.h"

namespace {

std::unique_ptr<OBJGraphicObject> Make(std::string_view text) {
    auto object = std::make_unique<OBJGraphicObject>();
    OBJFileParser(*object, "m.obj").ParseBuffer(text, 1.0f);
    return object;
}

std::string Number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", std::round(value * 1000.0f) / 1000.0f + 0.0f);
    return text;
}

// Runs `draw` in feedback mode and describes each triangle that comes out as its corners
// "(x y z light s t)": the eye position (undoing the projection set up below), the light
// the corner's normal receives, which is the normal's z, and the texture coordinate.
std::vector<std::string> Triangles(const std::function<void()>& draw) {
    std::vector<GLfloat> values(4096);
    glFeedbackBuffer(GLsizei(values.size()), GL_3D_COLOR_TEXTURE, values.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<std::string> triangles;
    for (GLint i = 0; i < used;) {
        if (values[i] != GL_POLYGON_TOKEN) return {"unexpected token " + Number(values[i])};
        int corners = int(values[i + 1]);
        std::string triangle;
        for (i += 2; corners-- > 0; i += 11) {
            const GLfloat* v = &values[i];  // x y z, r g b a, s t r q
            triangle += "(" + Number(v[0]) + " " + Number(v[1]) + " " + Number(10 - 20 * v[2]) +
                        " " + Number(v[3]) + " " + Number(v[7]) + " " + Number(v[8]) + ")";
        }
        triangles.push_back(triangle);
    }
    return triangles;
}

std::vector<std::string> Listed(GLuint list) {
    return Triangles([list] { glCallList(list); });
}

class OBJGraphicObjectGl : public ::testing::Test {
protected:
    // One unit per pixel in x and y, eye z from -10 to 10; one white light along +z, so a
    // unit normal's z is the light its corner gets.
    void SetUp() override {
        REQUIRE_GL(gl);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 16, 0, 16, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        const GLfloat direction[] = {0, 0, 1, 0}, white[] = {1, 1, 1, 1}, black[] = {0, 0, 0, 1};
        glLightfv(GL_LIGHT0, GL_POSITION, direction);
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, black);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
        glEnable(GL_LIGHT0);
        glEnable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
    }
    GlTestContext gl{16, 16};
};

// Four positions, normals lit 1, 0.8 and 0.6, and three texture coordinates.
const std::string arrays =
    "v 1 2 3\nv 5 2 -1\nv 1 6 0.5\nv 9 9 9\n"
    "vn 0 0 1\nvn 0.6 0 0.8\nvn 0 0.8 0.6\n";
const std::string textures = "vt 0.25 0.5\nvt 0.75 0\nvt 1 0.125\n";

TEST_F(OBJGraphicObjectGl, PrepareListsEachDrawableFaceWithItsTextureNormalAndPosition) {
    const auto object = Make(arrays + textures +
                             "f 1/3/2 2/1/3 3/2/1\n"
                             "f 4/1/1 1/1/1 0/1/1\n"  // position 0: left out
                             "f 3/2/3 4/3/2 2/1/1\n"
                             "f 1/1/1 2/2/2 3/3/4\n"  // no fourth normal: left out
                             "f 2/2/2 3/3/3 4/1/1\n");
    object->Prepare();
    ASSERT_TRUE(object->displayList.Id() != 0 && glIsList(object->displayList.Id()));
    EXPECT_EQ(Listed(object->displayList.Id()),
              (std::vector<std::string>{
                  "(1 2 3 0.8 1 0.125)(5 2 -1 0.6 0.25 0.5)(1 6 0.5 1 0.75 0)",
                  "(1 6 0.5 0.6 0.75 0)(9 9 9 0.8 1 0.125)(5 2 -1 1 0.25 0.5)",
                  "(5 2 -1 0.8 0.75 0)(1 6 0.5 0.6 1 0.125)(9 9 9 1 0.25 0.5)",
              }));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Without texture coordinates in the file the list sets none, so the current one stays,
// and faces need no texture index.
TEST_F(OBJGraphicObjectGl, AModelWithoutTextureCoordinatesLeavesTheCurrentOne) {
    const auto object = Make(arrays + "f 1//1 2//1 3//1\nf 4/9/2 1/0/2 2/-1/3\n");
    glTexCoord2f(0.375f, 0.625f);
    object->Prepare();
    EXPECT_EQ(Listed(object->displayList.Id()),
              (std::vector<std::string>{
                  "(1 2 3 1 0.375 0.625)(5 2 -1 1 0.375 0.625)(1 6 0.5 1 0.375 0.625)",
                  "(9 9 9 0.8 0.375 0.625)(1 2 3 0.8 0.375 0.625)(5 2 -1 0.6 0.375 0.625)",
              }));
    std::array<GLfloat, 4> current{};
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, current.data());
    EXPECT_EQ(current, (std::array<GLfloat, 4>{0.375f, 0.625f, 0, 1}));
}

TEST_F(OBJGraphicObjectGl, WithoutDrawableFacesTheListDrawsNothing) {
    for (const std::string& text :
         {arrays, textures + arrays + "f 1//1 2//1 3//1\n", std::string()}) {
        const auto object = Make(text);
        EXPECT_TRUE(Triangles([&] { object->Draw(); }).empty()) << "not prepared: " << text;
        object->Prepare();
        EXPECT_TRUE(glIsList(object->displayList.Id())) << text;
        EXPECT_TRUE(Listed(object->displayList.Id()).empty()) << text;
        EXPECT_TRUE(Triangles([&] { object->Draw(); }).empty()) << text;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// The model is moved by the position and then scaled by scale.x, within a pushed matrix.
TEST_F(OBJGraphicObjectGl, DrawPlacesTheModelAndRestoresTheMatrix) {
    const auto object = Make(arrays + "f 1//1 2//1 3//1\n");
    object->Prepare();
    object->position = {0, 0, -5};
    object->scale = {2, 7, 9};
    glTranslatef(1, 0, 0);
    std::array<GLfloat, 16> before{}, after{};
    glGetFloatv(GL_MODELVIEW_MATRIX, before.data());
    glEnable(GL_NORMALIZE);  // the scale would otherwise dim the light
    EXPECT_EQ(Triangles([&] { object->Draw(); }),
              std::vector<std::string>{"(3 4 1 1 0 0)(11 4 -7 1 0 0)(3 12 -4 1 0 0)"});
    glGetFloatv(GL_MODELVIEW_MATRIX, after.data());
    EXPECT_EQ(after, before);
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(OBJGraphicObjectGl, PrepareAgainRecompilesTheSameListAndTheDestructorDeletesIt) {
    auto object = Make(arrays + "f 1//1 2//1 3//1\n");
    object->Prepare();
    const GLuint list = object->displayList.Id();
    object->faces.front().position[2] = 4;
    object->Prepare();
    EXPECT_EQ(object->displayList.Id(), list);
    EXPECT_EQ(Listed(list), std::vector<std::string>{"(1 2 3 1 0 0)(5 2 -1 1 0 0)(9 9 9 1 0 0)"});
    // One never prepared has no list to delete and leaves the others alone.
    Make(arrays).reset();
    EXPECT_TRUE(glIsList(list));
    object.reset();
    EXPECT_FALSE(glIsList(list));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
