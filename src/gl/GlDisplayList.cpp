#include "gl/GlDisplayList.h"

#include <GL/glew.h>

std::uint32_t GlDisplayListKind::Create() { return glGenLists(1); }

void GlDisplayListKind::Delete(std::uint32_t name) { glDeleteLists(name, 1); }
