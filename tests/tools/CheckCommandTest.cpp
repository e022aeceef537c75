// scenetool check run as a user runs it, on scene folders written by the tests: every
// problem at its file and line, the summary and the exit status.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ScenetoolRun.h"
#include "support/SceneFolders.h"
#include "support/LogEntries.h"
#include "support/MeshFiles.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

// One line the checker should print: its place, whether it is a warning, and words that
// its message must hold.
struct Expected {
    std::string where;  // "FILE:LINE"
    bool warning = false;
    std::string fragment;
};

Expected ErrorAt(const std::string& file, int line, const std::string& fragment) {
    return {file + ":" + std::to_string(line), false, fragment};
}

Expected WarningAt(const std::string& file, int line, const std::string& fragment) {
    return {file + ":" + std::to_string(line), true, fragment};
}

// A scene folder with mistakes: its Scene.xml, the files that differ from the usual ones
// (the effect files and models/box.r; a missing content removes the file), and the lines
// the checker should print for it, in order, before its summary.
struct BrokenScene {
    std::string name;
    std::string scene;
    std::map<std::string, std::optional<std::string>> files;
    std::vector<Expected> problems;
};

void PrintTo(const BrokenScene& scene, std::ostream* out) { *out << scene.name; }

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// A box in front of the start camera with `attributes` (file, effect, ...) and a scale.
std::string Object(const std::string& type, const std::string& attributes) {
    return "    <" + type + " " + attributes + " pos=\"-250,300,2654\" scale=\"1,1,1\"/>\n";
}

// The usual two boxes that use both effects of kEffects, so nothing is left unused.
const std::string kBoxes = Object("R", R"(file="models/box.r" effect="tinted")") +
                           Object("R", R"(file="models/box.r" effect="textured")");

// An effect of `scene` whose program "paint" did not build, reported at the effect.
Expected NotBuiltAt(const std::string& scene, const std::string& effect) {
    return ErrorAt("Scene.xml", LineOf(scene, "<Effect name=\"" + effect + "\""),
                   "Effect " + effect + " uses the shader program paint, which did not build");
}

