#include "gl/GlBuffer.h"

#include <GL/glew.h>

std::uint32_t GlBufferKind::Create() {
    GLuint name = 0;
    glGenBuffers(1, &name);
    return name;
}

void GlBufferKind::Delete(std::uint32_t name) { glDeleteBuffers(1, &name); }
