#include "gl/GlShader.h"

#include <GL/glew.h>

std::uint32_t GlShaderKind::Create(std::uint32_t type) { return glCreateShader(type); }

void GlShaderKind::Delete(std::uint32_t name) { glDeleteShader(name); }
