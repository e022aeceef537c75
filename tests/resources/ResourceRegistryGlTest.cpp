#include <GL/glew.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "log/HtmlLog.h"
#include "resources/ResourceException.h"
#include "resources/ResourceRegistry.h"
#include "scene/EffectMemento.h"
#include "scene/GLSLShaderMemento.h"
#include "scene/TextureMemento.h"
#include "support/GlTestContext.h"
#include "support/LogEntries.h"
#include "support/TempFolder.h"
#include "support/TestImages.h"

namespace {

const std::string kVertex = "#version 120\nvoid main() { gl_Position = gl_Vertex; }\n";
const std::string kFragment = "#version 120\nvoid main() { gl_FragColor = vec4(1.0); }\n";

TextureMemento TextureRecord(const std::string& name, const std::string& file) {
    TextureMemento record;
    record.name = name;
    record.fileName = file;
    return record;
}

GLSLShaderMemento ProgramRecord(const std::string& name, const std::string& vertex,
                                const std::string& fragment) {
    GLSLShaderMemento record;
    record.name = name;
    record.vertexFile = vertex;
    record.fragmentFile = fragment;
    return record;
}

// Names of live objects of one kind among the small ones a fresh context hands out.
template <typename IsKind>
std::set<GLuint> Live(IsKind isKind) {
    std::set<GLuint> live;
    for (GLuint name = 1; name <= 64; ++name) {
        if (isKind(name)) live.insert(name);
    }
    return live;
}
std::set<GLuint> LiveTextures() {
    return Live([](GLuint n) { return glIsTexture(n); });
}
std::set<GLuint> LivePrograms() {
    return Live([](GLuint n) { return glIsProgram(n); });
}
std::set<GLuint> LiveShaders() {
    return Live([](GLuint n) { return glIsShader(n); });
}

// The red channel of a texture's first texel.
int FirstRed(GLuint texture) {
    std::vector<std::uint8_t> texels(64 * 3);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    return texels[0];
}

class ResourceRegistryGl : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_GL(gl); }

    std::string File(const std::string& name) const { return (folder.Path() / name).string(); }
    // A 3x2 image of one colour whose red is `red`.
    std::string Image(const std::string& name, std::uint8_t red) {
        EXPECT_TRUE(WriteRgbImage(File(name), 3, 2, [red](int, int) { return Rgb{red, 1, 2}; }));
        return File(name);
    }
    std::string Text(const std::string& name, const std::string& text) {
        EXPECT_TRUE(WriteBytes(File(name), text));
        return File(name);
    }
    std::vector<LogEntry> Entries() { return EntriesOf(logPath); }

    GlTestContext gl{8, 8};
    TempFolder folder;
    std::string logPath = File("log.htm");
    HtmlLog log{logPath, "Log file"};
    ResourceRegistry registry{log};
};

TEST_F(ResourceRegistryGl, FirstTextureOfANameWinsAndCaseCounts) {
    registry.AddTextures({TextureRecord("stone", Image("first.png", 111)),
                          TextureRecord("stone", Image("second.png", 222)),
                          TextureRecord("Stone", Image("third.png", 33))});
    ASSERT_EQ(registry.Textures().size(), 2u);
    const GLuint stone = registry.Textures().at("stone")->id.Id();
    const GLuint upper = registry.Textures().at("Stone")->id.Id();
    EXPECT_EQ(FirstRed(stone), 111);
    EXPECT_EQ(FirstRed(upper), 33);
    EXPECT_EQ(LiveTextures(), (std::set<GLuint>{stone, upper}));
    EXPECT_EQ(Entries(), std::vector<LogEntry>{});
}

