#include "scene/TextureMemento.h"

void TextureMemento::SetAttribute(const std::string& attribute, const std::string& value) {
    if (attribute == "name") {
        name = value;
    } else if (attribute == "file") {
        fileName = value;
    }
}
