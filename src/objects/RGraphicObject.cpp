#include "objects/RGraphicObject.h"

#include "objects/ModelFileName.h"
#include "objects/RFileParser.h"
#include "scene/AbstractGraphicMemento.h"

void RGraphicObject::Draw() {
    ApplyPlacement();
    RenderableGraphicObject::Draw();
}

std::unique_ptr<RGraphicObject> CreateRGraphicObject(const AbstractGraphicMemento& description) {
    const std::string& fileName = ModelFileName(description, "R");
    auto object = std::make_unique<RGraphicObject>();
    Tarnhold::RFileParser parser(*object, fileName);
    parser.Parse();
    object->TakePlacement(description);
    return object;
}
