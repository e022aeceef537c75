#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "ImageComparison.h"
#include "RgbImage.h"
#include "support/TempFolder.h"
#include "XWindowDriver.h"
#include "XvfbServer.h"
#include "support/LogEntries.h"

// The programs under test, from the build.
inline const std::string kSceneViewer = SCENEVIEWER_PATH;
inline const std::string kViewerProbe = VIEWER_PROBE_PATH;
inline const std::string kScenetool = SCENETOOL_PATH;

// A scene with every required section and nothing in them.
inline constexpr std::string_view kEmptyScene =
    "<Scene><Effects><Textures/><Shaders/></Effects><GraphicObjects/></Scene>\n";

// The viewer's log up to the end of loading a scene whose own entries are `sceneEntries`
// (times masked).
std::vector<LogEntry> SceneLoadLog(const std::vector<LogEntry>& sceneEntries);

// What the loader logs for one graphic object of a scene.
std::vector<LogEntry> ObjectEntries(const std::string& type, const std::string& file,
                                    const std::string& effect, const std::string& pos,
                                    const std::string& scale = "1,1,1");

// What the loader and the factory log after the scene's own entries, up to the main loop,
// with the factory's `errors` (times masked).
std::vector<LogEntry> FactoryEntries(const std::vector<LogEntry>& errors);

// The viewer's log of a start on kEmptyScene that reaches the main loop (times masked).
std::vector<LogEntry> EmptySceneMainLoopLog();

// The probe's log of a start that reaches the main loop; it loads no scene file.
inline const std::vector<LogEntry> kProbeMainLoopReached = {
    Title("Main"), Message("Opengl 2.0 is supported."), Title("init"), Title("Main Loop")};

// What the probe logs when its GL objects were released while the context was current.
inline const LogEntry kProbeReleasedGl =
    Message("Probe release: GL context current, display list deleted.");

// Base of the end-to-end tests: a fresh working folder per test, a private X server and a
// viewer process started in that folder, driven through X as a user and a window manager
// would. A failed test keeps its folder (log, viewer output, server output) and says where.
class ViewerE2eTest : public ::testing::Test {
protected:
    static constexpr std::chrono::milliseconds kStartTimeout{5000};
    static constexpr std::chrono::milliseconds kExitTimeout{5000};
    static constexpr std::chrono::milliseconds kPictureTimeout{3000};

    void TearDown() override;

    // Starts a private Xvfb with these extra arguments and connects the driver `x` to it.
    void StartServer(const std::vector<std::string>& extraArguments = {});

    // Starts `binary` with `arguments` in the working folder. DISPLAY is the private
    // server's (unset if there is none) and MESA_GL_VERSION_OVERRIDE is unset, unless
    // `environment` says otherwise.
    void StartViewer(const std::string& binary, const std::vector<std::string>& arguments = {},
                     const EnvironmentChanges& environment = {});

    // Waits until the viewer has logged "Main Loop" and its window, titled with the path
    // the viewer was started with, is on the screen. Adds a failure and returns nothing if
    // the viewer ends first or time runs out.
    std::optional<WindowId> WaitForMainLoop();

    ExitStatus WaitForViewerExit() { return viewer->WaitForExit(kExitTimeout); }

    // Writes `text` as Scene.xml into the working folder.
    void WriteScene(std::string_view text);

    // Waits for the viewer to end and expects status 0 and a closed log that holds
    // exactly `entries`, time stamps masked.
    void ExpectCleanEnd(const std::vector<LogEntry>& entries);

    std::filesystem::path LogPath() const { return folder.Path() / "Log.htm"; }
    // The working folder's log, parsed; nothing if it is missing or malformed.
    std::optional<ParsedLog> ReadLog() const;

    // Polls the log until `wanted` holds for its entries (times masked) and returns them;
    // nothing, with a failure naming `what` and showing the log, if time runs out first.
    std::optional<std::vector<LogEntry>> WaitForLog(
        const std::function<bool(const std::vector<LogEntry>&)>& wanted, const std::string& what,
        std::chrono::milliseconds timeout);

    // What the viewer has written so far to standard output and to standard error.
    std::string ViewerOutput() const { return ReadFile(ViewerOutputPath()); }
    std::string ViewerErrors() const { return ReadFile(ViewerErrorsPath()); }
    // The line the viewer writes to standard error after a load that logged `errors`
    // errors, line break included.
    std::string LoadErrorsLine(int errors) const;

    // Grabs the window until three grabs in a row are alike; nothing (and a failure) if the
    // picture keeps changing or cannot be taken.
    std::optional<RgbImage> WaitForStablePicture(WindowId window);

    // Grabs the window until `wanted` holds for its picture; nothing if it does not in time.
    std::optional<RgbImage> WaitForPicture(WindowId window,
                                           const std::function<bool(const RgbImage&)>& wanted);

    // Grabs the window until its picture differs from `before`; nothing if it stays.
    std::optional<RgbImage> WaitForChange(WindowId window, const RgbImage& before) {
        return WaitForPicture(window,
                              [&](const RgbImage& picture) { return !(picture == before); });
    }

    // Waits until the window's picture is stable and matches the reference picture `name`
    // (reference/NAME.png). Without a reference, saves the stable picture into the build
    // folder and fails, saying where; on a mismatch at the time limit saves the picture
    // as NAME-actual.png there.
    ::testing::AssertionResult WaitForReferencePicture(WindowId window, const std::string& name,
                                                       ImageComparison::Tolerance tolerance);

    // Whether scenetool's offscreen render of the working folder's scene at animation time
    // `milliseconds` looks like the window's settled picture, so the tool shows what users
    // see. Keeps the render as render.png in the folder.
    ::testing::AssertionResult RenderAgrees(WindowId window, ImageComparison::Tolerance tolerance,
                                            int milliseconds = 0);

    // Grabs the window, with any X failure turned into a test failure.
    std::optional<RgbImage> Grab(WindowId window);

    TempFolder folder;
    std::unique_ptr<XvfbServer> server;
    std::unique_ptr<XWindowDriver> x;
    std::unique_ptr<ChildProcess> viewer;
    std::string viewerPath;

private:
    std::filesystem::path ViewerOutputPath() const { return folder.Path() / "viewer-output.txt"; }
    std::filesystem::path ViewerErrorsPath() const { return folder.Path() / "viewer-errors.txt"; }
    std::filesystem::path ServerOutputPath() const { return folder.Path() / "xvfb-output.txt"; }
};
