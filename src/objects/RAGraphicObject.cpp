#include "objects/RAGraphicObject.h"

#include "objects/ModelFileName.h"
#include "objects/RAFileParser.h"
#include "scene/AbstractGraphicMemento.h"

void RAGraphicObject::Draw() {
    ApplyPlacement();
    DrawAnimated();
}

std::unique_ptr<RAGraphicObject> CreateRAGraphicObject(const AbstractGraphicMemento& description) {
    const std::string& fileName = ModelFileName(description, "RA");
    auto object = std::make_unique<RAGraphicObject>();
    Tarnhold::RAFileParser parser(*object, fileName);
    parser.Parse();
    object->TakePlacement(description);
    return object;
}
