#include <GL/glew.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "log/HtmlLog.h"
#include "resources/Effect.h"
#include "resources/ResourceRegistry.h"
#include "scene/EffectMemento.h"
#include "scene/GLSLShaderMemento.h"
#include "scene/TextureMemento.h"
#include "support/GlTestContext.h"
#include "support/LogEntries.h"
#include "support/TempFolder.h"
#include "support/TestImages.h"

namespace {

// Every uniform reaches the output, so none is optimised away. With v2.y = 0 a pixel reads
// (a's red, b's red, f, 1).
const std::string kVertex =
    "#version 120\nvoid main() { gl_Position = gl_Vertex; gl_TexCoord[0] = gl_MultiTexCoord0; }\n";
const std::string kFragment =
    "#version 120\n"
    "uniform float f; uniform vec2 v2; uniform vec3 v3; uniform sampler2D a; uniform sampler2D b;\n"
    "void main() {\n"
    "    vec2 c = gl_TexCoord[0].xy;\n"
    "    gl_FragColor = vec4(texture2D(a, c).r, texture2D(b, c).r, f, 1.0) + vec4(v3, v2.x) * "
    "v2.y;\n"
    "}\n";

EffectMemento EffectRecord(const std::string& name, const std::string& program,
                           std::vector<EffectMemento::Sampler> samplers = {}) {
    EffectMemento record;
    record.name = name;
    record.programName = program;
    record.samplers = std::move(samplers);
    return record;
}

std::vector<float> Uniform(GLuint program, const char* name, std::size_t count) {
    std::vector<float> values(4, -99.0f);
    glGetUniformfv(program, glGetUniformLocation(program, name), values.data());
    values.resize(count);
    return values;
}

GLint SamplerUnit(GLuint program, const char* name) {
    GLint unit = -1;
    glGetUniformiv(program, glGetUniformLocation(program, name), &unit);
    return unit;
}

GLuint Integer(GLenum what) {
    GLint value = -1;
    glGetIntegerv(what, &value);
    return GLuint(value);
}

GLuint TextureOnUnit(int unit) {
    glActiveTexture(GL_TEXTURE0 + unit);
    return Integer(GL_TEXTURE_BINDING_2D);
}

// A registry holding the program "fx" and the textures "red" (red 200) and "dim" (red 60).
class EffectGl : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_GL(gl);
        const auto file = [this](const std::string& name) {
            return (folder.Path() / name).string();
        };
        ASSERT_TRUE(WriteBytes(file("fx.vert"), kVertex) && WriteBytes(file("fx.frag"), kFragment));
        GLSLShaderMemento shaders;
        shaders.name = "fx";
        shaders.vertexFile = file("fx.vert");
        shaders.fragmentFile = file("fx.frag");
        registry.AddShaderPrograms({shaders});
        std::vector<TextureMemento> textures(2);
        textures[0].name = "red";
        textures[1].name = "dim";
        for (TextureMemento& texture : textures) {
            texture.fileName = file(texture.name + ".png");
            const std::uint8_t level = texture.name == "red" ? 200 : 60;
            ASSERT_TRUE(
                WriteRgbImage(texture.fileName, 2, 2, [=](int, int) { return Rgb{level}; }));
        }
        registry.AddTextures(textures);
        ASSERT_TRUE(registry.Programs().at("fx")->problems.empty());
        program = registry.Programs().at("fx")->program.Id();
        red = registry.Textures().at("red")->id.Id();
        dim = registry.Textures().at("dim")->id.Id();
    }

    std::vector<LogEntry> Entries() { return EntriesOf(logPath); }

    Effect Full() const {
        Effect effect;
        effect.program = program;
        effect.floats = {{"f", 0.5f}};
        effect.float2s = {{"v2", 0.25f, 0.0f}};
        effect.float3s = {{"v3", {1.5f, -2.0f, 3.25f}}};
        effect.samplers = {{"a", red}, {"b", dim}};
        return effect;
    }

    GlTestContext gl{8, 8};
    TempFolder folder;
    std::string logPath = (folder.Path() / "log.htm").string();
    HtmlLog log{logPath, "Log file"};
    ResourceRegistry registry{log};
    GLuint program = 0, red = 0, dim = 0;
};

