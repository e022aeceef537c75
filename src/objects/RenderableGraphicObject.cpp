#include "objects/RenderableGraphicObject.h"

#include <GL/glew.h>

#include <cstddef>

void RenderableGraphicObject::Draw() {
    constexpr GLsizei stride = sizeof(MeshVertex);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer.Id());
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, stride,
                    reinterpret_cast<const void*>(offsetof(MeshVertex, position)));
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, stride, reinterpret_cast<const void*>(offsetof(MeshVertex, normal)));
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(3, GL_FLOAT, stride,
                      reinterpret_cast<const void*>(offsetof(MeshVertex, texCoord)));
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.count), GL_UNSIGNED_INT,
                   indices.data.get());
}

void RenderableGraphicObject::Prepare() {
    // A second call refills the same buffer instead of leaking the first one.
    if (vertexBuffer.Id() == 0) vertexBuffer = GlBuffer::Create();
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer.Id());
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.count) * sizeof(MeshVertex),
                 vertices.data.get(), GL_STATIC_DRAW);
}

void RenderableGraphicObject::Take(RMesh&& mesh) {
    vertices = std::move(mesh.vertices);
    indices = std::move(mesh.indices);
}
