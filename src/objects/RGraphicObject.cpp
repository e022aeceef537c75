#include "objects/RGraphicObject.h"

#include "factory/FactoryException.h"
#include "objects/RFileParser.h"
#include "scene/FileGraphicMemento.h"

void RGraphicObject::Draw() {
    ApplyPlacement();
    RenderableGraphicObject::Draw();
}

std::unique_ptr<RGraphicObject> CreateRGraphicObject(const AbstractGraphicMemento& description) {
    const auto* fileDescription = dynamic_cast<const FileGraphicMemento*>(&description);
    if (!fileDescription) throw FactoryException("An R object needs a model file description.");
    auto object = std::make_unique<RGraphicObject>();
    Tarnhold::RFileParser parser(*object, fileDescription->fileName);
    parser.Parse();
    object->position = description.position;
    object->scale = description.scale;
    return object;
}