std::vector<BrokenScene> BrokenScenes() {
    std::vector<BrokenScene> scenes;

    {
        const std::string scene = Replaced(SceneXml(kBoxes), "name=\"checker\"", "name=checker");
        scenes.push_back({"NotWellFormed",
                          scene,
                          {},
                          {ErrorAt("Scene.xml", LineOf(scene, "name=checker"),
                                   "Scene.xml is not well-formed XML")}});
    }
    {
        const std::string scene =
            "<?xml version=\"1.0\"?>\n<Scene>\n  <GraphicObjects/>\n</Scene>\n";
        scenes.push_back({"NoEffectsElement",
                          scene,
                          {},
                          {ErrorAt("Scene.xml", 2, "the Scene element has no Effects element")}});
    }
    {
        const std::string scene = SceneXml(kBoxes);
        scenes.push_back(
            {"TextureImageMissing",
             scene,
             {{"textures/checker.png", std::nullopt}},
             {ErrorAt("Scene.xml", LineOf(scene, "<Texture name=\"checker\""),
                      "Texture checker: The image file textures/checker.png was not found"),
              ErrorAt("Scene.xml", LineOf(scene, "<Sampler name=\"pattern\""),
                      "binds the texture checker to the sampler pattern")}});
    }
    {
        const std::string shader =
            "#version 120\nuniform vec3 tint;\nvoid main() {\n"
            "    gl_FragColor = vec4(tint, 1.0);\n    vec3 unknown = missing;\n}\n";
        const std::string scene = SceneXml(kBoxes);
        scenes.push_back({"ShaderDoesNotCompile",
                          scene,
                          {{"shaders/paint.frag", shader}},
                          // Mesa's message, as the driver wrote it; then each effect using
                          // the program at its own line.
                          {ErrorAt("shaders/paint.frag", LineOf(shader, "= missing"),
                                   "error: `missing' undeclared"),
                           NotBuiltAt(scene, "tinted"), NotBuiltAt(scene, "textured")}});
    }
    {
        // The driver's link log names no line: the problem is at the program's entry.
        const std::string scene = SceneXml(kBoxes);
        scenes.push_back({"ProgramDoesNotLink",
                          scene,
                          {{"shaders/paint.frag", "#version 120\nvoid paint() {}\n"}},
                          {ErrorAt("Scene.xml", LineOf(scene, "<GLSL name=\"paint\""),
                                   "fragment shader lacks `main'"),
                           NotBuiltAt(scene, "tinted"), NotBuiltAt(scene, "textured")}});
    }
    {
        const std::string scene = R"(<?xml version="1.0"?>
<Scene>
  <Effects>
    <Textures/>
    <Shaders/>
    <Effect name="odd">
      <Shader shader="nosuch"/>
      <Sampler name="pattern" texture="nowhere"/>
    </Effect>
  </Effects>
  <GraphicObjects>
)" + Object("R", R"(file="models/box.r" effect="odd")") +
                                  "  </GraphicObjects>\n</Scene>\n";
        scenes.push_back({"EffectNamesUnknownProgramAndTexture",
                          scene,
                          {},
                          {ErrorAt("Scene.xml", LineOf(scene, "<Effect name=\"odd\""),
                                   "names the shader program nosuch, which is not registered"),
                           ErrorAt("Scene.xml", LineOf(scene, "texture=\"nowhere\""),
                                   "binds the texture nowhere to the sampler pattern")}});
    }
    {
        // Each definition's mistake is at its own line, though only the first is used.
        const std::string scene = R"(<?xml version="1.0"?>
<Scene>
  <Effects>
    <Textures/>
    <Shaders/>
    <Effect name="odd">
      <Shader shader="NULL"/>
      <Sampler name="pattern" texture="first"/>
    </Effect>
    <Effect name="odd"> <!-- again -->
      <Shader shader="NULL"/>
      <Sampler name="pattern" texture="second"/>
    </Effect>
  </Effects>
  <GraphicObjects>
)" + Object("R", R"(file="models/box.r" effect="odd")") +
                                  "  </GraphicObjects>\n</Scene>\n";
        scenes.push_back(
            {"RedefinedEffectWithMistakesInBoth",
             scene,
             {},
             {ErrorAt("Scene.xml", LineOf(scene, "texture=\"first\""),
                      "binds the texture first to the sampler pattern"),
              ErrorAt("Scene.xml", LineOf(scene, "texture=\"second\""),
                      "binds the texture second to the sampler pattern"),
              WarningAt("Scene.xml", LineOf(scene, "again"), "the effect odd is defined again")}});
    }
    {
        const std::string scene =
            SceneXml(Object("R", R"(file="models/gone.r" effect="tinted")") +
                     Object("R", R"(file="models/box.r" effect="NULL")") +
                     Object("R", R"(file="models/gone.r" effect="textured")"));
        scenes.push_back({"SameMissingModelFileTwice",
                          scene,
                          {},
                          {ErrorAt("Scene.xml", LineOf(scene, "gone.r\" effect=\"tinted\""),
                                   "The model file models/gone.r was not found"),
                           ErrorAt("Scene.xml", LineOf(scene, "gone.r\" effect=\"textured\""),
                                   "The model file models/gone.r was not found")}});
    }
    {
        const std::string box = RFileBytes(Cube(40));
        scenes.push_back(
            {"RAndRAFilesCutShort",
             SceneXml(Object("R", R"(file="models/cut.r" effect="tinted")") +
                      Object("RA", R"(file="models/no-keys.ra" effect="textured")")),
             // An R file is no RA file: it ends where the key count should be.
             {{"models/cut.r", box.substr(0, 100)}, {"models/no-keys.ra", box}},
             {ErrorAt("models/cut.r", 100, "is cut short: it ends at byte 100"),
              ErrorAt("models/no-keys.ra", static_cast<int>(box.size()),
                      "is cut short: it ends at byte " + std::to_string(box.size()))}});
    }
    {
        std::string obj = ObjText(Cube(40), false);
        obj = Replaced(obj, "f 1//1 2//2 3//3", "f 1//1 2//2 3//99");
        obj = Replaced(obj, "f 1//1 3//3 4//4", "f 1//0 3//3 4//4");
        obj += "v 1 2 x\nf 5//5 6//6 7//7\n";
        scenes.push_back({"ObjUnreadableNumberAndBadIndices",
                          SceneXml(Object("OBJ", R"(file="models/broken.obj" effect="tinted")") +
                                   Object("R", R"(file="models/box.r" effect="textured")")),
                          {{"models/broken.obj", obj}},
                          {ErrorAt("models/broken.obj", LineOf(obj, "v 1 2 x"),
                                   "unreadable number in the v statement"),
                           ErrorAt("models/broken.obj", LineOf(obj, "3//99"),
                                   "has 2 faces with an index outside their arrays")}});
    }
    {
        // Model files the viewer reads otherwise than meant: an R file named as OBJ, OBJ
        // text named as R (completing the reader's entry), faces wound counter-clockwise
        // (at the model's first such face), and a box too small to cover a pixel.
        const std::string ccw = ObjText(Reversed(Cube(40)), false);
        const std::string scene = SceneXml(
            Object("OBJ", R"(file="models/box.r" effect="tinted")") +
            Object("OBJ", R"(file="models/ccw.obj" effect="textured")") +
            Object("R", R"(file="models/ccw.obj" effect="NULL")") +
            R"(    <R file="models/box.r" effect="NULL" pos="-250,300,2654" scale="0.0001,1,1"/>
)");
        scenes.push_back(
            {"ModelFilesReadOtherwiseThanMeant",
             scene,
             {{"models/ccw.obj", ccw}},
             {ErrorAt("models/ccw.obj", static_cast<int>(ccw.size()),
                      "bytes from byte 4). It is OBJ text: name it with an OBJ element."),
              ErrorAt("Scene.xml", LineOf(scene, "<OBJ file=\"models/box.r\""),
                      "the OBJ object models/box.r names a binary file, not OBJ text, so the "
                      "viewer draws nothing of it. It looks like an R mesh (24 vertices and 12 "
                      "triangles fit its 1016 bytes): name it with an R element."),
              WarningAt("models/ccw.obj", LineOf(ccw, "f "),
                        "12 faces wind counter-clockwise as seen from the side their normals "
                        "point to (the first on line 50): the viewer takes clockwise faces as the "
                        "front, so it shows their back and the model looks inside out. scenetool "
                        "convert turns them."),
              WarningAt("Scene.xml", LineOf(scene, "scale=\"0.0001"),
                        "the R object models/box.r is 0.006 pixels across seen from the camera's "
                        "start (0.004 units wide, 400 units away); it does not cover a pixel.")}});
    }
    {
        const std::string scene = R"(<?xml version="1.0"?>
<Scene>
  <Effects>
    <Textures/>
    <Shaders>
      <GLSL name="paint" vert="shaders/paint.vert" frag="shaders/paint.frag"/>
    </Shaders>
    <Effect name="textured">
      <Shader shader="paint"/>
      <Sampler name="pattern"/>
    </Effect>
  </Effects>
  <GraphicObjects>
)" + Object("R", R"(file="models/box.r" effect="textured")") +
                                  "  </GraphicObjects>\n</Scene>\n";
        // The loader gives up on the effects, so the object falls back to NULL.
        scenes.push_back({"SamplerWithOneAttribute",
                          scene,
                          {},
                          {ErrorAt("Scene.xml", LineOf(scene, "<Sampler name=\"pattern\"/>"),
                                   "Sampler needs two attributes, name and texture, but has one"),
                           ErrorAt("Scene.xml", LineOf(scene, "<R file"),
                                   "names the effect textured, which is not registered")}});
    }
    {
        const std::string scene = SceneXml(Object("R", R"(effect="tinted")") +
                                           Object("R", R"(file="models/box.r" effect="textured")"));
        scenes.push_back({"ObjectWithoutFile",
                          scene,
                          {},
                          {ErrorAt("Scene.xml", LineOf(scene, "<R effect=\"tinted\""),
                                   "has no file attribute")}});
    }
    {
        const std::string scene = R"(<?xml version="1.0"?>
<Scene>
  <Effects>
    <Textures>
      <Texture name="checker" file="textures/checker.png"/>
      <Texture name="spare" file="textures/checker.png"/>
      <Texture file="textures/checker.png" name="checker"/>
      <Image name="photo" file="textures/checker.png"/>
    </Textures>
    <Shaders>
      <GLSL name="paint" vert="shaders/paint.vert" frag="shaders/paint.frag"/>
      <GLSL name="lonely" vert="shaders/paint.vert" frag="shaders/paint.frag"/>
    </Shaders>
    <Effect name="tinted">
      <Shader shader="paint"/>
      <Float name="textured" val="0"/>
      <Float name="tnit" val="1"/>
      <Float3 name="tint" val="1,0.3,0.2"/>
    </Effect>
    <Effect name="textured">
      <Shader shader="paint"/>
      <Sampler name="pattern" texture="checker"/>
      <Sampler name="patern" texture="checker"/>
      <Float name="textured" val="1"/>
    </Effect>
    <Effect name="idle">
      <Shader shader="paint"/>
    </Effect>
  </Effects>
  <GraphicObjects>
    <R file="models/box.r" effect="tinted" pos="-250,300,2654" scale="1,1,1"/>
    <R file="models/box.r" effect="textured" pos="-250,300,2654"/>
    <Obj file="models/box.obj" effect="tinted" pos="-250,300,2654" scale="1,1,1"/>
  </GraphicObjects>
</Scene>
)";
        scenes.push_back(
            {"LikelyMistakesAreWarnings",
             scene,
             {},
             {WarningAt("Scene.xml", LineOf(scene, "<Image"),
                        "the element Image in the Textures section is skipped"),
              WarningAt(
                  "Scene.xml", LineOf(scene, "<Obj"),
                  "the element Obj in the GraphicObjects section is skipped: only OBJ, R or RA"),
              WarningAt("Scene.xml", LineOf(scene, "effect=\"textured\" pos"),
                        "has scale 0 (it has no scale attribute)"),
              WarningAt("Scene.xml", LineOf(scene, "name=\"checker\"/>"),
                        "the texture checker is defined again"),
              WarningAt("Scene.xml", LineOf(scene, "name=\"spare\""),
                        "the texture spare is defined but no effect's sampler uses it"),
              WarningAt("Scene.xml", LineOf(scene, "name=\"lonely\""),
                        "the shader program lonely is defined but no effect uses it"),
              WarningAt("Scene.xml", LineOf(scene, "name=\"idle\""),
                        "the effect idle is defined but no object uses it"),
              WarningAt("Scene.xml", LineOf(scene, "name=\"tnit\""),
                        "sets the Float tnit, but its program paint has no active uniform"),
              WarningAt("Scene.xml", LineOf(scene, "name=\"patern\""),
                        "sets the sampler patern, but its program paint has no active uniform")}});
    }
    {
        // Blanks alone do not separate components: the text is read up to the first blank.
        std::string scene = SceneXml(
            Object("R", R"(file="models/box.r" effect="tinted")") +
            "    <R file=\"models/box.r\" effect=\"textured\" pos=\"-250 300 2654\" "
            "scale=\"1,1\"/>\n");
        scene = Replaced(scene, "val=\"1,0.3,0.2\"", "val=\"1 0.3 0.2\"");
        scene = Replaced(scene, "name=\"repeat\" val=\"2,2\"", "name=\"repeat\" val=\"2,2;3\"");
        scene = Replaced(scene, "name=\"textured\" val=\"1\"", "name=\"textured\" val=\"on\"");
        const int box = LineOf(scene, "-250 300 2654");
        scenes.push_back(
            {"ValuesThatDoNotReadAsWritten",
             scene,
             {},
             {WarningAt("Scene.xml", LineOf(scene, "1 0.3 0.2"),
                        "the Float3 tint of the effect tinted has val=\"1 0.3 0.2\", which reads "
                        "as (1, 0, 0): components are separated by one character such as a "
                        "comma, val=\"1,0.3,0.2\"."),
              WarningAt("Scene.xml", LineOf(scene, "val=\"on\""),
                        "the Float textured of the effect textured has val=\"on\", which reads "
                        "as 0: val takes a number."),
              WarningAt("Scene.xml", LineOf(scene, "2,2;3"),
                        "the Float2 repeat of the effect textured has val=\"2,2;3\", which reads "
                        "as (2, 2): the rest, \";3\", is ignored."),
              WarningAt("Scene.xml", box,
                        "the R object models/box.r has pos=\"-250 300 2654\", which reads as "
                        "(-250, 0, 0): components are separated by one character such as a "
                        "comma, pos=\"-250,300,2654\"."),
              WarningAt("Scene.xml", box,
                        "the R object models/box.r has scale=\"1,1\", which reads as (1, 1, 0): "
                        "scale takes 3 numbers, separated by one character such as a comma.")}});
    }
    {
        std::string scene = SceneXml(kBoxes);
        scene = Replaced(scene, "file=\"textures/checker.png\"/>",
                         "file=\"textures/checker.png\" fiel=\"x\"/>");
        scene = Replaced(scene, "<Effect name=\"tinted\">",
                         "<Effect name=\"tinted\" shader=\"paint\">");
        scene = Replaced(scene, "texture=\"checker\"/>", "texture=\"checker\" unit=\"0\"/>");
        scene = Replaced(scene, "name=\"textured\" val=\"1\"", "name=\"textured\" value=\"1\"");
        scene = Replaced(scene, "scale=\"1,1,1\"/>", "scale=\"1,1,1\" spin=\"1\"/>");
        scenes.push_back(
            {"AttributesThatAreNotRead",
             scene,
             {},
             {WarningAt("Scene.xml", LineOf(scene, "fiel="),
                        "the Texture element has an attribute fiel, which it does not take, so it "
                        "is ignored (did you mean file?); it takes name and file."),
              WarningAt("Scene.xml", LineOf(scene, "shader=\"paint\">"),
                        "the Effect element has an attribute shader after its first, so it is "
                        "ignored; it reads only its first attribute, its name (the program goes "
                        "in its Shader element)."),
              WarningAt("Scene.xml", LineOf(scene, "unit="),
                        "the Sampler element has an attribute unit after its second, so it is "
                        "ignored; it takes name and texture, in that order."),
              WarningAt("Scene.xml", LineOf(scene, "value="),
                        "the Float element has the attribute value as its second, where it takes "
                        "only val, so it is ignored (did you mean val?); it takes name and val, in "
                        "that order."),
              WarningAt("Scene.xml", LineOf(scene, "spin="),
                        "the R element has an attribute spin, which it does not take, so it is "
                        "ignored; it takes file, effect, pos and scale.")}});
    }
    {
        // Each section stops at its first failure; for the programs, a second definition of
        // a name that is loaded already. A name close to one that did not load is pointed
        // at it.
        const std::string scene = R"(<?xml version="1.0"?>
<Scene>
  <Effects>
    <Textures>
      <Texture name="checker" file="textures/checker.png"/>
      <Texture name="bricks" file="textures/bricks.png"/>
      <Texture name="stone" file="textures/checker.png"/>
    </Textures>
    <Shaders>
      <GLSL name="paint" vert="shaders/paint.vert" frag="shaders/paint.frag"/>
      <GLSL name="paint" vert="shaders/gone.vert" frag="shaders/paint.frag"/>
      <GLSL name="lonely" vert="shaders/paint.vert" frag="shaders/paint.frag"/>
    </Shaders>
    <Effect name="tinted">
      <Shader shader="paint"/>
      <Sampler name="pattern" texture="brick"/>
    </Effect>
    <Effect name="textured">
      <Shader shader="paint"/>
      <Sampler name="pattern" texture="checker"/>
    </Effect>
  </Effects>
  <GraphicObjects>
)" + kBoxes + "  </GraphicObjects>\n</Scene>\n";
        const std::string bricks = std::to_string(LineOf(scene, "\"bricks\""));
        const int gone = LineOf(scene, "gone.vert");
        scenes.push_back(
            {"DefinitionsAfterAFailureAreNotLoaded",
             scene,
             {},
             {ErrorAt("Scene.xml", LineOf(scene, "\"bricks\""), "Texture bricks"),
              ErrorAt("Scene.xml", gone, "Shader program paint"),
              ErrorAt("Scene.xml", LineOf(scene, "\"brick\""), "binds the texture brick"),
              WarningAt("Scene.xml", gone, "the shader program paint is defined again"),
              WarningAt("Scene.xml", LineOf(scene, "\"stone\""),
                        "the texture stone is not loaded: the Textures section stopped at line " +
                            bricks + ", where the texture bricks failed to load."),
              WarningAt("Scene.xml", LineOf(scene, "\"lonely\""),
                        "the shader program lonely is not loaded: the Shaders section stopped at "
                        "line " +
                            std::to_string(gone) +
                            ", where the shader program paint failed to load."),
              WarningAt("Scene.xml", LineOf(scene, "\"brick\""),
                        "the effect tinted's sampler pattern names the texture brick, which is "
                        "not defined; the texture bricks is defined on line " +
                            bricks + " but did not load."),
              WarningAt("Scene.xml", LineOf(scene, "\"bricks\""),
                        "the texture bricks is defined but no effect's sampler uses it")}});
    }
    return scenes;
}

