// docs/errors.md as end-to-end tests: each row of its tables is a scene folder with the
// row's mistake in an otherwise good scene, run in the real viewer on a private X server.
// The log must hold the row's entries, as the document gives them, one after another; and
// what the row says still loads must have loaded. A row without a case here, or a case
// without a row, fails under its ID, so the document and the viewer cannot drift apart.

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <stdexcept>

#include "ErrorTable.h"
#include "ViewerE2eTest.h"
#include "app/GlutShell.h"
#include "common/SizeLimit.h"
#include "support/MeshFiles.h"
#include "support/SceneFolders.h"
#include "support/TestImages.h"

namespace {

namespace fs = std::filesystem;

const std::string kDocumentPath = ERRORS_DOC_PATH;

// In the texts of a case's own checks, stands for the test's working folder.
constexpr std::string_view kFolderMark = "{folder}";

// ---------------------------------------------------------------------------------------
// Pictures. The start camera looks at (-250, 300, 2654): a 40-unit box there fills the
// window's centre, and one at (-190, 300, 2654) stands right of it, around x = 335.

struct Picture {
    std::string shows;  // what the window must show, for failure messages
    std::function<bool(const RgbImage&)> holds;
};

struct Colour {
    int r, g, b;
};

bool Near(const RgbImage& picture, int x, int y, Colour colour, int tolerance = 4) {
    const std::uint8_t* p = picture.At(x, y);
    return std::abs(p[0] - colour.r) <= tolerance && std::abs(p[1] - colour.g) <= tolerance &&
           std::abs(p[2] - colour.b) <= tolerance;
}

bool Black(const RgbImage& picture, int x, int y) { return Near(picture, x, y, {0, 0, 0}, 8); }

// The fixed-function pipeline lights the white material evenly: a plain grey.
bool Grey(const RgbImage& picture, int x, int y) {
    const std::uint8_t* p = picture.At(x, y);
    return p[0] >= 60 && std::abs(p[0] - p[1]) <= 4 && std::abs(p[1] - p[2]) <= 4;
}

// Whether anything is drawn where the box right of the centre stands.
bool RightDrawn(const RgbImage& picture) {
    for (int y = 225; y <= 275; y += 5) {
        for (int x = 300; x <= 365; x += 5) {
            if (!Black(picture, x, y)) return true;
        }
    }
    return false;
}

constexpr int kCentre = 250;
constexpr int kRightX = 335;
// The tinted effect: the program's flat colour 1, 0.3, 0.2.
constexpr Colour kTint{255, 77, 51};

const Picture kTintedBox{"the tinted box at the centre",
                         [](const RgbImage& p) { return Near(p, kCentre, kCentre, kTint); }};
const Picture kGreyBox{"a grey box (fixed-function pipeline) at the centre",
                       [](const RgbImage& p) { return Grey(p, kCentre, kCentre); }};
const Picture kRedBox{"a pure red box at the centre (tint read as 1,0,0)", [](const RgbImage& p) {
                          return Near(p, kCentre, kCentre, {255, 0, 0});
                      }};
const Picture kRightMissing{
    "the tinted box at the centre and nothing right of it",
    [](const RgbImage& p) { return Near(p, kCentre, kCentre, kTint) && !RightDrawn(p); }};
const Picture kRightGrey{"the tinted box at the centre and a grey box right of it",
                         [](const RgbImage& p) {
                             return Near(p, kCentre, kCentre, kTint) && Grey(p, kRightX, kCentre);
                         }};
const Picture kRightPartlyDrawn{
    "the tinted box at the centre and the OBJ box right of it",
    [](const RgbImage& p) { return Near(p, kCentre, kCentre, kTint) && RightDrawn(p); }};
const Picture kBlackCentreGreyRight{
    "a black box at the centre and a grey box right of it",
    [](const RgbImage& p) { return Black(p, kCentre, kCentre) && Grey(p, kRightX, kCentre); }};

// ---------------------------------------------------------------------------------------
// Scenes: kEffects (the texture checker, the program paint, the effects tinted and
// textured) with a good box at the centre, and the object under test right of it.

std::string Object(const std::string& type, const std::string& attributes) {
    return "    <" + type + " " + attributes + "/>\n";
}

const std::string kGoodBox =
    Object("R", R"(file="models/box.r" effect="tinted" pos="-250,300,2654" scale="1,1,1")");

std::string RightObject(const std::string& type, const std::string& file,
                        const std::string& effect = "NULL") {
    return Object(type, "file=\"" + file + "\" effect=\"" + effect +
                            "\" pos=\"-190,300,2654\" scale=\"1,1,1\"");
}

// The scene with the good box and `objects` after it.
std::string Scene(const std::string& objects = "") { return SceneXml(kGoodBox + objects); }

// `text` with the first `from` replaced; a case whose text is not there is a broken case.
std::string Replaced(std::string text, std::string_view from, std::string_view to) {
    const auto at = text.find(from);
    if (at == std::string::npos) throw std::logic_error("no \"" + std::string(from) + "\"");
    return text.replace(at, from.size(), to);
}

std::string ReplacedAll(std::string text, std::string_view from, std::string_view to) {
    if (text.find(from) == std::string::npos) {
        throw std::logic_error("no \"" + std::string(from) + "\"");
    }
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// OBJ text with every corner of every face rewritten by `corner`, and without its vn
// lines if `dropNormals`.
std::string Rewritten(const std::string& text, bool dropNormals,
                      const std::function<std::string(const std::string&)>& corner) {
    std::istringstream in(text);
    std::string out;
    for (std::string line; std::getline(in, line);) {
        if (dropNormals && line.starts_with("vn ")) continue;
        if (line.starts_with("f ")) {
            std::istringstream corners(line.substr(2));
            line = "f";
            for (std::string each; corners >> each;) line += " " + corner(each);
        }
        out += line + "\n";
    }
    return out;
}

std::string SceneLine(const std::string& scene, std::string_view needle) {
    const int line = LineOf(scene, needle);
    if (line == 0) throw std::logic_error("no \"" + std::string(needle) + "\" in the scene");
    return "Scene.xml line " + std::to_string(line);
}

// ---------------------------------------------------------------------------------------
// Files.

using Files = std::function<void(const fs::path&)>;

const TestMesh& Box() {
    static const TestMesh box = Cube(40);
    return box;
}

const std::vector<TranslationKey> kKeys = {{0, 0, 0, 0}, {1000, 10, 0, 0}};
const std::vector<AuxKey> kAuxKeys = {{0, {1, 2, 3, 4}}};

// The box's R file with the word at byte `offset` set to `value`.
std::string WithWord(std::string bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.at(offset + i) = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

// The fifth index of the box's files, at byte 872 + 16.
constexpr std::size_t kFifthIndex = 888;

Files Write(const std::string& name, const std::string& content) {
    return [=](const fs::path& folder) { WriteFile(folder, name, content); };
}

Files Remove(const std::string& name) {
    return [=](const fs::path& folder) { fs::remove(folder / name); };
}

// Puts a folder where the file `name` should be.
Files FolderAt(const std::string& name) {
    return [=](const fs::path& folder) {
        fs::remove(folder / name);
        fs::create_directories(folder / name);
    };
}

// Puts a symbolic link to itself where the file `name` should be: the file is there but
// cannot be opened, as one without read permission (the tests run as root, for whom
// permissions do not stop reading).
Files LinkLoop(const std::string& name) {
    return [=](const fs::path& folder) {
        fs::remove(folder / name);
        fs::create_symlink(fs::path(name).filename(), folder / name);
    };
}

// Puts a symbolic link to `target` where the file `name` should be.
Files LinkTo(const std::string& name, const std::string& target) {
    return [=](const fs::path& folder) {
        fs::remove(folder / name);
        fs::create_symlink(target, folder / name);
    };
}

// A black PNG file of `width` x `height` pixels, one bit each.
Files BlackPng(const std::string& name, std::uint32_t width, std::uint32_t height) {
    return [=](const fs::path& folder) {
        const std::string rows(std::size_t(height) * (1 + (width + 7) / 8), '\0');
        WriteFile(folder, name, PngBytes(width, height, 1, 0, rows));
    };
}

// A 2 by 2 image of floating-point colours (PFM), which has no 24-bit form.
std::string FloatImage() {
    std::string bytes = "PF\n2 2\n-1.0\n";
    const float colour[3] = {1.0f, 0.5f, 0.25f};
    for (int pixel = 0; pixel < 4; ++pixel) {
        bytes.append(reinterpret_cast<const char*>(colour), sizeof colour);
    }
    return bytes;
}

// ---------------------------------------------------------------------------------------
// Cases.

enum class Ending {
    Closed,  // reaches the main loop and ends with status 0 when the window is closed
    Exits,   // ends by itself, without a window or before its main loop
    NoLog,   // as Closed, but without a log
};

struct RowCase {
    std::string id;
    std::optional<std::string> scene;  // Scene.xml; none: no file is written
    Files files = {};                  // run after the usual files and the scene are written
    // What shows that the rest loaded: runs of entries, each one after another in the log.
    std::vector<std::vector<LogEntry>> alsoLogged = {};
    std::vector<LogEntry> absent = {};  // entries no line of the log may match
    std::optional<Picture> picture = {};
    Ending ending = Ending::Closed;
    int exitStatus = kExitOk;
    bool withServer = true;
    EnvironmentChanges environment = {};
};

std::vector<LogEntry> GoodBoxEntries() {
    return ObjectEntries("R", "models/box.r", "tinted", "-250,300,2654");
}

const std::vector<LogEntry> kEffectsRead = {Message("name:\ttinted"), Message("shader:\tpaint"),
                                            Message("name:\ttextured"), Message("shader:\tpaint")};
const std::vector<LogEntry> kNothingLoaded = {Error("In scene Load() method."), Title("Main Loop")};
const std::vector<LogEntry> kFactoryRan = {Heading("Factory."), Message("starting at: \t…")};

LogEntry NoProgram(const std::string& effect, const std::string& program) {
    return Error("Scene.xml line …: Effect " + effect + " names the shader program " + program +
                 ", which is not registered; it is drawn without a program.");
}

LogEntry NoTexture(const std::string& texture, const std::string& sampler) {
    return Error("Scene.xml line …: Effect textured binds the texture " + texture +
                 " to the sampler " + sampler +
                 ", but that texture is not registered; no texture is bound.");
}

std::vector<RowCase> StartCases() {
    return {
        {.id = "E01",
         .scene = Scene(),
         .absent = {Title("Scene initialization")},
         .ending = Ending::Exits,
         .exitStatus = kExitNoWindow,
         .withServer = false},
        {.id = "E02",
         .scene = Scene(),
         .absent = {Title("Scene initialization")},
         .ending = Ending::Exits,
         .exitStatus = kExitNoOpenGL2,
         .environment = {{"MESA_GL_VERSION_OVERRIDE", "1.5"}}},
        {.id = "E03",
         .scene = Scene(),
         .files = FolderAt("Log.htm"),
         .picture = kTintedBox,
         .ending = Ending::NoLog},
    };
}

std::vector<RowCase> SceneFileCases() {
    std::vector<RowCase> cases = {
        {.id = "E04",
         .scene = std::nullopt,
         .alsoLogged = {{Error("Scene.xml was not found in the working folder {folder}.")},
                        kNothingLoaded}},
        {.id = "E05", .scene = "", .alsoLogged = {kNothingLoaded}},
        {.id = "E06",
         .scene = "<?xml version=\"1.0\"?>\n<!-- the scene comes later -->\n",
         .alsoLogged = {kNothingLoaded}},
        {.id = "E07",
         .scene = std::nullopt,
         .files = FolderAt("Scene.xml"),
         .alsoLogged = {kNothingLoaded}},
        {.id = "E08",
         .scene = std::nullopt,
         .files = LinkLoop("Scene.xml"),
         .alsoLogged = {kNothingLoaded},
         .absent = {Error("Scene.xml was not found…")}},
    };
    {
        const std::string scene = Replaced(Scene(), "name=\"checker\"", "name=checker");
        cases.push_back({.id = "E09",
                         .scene = scene,
                         .alsoLogged = {{Error(SceneLine(scene, "name=checker") +
                                               " is not well-formed XML: …")},
                                        kNothingLoaded}});
    }
    {
        const std::string scene = Replaced(Scene(), "  </Effects>", "  </Effect>");
        cases.push_back(
            {.id = "E90",
             .scene = scene,
             .alsoLogged = {{Error(SceneLine(scene, "</Effect>\n  <GraphicObjects>") +
                                   " is not well-formed XML: the end tag </Effect> "
                                   "does not match the open element <Effects> from line " +
                                   std::to_string(LineOf(scene, "<Effects>")) + ".")},
                            kNothingLoaded}});
    }
    {
        const std::string scene =
            Replaced(Scene(), "<Texture name=\"checker\" file=\"textures/checker.png\"/>",
                     "<Texture name=\"checker\" file=\"textures/checker.png\">");
        cases.push_back(
            {.id = "E91",
             .scene = scene,
             .alsoLogged = {{Error(SceneLine(scene, "</Textures>") +
                                   " is not well-formed XML: the end tag </Textures> "
                                   "does not match the open element <Texture> from line " +
                                   std::to_string(LineOf(scene, "<Texture ")) + ".")},
                            kNothingLoaded}});
    }
    {
        const std::string scene =
            Replaced(Scene(), "  <GraphicObjects>", "  <!-- the boxes\n  <GraphicObjects>");
        cases.push_back({.id = "E92",
                         .scene = scene,
                         .alsoLogged = {{Error(SceneLine(scene, "<!--") +
                                               " is not well-formed XML: a comment <!-- is not "
                                               "closed by -->.")},
                                        kNothingLoaded}});
    }
    {
        const std::string scene = ReplacedAll(Scene(), "Scene>", "scene>");
        cases.push_back(
            {.id = "E10",
             .scene = scene,
             .alsoLogged = {{Error(SceneLine(scene, "<scene>") + ": …")}, kNothingLoaded}});
    }
    {
        const std::string scene = "<?xml version=\"1.0\"?>\n<Scene>\n  <GraphicObjects>\n" +
                                  kGoodBox + "  </GraphicObjects>\n</Scene>\n";
        cases.push_back(
            {.id = "E11",
             .scene = scene,
             .alsoLogged = {{Error(SceneLine(scene, "<Scene>") + ": …")}, kNothingLoaded},
             .absent = {Message("file:\tmodels/box.r")}});
    }
    {
        const std::string scene = Replaced(Scene(),
                                           "    <Textures>\n      <Texture name=\"checker\" "
                                           "file=\"textures/checker.png\"/>\n    </Textures>\n",
                                           "");
        cases.push_back({.id = "E12",
                         .scene = scene,
                         .alsoLogged = {{Error(SceneLine(scene, "<Effects>") + ": …")},
                                        {NoTexture("checker", "pattern")},
                                        GoodBoxEntries()},
                         .picture = kTintedBox});
    }
    {
        const std::string scene = Replaced(Scene(),
                                           "    <Shaders>\n      <GLSL name=\"paint\" "
                                           "vert=\"shaders/paint.vert\" "
                                           "frag=\"shaders/paint.frag\"/>\n    </Shaders>\n",
                                           "");
        cases.push_back(
            {.id = "E13",
             .scene = scene,
             .alsoLogged = {{Error(SceneLine(scene, "<Effects>") + ": …")},
                            {NoProgram("tinted", "paint"), NoProgram("textured", "paint")},
                            GoodBoxEntries()},
             .picture = kGreyBox});
    }
    {
        const std::string scene = std::string(kEffects) + "</Scene>\n";
        cases.push_back(
            {.id = "E14",
             .scene = scene,
             .alsoLogged = {
                 {Error(SceneLine(scene, "<Scene>") + ": …")}, kEffectsRead, kNothingLoaded}});
    }
    cases.push_back({.id = "E15",
                     .scene = std::string(kEffects) + "  <GraphicObjects>\n" + kGoodBox +
                              "  </GraphicObjects>\n  <GraphicObjects>\n" +
                              RightObject("R", "models/box.r") + "  </GraphicObjects>\n</Scene>\n",
                     .alsoLogged = {GoodBoxEntries()},
                     .absent = {Message("pos:\t-190,300,2654")},
                     .picture = kRightMissing});
    return cases;
}

std::vector<RowCase> TextureCases() {
    const std::string texture = R"(<Texture name="checker" file="textures/checker.png"/>)";
    // The box loads; the textured effect reports that its texture did not.
    const auto failed = [&](const std::string& id, Files files, std::string scene = Scene()) {
        return RowCase{.id = id,
                       .scene = std::move(scene),
                       .files = std::move(files),
                       .alsoLogged = {{NoTexture("checker", "pattern")}, GoodBoxEntries()},
                       .picture = kTintedBox};
    };
    // A second texture after the missing one, bound by a second sampler: it does not load.
    const std::string twoTextures = Replaced(
        Replaced(Scene(), texture,
                 texture + "\n      <Texture name=\"spare\" file=\"textures/checker.png\"/>"),
        R"(<Sampler name="pattern" texture="checker"/>)",
        R"(<Sampler name="pattern" texture="checker"/>
      <Sampler name="extra" texture="spare"/>)");
    RowCase missing = failed("E16", Remove("textures/checker.png"), twoTextures);
    missing.alsoLogged[0].push_back(NoTexture("spare", "extra"));
    return {
        missing,
        failed("E17", Write("textures/checker.png", "hello, this is not an image\n")),
        failed("E18",
               [](const fs::path& folder) {
                   const std::string png = ReadFile(folder / "textures/checker.png");
                   WriteFile(folder, "textures/checker.png", png.substr(0, 40));
               }),
        failed("E19", Write("textures/checker.pfm", FloatImage()),
               Replaced(Scene(), "textures/checker.png", "textures/checker.pfm")),
        failed("E20", FolderAt("textures/checker.png")),
        failed("E21", LinkLoop("textures/checker.png")),
        failed("E22", {}, Replaced(Scene(), R"( file="textures/checker.png")", "")),
        // Black PNG files of their size, written when the case runs: the largest holds 33 MB
        // of rows.
        failed("E84", BlackPng("textures/checker.png", 16385, 1)),
        failed("E85", BlackPng("textures/checker.png", 16385, 16385)),
        failed("E86", Write("textures/checker.png", PngBytes(20000, 20000, 8, 2, ""))),
        {.id = "E23",
         .scene =
             Replaced(Scene(), texture,
                      texture + "\n      <Image name=\"photo\" file=\"textures/checker.png\"/>"),
         .alsoLogged = {{Heading("Image"), Heading("GLSL")}, GoodBoxEntries()},
         .absent = {Message("name:\tphoto")},
         .picture = kTintedBox},
    };
}

std::vector<RowCase> ShaderCases() {
    const std::string program =
        R"(<GLSL name="paint" vert="shaders/paint.vert" frag="shaders/paint.frag"/>)";
    // The effects name a program that did not load: the box is drawn without one.
    const auto failed = [&](const std::string& id, Files files, std::string scene = Scene()) {
        return RowCase{
            .id = id,
            .scene = std::move(scene),
            .files = std::move(files),
            .alsoLogged = {{NoProgram("tinted", "paint"), NoProgram("textured", "paint")},
                           GoodBoxEntries()},
            .picture = kGreyBox};
    };
    // A second program after the failing one, used by a third effect: it does not load.
    const std::string twoPrograms =
        Replaced(Replaced(Scene(), program,
                          program + "\n      <GLSL name=\"spare\" vert=\"shaders/paint.vert\" "
                                    "frag=\"shaders/paint.frag\"/>"),
                 "  </Effects>",
                 "    <Effect name=\"plain\">\n      <Shader shader=\"spare\"/>\n"
                 "    </Effect>\n  </Effects>");
    RowCase missing = failed("E24", Remove("shaders/paint.vert"), twoPrograms);
    missing.alsoLogged[0].push_back(NoProgram("plain", "spare"));

    // The program is kept but did not build: each effect using it says so and draws its
    // objects without a program, never with the one the object before left in use.
    const auto notBuilt = [](const std::string& effect) {
        return Error("Scene.xml line …: Effect " + effect +
                     " uses the shader program paint, which did not build; it is drawn "
                     "without a program.");
    };
    const auto unusable = [&](const std::string& id, Files files) {
        return RowCase{.id = id,
                       .scene = Scene(),
                       .files = std::move(files),
                       .alsoLogged = {kEffectsRead,
                                      {notBuilt("tinted"), notBuilt("textured")},
                                      GoodBoxEntries()},
                       .absent = {NoProgram("tinted", "paint")},
                       .picture = kGreyBox};
    };
    return {
        missing,
        failed("E25", Remove("shaders/paint.frag")),
        failed("E26", FolderAt("shaders/paint.frag")),
        failed("E27", LinkLoop("shaders/paint.vert")),
        failed("E28", LinkTo("shaders/paint.vert", "/dev/zero")),
        failed("E29", {}, Replaced(Scene(), R"( vert="shaders/paint.vert")", "")),
        unusable("E30", Write("shaders/paint.vert",
                              "#version 120\nvoid main() {\n    gl_Position = ftransform()\n}\n")),
        unusable("E31", Write("shaders/paint.frag",
                              "#version 120\nvoid main() {\n    gl_FragColor = vec4(1.0)\n}\n")),
        unusable("E32", Write("shaders/paint.frag", "#version 120\nvoid paint() {}\n")),
        {.id = "E33",
         .scene = Replaced(Scene(), program,
                           program + "\n      <HLSL name=\"fancy\" vert=\"shaders/paint.vert\" "
                                     "frag=\"shaders/paint.frag\"/>"),
         .alsoLogged = {{Heading("HLSL"), Message("name:\ttinted")}, GoodBoxEntries()},
         .absent = {Message("name:\tfancy")},
         .picture = kTintedBox},
    };
}

std::vector<RowCase> EffectCases() {
    const std::string sampler = R"(<Sampler name="pattern" texture="checker"/>)";
    const std::string tintedEnd = R"(<Float3 name="tint" val="1,0.3,0.2"/>)";
    // Loads as a scene without the mistake would.
    const auto loads = [](const std::string& id, std::string scene,
                          std::optional<Picture> picture = std::nullopt) {
        return RowCase{.id = id,
                       .scene = std::move(scene),
                       .alsoLogged = {kEffectsRead, GoodBoxEntries()},
                       .picture = std::move(picture)};
    };
    // The effects section gives up: the box names an effect that is not registered.
    const auto noEffects = [](const std::string& id, const std::string& scene,
                              const std::string& needle) {
        return RowCase{
            .id = id,
            .scene = scene,
            .alsoLogged = {{Error(SceneLine(scene, needle) + ": …")},
                           {Error(SceneLine(scene, "effect=\"tinted\" pos") +
                                  ": the R object models/box.r names the effect tinted, which is "
                                  "not registered; it is drawn with the NULL effect.")}},
            .picture = kGreyBox};
    };
    // The textured box at the centre, and a NULL box right of it to show a frame is drawn.
    const std::string texturedBox =
        Object("R", R"(file="models/box.r" effect="textured" pos="-250,300,2654" scale="1,1,1")");
    std::vector<RowCase> cases = {
        loads("E34",
              Replaced(Scene(), R"(<Shader shader="paint"/>)", R"(<Shader shader="nosuch"/>)"),
              kGreyBox),
        loads("E35", Replaced(Scene(), "      <Shader shader=\"paint\"/>\n", ""), kGreyBox),
        loads("E36", Replaced(Scene(), sampler, R"(<Sampler name="pattern" texture="nowhere"/>)"),
              kTintedBox),
        loads("E37", Replaced(Scene(), sampler, R"(<Sampler name="pattern" file="checker"/>)")),
        loads("E38", Replaced(Scene(), sampler, R"(<Sampler texture="checker" name="pattern"/>)")),
    };
    // The tinted effect's Shader element is changed or gone.
    cases[0].alsoLogged[0] = {Message("name:\ttinted"), Message("shader:\tnosuch")};
    cases[1].alsoLogged[0] = {Message("name:\ttinted"), Message("name:\ttextured"),
                              Message("shader:\tpaint")};
    {
        const std::string scene = Replaced(Scene(), sampler, R"(<Sampler name="pattern"/>)");
        cases.push_back(noEffects("E39", scene, "<Sampler name=\"pattern\"/>"));
    }
    {
        const std::string scene =
            Replaced(Scene(), R"(<Float name="textured" val="0"/>)", R"(<Float name="textured"/>)");
        cases.push_back(noEffects("E40", scene, "<Float name=\"textured\"/>"));
    }
    {
        const std::string scene = Replaced(Scene(), tintedEnd, tintedEnd + "\n      <Float3/>");
        cases.push_back(noEffects("E41", scene, "<Float3/>"));
    }
    cases.push_back(
        loads("E42", Replaced(Scene(), "val=\"1,0.3,0.2\"", "val=\"1 0.3 0.2\""), kRedBox));
    // The textured box shows its tint, never set (0), instead of the texture.
    cases.push_back({.id = "E43",
                     .scene = Replaced(SceneXml(texturedBox + RightObject("R", "models/box.r")),
                                       R"(<Float name="textured" val="1"/>)",
                                       R"(<Float name="textured" val="one"/>)"),
                     .alsoLogged = {kEffectsRead},
                     .picture = kBlackCentreGreyRight});
    // The tint goes nowhere: the tinted box is black.
    cases.push_back({.id = "E44",
                     .scene = Replaced(Scene(RightObject("R", "models/box.r")), "name=\"tint\"",
                                       "name=\"tnit\""),
                     .alsoLogged = {kEffectsRead, GoodBoxEntries()},
                     .picture = kBlackCentreGreyRight});
    cases.push_back(
        loads("E45", Replaced(Scene(), sampler, R"(<Sampler name="patern" texture="checker"/>)")));
    // The second tinted effect would draw the box green.
    cases.push_back(
        loads("E46",
              Replaced(Scene(), "  </Effects>",
                       "    <Effect name=\"tinted\">\n      <Shader shader=\"paint\"/>\n"
                       "      <Float name=\"textured\" val=\"0\"/>\n"
                       "      <Float3 name=\"tint\" val=\"0,1,0\"/>\n"
                       "    </Effect>\n  </Effects>"),
              kTintedBox));
    return cases;
}

std::vector<RowCase> ObjectCases() {
    const auto right = [](const std::string& attributes) {
        return Object("R", attributes + R"( pos="-190,300,2654")");
    };
    // The object right of the good box is logged as it is written and reported at its line.
    const auto reported = [&](const std::string& id, const std::string& object,
                              const std::string& needle, const Picture& picture) {
        const std::string scene = Scene(object);
        return RowCase{.id = id,
                       .scene = scene,
                       .alsoLogged = {GoodBoxEntries(), {Error(SceneLine(scene, needle) + ": …")}},
                       .picture = picture};
    };
    // The object is read without complaint but is not seen.
    const auto unseen = [&](const std::string& id, const std::string& object) {
        return RowCase{.id = id,
                       .scene = Scene(object),
                       .alsoLogged = {GoodBoxEntries(), kFactoryRan},
                       .picture = kRightMissing};
    };
    return {
        {.id = "E47",
         .scene = Scene(Object("Obj", R"(file="models/box.r" effect="NULL" pos="-190,300,2654" )"
                                      R"(scale="1,1,1")")),
         .alsoLogged = {GoodBoxEntries(), {Heading("Obj"), Message("end parsing \t…")}},
         .picture = kRightMissing},
        reported("E48", RightObject("R", "models/box.r", "glossy"), "effect=\"glossy\"",
                 kRightGrey),
        reported("E95", RightObject("R", "models/box.r", "tinded"), "effect=\"tinded\"",
                 kRightGrey),
        reported("E49", right(R"(file="models/box.r" scale="1,1,1")"),
                 "file=\"models/box.r\" scale", kRightGrey),
        reported("E50", right(R"(effect="NULL" scale="1,1,1")"), "effect=\"NULL\" scale",
                 kRightMissing),
        unseen("E51", right(R"(file="models/box.r" effect="NULL")")),
        unseen("E52", Object("R", R"(file="models/box.r" effect="NULL" pos="-190 300 2654" )"
                                  R"(scale="1,1,1")")),
        unseen("E53", right(R"(file="models/box.r" effect="NULL" scale="large")")),
    };
}

std::vector<RowCase> ModelFileCases() {
    // The object right of the good box is skipped.
    const auto skipped = [](const std::string& id, const std::string& type, const std::string& file,
                            Files files = {}) {
        return RowCase{.id = id,
                       .scene = Scene(RightObject(type, file)),
                       .files = std::move(files),
                       .alsoLogged = {GoodBoxEntries(), kFactoryRan},
                       .picture = kRightMissing};
    };
    const std::string box = RFileBytes(Box());
    const std::string animated = RAFileBytes(Box(), kKeys, kAuxKeys);
    const auto r = [&](const std::string& id, const std::string& bytes) {
        return skipped(id, "R", "models/cut.r", Write("models/cut.r", bytes));
    };
    const auto ra = [&](const std::string& id, const std::string& bytes) {
        return skipped(id, "RA", "models/cut.ra", Write("models/cut.ra", bytes));
    };
    // A sparse file one byte larger than the memory: it takes no room on the disk.
    const std::uint64_t huge = FileSizeLimit() + 1;
    RowCase tooLarge = skipped("E61", "R", "models/huge.r", [=](const fs::path& folder) {
        WriteFile(folder, "models/huge.r", RFileBytes(Box()));
        fs::resize_file(folder / "models/huge.r", huge);
    });
    tooLarge.alsoLogged.push_back(
        {Error("Scene.xml line …: The model file models/huge.r is too large: it is " +
               std::to_string(huge) +
               " bytes long, more than this machine's memory of " +
               std::to_string(FileSizeLimit()) + " bytes. It is not read.")});
    return {
        skipped("E54", "OBJ", "models/gone.obj"),
        skipped("E55", "R", "models/gone.r"),
        skipped("E56", "RA", "models/gone.ra"),
        skipped("E57", "R", "models"),
        skipped("E58", "OBJ", "models"),
        skipped("E59", "R", "models/loop.r", LinkLoop("models/loop.r")),
        skipped("E60", "R", "models/device.r", LinkTo("models/device.r", "/dev/zero")),
        tooLarge,
        r("E62", ""),
        r("E63", box.substr(0, 2)),
        r("E64", box.substr(0, 100)),
        r("E65", box.substr(0, 870)),
        r("E66", box.substr(0, 900)),
        r("E67", WithWord(box, kFifthIndex, 99)),
        r("E68", WithWord(box, 0, 0xFFFFFFFF)),
        r("E69", WithWord(box, 868, 0xFFFFFFFF)),
        ra("E70", box),
        ra("E71", animated.substr(0, 1040)),
        ra("E72", animated.substr(0, 1052)),
        ra("E73", animated.substr(0, 1066)),
        ra("E74", WithWord(animated, kFifthIndex, 99)),
        ra("E75", WithWord(box, kFifthIndex, 99) + "\x02"),
        ra("E76", box + std::string(4, '\xFF')),
    };
}

std::vector<RowCase> ObjCases() {
    const std::string plain = ObjText(Box(), false);
    const std::string textured = ObjText(Box(), true);
    const auto obj = [](const std::string& id, const std::string& text, const Picture& picture) {
        return RowCase{.id = id,
                       .scene = Scene(RightObject("OBJ", "models/box.obj")),
                       .files = Write("models/box.obj", text),
                       .alsoLogged = {GoodBoxEntries(), kFactoryRan},
                       .picture = picture};
    };
    // The box with faces of positions and normals only (p//n), though it has texture
    // coordinates, and the box without normals, its faces of positions only.
    const std::string untexturedFaces = Rewritten(textured, false, [](const std::string& corner) {
        return corner.substr(0, corner.find('/')) + "//" + corner.substr(corner.rfind('/') + 1);
    });
    const std::string noNormals = Rewritten(
        plain, true, [](const std::string& corner) { return corner.substr(0, corner.find('/')); });
    return {
        obj("E77", plain + "v 1 2 x\nf 5//5 6//6 7//7\n", kRightPartlyDrawn),
        obj("E78", plain + "v 1 2", kRightPartlyDrawn),
        obj("E100", plain + "f 5//5/5 6//6 7//7\nf 5//5 6//6 7//7\n", kRightPartlyDrawn),
        obj("E101", plain + "v 1 2 3e\nf 5//5 6//6 7//7\n", kRightPartlyDrawn),
        obj("E79", Replaced(plain, "f 1//1 2//2 3//3", "f 1//1 2//2 99//3"), kRightPartlyDrawn),
        obj("E80",
            Replaced(Replaced(plain, "f 1//1 2//2 3//3", "f 1//1 2//2 3//99"), "f 1//1 3//3 4//4",
                     "f 1//0 3//3 4//4"),
            kRightPartlyDrawn),
        obj("E81", noNormals, kRightMissing),
        obj("E82", Replaced(textured, "f 1/1/1 2/2/2 3/3/3", "f 1/1/1 2/2/2 3/30/3"),
            kRightPartlyDrawn),
        obj("E83", untexturedFaces, kRightMissing),
    };
}

std::vector<RowCase> MakeCases() {
    std::vector<RowCase> cases;
    for (auto group : {StartCases, SceneFileCases, TextureCases, ShaderCases, EffectCases,
                       ObjectCases, ModelFileCases, ObjCases}) {
        for (RowCase& c : group()) cases.push_back(std::move(c));
    }
    return cases;
}

const std::vector<RowCase>& Cases() {
    static const std::vector<RowCase> cases = MakeCases();
    return cases;
}

const std::vector<ErrorTableRow>& DocumentRows() {
    static const std::vector<ErrorTableRow> rows = ParseErrorTable(ReadFile(kDocumentPath));
    return rows;
}

// The IDs of the document's rows in order, then those of cases that have no row.
std::vector<std::string> RowIds() {
    std::vector<std::string> ids;
    const auto add = [&](const std::string& id) {
        if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
    };
    for (const ErrorTableRow& row : DocumentRows()) add(row.id);
    for (const RowCase& c : Cases()) add(c.id);
    return ids;
}

// Entries one to a line, tabs and line breaks shown as in the document.
std::string Printed(const std::vector<LogEntry>& entries) {
    std::ostringstream out;
    for (LogEntry entry : entries) {
        std::string shown;
        for (const char c : entry.text) {
            shown += c == '\t'   ? std::string("\\t")
                     : c == '\n' ? std::string("\\n")
                                 : std::string(1, c);
        }
        entry.text = shown;
        out << "  " << entry << "\n";
    }
    return out.str();
}

std::string WithFolder(std::string text, const fs::path& folder) {
    for (auto at = text.find(kFolderMark); at != std::string::npos; at = text.find(kFolderMark)) {
        text.replace(at, kFolderMark.size(), folder.string());
    }
    return text;
}

// The fixed entries that follow the one saying why a section or the whole load failed.
constexpr std::array kFollowups = {"File Scene.xml not exist.", "No … tag in Scene.xml…",
                                   "Scene::Load() catch exception in … loading.",
                                   "In scene Load() method."};

class ErrorTableE2eTest : public ViewerE2eTest, public ::testing::WithParamInterface<std::string> {
protected:
    void WriteFolder(const RowCase& c) {
        WriteEffectFiles(folder.Path());
        fs::create_directories(folder.Path() / "models");
        WriteRFile(folder.Path() / "models/box.r", Box());
        if (c.scene) WriteScene(*c.scene);
        if (c.files) c.files(folder.Path());
    }

    void CheckPicture(WindowId window, const Picture& picture, const std::string& id) {
        if (WaitForPicture(window, picture.holds)) return;
        const auto shown = Grab(window);
        if (shown) shown->SavePng((folder.Path() / "window.png").string());
        ADD_FAILURE() << "row " << id << ": the window does not show " << picture.shows
                      << " (its picture is kept as window.png)";
    }

    // The log holds the row's entries one after another, and the case's own checks.
    void CheckLog(const ErrorTableRow& row, const RowCase& c) {
        const auto log = ReadLog();
        ASSERT_TRUE(log) << "row " << row.id << ": no log, or not a log, at " << LogPath();
        EXPECT_TRUE(log->closed) << "row " << row.id << ": the log has no closing lines";
        const std::vector<LogEntry>& entries = log->entries;
        EXPECT_TRUE(FindRun(entries, row.entries))
            << "row " << row.id << " (docs/errors.md line " << row.line
            << "): the log does not hold these entries one after another:\n"
            << Printed(row.entries) << "The log:\n"
            << Printed(entries);
        if (row.noErrorEntry) {
            for (const LogEntry& entry : entries) {
                EXPECT_NE(entry.kind, LogEntry::Kind::Error)
                    << "row " << row.id << " says there is no error entry, but the log has "
                    << entry;
            }
        }
        for (const auto& run : c.alsoLogged) {
            std::vector<LogEntry> patterns = run;
            for (LogEntry& pattern : patterns)
                pattern.text = WithFolder(pattern.text, folder.Path());
            EXPECT_TRUE(FindRun(entries, patterns))
                << "row " << row.id << ": what still loads is not in the log; missing:\n"
                << Printed(patterns) << "The log:\n"
                << Printed(entries);
        }
        for (const LogEntry& pattern : c.absent) {
            EXPECT_FALSE(FindRun(entries, {pattern}))
                << "row " << row.id << ": the log has an entry it should not: " << pattern;
        }
        // The console gets one line on standard error when the load logged errors,
        // counting those that say why and not the ones that only repeat that a section or
        // the load failed (unless nothing came before to say why); nothing when the viewer
        // ended before loading, and nothing else.
        int errors = 0;
        bool explained = false;
        for (const LogEntry& e : entries) {
            if (c.ending != Ending::Closed || e.kind != LogEntry::Kind::Error) continue;
            const bool followup =
                std::any_of(kFollowups.begin(), kFollowups.end(), [&](const char* fixed) {
                    return MatchesPattern(fixed, e.text);
                });
            if (!followup || !explained) ++errors;
            explained = true;
        }
        EXPECT_EQ(ViewerErrors(), errors == 0 ? "" : LoadErrorsLine(errors))
            << "row " << row.id << ": standard error";
        EXPECT_EQ(ViewerOutput(), "") << "row " << row.id << ": standard output";
    }

    // No log, one line on standard error.
    void CheckNoLog(const ErrorTableRow& row) {
        EXPECT_TRUE(fs::is_directory(LogPath())) << "row " << row.id << ": Log.htm was replaced";
        EXPECT_EQ(ViewerOutput(), "") << "row " << row.id << ": standard output";
        const std::string output = ViewerErrors();
        std::vector<std::string> lines;
        std::istringstream in(output);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        const std::string expected = "sceneviewer: Log.htm cannot be written in " +
                                     folder.Path().string() + "; the viewer runs without its log.";
        EXPECT_EQ(output, expected + "\n") << "row " << row.id << ": the viewer's output";
        ASSERT_EQ(lines.size(), row.stderrLines.size())
            << "row " << row.id << ": the viewer's output has " << lines.size()
            << " lines, the row lists " << row.stderrLines.size() << ":\n"
            << output;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_TRUE(MatchesPattern(row.stderrLines[i], lines[i]))
                << "row " << row.id << ": \"" << lines[i] << "\" is not \"" << row.stderrLines[i]
                << "\"";
        }
    }
};

TEST_P(ErrorTableE2eTest, Row) {
    const std::string id = GetParam();
    SCOPED_TRACE("row " + id + " of " + kDocumentPath);
    const auto rows = std::count_if(DocumentRows().begin(), DocumentRows().end(),
                                    [&](const ErrorTableRow& r) { return r.id == id; });
    const auto cases =
        std::count_if(Cases().begin(), Cases().end(), [&](const RowCase& c) { return c.id == id; });
    ASSERT_GT(rows, 0) << "row " << id << ": the test has a case for it, but " << kDocumentPath
                       << " has no row " << id;
    ASSERT_GT(cases, 0) << "row " << id << ": " << kDocumentPath
                        << " has this row, but the test has no case for it";
    ASSERT_EQ(cases, 1) << "row " << id << ": the test has " << cases << " cases for it";
    const ErrorTableRow& row = *std::find_if(DocumentRows().begin(), DocumentRows().end(),
                                             [&](const ErrorTableRow& r) { return r.id == id; });
    const RowCase& c = *std::find_if(Cases().begin(), Cases().end(),
                                     [&](const RowCase& candidate) { return candidate.id == id; });
    for (const std::string& problem : row.problems) {
        ADD_FAILURE() << "row " << id << " (line " << row.line << "): " << problem;
    }
    ASSERT_TRUE(row.problems.empty());
    ASSERT_EQ(row.noLog, c.ending == Ending::NoLog)
        << "row " << id << ": the row and its case disagree on whether a log is written";

    WriteFolder(c);
    if (c.withServer) StartServer();
    StartViewer(kSceneViewer, {}, c.environment);

    switch (c.ending) {
        case Ending::Closed: {
            const auto window = WaitForMainLoop();
            ASSERT_TRUE(window) << "row " << id;
            if (c.picture) CheckPicture(*window, *c.picture, id);
            x->Close(*window);
            EXPECT_EQ(WaitForViewerExit(), ExitStatus::Code(kExitOk)) << "row " << id;
            CheckLog(row, c);
            break;
        }
        case Ending::Exits:
            EXPECT_EQ(WaitForViewerExit(), ExitStatus::Code(c.exitStatus)) << "row " << id;
            CheckLog(row, c);
            break;
        case Ending::NoLog: {
            // Without a log there is no "Main Loop" to wait for: the window shows the start.
            const auto window = x->FindWindow(viewerPath, kStartTimeout);
            ASSERT_TRUE(window) << "row " << id << ": no window titled " << viewerPath;
            if (c.picture) CheckPicture(*window, *c.picture, id);
            x->Close(*window);
            EXPECT_EQ(WaitForViewerExit(), ExitStatus::Code(kExitOk)) << "row " << id;
            CheckNoLog(row);
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ErrorTable, ErrorTableE2eTest, ::testing::ValuesIn(RowIds()),
                         [](const auto& info) { return info.param; });

// The reading of the document itself, so that a row cannot pass by being misread.
TEST(ErrorTableDocumentTest, ReadsEachRowsEntriesAndFlags) {
    const auto rows = ParseErrorTable(
        "| ID | Bad input | Log entries, in order | What still loads |\n"
        "|---|---|---|---|\n"
        "| E01 | `a.r` cut | `Error: The model file a.r is cut short: …`<br>"
        "`Message: pos:\\t1\\|2` | `Error: not read` here |\n"
        "| E02 | quiet | No error entry. | all |\n"
        "| E03 | no log | No log is written.<br>`Stderr: cannot write …` | all |\n"
        "| E02 | again | `Warning: x` | |\n"
        "| E04 | short | `Heading: R` |\n");
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].id, "E01");
    EXPECT_EQ(rows[0].line, 3);
    EXPECT_EQ(rows[0].entries, (std::vector<LogEntry>{Error("The model file a.r is cut short: …"),
                                                      Message("pos:\t1|2")}));
    EXPECT_TRUE(rows[0].problems.empty());
    EXPECT_TRUE(rows[1].noErrorEntry);
    EXPECT_TRUE(rows[1].entries.empty());
    EXPECT_TRUE(rows[2].noLog);
    EXPECT_EQ(rows[2].stderrLines, std::vector<std::string>{"cannot write …"});
    // The ID again, no known kind, and so no entry at all.
    EXPECT_EQ(rows[3].problems.size(), 3u);
    EXPECT_EQ(rows[4].problems.size(), 1u);  // three cells
}

TEST(ErrorTableDocumentTest, MatchesRunsOfEntriesWithAnyTextForEllipses) {
    EXPECT_TRUE(MatchesPattern("ends at byte …, before …", "ends at byte 4, before its end"));
    EXPECT_TRUE(MatchesPattern("a…", "a"));
    EXPECT_TRUE(MatchesPattern("…b…b", "abbb"));
    EXPECT_FALSE(MatchesPattern("ab…ba", "aba"));
    EXPECT_FALSE(MatchesPattern("exact", "exact and more"));
    EXPECT_FALSE(MatchesPattern("…x", "xy"));

    const std::vector<LogEntry> log = {Heading("R"), Error("one"), Message("between"), Error("two"),
                                       Error("three")};
    EXPECT_EQ(FindRun(log, {Error("two"), Error("three")}), 3u);
    EXPECT_EQ(FindRun(log, {Error("…"), Message("…")}), 1u);
    EXPECT_FALSE(FindRun(log, {Error("one"), Error("two")}));  // not one after another
    EXPECT_FALSE(FindRun(log, {Message("one")}));              // not of that kind
    EXPECT_FALSE(FindRun(log, {Error("three"), Error("four")}));
}

}  // namespace
