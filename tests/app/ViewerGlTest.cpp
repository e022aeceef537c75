#include <GL/glew.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "common/AnimationClock.h"
#include "app/Camera.h"
#include "app/Screenshot.h"
#include "app/Viewer.h"
#include "factory/ObjectArray.h"
#include "log/HtmlLog.h"
#include "objects/IGraphicObject.h"
#include "support/GlTestContext.h"
#include "support/LogEntries.h"
#include "support/TempFolder.h"
#include "RgbImage.h"

namespace {

namespace fs = std::filesystem;
using Matrix = std::array<float, 16>;

Matrix CurrentMatrix(GLenum which) {
    Matrix m{};
    glGetFloatv(which, m.data());
    return m;
}

// Records what the modelview matrix was when it was drawn, then disturbs it; an optional
// action runs inside Draw.
struct RecordingObject : IGraphicObject {
    std::vector<Matrix>* seen = nullptr;
    std::function<void()> during;
    void Draw() override {
        seen->push_back(CurrentMatrix(GL_MODELVIEW_MATRIX));
        glTranslatef(100.0f, 200.0f, 300.0f);
        glScalef(3.0f, 3.0f, 3.0f);
        if (during) during();
    }
    void Prepare() override {}
};

// Fills the whole frame with one colour, whatever the matrices.
struct FullScreenQuad : IGraphicObject {
    void Draw() override {
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glPushAttrib(GL_ENABLE_BIT);
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        glColor3f(1.0f, 0.5f, 0.0f);
        glRectf(-1.0f, -1.0f, 1.0f, 1.0f);
        glPopAttrib();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
    }
    void Prepare() override {}
};

class ViewerGl : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_GL(gl);
        logPath = (fs::temp_directory_path() /
                   ("viewergl-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".htm"))
                      .string();
        log = std::make_unique<HtmlLog>(logPath, "Log file");
        viewer = std::make_unique<Viewer>(camera, clock, *log, ObjectList{objects, busy},
                                          [this] { loader(); });
    }
    void TearDown() override {
        viewer.reset();
        log.reset();
        if (!logPath.empty()) fs::remove(logPath);
    }

    std::vector<LogEntry> Entries() { return EntriesOf(logPath); }

    // The starting modelview matrix every object should see: the camera's view, then the
    // scene's half turn. Computed with a separate camera in the same state.
    Matrix ExpectedObjectMatrix(const Camera& before) {
        Camera copy = before;
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        copy.ApplyView();
        glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
        return CurrentMatrix(GL_MODELVIEW_MATRIX);
    }

    GlTestContext gl{64, 48};
    std::string logPath;
    Camera camera;
    AnimationClock clock{[] { return 0u; }};
    std::unique_ptr<HtmlLog> log;
    ObjectArray objects;
    bool busy = false;
    std::function<void()> loader = [] {};
    std::unique_ptr<Viewer> viewer;
};

TEST_F(ViewerGl, InitPlacesTheCameraSetsTheFixedStateThenLoadsTheScene) {
    bool stateWasSetWhenLoading = false;
    loader = [&] {
        stateWasSetWhenLoading = glIsEnabled(GL_LIGHTING) && glIsEnabled(GL_CULL_FACE);
    };
    viewer->Init();

    EXPECT_EQ(camera.yaw, -150.0f);
    EXPECT_EQ(camera.position.x, 450.0f);
    EXPECT_EQ(camera.position.y, 300.0f);
    EXPECT_EQ(camera.position.z, 3000.0f);
    EXPECT_TRUE(stateWasSetWhenLoading);

    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(std::vector<float>(clear, clear + 4), (std::vector<float>{0, 0, 0, 0}));
    GLint value = 0;
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LEQUAL);
    GLfloat depth = 0;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_EQ(depth, 1.0f);
    glGetIntegerv(GL_CULL_FACE_MODE, &value);
    EXPECT_EQ(value, GL_BACK);
    glGetIntegerv(GL_FRONT_FACE, &value);
    EXPECT_EQ(value, GL_CW);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    GLfloat specular[4];
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    EXPECT_EQ(std::vector<float>(specular, specular + 4),
              (std::vector<float>{0.8f, 0.5f, 0.5f, 0.0f}));
    GLfloat shininess = 0;
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    EXPECT_EQ(shininess, 120.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    EXPECT_EQ(Entries(), std::vector<LogEntry>{Title("init")});
}

TEST_F(ViewerGl, AFailingLoaderIsLoggedAndWhatItLoadedStays) {
    RecordingObject loaded;
    std::vector<Matrix> seen;
    loaded.seen = &seen;
    const std::vector<std::function<void()>> failures = {
        [] { throw std::runtime_error("broken"); },
        [] { throw "a C string"; },
        [] { throw 42; },
    };
    for (const auto& fail : failures) {
        loader = [&] {
            objects.Append(&loaded);
            fail();
        };
        EXPECT_NO_THROW(viewer->Init());
    }
    EXPECT_EQ(Entries(), (std::vector<LogEntry>{Title("init"), Error("In scene Load() method."),
                                                Title("init"), Error("In scene Load() method."),
                                                Title("init"), Error("In scene Load() method.")}));
    viewer->Reshape(64, 48);
    viewer->Display();
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(ViewerGl, ReshapeSetsAFortyFiveDegreeProjectionForTheWindowsAspect) {
    const double f = 1.0 / std::tan(22.5 * std::numbers::pi / 180.0);
    viewer->Reshape(200, 100);
    GLint matrixMode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 0, 200, 100}));
    Matrix projection = CurrentMatrix(GL_PROJECTION_MATRIX);
    EXPECT_NEAR(projection[5], f, 1e-5);
    EXPECT_NEAR(projection[0], f / 2.0, 1e-5);
    EXPECT_EQ(viewer->windowWidth, 200);
    EXPECT_EQ(viewer->windowHeight, 100);

    viewer->Reshape(100, 400);
    projection = CurrentMatrix(GL_PROJECTION_MATRIX);
    EXPECT_NEAR(projection[5], f, 1e-5);  // vertical field of view unchanged
    EXPECT_NEAR(projection[0], f * 4.0, 1e-4);
}