// Whether `line` is `expected` as printed for the scene folder `prefix` ("DIR/").
::testing::AssertionResult Shows(const std::string& line, const std::string& prefix,
                                 const Expected& expected) {
    const std::string head = prefix + expected.where + ": " + (expected.warning ? "warning: " : "");
    if (line.rfind(head, 0) != 0) {
        return ::testing::AssertionFailure()
               << "\"" << line << "\" does not start with \"" << head << "\"";
    }
    const std::string message = line.substr(head.size());
    if (!expected.warning && message.rfind("warning: ", 0) == 0) {
        return ::testing::AssertionFailure() << "\"" << line << "\" is a warning, not an error";
    }
    if (message.find(expected.fragment) == std::string::npos) {
        return ::testing::AssertionFailure()
               << "\"" << line << "\" does not say \"" << expected.fragment << "\"";
    }
    return ::testing::AssertionSuccess();
}

void WriteUsualFiles(const fs::path& folder) {
    WriteEffectFiles(folder);
    fs::create_directories(folder / "models");
    WriteRFile(folder / "models/box.r", Cube(40));
}

class BrokenSceneTest : public ::testing::TestWithParam<BrokenScene> {};

TEST_P(BrokenSceneTest, PrintsEachProblemAtItsFileAndLineThenTheCounts) {
    const BrokenScene& broken = GetParam();
    TempFolder folder;
    WriteUsualFiles(folder.Path());
    WriteFile(folder.Path(), "Scene.xml", broken.scene);
    for (const auto& [name, content] : broken.files) {
        if (content) {
            WriteFile(folder.Path(), name, *content);
        } else {
            fs::remove(folder.Path() / name);
        }
    }

    const ToolResult result = RunScenetool({"check", folder.Path().string()});
    EXPECT_EQ(result.status, 1) << result.errors;
    const std::string prefix = folder.Path().string() + "/";
    const auto lines = Lines(result.output);
    ASSERT_EQ(lines.size(), broken.problems.size() + 1)
        << "expected " << broken.problems.size() << " problems and the summary:\n"
        << result.output;
    std::size_t warnings = 0;
    for (std::size_t i = 0; i < broken.problems.size(); ++i) {
        EXPECT_TRUE(Shows(lines[i], prefix, broken.problems[i]));
        if (broken.problems[i].warning) ++warnings;
    }
    const std::size_t errors = broken.problems.size() - warnings;
    const std::string summary = lines.back();
    EXPECT_EQ(summary.rfind(prefix + "Scene.xml: " + std::to_string(errors) + " error", 0), 0u)
        << summary;
    EXPECT_NE(summary.find(" and " + std::to_string(warnings) + " warning"), std::string::npos)
        << summary;
}

