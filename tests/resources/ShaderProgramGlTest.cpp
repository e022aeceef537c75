#include <GL/glew.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "resources/ResourceException.h"
#include "resources/ShaderProgram.h"
#include "support/GlTestContext.h"
#include "support/TempFolder.h"
#include "support/Thrown.h"
#include "support/TestImages.h"

namespace {

const std::string kVertex = "#version 120\nvoid main() { gl_Position = gl_Vertex; }\n";
const std::string kFragment = "#version 120\nvoid main() { gl_FragColor = vec4(1.0); }\n";

GLint LinkStatus(GLuint program) {
    GLint value = -1;
    glGetProgramiv(program, GL_LINK_STATUS, &value);
    return value;
}

std::multiset<GLuint> Attached(GLuint program) {
    GLuint names[8] = {};
    GLsizei count = 0;
    glGetAttachedShaders(program, 8, &count, names);
    return {names, names + count};
}

// Shader and program names in use among the small ones a fresh context hands out.
std::set<GLuint> LiveShaderObjects() {
    std::set<GLuint> live;
    for (GLuint name = 1; name <= 64; ++name) {
        if (glIsShader(name) || glIsProgram(name)) live.insert(name);
    }
    return live;
}

class ShaderProgramGl : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_GL(gl); }
    std::string Write(const std::string& name, const std::string& text) {
        EXPECT_TRUE(WriteBytes(File(name), text));
        return File(name);
    }
    std::string File(const std::string& name) const { return (folder.Path() / name).string(); }

    GlTestContext gl{16, 16};
    TempFolder folder;
};

TEST_F(ShaderProgramGl, ValidPairLinksWithBothShadersAttached) {
    const auto shaders = BuildShaderProgram(Write("a.vert", kVertex), Write("a.frag", kFragment));
    EXPECT_TRUE(shaders->problems.empty()) << shaders->problems.front().text;
    EXPECT_EQ(LinkStatus(shaders->program.Id()), GL_TRUE);
    EXPECT_EQ(Attached(shaders->program.Id()),
              (std::multiset<GLuint>{shaders->vertexShader.Id(), shaders->fragmentShader.Id()}));
}

// A broken stage is reported once, with the file and the driver's own words, and the
// program object still exists so drawing with it behaves like any failed link.
TEST_F(ShaderProgramGl, CompileErrorNamesTheFileAndQuotesTheDriver) {
    const std::string vertex = Write("good.vert", kVertex),
                      fragment = Write("good.frag", kFragment);
    const std::string badVertex = Write("bad.vert", "void main() { gl_Position = vertexGain; }\n");
    const std::string badFragment = Write("bad.frag", "void main() { gl_FragColor = tint; }\n");
    for (const bool vertexBroken : {true, false}) {
        const std::string stage = vertexBroken ? "vertex" : "fragment";
        const std::string file = vertexBroken ? badVertex : badFragment;
        SCOPED_TRACE(stage);
        const auto shaders = vertexBroken ? BuildShaderProgram(badVertex, fragment)
                                          : BuildShaderProgram(vertex, badFragment);
        char driverLog[4096] = {};
        glGetShaderInfoLog(vertexBroken ? shaders->vertexShader.Id() : shaders->fragmentShader.Id(),
                           sizeof driverLog, nullptr, driverLog);
        std::string expected =
            "the " + stage + " shader " + file + " did not compile:\n" + driverLog;
        while (expected.back() == '\n') expected.pop_back();
        EXPECT_NE(expected.find(vertexBroken ? "vertexGain" : "tint"), std::string::npos);
        ASSERT_EQ(shaders->problems.size(), 1u);
        EXPECT_EQ(shaders->problems[0].text, expected);
        EXPECT_EQ(shaders->problems[0].file, file);
        EXPECT_TRUE(glIsProgram(shaders->program.Id()));
        EXPECT_EQ(LinkStatus(shaders->program.Id()), GL_FALSE);
        EXPECT_EQ(Attached(shaders->program.Id()).size(), 2u);
    }
}

TEST_F(ShaderProgramGl, EmptySourceStillGivesAProgram) {
    const auto shaders = BuildShaderProgram(Write("empty.vert", ""), Write("a.frag", kFragment));
    EXPECT_TRUE(glIsProgram(shaders->program.Id()));
    EXPECT_EQ(Attached(shaders->program.Id()).size(), 2u);
    EXPECT_FALSE(shaders->problems.empty());
}

TEST_F(ShaderProgramGl, CarriageReturnsReachTheCompilerUnchanged) {
    const std::string vertex =
        "#version 120\r\nvoid main()\r\n{\r\n    gl_Position = gl_Vertex;\r\n}\r\n";
    const auto shaders = BuildShaderProgram(Write("crlf.vert", vertex), Write("a.frag", kFragment));
    EXPECT_TRUE(shaders->problems.empty()) << shaders->problems.front().text;
    EXPECT_EQ(LinkStatus(shaders->program.Id()), GL_TRUE);
    char source[256] = {};
    glGetShaderSource(shaders->vertexShader.Id(), sizeof source, nullptr, source);
    EXPECT_EQ(std::string(source), vertex);
}

TEST_F(ShaderProgramGl, ReleaseDeletesEachObjectOnce) {
    auto shaders = BuildShaderProgram(Write("a.vert", kVertex), Write("a.frag", kFragment));
    ASSERT_EQ(LiveShaderObjects().size(), 3u);
    shaders->Release();
    EXPECT_TRUE(LiveShaderObjects().empty());
    // Mesa hands out fresh names instead of reusing freed ones, so a stale name could not be
    // caught deleting a newcomer here; check the names were forgotten as well.
    EXPECT_EQ(shaders->program.Id() + shaders->vertexShader.Id() + shaders->fragmentShader.Id(),
              0u);

    const std::set<GLuint> others{glCreateShader(GL_VERTEX_SHADER),
                                  glCreateShader(GL_FRAGMENT_SHADER), glCreateProgram()};
    shaders->Release();
    shaders.reset();
    EXPECT_EQ(LiveShaderObjects(), others);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ShaderProgramGl, UnreadableSourceThrowsAndLeavesNoObjects) {
    const std::string vertex = Write("a.vert", kVertex), fragment = Write("a.frag", kFragment);
    const std::string missing = File("missing.glsl");
    for (const auto& [v, f] : {std::pair{vertex, missing}, std::pair{missing, fragment}}) {
        EXPECT_EQ(MessageOf<ResourceException>([&] { BuildShaderProgram(v, f); }),
                  "The source file " + missing + " was not found.");
        EXPECT_TRUE(LiveShaderObjects().empty());
    }
}

TEST_F(ShaderProgramGl, ReadTextFileKeepsEveryByte) {
    std::string bytes = "line one\r\nline two\rthree\n";
    for (int i = 1; i < 256; ++i) bytes += char(i);
    // Longer than one read block, ending part-way through the next.
    while (bytes.size() < 150000) bytes += bytes.substr(0, 7001);
    EXPECT_EQ(ReadTextFile(Write("bytes.txt", bytes)), bytes);
    EXPECT_EQ(ReadTextFile(Write("empty.txt", "")), "");

    const std::string missing = File("none.txt");
    EXPECT_EQ(MessageOf<ResourceException>([&] { ReadTextFile(missing); }),
              "The source file " + missing + " was not found.");
    const std::string unreadable =
        MessageOf<ResourceException>([&] { ReadTextFile(folder.Path().string()); });
    EXPECT_EQ(unreadable.rfind("The source file " + folder.Path().string() + " could not be", 0),
              0u)
        << unreadable;
}

}  // namespace
