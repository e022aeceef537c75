// The viewer on scene folders as users write them: Scene.xml, R meshes, a texture and a
// GLSL program, drawn at start-up and logged entry by entry.

#include <fstream>

#include "ViewerE2eTest.h"
#include "support/MeshFiles.h"
#include "support/TestImages.h"

namespace {

// Flat-shaded boxes on black: only pixels along the edges may round differently.
constexpr ImageComparison::Tolerance kSceneTolerance{8, 0.002};

// The start camera looks at about (-250, 300, 2654) in scene coordinates from 400 units
// away, so 40-unit boxes around that point fill a good part of the window.
constexpr std::string_view kScene = R"(<?xml version="1.0"?>
<Scene>
  <Effects>
    <Textures>
      <Texture name="checker" file="textures/checker.png"/>
    </Textures>
    <Shaders>
      <GLSL name="paint" vert="shaders/paint.vert" frag="shaders/paint.frag"/>
    </Shaders>
    <Effect name="tinted">
      <Shader shader="paint"/>
      <Float name="textured" val="0"/>
      <Float3 name="tint" val="1,0.3,0.2"/>
    </Effect>
    <Effect name="textured">
      <Shader shader="paint"/>
      <Sampler name="pattern" texture="checker"/>
      <Float name="textured" val="1"/>
      <Float2 name="repeat" val="2,2"/>
    </Effect>
  </Effects>
  <GraphicObjects>
    <R file="models/box.r" effect="NULL" pos="-310,330,2654" scale="1,1,1"/>
    <R file="models/box.r" effect="tinted" pos="-250,330,2654" scale="1,1,1"/>
    <R file="models/box.r" effect="textured" pos="-190,330,2654" scale="1,1,1"/>
    <R file="models/half-box.r" effect="NULL" pos="10,0,0" scale="2,5,7"/>
    <R file="models/box.r" effect="glossy" pos="-190,270,2654" scale="1,1,1"/>
    <R file="models/cut-short.r" effect="NULL" pos="-310,270,2654" scale="1,1,1"/>
  </GraphicObjects>
</Scene>
)";

constexpr std::string_view kVertexShader = R"(#version 120
uniform vec2 repeat;
void main() {
    gl_TexCoord[0] = vec4(gl_MultiTexCoord0.st * repeat, 0.0, 1.0);
    gl_Position = ftransform();
}
)";

constexpr std::string_view kFragmentShader = R"(#version 120
uniform sampler2D pattern;
uniform float textured;
uniform vec3 tint;
void main() {
    gl_FragColor = vec4(mix(tint, texture2D(pattern, gl_TexCoord[0].st).rgb, textured), 1.0);
}
)";

// The line of `text` that holds `needle`, counting from 1.
int LineOf(std::string_view text, std::string_view needle) {
    const auto at = text.find(needle);
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + at, '\n'));
}

class SceneE2eTest : public ViewerE2eTest {
protected:
    void Write(const std::string& name, std::string_view content) {
        const auto path = folder.Path() / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }

    // The scene above with everything it names; models/cut-short.r ends inside its
    // vertices, so the viewer must skip it and draw the rest.
    void WriteSceneFolder() {
        WriteScene(kScene);
        std::filesystem::create_directories(folder.Path() / "textures");
        ASSERT_TRUE(WriteRgbImage((folder.Path() / "textures/checker.png").string(), 4, 4,
                                  [](int x, int y) {
                                      return (x + y) % 2 ? Rgb{255, 255, 255} : Rgb{40, 80, 255};
                                  }));
        Write("shaders/paint.vert", kVertexShader);
        Write("shaders/paint.frag", kFragmentShader);
        std::filesystem::create_directories(folder.Path() / "models");
        WriteRFile(folder.Path() / "models/box.r", Cube(40));
        // Placed at 10,0,0 and scaled by 2 on every axis, this 20-unit box centred on
        // (-130, 135, 1327) stands at (-250, 270, 2654), under the tinted box.
        WriteRFile(folder.Path() / "models/half-box.r", Translated(Cube(20), -130, 135, 1327));
        Write("models/cut-short.r", RFileBytes(Cube(40)).substr(0, 100));
    }
};

