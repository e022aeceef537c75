#include "scene/AbstractGraphicMemento.h"

#include "scene/ValueSyntax.h"

void AbstractGraphicMemento::SetAttribute(const std::string& attribute, const std::string& value) {
    if (attribute == "effect") {
        effectName = value;
    } else if (attribute == "pos") {
        position = ParseVector3(value);
    } else if (attribute == "scale") {
        scale = ParseVector3(value);
    }
}
