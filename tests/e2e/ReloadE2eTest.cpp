// The viewer loading its scene again while it runs: files of a copy of the demo scene are
// saved on disk as an editor saves them, and the window, the log and the console follow.

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <thread>

#include "ErrorTable.h"
#include "ViewerE2eTest.h"
#include "app/GlutShell.h"
#include "support/MeshFiles.h"
#include "support/SceneFolders.h"
#include "support/TestImages.h"

namespace {

namespace fs = std::filesystem;

constexpr ImageComparison::Tolerance kDemoTolerance{8, 0.002};

// A reload shows well within this, even under sanitizers on a busy machine.
constexpr std::chrono::milliseconds kReloadTimeout{10000};
// Long after the viewer's settle time: a second reload for the same save would be in the
// log by then.
constexpr std::chrono::milliseconds kQuietTime{500};

const LogEntry kReload = Title("Reload");
const LogEntry kLoadStart = Title("Scene initialization");
const LogEntry kLoadEnd = Message("ending at:\t" + kTime);

// The demo's paint program as shipped, and a change of it that shows on every object it
// draws: the colour's channels turned round.
constexpr std::string_view kPaintOutput = "gl_FragColor = vec4(base * tint * light, 1.0);";
constexpr std::string_view kTurnedOutput = "gl_FragColor = vec4((base * tint * light).gbr, 1.0);";
constexpr std::string_view kOtherTurnedOutput =
    "gl_FragColor = vec4((base * tint * light).brg, 1.0);";

// `text` with the first `from` replaced; a test whose text is not there is a broken test.
std::string Replaced(std::string text, std::string_view from, std::string_view to) {
    const auto at = text.find(from);
    if (at == std::string::npos) throw std::logic_error("no \"" + std::string(from) + "\"");
    return text.replace(at, from.size(), to);
}

// `entries` with the run `from` replaced by `to`.
std::vector<LogEntry> ReplacedRun(std::vector<LogEntry> entries, const std::vector<LogEntry>& from,
                                  const std::vector<LogEntry>& to) {
    const auto at = std::search(entries.begin(), entries.end(), from.begin(), from.end());
    if (at == entries.end()) throw std::logic_error("the entries do not hold the run to replace");
    entries.insert(entries.erase(at, at + static_cast<std::ptrdiff_t>(from.size())), to.begin(),
                   to.end());
    return entries;
}

bool Holds(const std::vector<LogEntry>& entries, const LogEntry& entry) {
    return std::find(entries.begin(), entries.end(), entry) != entries.end();
}

// The reloads in a log: each from its "Reload" title up to the next one or the end.
std::vector<std::vector<LogEntry>> ReloadSections(const std::vector<LogEntry>& entries) {
    std::vector<std::vector<LogEntry>> sections;
    for (const LogEntry& entry : entries) {
        if (entry == kReload) sections.emplace_back();
        if (!sections.empty()) sections.back().push_back(entry);
    }
    return sections;
}

// What a reload logs: the files that changed and the time, then a load.
std::vector<LogEntry> Reloaded(const std::vector<std::string>& changed,
                               const std::vector<LogEntry>& load) {
    std::vector<LogEntry> entries = {kReload};
    for (const std::string& file : changed) entries.push_back(Message("file changed:\t" + file));
    entries.push_back(Message("reloading at:\t" + kTime));
    entries.insert(entries.end(), load.begin(), load.end());
    return entries;
}

std::vector<LogEntry> Joined(std::initializer_list<std::vector<LogEntry>> parts) {
    std::vector<LogEntry> entries;
    for (const auto& part : parts) entries.insert(entries.end(), part.begin(), part.end());
    return entries;
}

class ReloadE2eTest : public ViewerE2eTest {
protected:
    // Copies the demo scene, starts the viewer on it and keeps the log of its start.
    void StartDemo() {
        fs::copy(DEMO_DIR, folder.Path(),
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::remove(LogPath());
        StartServer();
        StartViewer(kSceneViewer);
        window = WaitForMainLoop();
        ASSERT_TRUE(window);
        const auto log = ReadLog();
        ASSERT_TRUE(log);
        startLog = WithTimesMasked(log->entries);
        startLoad = LoadOf(startLog);
        ASSERT_FALSE(startLoad.empty()) << ::testing::PrintToString(startLog);
    }

    // The first load in `entries`: from its "Scene initialization" title up to the
    // factory's "ending at"; empty while it is not finished.
    static std::vector<LogEntry> LoadOf(const std::vector<LogEntry>& entries) {
        const auto start = std::find(entries.begin(), entries.end(), kLoadStart);
        const auto end = std::find(start, entries.end(), kLoadEnd);
        if (end == entries.end()) return {};
        return {start, end + 1};
    }

    // Waits until the log holds `count` reloads, the last of them finished; returns them.
    std::optional<std::vector<std::vector<LogEntry>>> WaitForReloads(std::size_t count) {
        const auto entries = WaitForLog(
            [&](const std::vector<LogEntry>& log) {
                const auto sections = ReloadSections(log);
                return sections.size() >= count && Holds(sections[count - 1], kLoadEnd);
            },
            "reload " + std::to_string(count) + " finished", kReloadTimeout);
        if (!entries) return std::nullopt;
        return ReloadSections(*entries);
    }

    // The viewer has done `count` reloads and does no more by itself.
    void ExpectReloadsStayAt(std::size_t count) {
        ASSERT_TRUE(WaitForReloads(count));
        std::this_thread::sleep_for(kQuietTime);
        const auto log = ReadLog();
        ASSERT_TRUE(log);
        EXPECT_EQ(ReloadSections(log->entries).size(), count);
    }

    // Saves in place, as most editors and tools do.
    void Save(const std::string& name, std::string_view content) {
        WriteFile(folder.Path(), name, content);
    }

    // Saves as careful editors do: a new file next to the old one, renamed over it.
    void SaveByRename(const std::string& name, std::string_view content) {
        WriteFile(folder.Path(), name + ".new", content);
        fs::rename(folder.Path() / (name + ".new"), folder.Path() / name);
    }

    std::string Read(const std::string& name) const { return ReadFile(folder.Path() / name); }

    using ViewerE2eTest::WaitForStablePicture;
    std::optional<RgbImage> WaitForStablePicture() { return WaitForStablePicture(*window); }

    std::optional<WindowId> window;
    std::vector<LogEntry> startLog;   // up to "Main Loop"
    std::vector<LogEntry> startLoad;  // the start's load, as LoadOf gives it
};

TEST_F(ReloadE2eTest, EachChangedFileShowsInTheTurnedViewAndIsNamedInTheLog) {
    ASSERT_NO_FATAL_FAILURE(StartDemo());
    const auto start = WaitForStablePicture();
    ASSERT_TRUE(start);
    // Three degrees to the left: the objects stand some 30 pixels right of where they
    // start, where the reference picture has them.
    for (int i = 0; i < 15; ++i) x->PressKey(*window, "Left");
    x->Sync();
    ASSERT_TRUE(WaitForChange(*window, *start)) << "the view did not turn";

    const std::string removed =
        R"(<R file="models/box.r" effect="NULL" pos="-170,250,2654" scale="1,1,1"/>)";
    const std::string added =
        R"(<R file="models/sphere.r" effect="checkered" pos="-245,185,2654" scale="1,1,1"/>)";
    struct Change {
        std::string file;
        std::function<void()> save;
    };
    const std::vector<Change> changes = {
        {"shaders/paint.frag",
         [&] {
             Save("shaders/paint.frag",
                  Replaced(Read("shaders/paint.frag"), kPaintOutput, kTurnedOutput));
         }},
        {"textures/checker.png",
         [&] {
             ASSERT_TRUE(WriteRgbImage((folder.Path() / "textures/checker.png").string(), 4, 4,
                                       [](int x, int) {
                                           return x % 2 ? Rgb{255, 255, 255} : Rgb{20, 160, 60};
                                       }));
         }},
        {"models/torus.obj", [&] { Save("models/torus.obj", ObjText(Cube(60), true)); }},
        {"Scene.xml", [&] { Save("Scene.xml", Replaced(Read("Scene.xml"), removed, added)); }},
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        SCOPED_TRACE(changes[i].file);
        const auto before = WaitForStablePicture();
        ASSERT_TRUE(before);
        ASSERT_NO_FATAL_FAILURE(changes[i].save());
        ASSERT_TRUE(WaitForReloads(i + 1));
        EXPECT_TRUE(WaitForChange(*window, *before)) << "the window did not change";
    }

    // A cube with green stripes for the torus, the sphere and the orange box in turned
    // colours, a striped sphere below them for the plain box; still turned to the left.
    EXPECT_TRUE(WaitForReferencePicture(*window, "reload-turned", kDemoTolerance));

    x->Close(*window);
    const auto newLoad =
        ReplacedRun(startLoad, ObjectEntries("R", "models/box.r", "NULL", "-170,250,2654"),
                    ObjectEntries("R", "models/sphere.r", "checkered", "-245,185,2654"));
    ExpectCleanEnd(
        Joined({startLog, Reloaded({"shaders/paint.frag"}, startLoad),
                Reloaded({"textures/checker.png"}, startLoad),
                Reloaded({"models/torus.obj"}, startLoad), Reloaded({"Scene.xml"}, newLoad)}));
}

TEST_F(ReloadE2eTest, ASaveByRenameAndABurstOfSavesEachReloadOnce) {
    ASSERT_NO_FATAL_FAILURE(StartDemo());
    const auto original = WaitForStablePicture();
    ASSERT_TRUE(original);
    const std::string shader = Read("shaders/paint.frag");

    SaveByRename("shaders/paint.frag", Replaced(shader, kPaintOutput, kTurnedOutput));
    ASSERT_NO_FATAL_FAILURE(ExpectReloadsStayAt(1));
    EXPECT_TRUE(WaitForChange(*window, *original)) << "the renamed file was not loaded";

    // Five saves 20 ms apart, each within the settle time of the one before; the last one
    // puts the shipped program back, and it is what shows.
    for (int i = 0; i < 5; ++i) {
        if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        Save("shaders/paint.frag",
             i < 4 ? Replaced(shader, kPaintOutput, i % 2 ? kTurnedOutput : kOtherTurnedOutput)
                   : shader);
    }
    ASSERT_NO_FATAL_FAILURE(ExpectReloadsStayAt(2));
    EXPECT_TRUE(WaitForPicture(*window, [&](const RgbImage& shown) { return shown == *original; }))
        << "the last save of the burst is not what the window shows";

    x->Close(*window);
    ExpectCleanEnd(Joined({startLog, Reloaded({"shaders/paint.frag"}, startLoad),
                           Reloaded({"shaders/paint.frag"}, startLoad)}));
}

TEST_F(ReloadE2eTest, AShaderSavedWithASyntaxErrorIsReportedAndDrawnAsAtStartUntilFixed) {
    ASSERT_NO_FATAL_FAILURE(StartDemo());
    const auto good = WaitForStablePicture();
    ASSERT_TRUE(good);
    const std::string shader = Read("shaders/paint.frag");
    const std::string broken = Replaced(shader, "1.0);", "1.0)");

    Save("shaders/paint.frag", broken);
    const auto reloads = WaitForReloads(1);
    ASSERT_TRUE(reloads);
    const std::vector<LogEntry> brokenLoad = LoadOf(reloads->at(0));
    EXPECT_TRUE(FindRun(brokenLoad, {Error("Scene.xml line …: Shader program paint: the fragment shader "
                                           "shaders/paint.frag did not compile:\n…error…")}))
        << ::testing::PrintToString(brokenLoad);
    ASSERT_TRUE(WaitForChange(*window, *good)) << "the broken program changed nothing";
    const auto brokenPicture = WaitForStablePicture();
    ASSERT_TRUE(brokenPicture);

    Save("shaders/paint.frag", shader);
    ASSERT_TRUE(WaitForReloads(2));
    EXPECT_TRUE(WaitForPicture(*window, [&](const RgbImage& shown) { return shown == *good; }))
        << "the good save did not bring the picture back";

    // A viewer started on the broken program logs and draws the same. (Without the last
    // run's log, which would fool the wait for the main loop.)
    x->Close(*window);
    ASSERT_EQ(WaitForViewerExit(), ExitStatus::Code(kExitOk));
    fs::remove(LogPath());
    Save("shaders/paint.frag", broken);
    StartViewer(kSceneViewer);
    window = WaitForMainLoop();
    ASSERT_TRUE(window);
    const auto log = ReadLog();
    ASSERT_TRUE(log);
    EXPECT_EQ(LoadOf(WithTimesMasked(log->entries)), brokenLoad);
    const auto fresh = WaitForStablePicture();
    ASSERT_TRUE(fresh);
    const ImageComparison comparison(*fresh, *brokenPicture, kDemoTolerance);
    EXPECT_TRUE(comparison.Matches()) << comparison.Describe();
}

TEST_F(ReloadE2eTest, AModelFileCutShortOnDiskIsReportedAndTheRestIsStillDrawn) {
    ASSERT_NO_FATAL_FAILURE(StartDemo());
    EXPECT_EQ(ViewerErrors(), "");
    const auto whole = WaitForStablePicture();
    ASSERT_TRUE(whole);

    const std::string sphere = Read("models/sphere.r");
    ASSERT_GE(sphere.size(), 4u);
    std::uint32_t vertices = 0;
    for (int i = 3; i >= 0; --i) vertices = vertices << 8 | static_cast<std::uint8_t>(sphere[i]);
    const std::size_t half = sphere.size() / 2;
    ASSERT_LT(half, 4 + 36 * vertices) << "half the sphere's file is no longer inside its vertices";
    fs::resize_file(folder.Path() / "models/sphere.r", half);

    const auto reloads = WaitForReloads(1);
    ASSERT_TRUE(reloads);
    std::vector<LogEntry> cutLoad = startLoad;
    cutLoad.insert(
        cutLoad.end() - 1,
        Error("Scene.xml line " + std::to_string(LineOf(Read("Scene.xml"), "models/sphere.r")) +
              ": The model file models/sphere.r is cut short: it ends at byte " +
              std::to_string(half) + ", before the end of its " + std::to_string(vertices) +
              " vertices (" + std::to_string(36 * vertices) + " bytes from byte 4)."));
    EXPECT_EQ(reloads->at(0), Reloaded({"models/sphere.r"}, cutLoad));
    // The window changes after the reload is done, and so after its console line.
    ASSERT_TRUE(WaitForChange(*window, *whole)) << "the sphere is still drawn";
    EXPECT_EQ(ViewerErrors(), LoadErrorsLine(1));
    const auto cut = WaitForStablePicture();
    ASSERT_TRUE(cut);

    // The window shows what it shows for the scene without the sphere.
    Save("Scene.xml", Replaced(Read("Scene.xml"),
                               R"(<R file="models/sphere.r" effect="cool" pos="-185,335,2654" )"
                               R"(scale="1,1,1"/>)",
                               ""));
    ASSERT_TRUE(WaitForReloads(2));
    const auto without = WaitForStablePicture();
    ASSERT_TRUE(without);
    const ImageComparison comparison(*cut, *without, kDemoTolerance);
    EXPECT_TRUE(comparison.Matches()) << comparison.Describe();
    // A load without errors adds no line.
    EXPECT_EQ(ViewerErrors(), LoadErrorsLine(1));
    EXPECT_EQ(ViewerOutput(), "");
}

}  // namespace
