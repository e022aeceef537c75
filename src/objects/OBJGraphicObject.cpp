#include "objects/OBJGraphicObject.h"

#include <GL/glew.h>

namespace {

template <typename Element>
bool Names(std::int32_t index, const std::vector<Element>& array) {
    return index >= 1 && static_cast<std::size_t>(index) <= array.size();
}

template <typename Element>
std::string Misnamed(const char* kind, std::int32_t index, const std::vector<Element>& array,
                     const char* one, const char* many) {
    const std::size_t count = array.size();
    return std::string("its ") + kind + " index is " + std::to_string(index) +
           ", but the file has " + (count == 0 ? "no" : std::to_string(count)) + " " +
           (count == 1 ? one : many);
}

}  // namespace

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

bool OBJGraphicObject::Drawable(const OBJFace& face) const {
    for (int corner = 0; corner < 3; ++corner) {
        if (!Names(face.position[corner], positions) || !Names(face.normal[corner], normals)) {
            return false;
        }
        if (!texCoords.empty() && !Names(face.texCoord[corner], texCoords)) return false;
    }
    return true;
}

std::string OBJGraphicObject::IndexProblem(const OBJFace& face) const {
    for (int corner = 0; corner < 3; ++corner) {
        if (!Names(face.position[corner], positions)) {
            return Misnamed("position", face.position[corner], positions, "position", "positions");
        }
        if (!texCoords.empty() && !Names(face.texCoord[corner], texCoords)) {
            return Misnamed("texture-coordinate", face.texCoord[corner], texCoords,
                            "texture coordinate", "texture coordinates");
        }
        if (!Names(face.normal[corner], normals)) {
            return Misnamed("normal", face.normal[corner], normals, "normal", "normals");
        }
    }
    return {};
}
