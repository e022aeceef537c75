#include "gl/GlTexture.h"

#include <GL/glew.h>

std::uint32_t GlTextureKind::Create() {
    GLuint name = 0;
    glGenTextures(1, &name);
    return name;
}

void GlTextureKind::Delete(std::uint32_t name) { glDeleteTextures(1, &name); }