TEST_F(SceneE2eTest, DrawsRMeshesWithTheirEffectsPlacedAndScaledAndSkipsADamagedOne) {
    WriteSceneFolder();
    StartServer();
    StartViewer(kSceneViewer);
    const auto window = WaitForMainLoop();
    ASSERT_TRUE(window);

    // Top row: plain (fixed-function), tinted and textured boxes. Bottom row: the box of
    // half-box.r, placed by pos 10,0,0 and scale 2 on every axis right under the tinted
    // one, and a plain box for the unregistered effect. The damaged model leaves a gap.
    EXPECT_TRUE(WaitForReferencePicture(*window, "r-meshes", kSceneTolerance));

    x->Close(*window);
    auto object = [](const std::string& file, const std::string& effect, const std::string& pos,
                     const std::string& scale) {
        return std::vector<LogEntry>{Heading("R"), Message("file:\t" + file),
                                     Message("effect:\t" + effect), Message("pos:\t" + pos),
                                     Message("scale:\t" + scale)};
    };
    std::vector<LogEntry> expected = {Heading("Texture"),
                                      Message("name:\tchecker"),
                                      Message("file:\ttextures/checker.png"),
                                      Heading("GLSL"),
                                      Message("name:\tpaint"),
                                      Message("vert:\tshaders/paint.vert"),
                                      Message("frag:\tshaders/paint.frag"),
                                      Message("name:\ttinted"),
                                      Message("shader:\tpaint"),
                                      Message("name:\ttextured"),
                                      Message("shader:\tpaint")};
    for (const auto& entries : {object("models/box.r", "NULL", "-310,330,2654", "1,1,1"),
                                object("models/box.r", "tinted", "-250,330,2654", "1,1,1"),
                                object("models/box.r", "textured", "-190,330,2654", "1,1,1"),
                                object("models/half-box.r", "NULL", "10,0,0", "2,5,7"),
                                object("models/box.r", "glossy", "-190,270,2654", "1,1,1"),
                                object("models/cut-short.r", "NULL", "-310,270,2654", "1,1,1")}) {
        expected.insert(expected.end(), entries.begin(), entries.end());
    }
    const std::vector<LogEntry> factory = {
        Message("end parsing \t" + kTime),
        Message("Creating graphic object."),
        Heading("Factory."),
        Message("starting at: \t" + kTime),
        Error("Scene.xml line " + std::to_string(LineOf(kScene, "effect=\"glossy\"")) +
              ": the R object models/box.r names the effect glossy, which is not registered; "
              "it is drawn with the NULL effect."),
        Error("The model file models/cut-short.r is cut short: it ends at byte 100, before the "
              "end of its 24 vertices (864 bytes from byte 4)."),
        Message("ending at:\t" + kTime),
        Title("Main Loop")};
    expected.insert(expected.end(), factory.begin(), factory.end());
    ExpectCleanEnd(SceneLoadLog(expected));
}

TEST_F(SceneE2eTest, WithoutSceneFileLogsWhereItLookedAndShowsAnEmptyScene) {
    StartServer();
    StartViewer(kSceneViewer);
    const auto window = WaitForMainLoop();
    ASSERT_TRUE(window);
    EXPECT_TRUE(WaitForReferencePicture(*window, "empty-scene", kSceneTolerance));

    x->Close(*window);
    ExpectCleanEnd(
        {Title("Main"), Message("Opengl 2.0 is supported."), Title("init"),
         Title("Scene initialization"), Heading("file Scene.xml"),
         Error("Scene.xml was not found in the working folder " + folder.Path().string() + "."),
         Error("File Scene.xml not exist."), Error("In scene Load() method."), Title("Main Loop")});
}

}  // namespace
