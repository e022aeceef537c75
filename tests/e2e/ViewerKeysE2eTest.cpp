// Keys typed into the viewer's window, seen through what the window shows. The probe's
// marker scene puts a sign in front of the start camera, so turns and motion move it on
// screen.

#include <algorithm>
#include <thread>

#include "ViewerE2eTest.h"
#include "app/GlutShell.h"
#include "support/TestImages.h"

namespace {

// One arrow press turns the camera by 0.2 degrees, about 2 pixels here, which changes some
// 500 pixels along the sign's edges; the tolerance lets far fewer than that pass.
constexpr ImageComparison::Tolerance kMarkerTolerance{24, 0.0005};

// The next frame writes the screenshot; this allows for a very busy machine.
constexpr std::chrono::milliseconds kScreenshotTimeout{10000};

// Long enough for thousands of frames: a camera with any speed would visibly move.
constexpr std::chrono::milliseconds kHoldTime{300};

// How far apart the four near white tiles are: the width plus the height of the box
// around them. Going forward spreads them out, going back draws them together.
int TileSpread(const RgbImage& picture) {
    int left = picture.Width(), right = -1, top = picture.Height(), bottom = -1;
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            const std::uint8_t* pixel = picture.At(x, y);
            if (pixel[0] > 200 && pixel[1] > 200 && pixel[2] > 200) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? 0 : (right - left) + (bottom - top);
}

class ViewerKeysE2eTest : public ViewerE2eTest {
protected:
    // Starts the probe on the marker scene and waits for the start picture.
    void StartMarkerScene() {
        StartServer();
        StartViewer(kViewerProbe, {"--scene=marker"});
        window = WaitForMainLoop();
        ASSERT_TRUE(window);
        ASSERT_TRUE(WaitForReferencePicture(*window, "marker-start", kMarkerTolerance));
    }

    void Press(const std::string& keysym, int times = 1) {
        for (int i = 0; i < times; ++i) x->PressKey(*window, keysym);
        x->Sync();
    }

    // The picture stays exactly the same for a while: the camera stands still.
    void ExpectStandingStill() {
        const auto before = Grab(*window);
        ASSERT_TRUE(before);
        std::this_thread::sleep_for(kHoldTime);
        const auto after = Grab(*window);
        ASSERT_TRUE(after);
        EXPECT_TRUE(*before == *after)
            << "the picture changed within " << kHoldTime.count() << " ms";
    }

    // Closes the probe's window as a window manager does.
    void CloseAndExpectCleanEnd() {
        x->Close(*window);
        ExpectCleanProbeEnd();
    }

    // The probe ends as after a close: it releases its GL objects with the context
    // current, closes its log after `logged` (the main loop's own entries) and exits with 0.
    void ExpectCleanProbeEnd(const std::vector<LogEntry>& logged = {}) {
        std::vector<LogEntry> expected = kProbeMainLoopReached;
        expected.insert(expected.end(), logged.begin(), logged.end());
        expected.push_back(kProbeReleasedGl);
        ExpectCleanEnd(expected);
    }

    // Presses F12 and expects the log to name the screenshot `name`, and the file to hold
    // what the window shows.
    void ExpectScreenshotOnF12(const std::string& name) {
        Press("F12");
        const LogEntry written = Message("Screenshot written:\t" + name);
        ASSERT_TRUE(WaitForLog(
            [&](const std::vector<LogEntry>& entries) {
                return std::find(entries.begin(), entries.end(), written) != entries.end();
            },
            "the screenshot " + name, kScreenshotTimeout));
        const auto saved = RgbImage::LoadPng((folder.Path() / name).string());
        ASSERT_TRUE(saved) << "no picture in " << name;
        const auto shown = Grab(*window);
        ASSERT_TRUE(shown);
        const ImageComparison comparison(*saved, *shown, kMarkerTolerance);
        EXPECT_TRUE(comparison.Matches()) << name << ": " << comparison.Describe();
    }

