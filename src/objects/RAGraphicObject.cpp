#include "objects/RAGraphicObject.h"

#include "factory/FactoryException.h"
#include "objects/RAFileParser.h"
#include "scene/FileGraphicMemento.h"

void RAGraphicObject::Draw() {
    ApplyPlacement();
    DrawAnimated();
}

std::unique_ptr<RAGraphicObject> CreateRAGraphicObject(const AbstractGraphicMemento& description) {
    const auto* fileDescription = dynamic_cast<const FileGraphicMemento*>(&description);
    if (!fileDescription) throw FactoryException("An RA object needs a model file description.");
    auto object = std::make_unique<RAGraphicObject>();
    Tarnhold::RAFileParser parser(*object, fileDescription->fileName);
    parser.Parse();
    object->position = description.position;
    object->scale = description.scale;
    return object;
}
