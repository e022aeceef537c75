#include <GL/glew.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "app/Camera.h"
#include "support/GlTestContext.h"

namespace {

using Matrix = std::array<float, 16>;

Matrix Modelview() {
    Matrix m{};
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

// Column-major product of a 4x4 matrix and the point (x, y, z, 1).
std::array<float, 3> Transform(const Matrix& m, float x, float y, float z) {
    return {m[0] * x + m[4] * y + m[8] * z + m[12], m[1] * x + m[5] * y + m[9] * z + m[13],
            m[2] * x + m[6] * y + m[10] * z + m[14]};
}

class CameraGl : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_GL(gl);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    GlTestContext gl{16, 16};
};

// The direction the camera moves along is the one the matrix-readback method gives: the
// third column of yaw-then-pitch for x and z, and of the pitch rotation alone for y.
TEST_F(CameraGl, DirectionMatchesTheRotationMatrices) {
    for (const float yaw : {-150.0f, 0.0f, 37.5f, 200.0f}) {
        for (const float pitch : {-100.0f, 0.0f, 20.0f, 89.0f}) {
            glLoadIdentity();
            glRotatef(yaw, 0, 1, 0);
            glRotatef(pitch, 1, 0, 0);
            const Matrix yawPitch = Modelview();
            glLoadIdentity();
            glRotatef(pitch, 1, 0, 0);
            const Matrix pitchOnly = Modelview();

            Camera camera;
            camera.yaw = yaw;
            camera.pitch = pitch;
            const Vector3 d = camera.Direction();
            EXPECT_NEAR(d.x, yawPitch[8], 1e-5f) << yaw << " " << pitch;
            EXPECT_NEAR(d.y, pitchOnly[9], 1e-5f) << yaw << " " << pitch;
            EXPECT_NEAR(d.z, yawPitch[10], 1e-5f) << yaw << " " << pitch;
        }
    }
}

// With the scene's half turn after the view, the eye sits at (-x, y, z) of the camera's
// position and a positive speed moves it towards what it looks at.
TEST_F(CameraGl, ViewPutsTheEyeAtTheMirroredPositionLookingAhead) {
    Camera camera;
    camera.yaw = -150.0f;
    camera.position = {450.0f, 300.0f, 3000.0f};
    camera.ApplyView();
    glRotatef(180.0f, 0, 1, 0);
    const Matrix view = Modelview();

    const auto eye = Transform(view, -450.0f, 300.0f, 3000.0f);
    EXPECT_NEAR(eye[0], 0.0f, 1e-2f);
    EXPECT_NEAR(eye[1], 0.0f, 1e-2f);
    EXPECT_NEAR(eye[2], 0.0f, 1e-2f);

    // A point 1000 units along the world viewing direction (0.5, 0, -0.866) lies straight
    // ahead, on the negative z axis of eye space.
    const auto ahead = Transform(view, -450.0f + 500.0f, 300.0f, 3000.0f - 866.0254f);
    EXPECT_NEAR(ahead[0], 0.0f, 1e-1f);
    EXPECT_NEAR(ahead[1], 0.0f, 1e-1f);
    EXPECT_NEAR(ahead[2], -1000.0f, 1e-1f);
}

// The camera steps first, then the view translates by the new position: one step of 10
// along yaw -150, the direction (-0.5, 0, -0.866), moves (450, 300, 3000) to (445, 300,
// 2991.34), and the translation by (-445, -300, 2991.34) takes the point (445, 300,
// -2991.34) to the eye. Translating by the old position would leave it 10 units away.
TEST_F(CameraGl, ApplyViewMovesOneStepPerFrameAndTranslatesByTheNewPosition) {
    Camera camera;
    camera.yaw = -150.0f;
    camera.position = {450.0f, 300.0f, 3000.0f};
    camera.speed = 10.0f;
    camera.ApplyView();
    const Matrix view = Modelview();

    const double yaw = -150.0 * std::numbers::pi / 180.0;
    const float x = static_cast<float>(450.0 + 10.0 * std::sin(yaw));
    const float z = static_cast<float>(3000.0 + 10.0 * std::cos(yaw));
    EXPECT_NEAR(camera.position.x, x, 1e-3f);
    EXPECT_NEAR(camera.position.y, 300.0f, 1e-3f);
    EXPECT_NEAR(camera.position.z, z, 1e-3f);

    const auto eye = Transform(view, x, 300.0f, -z);
    EXPECT_NEAR(eye[0], 0.0f, 1e-2f);
    EXPECT_NEAR(eye[1], 0.0f, 1e-2f);
    EXPECT_NEAR(eye[2], 0.0f, 1e-2f);
}

}  // namespace
