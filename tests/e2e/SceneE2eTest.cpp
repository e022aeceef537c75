// The viewer on scene folders as users write them: Scene.xml, R meshes, a texture and a
// GLSL program, drawn at start-up and logged entry by entry.

#include "ViewerE2eTest.h"
#include "support/MeshFiles.h"
#include "support/SceneFolders.h"

namespace {

// Flat-shaded boxes on black: only pixels along the edges may round differently.
constexpr ImageComparison::Tolerance kSceneTolerance{8, 0.002};

// The start camera looks at about (-250, 300, 2654) in scene coordinates from 400 units
// away, so 40-unit boxes around that point fill a good part of the window.
const std::string kScene = std::string(kEffects) + R"(  <GraphicObjects>
    <R file="models/box.r" effect="NULL" pos="-310,330,2654" scale="1,1,1"/>
    <R file="models/box.r" effect="tinted" pos="-250,330,2654" scale="1,1,1"/>
    <R file="models/box.r" effect="textured" pos="-190,330,2654" scale="1,1,1"/>
    <R file="models/half-box.r" effect="NULL" pos="10,0,0" scale="2,5,7"/>
    <R file="models/box.r" effect="glossy" pos="-190,270,2654" scale="1,1,1"/>
    <R file="models/cut-short.r" effect="NULL" pos="-310,270,2654" scale="1,1,1"/>
  </GraphicObjects>
</Scene>
)";

// OBJ boxes: the textured one with the GLSL effect and one without texture coordinates
// side by side, and below them a box whose file has two faces that cannot be drawn and,
// at its end, a number that cannot be read.
const std::string kObjScene = std::string(kEffects) + R"(  <GraphicObjects>
    <OBJ file="models/box.obj" effect="textured" pos="-280,320,2654" scale="1,1,1"/>
    <OBJ file="models/plain-box.obj" effect="NULL" pos="-220,320,2654" scale="1,1,1"/>
    <OBJ file="models/broken-box.obj" effect="tinted" pos="-250,270,2654" scale="1,1,1"/>
  </GraphicObjects>
</Scene>
)";

