#include <GL/glut.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "common/AnimationClock.h"
#include "app/Camera.h"
#include "app/Viewer.h"
#include "factory/ObjectArray.h"
#include "log/HtmlLog.h"

namespace {

// The key bindings need no GL context: they only change the camera and the clock.
class ViewerKeys : public ::testing::Test {
protected:
    std::uint32_t now = 0;
    Camera camera;
    AnimationClock clock{[this] { return now; }};
    HtmlLog log{"/dev/null", "Log file"};
    ObjectArray objects;
    bool busy = false;
    Viewer viewer{camera, clock, log, ObjectList{objects, busy}, nullptr};
};

TEST_F(ViewerKeys, WAndSChangeTheSpeedByATenth) {
    viewer.Keyboard('w');
    EXPECT_FLOAT_EQ(camera.speed, 0.1f);
    viewer.Keyboard('w');
    EXPECT_FLOAT_EQ(camera.speed, 0.2f);
    viewer.Keyboard('s');
    viewer.Keyboard('s');
    viewer.Keyboard('s');
    EXPECT_FLOAT_EQ(camera.speed, -0.1f);
}

TEST_F(ViewerKeys, SpaceTogglesTheAnimationClock) {
    viewer.Keyboard(' ');
    EXPECT_FALSE(clock.paused);
    now = 250;
    viewer.Keyboard(' ');
    EXPECT_TRUE(clock.paused);
    EXPECT_EQ(clock.total, 0.0);  // the interval before a pause is dropped
    now = 1000;
    viewer.Keyboard(' ');
    EXPECT_FALSE(clock.paused);
    EXPECT_EQ(clock.total, 750.0);  // the interval before a resume counts
}

TEST_F(ViewerKeys, ArrowsTurnTheCameraByAFifthOfADegree) {
    viewer.SpecialKeys(GLUT_KEY_RIGHT);
    EXPECT_FLOAT_EQ(camera.yaw, 0.2f);
    viewer.SpecialKeys(GLUT_KEY_LEFT);
    viewer.SpecialKeys(GLUT_KEY_LEFT);
    EXPECT_FLOAT_EQ(camera.yaw, -0.2f);
    viewer.SpecialKeys(GLUT_KEY_UP);
    EXPECT_FLOAT_EQ(camera.pitch, 0.2f);
    viewer.SpecialKeys(GLUT_KEY_DOWN);
    viewer.SpecialKeys(GLUT_KEY_DOWN);
    EXPECT_FLOAT_EQ(camera.pitch, -0.2f);
}

TEST_F(ViewerKeys, EveryOtherKeyChangesNothing) {
    for (int key = 0; key < 256; ++key) {
        if (key == ' ' || key == 'w' || key == 's') continue;
        viewer.Keyboard(static_cast<unsigned char>(key));
    }
    for (const int key : {GLUT_KEY_F1, GLUT_KEY_F12, GLUT_KEY_PAGE_UP, GLUT_KEY_PAGE_DOWN,
                          GLUT_KEY_HOME, GLUT_KEY_END, GLUT_KEY_INSERT, 0, 99, 104, -1}) {
        viewer.SpecialKeys(key);
    }
    EXPECT_EQ(camera.speed, 0.0f);
    EXPECT_EQ(camera.yaw, 0.0f);
    EXPECT_EQ(camera.pitch, 0.0f);
    EXPECT_TRUE(clock.paused);
    EXPECT_EQ(clock.total, 0.0);
}

}  // namespace
