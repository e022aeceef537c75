#include "ViewerE2eTest.h"

#include "app/GlutShell.h"

#include <signal.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <thread>

namespace {

constexpr std::chrono::milliseconds kPollInterval{10};
constexpr std::chrono::milliseconds kGrabInterval{40};
// Three grabs alike over this many intervals count as a settled picture.
constexpr int kStableGrabs = 3;

std::filesystem::path OutputFolder() {
    std::filesystem::path folder = E2E_OUTPUT_DIR;
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace

std::vector<LogEntry> SceneLoadLog(const std::vector<LogEntry>& sceneEntries) {
    std::vector<LogEntry> entries = {Title("Main"),
                                     Message("Opengl 2.0 is supported."),
                                     Title("init"),
                                     Title("Scene initialization"),
                                     Heading("file Scene.xml"),
                                     Message("start parsing \t" + kTime),
                                     Message("Creating scene ...")};
    entries.insert(entries.end(), sceneEntries.begin(), sceneEntries.end());
    return entries;
}

std::vector<LogEntry> ObjectEntries(const std::string& type, const std::string& file,
                                    const std::string& effect, const std::string& pos,
                                    const std::string& scale) {
    return {Heading(type), Message("file:\t" + file), Message("effect:\t" + effect),
            Message("pos:\t" + pos), Message("scale:\t" + scale)};
}

std::vector<LogEntry> FactoryEntries(const std::vector<LogEntry>& errors) {
    std::vector<LogEntry> entries = {Message("end parsing \t" + kTime),
                                     Message("Creating graphic object."), Heading("Factory."),
                                     Message("starting at: \t" + kTime)};
    entries.insert(entries.end(), errors.begin(), errors.end());
    entries.push_back(Message("ending at:\t" + kTime));
    entries.push_back(Title("Main Loop"));
    return entries;
}

std::vector<LogEntry> EmptySceneMainLoopLog() { return SceneLoadLog(FactoryEntries({})); }

void ViewerE2eTest::TearDown() {
    if (viewer && viewer->Running()) {
        viewer->Signal(SIGTERM);
        viewer->WaitForExit(kExitTimeout);
    }
    if (HasFailure()) {
        folder.Keep();
        std::cout << "Kept the test's working folder: " << folder.Path() << "\n";
        const std::string output = ViewerOutput();
        if (!output.empty()) std::cout << "Viewer output:\n" << output << "\n";
        const std::string errors = ViewerErrors();
        if (!errors.empty()) std::cout << "Viewer standard error:\n" << errors << "\n";
    }
}

void ViewerE2eTest::StartServer(const std::vector<std::string>& extraArguments) {
    server = std::make_unique<XvfbServer>(ServerOutputPath(), extraArguments);
    x = std::make_unique<XWindowDriver>(server->Display());
}

void ViewerE2eTest::StartViewer(const std::string& binary,
                                const std::vector<std::string>& arguments,
                                const EnvironmentChanges& environment) {
    ChildOptions options;
    options.argv.push_back(binary);
    options.argv.insert(options.argv.end(), arguments.begin(), arguments.end());
    options.workingDirectory = folder.Path();
    options.outputFile = ViewerOutputPath();
    options.errorFile = ViewerErrorsPath();
    options.environment["DISPLAY"] =
        server ? std::optional<std::string>(server->Display()) : std::nullopt;
    options.environment["MESA_GL_VERSION_OVERRIDE"] = std::nullopt;
    for (const auto& [name, value] : environment) options.environment[name] = value;
    viewerPath = binary;
    viewer = std::make_unique<ChildProcess>(options);
}

std::optional<ParsedLog> ViewerE2eTest::ReadLog() const { return ParseLog(ReadFile(LogPath())); }

std::string ViewerE2eTest::LoadErrorsLine(int errors) const {
    return "sceneviewer: " + std::to_string(errors) + (errors == 1 ? " error" : " errors") +
           " loading the scene; see " + LogPath().string() + "\n";
}

std::optional<std::vector<LogEntry>> ViewerE2eTest::WaitForLog(
    const std::function<bool(const std::vector<LogEntry>&)>& wanted, const std::string& what,
    std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::vector<LogEntry> entries;
    while (true) {
        // A log read while an entry is being written may not parse: read it again.
        if (const auto log = ReadLog()) {
            entries = WithTimesMasked(log->entries);
            if (wanted(entries)) return entries;
        }
        if (std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(kPollInterval);
    }
    ADD_FAILURE() << "The log did not show " << what << " within " << timeout.count()
                  << " ms; it holds:\n"
                  << ::testing::PrintToString(entries);
    return std::nullopt;
}

void ViewerE2eTest::ExpectCleanEnd(const std::vector<LogEntry>& entries) {
    EXPECT_EQ(WaitForViewerExit(), ExitStatus::Code(kExitOk));
    const auto log = ReadLog();
    ASSERT_TRUE(log) << "unreadable log " << LogPath();
    EXPECT_EQ(WithTimesMasked(log->entries), entries);
    EXPECT_TRUE(log->closed);
}

void ViewerE2eTest::WriteScene(std::string_view text) {
    std::ofstream(folder.Path() / "Scene.xml", std::ios::binary) << text;
}

std::optional<WindowId> ViewerE2eTest::WaitForMainLoop() {
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    const LogEntry mainLoop = Title("Main Loop");
    while (true) {
        const auto log = ReadLog();
        if (log &&
            std::find(log->entries.begin(), log->entries.end(), mainLoop) != log->entries.end()) {
            break;
        }
        if (!viewer->Running()) {
            ADD_FAILURE() << "The viewer ended before its main loop: "
                          << viewer->WaitForExit(kExitTimeout);
            return std::nullopt;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ADD_FAILURE() << "The viewer did not log \"Main Loop\" within " << kStartTimeout.count()
                          << " ms";
            return std::nullopt;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    auto window = x->FindWindow(viewerPath, std::max(left, std::chrono::milliseconds(0)));
    if (!window) ADD_FAILURE() << "No viewable window titled \"" << viewerPath << "\" appeared";
    return window;
}

std::optional<RgbImage> ViewerE2eTest::Grab(WindowId window) {
    try {
        return x->Grab(window);
    } catch (const std::exception& failure) {
        ADD_FAILURE() << "Cannot grab the viewer's window: " << failure.what();
        return std::nullopt;
    }
}

std::optional<RgbImage> ViewerE2eTest::WaitForStablePicture(WindowId window) {
    const auto deadline = std::chrono::steady_clock::now() + kPictureTimeout;
    auto previous = Grab(window);
    if (!previous) return std::nullopt;
    int alike = 1;
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(kGrabInterval);
        auto current = Grab(window);
        if (!current) return std::nullopt;
        alike = *current == *previous ? alike + 1 : 1;
        if (alike >= kStableGrabs) return current;
        previous = std::move(current);
    }
    ADD_FAILURE() << "The window's picture did not settle within " << kPictureTimeout.count()
                  << " ms";
    return std::nullopt;
}

std::optional<RgbImage> ViewerE2eTest::WaitForPicture(
    WindowId window, const std::function<bool(const RgbImage&)>& wanted) {
    const auto deadline = std::chrono::steady_clock::now() + kPictureTimeout;
    while (true) {
        auto current = Grab(window);
        if (!current) return std::nullopt;
        if (wanted(*current)) return current;
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(kGrabInterval);
    }
}

::testing::AssertionResult ViewerE2eTest::RenderAgrees(WindowId window,
                                                       ImageComparison::Tolerance tolerance,
                                                       int milliseconds) {
    const auto shown = WaitForStablePicture(window);
    if (!shown) return ::testing::AssertionFailure() << "no settled picture to compare";
    const auto renderPath = folder.Path() / "render.png";
    ChildOptions options;
    options.argv = {kScenetool,
                    "render",
                    ".",
                    "-o",
                    renderPath.string(),
                    "--time",
                    std::to_string(milliseconds)};
    options.workingDirectory = folder.Path();
    options.outputFile = folder.Path() / "scenetool-output.txt";
    {
        ChildProcess tool(options);
        const auto status = tool.WaitForExit(std::chrono::seconds(30));
        if (status.kind != ExitStatus::Kind::Exited || status.value > 1) {
            return ::testing::AssertionFailure() << "scenetool render ended with " << status;
        }
    }
    const auto rendered = RgbImage::LoadPng(renderPath.string());
    if (!rendered) return ::testing::AssertionFailure() << "scenetool wrote no " << renderPath;
    const ImageComparison comparison(*rendered, *shown, tolerance);
    if (comparison.Matches()) return ::testing::AssertionSuccess();
    shown->SavePng((folder.Path() / "window.png").string());
    return ::testing::AssertionFailure()
           << "scenetool's render differs from the window: " << comparison.Describe()
           << " (both kept in " << folder.Path() << ")";
}

::testing::AssertionResult ViewerE2eTest::WaitForReferencePicture(
    WindowId window, const std::string& name, ImageComparison::Tolerance tolerance) {
    const std::filesystem::path referencePath =
        std::filesystem::path(E2E_REFERENCE_DIR) / (name + ".png");
    const auto reference = RgbImage::LoadPng(referencePath.string());
    if (!reference) {
        const auto picture = WaitForStablePicture(window);
        if (!picture) return ::testing::AssertionFailure() << "no settled picture for " << name;
        const auto saved = OutputFolder() / (name + ".png");
        picture->SavePng(saved.string());
        return ::testing::AssertionFailure()
               << "No reference picture " << referencePath << ". This run's picture is saved as "
               << saved << ": look at it, and if it is right copy it to " << referencePath;
    }

    // Keys sent just before may still be on their way: keep looking until the settled
    // picture matches or time runs out.
    const auto deadline = std::chrono::steady_clock::now() + kPictureTimeout;
    std::optional<RgbImage> last;
    while (true) {
        auto picture = WaitForStablePicture(window);
        if (!picture) return ::testing::AssertionFailure() << "no settled picture for " << name;
        const ImageComparison comparison(*picture, *reference, tolerance);
        if (comparison.Matches()) return ::testing::AssertionSuccess();
        if (std::chrono::steady_clock::now() >= deadline) {
            const auto saved = OutputFolder() / (name + "-actual.png");
            picture->SavePng(saved.string());
            return ::testing::AssertionFailure()
                   << "The window does not show " << referencePath << ": " << comparison.Describe()
                   << ". Its picture is saved as " << saved;
        }
        std::this_thread::sleep_for(kGrabInterval);
    }
}