INSTANTIATE_TEST_SUITE_P(CheckCommand, BrokenSceneTest, ::testing::ValuesIn(BrokenScenes()),
                         [](const auto& info) { return info.param.name; });

// A scene with no problem, and the same scene checked from inside its folder as ".".
TEST(CheckCommandTest, CleanSceneHasOnlyTheSummaryWithTheFolderInFrontUnlessItIsDot) {
    TempFolder folder;
    WriteUsualFiles(folder.Path());
    WriteFile(folder.Path(), "Scene.xml",
              SceneXml(kBoxes + Object("R", R"(file="models/box.r" effect="NULL")")));

    const ToolResult named = RunScenetool({"check", folder.Path().string()});
    EXPECT_EQ(named.status, 0) << named.output << named.errors;
    EXPECT_EQ(named.output, folder.Path().string() + "/Scene.xml: no problems found.\n");

    const ToolResult dot = RunScenetool({"check", "."}, folder.Path());
    EXPECT_EQ(dot.status, 0) << dot.output << dot.errors;
    EXPECT_EQ(dot.output, "Scene.xml: no problems found.\n");
    // Unlike the viewer, the checker leaves no Log.htm behind unless asked.
    EXPECT_FALSE(fs::exists(folder.Path() / "Log.htm"));
}

