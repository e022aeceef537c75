#pragma once

// A two-component texture coordinate.
struct TexCoord {
    float u = 0.0f;
    float v = 0.0f;
};
