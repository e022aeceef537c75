#pragma once

#include <cstdint>

#include "gl/GlObject.h"

// How display lists are made and deleted: glGenLists(1), glDeleteLists(name, 1).
struct GlDisplayListKind {
    static std::uint32_t Create();
    static void Delete(std::uint32_t name);
};

// Owns one display list name, reserved empty by Create() and filled by glNewList.
using GlDisplayList = GlObject<GlDisplayListKind>;