// A driver that offers only OpenGL 1.5, as Mesa can be told to.
const EnvironmentChanges kOpenGl15 = {{"MESA_GL_VERSION_OVERRIDE", "1.5"}};

TEST(CheckCommandTest, CommandLineMistakesAndAMissingFolderGiveTheirStatus) {
    TempFolder folder;
    const std::string missing = (folder.Path() / "no-such-scene").string();
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string says;  // on stdout or stderr
        EnvironmentChanges environment = {};
    } cases[] = {
        {{"check", missing}, 3, missing},
        {{"check", "--bogus"}, 2, "--bogus"},
        {{"check", folder.Path().string(), "second-folder"}, 2, "second-folder"},
        {{"check", "--log"}, 2, "--log"},
        {{"check", "--help"}, 0, "also write the viewer's Log.htm"},
        {{"check", DEMO_DIR}, 3, "OpenGL 2.0 is not supported", kOpenGl15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        const ToolResult result = RunScenetool(c.arguments, {}, c.environment);
        EXPECT_EQ(result.status, c.status) << result.output << result.errors;
        EXPECT_NE((result.output + result.errors).find(c.says), std::string::npos)
            << result.output << result.errors;
    }
}

// The demo's models are made by scripts/make-demo-assets; it fails until they are there.
TEST(CheckCommandTest, DemoSceneHasNoProblems) {
    const ToolResult result = RunScenetool({"check", DEMO_DIR});
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.output, std::string(DEMO_DIR) + "/Scene.xml: no problems found.\n");
}

