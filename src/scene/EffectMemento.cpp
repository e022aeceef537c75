#include "scene/EffectMemento.h"

void EffectMemento::SetAttribute(const std::string& attribute, const std::string& value) {
    if (attribute == "name") {
        name = value;
    } else if (attribute == "shader") {
        programName = value;
    }
}