TEST_F(ViewerGl, AMinimisedWindowKeepsTheLastAspectInsteadOfDividingByZero) {
    viewer->Reshape(300, 150);
    const Matrix before = CurrentMatrix(GL_PROJECTION_MATRIX);
    for (const auto& [w, h] : {std::pair{300, 0}, std::pair{0, 0}, std::pair{0, 150}}) {
        viewer->Reshape(w, h);
        const Matrix after = CurrentMatrix(GL_PROJECTION_MATRIX);
        for (int i = 0; i < 16; ++i) {
            ASSERT_TRUE(std::isfinite(after[i])) << w << "x" << h << " element " << i;
            EXPECT_EQ(after[i], before[i]) << w << "x" << h << " element " << i;
        }
        EXPECT_EQ(viewer->windowWidth, w);
        EXPECT_EQ(viewer->windowHeight, h);
    }
}

TEST_F(ViewerGl, EveryObjectStartsFromTheCameraMatrixWhateverTheOneBeforeDid) {
    std::vector<Matrix> seen;
    std::array<RecordingObject, 3> three;
    for (auto& object : three) {
        object.seen = &seen;
        objects.Append(&object);
    }
    viewer->Init();
    viewer->Reshape(64, 48);
    camera.speed = 5.0f;
    const Matrix expected = ExpectedObjectMatrix(camera);

    viewer->Display();
    ASSERT_EQ(seen.size(), 3u);
    for (const Matrix& m : seen) {
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], expected[i], 1e-3f) << "element " << i;
    }
    // The frame moved the camera one step.
    EXPECT_NEAR(camera.position.x, 450.0f - 2.5f, 1e-3f);
}

TEST_F(ViewerGl, ObjectsAddedWhileDrawingAreDrawnInTheSameFrame) {
    std::vector<Matrix> seen;
    RecordingObject first, added;
    first.seen = added.seen = &seen;
    first.during = [&] {
        if (objects.Count() == 1) objects.Append(&added);
    };
    objects.Append(&first);
    viewer->Display();
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(ViewerGl, NothingIsDrawnWhileTheFactoryIsBusy) {
    FullScreenQuad quad;
    objects.Append(&quad);
    viewer->Init();
    viewer->Reshape(gl.Width(), gl.Height());

    viewer->Display();
    auto pixels = gl.ReadPixels();
    EXPECT_EQ(pixels[0], 255);
    EXPECT_EQ(pixels[1], 128);
    EXPECT_EQ(pixels[2], 0);

    busy = true;
    viewer->Display();
    pixels = gl.ReadPixels();
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        ASSERT_EQ(pixels[i] + pixels[i + 1] + pixels[i + 2], 0) << "pixel " << i / 4;
    }
}

