#include "scene/GLSLShaderMemento.h"

void GLSLShaderMemento::SetAttribute(const std::string& attribute, const std::string& value) {
    if (attribute == "name") {
        name = value;
    } else if (attribute == "vert") {
        vertexFile = value;
    } else if (attribute == "frag") {
        fragmentFile = value;
    }
}
