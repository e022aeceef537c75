#pragma once

#include <cstdint>

#include "gl/GlObject.h"

// How shader objects are made and deleted: glCreateShader, glDeleteShader.
struct GlShaderKind {
    static std::uint32_t Create(std::uint32_t type);
    static void Delete(std::uint32_t name);
};

// Owns one shader object; Create(type) takes GL_VERTEX_SHADER, GL_FRAGMENT_SHADER and the
// like. Deleting a shader still attached to a program only marks it until it is detached.
using GlShader = GlObject<GlShaderKind>;