TEST_F(ViewerGl, AnEmptySceneIsClearedToBlack) {
    viewer->Init();
    viewer->Reshape(gl.Width(), gl.Height());
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    viewer->Display();
    const auto pixels = gl.ReadPixels();
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        ASSERT_EQ(pixels[i] + pixels[i + 1] + pixels[i + 2], 0) << "pixel " << i / 4;
    }
}

TEST_F(ViewerGl, AReloadNamesTheChangesReleasesThenLoadsAgainWhereTheCameraIs) {
    std::vector<std::string> steps;
    Viewer reloading(camera, clock, *log, ObjectList{objects, busy},
                     [&] {
                         steps.push_back("load");
                         log->WriteError("a texture is missing");
                         if (steps.size() > 1) throw std::runtime_error("no Scene element");
                     },
                     [&] { steps.push_back("release"); });
    EXPECT_EQ(reloading.Init(), 1);
    camera.position = {1.0f, 2.0f, 3.0f};
    camera.yaw = 10.0f;
    camera.speed = 4.0f;

    // The follow-up that only repeats that the load failed is not counted.
    EXPECT_EQ(reloading.Reload({"shaders/paint.frag", "Scene.xml"}), 1);
    EXPECT_EQ(steps, (std::vector<std::string>{"load", "release", "load"}));
    EXPECT_EQ(camera.position.x, 1.0f);
    EXPECT_EQ(camera.position.z, 3.0f);
    EXPECT_EQ(camera.yaw, 10.0f);
    EXPECT_EQ(camera.speed, 4.0f);
    EXPECT_EQ(Entries(), (std::vector<LogEntry>{Title("init"), Error("a texture is missing"),
                                                Title("Reload"),
                                                Message("file changed:\tshaders/paint.frag"),
                                                Message("file changed:\tScene.xml"),
                                                Message("reloading at:\t" + kTime),
                                                Error("a texture is missing"),
                                                Error("In scene Load() method.")}));
}

// The picture is saved the right way up: a green top left quarter on red.
TEST_F(ViewerGl, AScreenshotHoldsTheFrameAsShownAndTakesTheNextNumber) {
    TempFolder folder;
    EXPECT_EQ(NextScreenshotName(folder.Path() / "missing"), "screenshot-001.png");
    EXPECT_EQ(NextScreenshotName(folder.Path()), "screenshot-001.png");
    for (const char* name : {"screenshot-001.png", "screenshot-007.png", "screenshot-9x.png",
                             "screenshot-012.jpg", "my-screenshot-050.png"}) {
        std::ofstream(folder.Path() / name) << "taken";
    }
    EXPECT_EQ(NextScreenshotName(folder.Path()), "screenshot-008.png");

    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, gl.Height() / 2, gl.Width() / 2, gl.Height() - gl.Height() / 2);
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    const fs::path path = folder.Path() / "screenshot-008.png";
    ASSERT_TRUE(SaveFramePng(path, gl.Width(), gl.Height()));

    const auto saved = RgbImage::LoadPng(path.string());
    ASSERT_TRUE(saved.has_value());
    ASSERT_EQ(saved->Width(), gl.Width());
    ASSERT_EQ(saved->Height(), gl.Height());
    const auto rgb = [&](int x, int y) {
        const std::uint8_t* p = saved->At(x, y);
        return std::vector<int>{p[0], p[1], p[2]};
    };
    EXPECT_EQ(rgb(0, 0), (std::vector<int>{0, 255, 0}));
    EXPECT_EQ(rgb(gl.Width() / 2 - 1, gl.Height() / 2 - 1), (std::vector<int>{0, 255, 0}));
    EXPECT_EQ(rgb(gl.Width() / 2, 0), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(rgb(0, gl.Height() - 1), (std::vector<int>{255, 0, 0}));

    EXPECT_FALSE(SaveFramePng(folder.Path() / "no-such-folder" / "a.png", 4, 4));
}

}  // namespace
