#include "gl/GlProgram.h"

#include <GL/glew.h>

std::uint32_t GlProgramKind::Create() { return glCreateProgram(); }

void GlProgramKind::Delete(std::uint32_t name) { glDeleteProgram(name); }