// What the loader logs for kEffects.
std::vector<LogEntry> EffectEntries() {
    return {Heading("Texture"),
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
}

class SceneE2eTest : public ViewerE2eTest {
protected:
    void Write(const std::string& name, std::string_view content) {
        WriteFile(folder.Path(), name, content);
    }

    // The scene above with everything it names; models/cut-short.r ends inside its
    // vertices, so the viewer must skip it and draw the rest.
    void WriteSceneFolder() {
        WriteScene(kScene);
        WriteEffectFiles();
        std::filesystem::create_directories(folder.Path() / "models");
        WriteRFile(folder.Path() / "models/box.r", Cube(40));
        // Placed at 10,0,0 and scaled by 2 on every axis, this 20-unit box centred on
        // (-130, 135, 1327) stands at (-250, 270, 2654), under the tinted box.
        WriteRFile(folder.Path() / "models/half-box.r", Translated(Cube(20), -130, 135, 1327));
        Write("models/cut-short.r", RFileBytes(Cube(40)).substr(0, 100));
    }

    // The checker texture and the GLSL program that the effects use.
    void WriteEffectFiles() { ::WriteEffectFiles(folder.Path()); }
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
    EXPECT_TRUE(RenderAgrees(*window, kSceneTolerance));

    x->Close(*window);
    std::vector<LogEntry> expected = EffectEntries();
    for (const auto& entries :
         {ObjectEntries("R", "models/box.r", "NULL", "-310,330,2654"),
          ObjectEntries("R", "models/box.r", "tinted", "-250,330,2654"),
          ObjectEntries("R", "models/box.r", "textured", "-190,330,2654"),
          ObjectEntries("R", "models/half-box.r", "NULL", "10,0,0", "2,5,7"),
          ObjectEntries("R", "models/box.r", "glossy", "-190,270,2654"),
          ObjectEntries("R", "models/cut-short.r", "NULL", "-310,270,2654")}) {
        expected.insert(expected.end(), entries.begin(), entries.end());
    }
    const std::vector<LogEntry> factory = FactoryEntries(
        {Error("Scene.xml line " + std::to_string(LineOf(kScene, "effect=\"glossy\"")) +
               ": the R object models/box.r names the effect glossy, which is not registered; "
               "it is drawn with the NULL effect."),
         Error("Scene.xml line " + std::to_string(LineOf(kScene, "models/cut-short.r")) +
               ": The model file models/cut-short.r is cut short: it ends at byte 100, before "
               "the end of its 24 vertices (864 bytes from byte 4).")});
    expected.insert(expected.end(), factory.begin(), factory.end());
    ExpectCleanEnd(SceneLoadLog(expected));
}

TEST_F(SceneE2eTest, WithoutSceneFileLogsWhereItLookedAndShowsAnEmptyScene) {
    StartServer();
    StartViewer(kSceneViewer);
    const auto window = WaitForMainLoop();
    ASSERT_TRUE(window);
    EXPECT_TRUE(WaitForReferencePicture(*window, "empty-scene", kSceneTolerance));
    EXPECT_TRUE(RenderAgrees(*window, kSceneTolerance));

    x->Close(*window);
    ExpectCleanEnd(
        {Title("Main"), Message("Opengl 2.0 is supported."), Title("init"),
         Title("Scene initialization"), Heading("file Scene.xml"),
         Error("Scene.xml was not found in the working folder " + folder.Path().string() + "."),
         Error("File Scene.xml not exist."), Error("In scene Load() method."), Title("Main Loop")});
}

TEST_F(SceneE2eTest, DrawsObjModelsWithAndWithoutTextureCoordinatesAndReportsDamagedOnes) {
    WriteScene(kObjScene);
    WriteEffectFiles();
    const TestMesh box = Cube(40);
    Write("models/box.obj", ObjText(box, true));
    Write("models/plain-box.obj", ObjText(box, false));
    // The two triangles of the side facing the camera name normals that are not there, and
    // the file ends in a vertex that cannot be read: the other sides are still drawn.
    std::string broken = ObjText(box, false);
    broken.replace(broken.find("f 1//1 2//2 3//3"), 16, "f 1//1 2//2 3//99");
    broken.replace(broken.find("f 1//1 3//3 4//4"), 16, "f 1//0 3//3 4//4");
    broken += "v 1 2 x\nf 5//5 6//6 7//7\n";
    Write("models/broken-box.obj", broken);

    StartServer();
    StartViewer(kSceneViewer);
    const auto window = WaitForMainLoop();
    ASSERT_TRUE(window);
    EXPECT_TRUE(WaitForReferencePicture(*window, "obj-models", kSceneTolerance));
    EXPECT_TRUE(RenderAgrees(*window, kSceneTolerance));

    x->Close(*window);
    std::vector<LogEntry> expected = EffectEntries();
    for (const auto& entries :
         {ObjectEntries("OBJ", "models/box.obj", "textured", "-280,320,2654"),
          ObjectEntries("OBJ", "models/plain-box.obj", "NULL", "-220,320,2654"),
          ObjectEntries("OBJ", "models/broken-box.obj", "tinted", "-250,270,2654")}) {
        expected.insert(expected.end(), entries.begin(), entries.end());
    }
    const std::string object =
        "Scene.xml line " + std::to_string(LineOf(kObjScene, "models/broken-box.obj")) + ": ";
    const std::vector<LogEntry> factory = FactoryEntries(
        {Error(object +
               "The model file models/broken-box.obj has an unreadable number in the v statement "
               "on line " +
               std::to_string(LineOf(broken, "v 1 2 x")) +
               ", at \"x\"; reading stopped there, and what came before it is kept."),
         Error(object +
               "The model file models/broken-box.obj has 2 faces with an index outside their "
               "arrays, which are not drawn. The first is on line " +
               std::to_string(LineOf(broken, "3//99")) +
               ": its normal index is 99, but the file has 24 normals.")});
    expected.insert(expected.end(), factory.begin(), factory.end());
    ExpectCleanEnd(SceneLoadLog(expected));
}

}  // namespace
