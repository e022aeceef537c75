#pragma once

#include <cstdint>

#include "gl/GlObject.h"

// How texture objects are made and deleted: glGenTextures, glDeleteTextures.
struct GlTextureKind {
    static std::uint32_t Create();
    static void Delete(std::uint32_t name);
};

// Owns one texture object name. The name becomes a texture when it is first bound.
using GlTexture = GlObject<GlTextureKind>;
