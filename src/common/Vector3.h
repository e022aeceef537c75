#pragma once

// Three 32-bit floats in x, y, z order: positions, scales and directions.
struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};
