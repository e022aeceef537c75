#include "objects/OBJGraphicObject.h"

#include <GL/glew.h>

#include "objects/OBJModel.h"

void OBJGraphicObject::Draw() {
    glPushMatrix();
    ApplyPlacement();
    if (displayList.Id() != 0) glCallList(displayList.Id());
    glPopMatrix();
}

void OBJGraphicObject::Prepare() {
    // A second call recompiles the same list instead of leaking the first one.
    if (displayList.Id() == 0) displayList = GlDisplayList::Create();
    glNewList(displayList.Id(), GL_COMPILE);
    glBegin(GL_TRIANGLES);
    const bool textured = !texCoords.empty();
    for (const OBJFace& face : faces) {
        if (!Drawable(face)) continue;
        for (int corner = 0; corner < 3; ++corner) {
            if (textured) {
                const TexCoord& t = texCoords[face.texCoord[corner] - 1];
                glTexCoord2f(t.u, t.v);
            }
            const Vector3& n = normals[face.normal[corner] - 1];
            glNormal3f(n.x, n.y, n.z);
            const Vector3& p = positions[face.position[corner] - 1];
            glVertex3f(p.x, p.y, p.z);
        }
    }
    glEnd();
    glEndList();
}

OBJArraySizes OBJGraphicObject::Sizes() const {
    return {positions.size(), texCoords.size(), normals.size()};
}

bool OBJGraphicObject::Drawable(const OBJFace& face) const { return Sizes().Drawable(face); }

std::string OBJGraphicObject::IndexProblem(const OBJFace& face) const {
    return Sizes().IndexProblem(face);
}

void OBJGraphicObject::Take(OBJModel&& model) {
    positions = std::move(model.positions);
    texCoords = std::move(model.texCoords);
    normals = std::move(model.normals);
    faces = std::move(model.faces);
}