TEST_F(EffectGl, ApplySetsProgramUniformsAndTextureUnits) {
    glActiveTexture(GL_TEXTURE0);
    Full().Apply();
    EXPECT_EQ(Integer(GL_CURRENT_PROGRAM), program);
    EXPECT_EQ(Integer(GL_ACTIVE_TEXTURE), GLuint(GL_TEXTURE1));
    EXPECT_EQ(Uniform(program, "f", 1), (std::vector<float>{0.5f}));
    EXPECT_EQ(Uniform(program, "v2", 2), (std::vector<float>{0.25f, 0.0f}));
    EXPECT_EQ(Uniform(program, "v3", 3), (std::vector<float>{1.5f, -2.0f, 3.25f}));
    EXPECT_EQ(SamplerUnit(program, "a"), 0);
    EXPECT_EQ(SamplerUnit(program, "b"), 1);
    EXPECT_EQ(TextureOnUnit(0), red);
    EXPECT_EQ(TextureOnUnit(1), dim);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Drawing shows each sampler reads the texture given for it.
TEST_F(EffectGl, DrawingSamplesEachTextureThroughItsSampler) {
    Full().Apply();
    glTexCoord2f(0.5f, 0.5f);
    glRectf(-1.0f, -1.0f, 1.0f, 1.0f);
    const std::vector<std::uint8_t> pixel = gl.ReadPixels();
    EXPECT_NEAR(pixel[0], 200, 2);
    EXPECT_NEAR(pixel[1], 60, 2);
    EXPECT_NEAR(pixel[2], 128, 2);
    EXPECT_EQ(pixel[3], 255);
}

TEST_F(EffectGl, LaterValueOfARepeatedUniformWinsAndUnknownNamesAreHarmless) {
    Effect effect = Full();
    effect.floats = {{"f", 0.75f}, {"noSuchFloat", 4.0f}, {"f", 0.125f}};
    effect.float2s.push_back({"noSuchPair", 1.0f, 2.0f});
    effect.float3s.push_back({"v3", {7.0f, 8.0f, 9.0f}});
    effect.samplers.push_back({"noSuchSampler", red});
    effect.Apply();
    EXPECT_EQ(Uniform(program, "f", 1), (std::vector<float>{0.125f}));
    EXPECT_EQ(Uniform(program, "v2", 2), (std::vector<float>{0.25f, 0.0f}));
    EXPECT_EQ(Uniform(program, "v3", 3), (std::vector<float>{7.0f, 8.0f, 9.0f}));
    EXPECT_EQ(SamplerUnit(program, "b"), 1);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(EffectGl, NullProgramAndNullTextureSelectNothing) {
    Full().Apply();
    registry.AddEffects({EffectRecord("plain", "NULL", {{"a", "NULL"}, {"b", "red"}})});
    const Effect* plain = registry.FindEffect("plain");
    ASSERT_NE(plain, nullptr);
    plain->Apply();
    EXPECT_EQ(Integer(GL_CURRENT_PROGRAM), 0u);
    EXPECT_EQ(TextureOnUnit(0), 0u);
    EXPECT_EQ(TextureOnUnit(1), red);
    EXPECT_EQ(Entries(), std::vector<LogEntry>{});
}

TEST_F(EffectGl, UnregisteredNamesAreLoggedAndReplacedByZero) {
    EXPECT_EQ(BuildEffect(registry, EffectRecord("fxGlow", "progMissing"), log)->program, 0u);
    const auto effect = BuildEffect(
        registry, EffectRecord("fxRipple", "fx", {{"a", "red"}, {"b", "texMissing"}}), log);
    EXPECT_EQ(effect->program, program);
    ASSERT_EQ(effect->samplers.size(), 2u);
    EXPECT_EQ(effect->samplers[0].texture, red);
    EXPECT_EQ(effect->samplers[1].texture, 0u);

    const std::vector<LogEntry> entries = Entries();
    ASSERT_EQ(entries.size(), 2u);
    const auto names = [](const LogEntry& entry, const std::string& a, const std::string& b) {
        return entry.kind == LogEntry::Kind::Error && entry.text.find(a) != std::string::npos &&
               entry.text.find(b) != std::string::npos;
    };
    EXPECT_TRUE(names(entries[0], "fxGlow", "progMissing")) << entries[0];
    EXPECT_TRUE(names(entries[1], "fxRipple", "texMissing")) << entries[1];
}

TEST_F(EffectGl, MissingNamesAreExplainedInTheLog) {
    BuildEffect(registry, EffectRecord("", "", {{"", ""}}), log);
    BuildEffect(registry, EffectRecord("fxRipple", "fx", {{"b", "texMissing"}}), log);
    EXPECT_EQ(Entries(),
              (std::vector{
                  Error("Effect (unnamed) names no shader program; it is drawn without a program."),
                  Error("Effect (unnamed) names no texture for the sampler (unnamed); no texture "
                        "is bound."),
                  Error("Effect fxRipple binds the texture texMissing to the sampler b, but that "
                        "texture is not registered; no texture is bound.")}));
}

// Each entry opens with its element's line (a sampler's own), a misspelt name gets the
// registered name it is nearest to, and tools still print the entry without its place.
TEST_F(EffectGl, UnregisteredNamesAreReportedAtTheirLineWithTheNearestName) {
    std::vector<Problem> problems;
    log.SetErrorListener([&](const Problem& problem) { problems.push_back(problem); });
    EffectMemento record =
        EffectRecord("glow", "FX", {{"a", "rde", 10}, {"b", "texMissing", 11}, {"c", "dim", 12}});
    record.sourceLine = 9;
    BuildEffect(registry, record, log);

    const std::string program = "Effect glow names the shader program FX, which is not registered "
                                "(did you mean fx?); it is drawn without a program.";
    const std::string misspelt = "Effect glow binds the texture rde to the sampler a, but that "
                                 "texture is not registered (did you mean red?); no texture is "
                                 "bound.";
    EXPECT_EQ(Entries(), (std::vector{Error("Scene.xml line 9: " + program),
                                      Error("Scene.xml line 10: " + misspelt),
                                      Error("Scene.xml line 11: Effect glow binds the texture "
                                            "texMissing to the sampler b, but that texture is not "
                                            "registered; no texture is bound.")}));
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[1].file, "Scene.xml");
    EXPECT_EQ(problems[1].line, 10);
    EXPECT_EQ(problems[1].Brief(), misspelt);
}

TEST_F(EffectGl, AnEffectWhoseProgramDidNotBuildDrawsWithoutOneAndSaysSo) {
    const std::string vertex = (folder.Path() / "broken.vert").string();
    const std::string fragment = (folder.Path() / "broken.frag").string();
    ASSERT_TRUE(WriteBytes(vertex, kVertex) && WriteBytes(fragment, "#version 120\nvoid f() {}\n"));
    GLSLShaderMemento broken;
    broken.name = "broken";
    broken.vertexFile = vertex;
    broken.fragmentFile = fragment;
    registry.AddShaderPrograms({broken});
    ASSERT_FALSE(registry.Programs().at("broken")->problems.empty());
    const std::size_t before = Entries().size();

    // The program left in use by the object before must not draw this effect's objects.
    Full().Apply();
    const auto effect = BuildEffect(registry, EffectRecord("glow", "broken"), log);
    EXPECT_EQ(effect->program, 0u);
    effect->Apply();
    EXPECT_EQ(Integer(GL_CURRENT_PROGRAM), 0u);
    const std::vector<LogEntry> entries = Entries();
    ASSERT_EQ(entries.size(), before + 1);
    EXPECT_EQ(entries.back(), Error("Effect glow uses the shader program broken, which did not "
                                    "build; it is drawn without a program."));
}

}  // namespace
