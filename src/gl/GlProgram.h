#pragma once

#include <cstdint>

#include "gl/GlObject.h"

// How program objects are made and deleted: glCreateProgram, glDeleteProgram.
struct GlProgramKind {
    static std::uint32_t Create();
    static void Delete(std::uint32_t name);
};

// Owns one GLSL program object. Deleting it detaches its shaders; a program still in use
// is only marked, and goes when it is no longer used.
using GlProgram = GlObject<GlProgramKind>;