// --log names a file from where the tool was started; the scene folder is left as it was.
TEST(CheckCommandTest, LogOptionWritesTheViewersLogThereAndNothingIntoTheSceneFolder) {
    TempFolder scene, caller;
    WriteUsualFiles(scene.Path());
    const std::string sceneText =
        SceneXml(kBoxes + Object("R", R"(file="models/gone.r" effect="NULL")"));
    WriteFile(scene.Path(), "Scene.xml", sceneText);
    const auto listing = [&] {
        std::set<fs::path> files;
        for (const auto& entry : fs::recursive_directory_iterator(scene.Path())) {
            files.insert(entry.path());
        }
        return files;
    };
    const auto before = listing();

    const ToolResult result =
        RunScenetool({"check", scene.Path().string(), "--log", "viewer-log.htm"}, caller.Path());
    EXPECT_EQ(result.status, 1) << result.output << result.errors;

    const auto log = ParseLog(ReadFile((caller.Path() / "viewer-log.htm").string()));
    ASSERT_TRUE(log) << "no log in " << caller.Path();
    EXPECT_TRUE(log->closed);
    const LogEntry notFound =
        Error("Scene.xml line " + std::to_string(LineOf(sceneText, "models/gone.r")) +
              ": The model file models/gone.r was not found.");
    EXPECT_NE(std::find(log->entries.begin(), log->entries.end(), notFound), log->entries.end());
    EXPECT_EQ(listing(), before);
}

}  // namespace
