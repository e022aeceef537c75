#include "app/Camera.h"

#include <GL/gl.h>

#include <cmath>
#include <numbers>

namespace {

// The requested step while it is strictly below the limit in magnitude, else the limit
// with the step's sign.
float ClampedStep(float limit, float step) {
    if (std::fabs(limit) > std::fabs(step)) return step;
    return step >= 0.0f ? limit : -limit;
}

// One correction only: 360 and -360 themselves stay.
void WrapAngle(float& angle) {
    if (angle > 360.0f) {
        angle -= 360.0f;
    } else if (angle < -360.0f) {
        angle += 360.0f;
    }
}

bool UpsideDown(float pitch) {
    return (pitch > 90.0f && pitch < 270.0f) || (pitch > -270.0f && pitch < -90.0f);
}

double Radians(float degrees) { return degrees * std::numbers::pi / 180.0; }

}  // namespace

void Camera::ApplyView() {
    glRotatef(pitch, 1.0f, 0.0f, 0.0f);
    glRotatef(yaw, 0.0f, 1.0f, 0.0f);
    Advance();
    // Only x and y are negated: together with the scene's half turn this puts the eye at
    // (-x, y, z) in the scene, moving along the direction it looks.
    glTranslatef(-position.x, -position.y, position.z);
}

void Camera::Advance() {
    const Vector3 d = Direction();
    lastStep = {d.x * speed, d.y * speed, d.z * speed};
    position.x += lastStep.x;
    position.y += lastStep.y;
    position.z += lastStep.z;
}

Vector3 Camera::Direction() const {
    const double y = Radians(yaw);
    const double p = Radians(pitch);
    return {static_cast<float>(std::sin(y) * std::cos(p)), static_cast<float>(-std::sin(p)),
            static_cast<float>(std::cos(y) * std::cos(p))};
}

void Camera::TurnPitch(float step) {
    pitch += ClampedStep(pitchStepLimit, step);
    WrapAngle(pitch);
}

void Camera::TurnYaw(float step) {
    const float clamped = ClampedStep(yawStepLimit, step);
    if (UpsideDown(pitch)) {
        yaw -= clamped;
    } else {
        yaw += clamped;
    }
    WrapAngle(yaw);
}

void Camera::ChangeSpeed(float step) { speed += ClampedStep(speedStepLimit, step); }
