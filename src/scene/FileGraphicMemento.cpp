#include "scene/FileGraphicMemento.h"

void FileGraphicMemento::SetAttribute(const std::string& attribute, const std::string& value) {
    AbstractGraphicMemento::SetAttribute(attribute, value);
    if (attribute == "file") {
        fileName = value;
    }
}
