#pragma once

// One vertex of a mesh as the vertex buffer and the R and RA files hold it: nine floats,
// 36 bytes, no padding.
struct MeshVertex {
    float position[3];
    float normal[3];    // passed to OpenGL as it is, not normalised
    float texCoord[3];  // s, t, r
};

static_assert(sizeof(MeshVertex) == 36, "a mesh vertex is nine packed floats");