// The failing second texture reuses the first one's name: a duplicate is still read and
// checked. The third is missing, which must go unnoticed as the list stops before it.
TEST_F(ResourceRegistryGl, FailingTextureIsLoggedAndStopsTheList) {
    const std::string broken = Text("broken.png", "not an image");
    std::string reason = "no exception";
    try {
        LoadTexture(broken);
    } catch (const ResourceException& e) {
        reason = e.what();
    }
    EXPECT_THROW(registry.AddTextures({TextureRecord("one", Image("one.png", 10)),
                                       TextureRecord("one", broken),
                                       TextureRecord("three", File("missing.png"))}),
                 ResourceException);
    ASSERT_EQ(registry.Textures().size(), 1u);
    EXPECT_EQ(LiveTextures(), std::set<GLuint>{registry.Textures().at("one")->id.Id()});
    EXPECT_EQ(FirstRed(registry.Textures().at("one")->id.Id()), 10);
    EXPECT_EQ(Entries(), std::vector<LogEntry>{Error(HtmlLog::Escape("Texture one: " + reason))});
}

TEST_F(ResourceRegistryGl, NullIsAlwaysNameZeroAndUnknownNamesAreNothing) {
    registry.AddTextures({});
    registry.AddShaderPrograms({});
    registry.AddEffects({});
    EXPECT_TRUE(registry.Textures().empty() && registry.Programs().empty() &&
                registry.Effects().empty());

    registry.AddTextures({TextureRecord("NULL", Image("null.png", 5))});
    ASSERT_EQ(registry.Textures().count("NULL"), 1u);
    EXPECT_TRUE(glIsTexture(registry.Textures().at("NULL")->id.Id()));
    EXPECT_EQ(ResourceRegistry::LookupGLName(registry.Textures(), "NULL"), 0u);
    EXPECT_EQ(ResourceRegistry::LookupGLName(registry.Programs(), "NULL"), 0u);
    EXPECT_EQ(ResourceRegistry::LookupGLName(registry.Textures(), "null"), std::nullopt);
    EXPECT_EQ(ResourceRegistry::LookupGLName(registry.Programs(), "other"), std::nullopt);
    EXPECT_EQ(registry.FindEffect("other"), nullptr);
}

TEST_F(ResourceRegistryGl, FirstProgramOfANameWinsAndBrokenShadersAreLogged) {
    const std::string vertex = Text("a.vert", kVertex), fragment = Text("a.frag", kFragment);
    const std::string bad = Text("bad.frag", "void main() { gl_FragColor = tint; }\n");
    registry.AddShaderPrograms({ProgramRecord("plain", vertex, fragment),
                                ProgramRecord("plain", vertex, fragment),
                                ProgramRecord("broken", vertex, bad)});
    ASSERT_EQ(registry.Programs().size(), 2u);
    const ShaderProgram& plain = *registry.Programs().at("plain");
    const ShaderProgram& broken = *registry.Programs().at("broken");
    EXPECT_EQ(LivePrograms(), (std::set<GLuint>{plain.program.Id(), broken.program.Id()}));
    EXPECT_EQ(LiveShaders(),
              (std::set<GLuint>{plain.vertexShader.Id(), plain.fragmentShader.Id(),
                                broken.vertexShader.Id(), broken.fragmentShader.Id()}));

    char driverLog[4096] = {};
    glGetShaderInfoLog(broken.fragmentShader.Id(), sizeof driverLog, nullptr, driverLog);
    std::string expected =
        "Shader program broken: the fragment shader " + bad + " did not compile:\n" + driverLog;
    while (expected.back() == '\n') expected.pop_back();
    EXPECT_NE(expected.find("tint"), std::string::npos);
    EXPECT_EQ(Entries(), std::vector<LogEntry>{Error(HtmlLog::Escape(expected))});
}

