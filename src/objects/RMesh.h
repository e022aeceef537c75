#pragma once

#include "objects/MeshArray.h"

// The mesh of an R file as read: every vertex, and three indices per triangle, each below
// the vertex count.
struct RMesh {
    VertexArray vertices;
    IndexArray indices;
};
