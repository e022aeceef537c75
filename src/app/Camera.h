#pragma once

#include "common/Vector3.h"

// The viewpoint: yaw and pitch angles, a forward speed and a position. Every frame
// ApplyView sets up the view transform and moves the camera by `speed` along its viewing
// direction, so motion is per frame. The turn and speed operations change the state in
// clamped steps.
class Camera {
public:
    Camera() = default;
    virtual ~Camera() = default;

    // Multiplies the current (identity) modelview matrix by the view transform and moves
    // the camera one frame along its direction. Needs a current GL context.
    void ApplyView();

    // Moves the position by `speed` along Direction() and records the displacement in
    // `lastStep`. The motion half of ApplyView, without GL.
    void Advance();

    // The unit vector (sin(yaw)cos(pitch), -sin(pitch), cos(yaw)cos(pitch)), angles in
    // degrees: the third column of the yaw-then-pitch rotation.
    Vector3 Direction() const;

    // Adds a step (clamped to the matching limit) to pitch, yaw or speed. Angles are
    // wrapped once into [-360, 360]; while the camera is upside down (pitch strictly
    // between 90 and 270, or -270 and -90) a yaw step turns the other way.
    void TurnPitch(float step);
    void TurnYaw(float step);
    void ChangeSpeed(float step);

    float pitchStepLimit = 5.0f;
    float yawStepLimit = 5.0f;
    float yaw = 0.0f;
    float pitch = 0.0f;
    float speedStepLimit = 2.0f;
    float speed = 0.0f;
    Vector3 position{2000.0f, 0.0f, 2000.0f};
    Vector3 lastStep{};
};
