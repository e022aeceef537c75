// RA meshes in the viewer: they stand at their first key until space starts the animation
// clock, move along their keys together while it runs, and stand still while it is paused.

#include <thread>

#include "ViewerE2eTest.h"
#include "support/MeshFiles.h"

namespace {

constexpr ImageComparison::Tolerance kAnimationTolerance{8, 0.002};

// Two boxes sharing one RA file, one above the other in front of the start camera. The
// keys move them 60 units to the right in the first second, then 30 up in the next.
constexpr std::string_view kScene = R"(<Scene>
  <Effects><Textures/><Shaders/></Effects>
  <GraphicObjects>
    <RA file="models/moving-box.ra" effect="NULL" pos="-280,330,2654" scale="1,1,1"/>
    <RA file="models/moving-box.ra" effect="NULL" pos="-280,270,2654" scale="1,1,1"/>
  </GraphicObjects>
</Scene>
)";

const std::vector<TranslationKey> kKeys = {{0, 0, 0, 0}, {1000, 60, 0, 0}, {2000, 60, 30, 0}};

// How long the clock runs before it is paused again: well inside the first second.
constexpr std::chrono::milliseconds kRunTime{300};
constexpr std::chrono::milliseconds kStillTime{400};

bool Lit(const RgbImage& picture, int x, int y) {
    const std::uint8_t* pixel = picture.At(x, y);
    return pixel[0] > 20 || pixel[1] > 20 || pixel[2] > 20;
}

bool RowLit(const RgbImage& picture, int y) {
    for (int x = 0; x < picture.Width(); ++x) {
        if (Lit(picture, x, y)) return true;
    }
    return false;
}

// The first unlit row below the upper box: the boxes are drawn apart, so it separates them.
int RowBetweenBoxes(const RgbImage& picture) {
    int y = 0;
    while (y < picture.Height() && !RowLit(picture, y)) ++y;
    while (y < picture.Height() && RowLit(picture, y)) ++y;
    return y;
}

// The leftmost lit column among rows [top, bottom); -1 if none is lit.
int LeftEdge(const RgbImage& picture, int top, int bottom) {
    for (int x = 0; x < picture.Width(); ++x) {
        for (int y = top; y < bottom; ++y) {
            if (Lit(picture, x, y)) return x;
        }
    }
    return -1;
}

class AnimationE2eTest : public ViewerE2eTest {
protected:
    void Press(const std::string& keysym) {
        x->PressKey(*window, keysym);
        x->Sync();
    }

    std::optional<WindowId> window;
};

TEST_F(AnimationE2eTest, SpaceStartsAndPausesTheKeysOfEveryRaObjectTogether) {
    WriteScene(kScene);
    std::filesystem::create_directories(folder.Path() / "models");
    WriteRAFile(folder.Path() / "models/moving-box.ra", Cube(40), kKeys);
    StartServer();
    StartViewer(kSceneViewer);
    window = WaitForMainLoop();
    ASSERT_TRUE(window);

    // The clock starts paused: both boxes stand at the first key.
    ASSERT_TRUE(WaitForReferencePicture(*window, "ra-first-key", kAnimationTolerance));
    EXPECT_TRUE(RenderAgrees(*window, kAnimationTolerance, 0));
    const auto start = Grab(*window);
    ASSERT_TRUE(start);

    Press("space");
    std::this_thread::sleep_for(kRunTime);
    Press("space");
    const auto paused = WaitForStablePicture(*window);
    ASSERT_TRUE(paused);

    // Both moved right, by the same amount: they share one clock.
    const int split = RowBetweenBoxes(*start);
    ASSERT_LT(split, start->Height());
    const int upperMoved = LeftEdge(*paused, 0, split) - LeftEdge(*start, 0, split);
    const int lowerMoved =
        LeftEdge(*paused, split, start->Height()) - LeftEdge(*start, split, start->Height());
    EXPECT_GT(upperMoved, 3);
    EXPECT_NEAR(upperMoved, lowerMoved, 1);

    // Paused, they stay where they are.
    for (int look = 0; look < 3; ++look) {
        std::this_thread::sleep_for(kStillTime);
        const auto later = Grab(*window);
        ASSERT_TRUE(later);
        EXPECT_TRUE(*later == *paused) << "the boxes moved while the clock was paused";
    }

    // Resumed, they go on along the keys and stop at the last one.
    Press("space");
    EXPECT_TRUE(WaitForReferencePicture(*window, "ra-last-key", kAnimationTolerance));
    // The tool at a time past the last key draws them where the window stopped them.
    EXPECT_TRUE(RenderAgrees(*window, kAnimationTolerance, 60000));

    x->Close(*window);
    std::vector<LogEntry> expected =
        ObjectEntries("RA", "models/moving-box.ra", "NULL", "-280,330,2654");
    for (const LogEntry& entry :
         ObjectEntries("RA", "models/moving-box.ra", "NULL", "-280,270,2654")) {
        expected.push_back(entry);
    }
    for (const LogEntry& entry : FactoryEntries({})) expected.push_back(entry);
    ExpectCleanEnd(SceneLoadLog(expected));
}

}  // namespace
