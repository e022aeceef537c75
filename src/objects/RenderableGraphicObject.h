#pragma once

#include "gl/GlBuffer.h"
#include "objects/AbstractGraphicObject.h"
#include "objects/MeshArray.h"
#include "objects/RMesh.h"

// A triangle mesh whose interleaved vertices live in one vertex buffer object and whose
// indices stay in ordinary memory. The base of the R and RA model objects. Moving passes
// the buffer on; destroying the object deletes it, if Prepare() made one: needs the
// context then.
class RenderableGraphicObject : public AbstractGraphicObject {
public:
    RenderableGraphicObject() = default;

    RenderableGraphicObject(RenderableGraphicObject&&) = default;
    RenderableGraphicObject& operator=(RenderableGraphicObject&&) = default;

    // Draws the mesh alone, with no effect or placement. Leaves the buffer bound and the
    // vertex, normal and texture-coordinate arrays enabled.
    void Draw() override;

    // Takes the mesh to draw, replacing the one it had.
    void Take(RMesh&& mesh);

    // Uploads the vertices into a new buffer with the static usage hint.
    void Prepare() override;

    GlBuffer vertexBuffer;
    IndexArray indices;
    VertexArray vertices;
};
