#pragma once

#include <cstdint>

#include "gl/GlObject.h"

// How buffer objects are made and deleted: glGenBuffers, glDeleteBuffers.
struct GlBufferKind {
    static std::uint32_t Create();
    static void Delete(std::uint32_t name);
};

// Owns one buffer object name, such as a mesh's vertex buffer. The name becomes a buffer
// object when it is first bound.
using GlBuffer = GlObject<GlBufferKind>;
