#include "app/Camera.h"

#include <gtest/gtest.h>

namespace {

TEST(Camera, StartsAtItsDefaults) {
    Camera camera;
    EXPECT_EQ(camera.pitchStepLimit, 5.0f);
    EXPECT_EQ(camera.yawStepLimit, 5.0f);
    EXPECT_EQ(camera.speedStepLimit, 2.0f);
    EXPECT_EQ(camera.yaw, 0.0f);
    EXPECT_EQ(camera.pitch, 0.0f);
    EXPECT_EQ(camera.speed, 0.0f);
    EXPECT_EQ(camera.position.x, 2000.0f);
    EXPECT_EQ(camera.position.y, 0.0f);
    EXPECT_EQ(camera.position.z, 2000.0f);
}

TEST(Camera, StepsAtOrBeyondTheLimitAreClampedToTheLimitWithTheirSign) {
    Camera camera;
    camera.TurnPitch(5.0f);  // equal to the limit: the clamping branch, same value
    EXPECT_FLOAT_EQ(camera.pitch, 5.0f);
    camera.TurnPitch(12.0f);
    EXPECT_FLOAT_EQ(camera.pitch, 10.0f);
    camera.TurnPitch(-30.0f);
    EXPECT_FLOAT_EQ(camera.pitch, 5.0f);

    camera.TurnYaw(-7.0f);
    EXPECT_FLOAT_EQ(camera.yaw, -5.0f);
    camera.TurnYaw(4.9f);
    EXPECT_NEAR(camera.yaw, -0.1f, 1e-6f);

    camera.ChangeSpeed(3.0f);
    EXPECT_FLOAT_EQ(camera.speed, 2.0f);
    camera.ChangeSpeed(-100.0f);
    EXPECT_FLOAT_EQ(camera.speed, 0.0f);
    camera.ChangeSpeed(-2.0f);
    EXPECT_FLOAT_EQ(camera.speed, -2.0f);
}

TEST(Camera, AnglesWrapOnceJustPast360ButNotAtIt) {
    Camera camera;
    camera.pitch = 359.9f;
    camera.TurnPitch(0.2f);
    EXPECT_NEAR(camera.pitch, 0.1f, 1e-4f);

    camera.pitch = 355.0f;
    camera.TurnPitch(5.0f);
    EXPECT_EQ(camera.pitch, 360.0f);

    camera.pitch = -359.9f;
    camera.TurnPitch(-0.2f);
    EXPECT_NEAR(camera.pitch, -0.1f, 1e-4f);

    camera.yaw = 359.9f;
    camera.TurnYaw(0.2f);
    EXPECT_NEAR(camera.yaw, 0.1f, 1e-4f);

    camera.yaw = -355.0f;
    camera.TurnYaw(-5.0f);
    EXPECT_EQ(camera.yaw, -360.0f);
}

TEST(Camera, YawTurnsTheOtherWayWhileUpsideDown) {
    struct Case {
        float pitch;
        float expectedYaw;
    };
    for (const Case c :
         {Case{100.0f, -0.2f}, Case{269.0f, -0.2f}, Case{-100.0f, -0.2f}, Case{-269.0f, -0.2f},
          Case{90.0f, 0.2f}, Case{270.0f, 0.2f}, Case{-90.0f, 0.2f}, Case{-270.0f, 0.2f},
          Case{0.0f, 0.2f}, Case{300.0f, 0.2f}}) {
        Camera camera;
        camera.pitch = c.pitch;
        camera.TurnYaw(0.2f);
        EXPECT_FLOAT_EQ(camera.yaw, c.expectedYaw) << "pitch " << c.pitch;
    }
}

TEST(Camera, TwoSpeedUpsAndTwoSlowDownsStopTheCameraExactly) {
    Camera camera;
    camera.ChangeSpeed(0.1f);
    camera.ChangeSpeed(0.1f);
    camera.ChangeSpeed(-0.1f);
    camera.ChangeSpeed(-0.1f);
    EXPECT_EQ(camera.speed, 0.0f);

    const Vector3 before = camera.position;
    camera.Advance();
    EXPECT_EQ(camera.position.x, before.x);
    EXPECT_EQ(camera.position.y, before.y);
    EXPECT_EQ(camera.position.z, before.z);
}

TEST(Camera, EachFrameMovesBySpeedAlongTheViewingDirection) {
    Camera camera;
    camera.yaw = -150.0f;
    camera.position = {450.0f, 300.0f, 3000.0f};
    camera.ChangeSpeed(1.0f);

    camera.Advance();
    EXPECT_NEAR(camera.lastStep.x, -0.5f, 1e-5f);
    EXPECT_NEAR(camera.lastStep.y, 0.0f, 1e-5f);
    EXPECT_NEAR(camera.lastStep.z, -0.8660254f, 1e-5f);
    EXPECT_NEAR(camera.position.x, 449.5f, 1e-3f);
    EXPECT_NEAR(camera.position.z, 2999.134f, 1e-3f);

    camera.Advance();
    EXPECT_NEAR(camera.position.x, 449.0f, 1e-3f);
    EXPECT_NEAR(camera.position.z, 2998.268f, 1e-3f);
}

TEST(Camera, OneSpeedUpKeepsMovingATenthOfAUnitEveryFrame) {
    Camera camera;
    camera.ChangeSpeed(0.1f);
    for (int frame = 0; frame < 10; ++frame) camera.Advance();
    // yaw 0, pitch 0 looks along +z.
    EXPECT_NEAR(camera.position.z, 2001.0f, 1e-3f);
    EXPECT_FLOAT_EQ(camera.position.x, 2000.0f);
}

TEST(Camera, PitchTiltsTheDirectionDownwardAndKeepsItUnitLength) {
    Camera camera;
    camera.yaw = 30.0f;
    camera.pitch = 45.0f;
    const Vector3 d = camera.Direction();
    EXPECT_NEAR(d.y, -0.7071068f, 1e-5f);
    EXPECT_NEAR(d.x, 0.5f * 0.7071068f, 1e-5f);
    EXPECT_NEAR(d.z, 0.8660254f * 0.7071068f, 1e-5f);
    EXPECT_NEAR(d.x * d.x + d.y * d.y + d.z * d.z, 1.0f, 1e-5f);
}

}  // namespace