// The entries open with the line of the element; a shader that did not compile stays
// placed in its source for tools, with the entry's text as it was.
TEST_F(ResourceRegistryGl, FailuresAreReportedAtTheirElementsLine) {
    std::vector<Problem> problems;
    log.SetErrorListener([&](const Problem& problem) { problems.push_back(problem); });
    TextureMemento texture = TextureRecord("gone", File("missing.png"));
    texture.sourceLine = 5;
    EXPECT_THROW(registry.AddTextures({texture}), ResourceException);
    const std::string bad = Text("bad.frag", "void main() { gl_FragColor = tint; }\n");
    GLSLShaderMemento program = ProgramRecord("broken", Text("a.vert", kVertex), bad);
    program.sourceLine = 7;
    registry.AddShaderPrograms({program});

    ASSERT_EQ(problems.size(), 2u);
    const std::string gone = "Texture gone: The image file " + File("missing.png") +
                             " was not found.";
    EXPECT_EQ(problems[0], Problem::AtLine("Scene.xml", 5, ": " + gone));
    const std::string notCompiled = "Shader program broken: the fragment shader " + bad;
    EXPECT_EQ(problems[1].file, bad);
    EXPECT_EQ(problems[1].line, 0);
    EXPECT_TRUE(problems[1].driverLog);
    EXPECT_TRUE(problems[1].Brief().starts_with(notCompiled)) << problems[1].Brief();
    EXPECT_EQ(problems[1].text, "Scene.xml line 7: " + problems[1].Brief());
    EXPECT_EQ(Entries().at(0), Error("Scene.xml line 5: " + gone));
}

TEST_F(ResourceRegistryGl, UnreadableShaderSourceIsLoggedAndPassedOn) {
    const std::string missing = File("missing.vert");
    EXPECT_THROW(
        registry.AddShaderPrograms({ProgramRecord("lost", missing, Text("a.frag", kFragment))}),
        ResourceException);
    EXPECT_TRUE(registry.Programs().empty());
    EXPECT_TRUE(LiveShaders().empty());
    EXPECT_EQ(Entries(), std::vector<LogEntry>{Error("Shader program lost: The source file " +
                                                     missing + " was not found.")});
}

TEST_F(ResourceRegistryGl, EffectsResolveToGlNamesAndReleaseDeletesEverything) {
    registry.AddTextures(
        {TextureRecord("t1", Image("t1.png", 1)), TextureRecord("t2", Image("t2.png", 2))});
    registry.AddShaderPrograms(
        {ProgramRecord("p", Text("a.vert", kVertex), Text("a.frag", kFragment))});
    std::vector<EffectMemento> effects(2);
    effects[0].name = effects[1].name = "fx";
    effects[0].programName = "p";
    effects[0].samplers = {{"a", "t2"}, {"b", "t1"}};
    effects[1].programName = "NULL";
    registry.AddEffects(effects);
    const Effect* fx = registry.FindEffect("fx");
    ASSERT_NE(fx, nullptr);
    EXPECT_EQ(fx->program, registry.Programs().at("p")->program.Id());
    EXPECT_TRUE(glIsProgram(fx->program));
    ASSERT_EQ(fx->samplers.size(), 2u);
    EXPECT_EQ(fx->samplers[0].texture, registry.Textures().at("t2")->id.Id());
    EXPECT_EQ(fx->samplers[1].texture, registry.Textures().at("t1")->id.Id());
    EXPECT_EQ(registry.FindEffect("FX"), nullptr);
    ASSERT_EQ(LiveTextures().size(), 2u);
    ASSERT_EQ(LivePrograms().size(), 1u);

    registry.Release();
    EXPECT_TRUE(registry.Textures().empty() && registry.Programs().empty() &&
                registry.Effects().empty());
    EXPECT_TRUE(LiveTextures().empty());
    EXPECT_TRUE(LivePrograms().empty());
    EXPECT_TRUE(LiveShaders().empty());

    // A second release leaves objects made since alone, and the registry can be refilled.
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const GLuint program = glCreateProgram(), shader = glCreateShader(GL_VERTEX_SHADER);
    registry.Release();
    EXPECT_TRUE(glIsTexture(texture) && glIsProgram(program) && glIsShader(shader));
    registry.AddTextures({TextureRecord("t1", Image("t1.png", 1))});
    EXPECT_EQ(FirstRed(registry.Textures().at("t1")->id.Id()), 1);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