    std::optional<WindowId> window;
};

TEST_F(ViewerKeysE2eTest, ArrowKeysTurnTheCameraInSmallSteps) {
    ASSERT_NO_FATAL_FAILURE(StartMarkerScene());

    Press("Left", 25);
    EXPECT_TRUE(WaitForReferencePicture(*window, "marker-left-25", kMarkerTolerance));
    Press("Right", 25);
    EXPECT_TRUE(WaitForReferencePicture(*window, "marker-start", kMarkerTolerance));
    Press("Up", 25);
    EXPECT_TRUE(WaitForReferencePicture(*window, "marker-up-25", kMarkerTolerance));
    Press("Down", 25);
    EXPECT_TRUE(WaitForReferencePicture(*window, "marker-start", kMarkerTolerance));

    CloseAndExpectCleanEnd();
}

TEST_F(ViewerKeysE2eTest, UpperCaseWAndSLeaveTheCameraStanding) {
    ASSERT_NO_FATAL_FAILURE(StartMarkerScene());

    // Events arrive in order: once the turn shows, the W before it has been handled too.
    Press("W");
    Press("Left", 25);
    EXPECT_TRUE(WaitForReferencePicture(*window, "marker-left-25", kMarkerTolerance));
    ExpectStandingStill();

    Press("S");
    Press("Right", 25);
    EXPECT_TRUE(WaitForReferencePicture(*window, "marker-start", kMarkerTolerance));
    ExpectStandingStill();

    CloseAndExpectCleanEnd();
}

TEST_F(ViewerKeysE2eTest, LowerCaseWMovesTheCameraForwardUntilSStopsIt) {
    ASSERT_NO_FATAL_FAILURE(StartMarkerScene());
    const auto start = Grab(*window);
    ASSERT_TRUE(start);

    Press("w");
    // Forward, towards what it looks at: the near tiles spread out.
    const int startSpread = TileSpread(*start);
    const auto moving = WaitForPicture(
        *window, [&](const RgbImage& picture) { return TileSpread(picture) >= startSpread + 4; });
    ASSERT_TRUE(moving) << "the camera did not go forward after w";
    // And on: the speed stays until changed, it was not a single step.
    const auto further = WaitForChange(*window, *moving);
    ASSERT_TRUE(further) << "the camera stopped by itself";
    EXPECT_GE(TileSpread(*further), TileSpread(*moving));

    Press("s");
    const auto stopped = WaitForStablePicture(*window);
    ASSERT_TRUE(stopped) << "the camera did not stop after s";
    ExpectStandingStill();

    EXPECT_GE(TileSpread(*stopped), TileSpread(*further));

    CloseAndExpectCleanEnd();
}

TEST_F(ViewerKeysE2eTest, EscapeClosesTheWindowAsAWindowManagerDoes) {
    ASSERT_NO_FATAL_FAILURE(StartMarkerScene());
    Press("Escape");
    ExpectCleanProbeEnd();
    EXPECT_FALSE(x->IsOnScreen(*window));
}

TEST_F(ViewerKeysE2eTest, F12SavesWhatTheWindowShowsUnderTheNextFreeNumber) {
    ASSERT_NO_FATAL_FAILURE(StartMarkerScene());
    ASSERT_NO_FATAL_FAILURE(ExpectScreenshotOnF12("screenshot-001.png"));

    // The number follows the highest in the folder, past any gap, and the picture is the
    // one on the screen at the time.
    ASSERT_TRUE(WriteBytes((folder.Path() / "screenshot-041.png").string(), ""));
    Press("Left", 25);
    ASSERT_TRUE(WaitForReferencePicture(*window, "marker-left-25", kMarkerTolerance));
    ASSERT_NO_FATAL_FAILURE(ExpectScreenshotOnF12("screenshot-042.png"));

    x->Close(*window);
    ExpectCleanProbeEnd({Message("Screenshot written:\tscreenshot-001.png"),
                         Message("Screenshot written:\tscreenshot-042.png")});
}

TEST_F(ViewerKeysE2eTest, TheViewerTakesEveryKeyAndStillClosesCleanly) {
    StartServer();
    WriteScene(kEmptyScene);
    StartViewer(kSceneViewer);
    window = WaitForMainLoop();
    ASSERT_TRUE(window);

    // The camera and clock keys, twice over (so the clock and the speed end as they
    // started), and a selection of keys that do nothing. Escape and F12 have tests of their
    // own: one closes the window, the other writes a file.
    for (const char* key :
         {"space",  "w",  "s",    "Left",  "Right", "Up",      "Down",      "space",
          "w",      "s",  "Left", "Right", "Up",    "Down",    "W",         "S",
          "a",      "q",  "x",    "1",     "plus",  "Return",  "Tab",       "BackSpace",
          "Delete", "F1", "F4",   "Home",  "End",   "Page_Up", "Page_Down", "Insert"}) {
        x->PressKey(*window, key);
    }
    x->Sync();
    // None of them quits or breaks the viewer: give it time to handle them, then it is
    // still up.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(viewer->Running());
    EXPECT_TRUE(x->IsOnScreen(*window));

    x->Close(*window);
    ExpectCleanEnd(EmptySceneMainLoopLog());
}

}  // namespace
