#include "objects/AbstractGraphicObject.h"

#include <GL/glew.h>

#include "resources/Effect.h"
#include "scene/AbstractGraphicMemento.h"

void AbstractGraphicObject::TakePlacement(const AbstractGraphicMemento& description) {
    position = description.position;
    scale = description.scale;
}

void AbstractGraphicObject::ApplyPlacement() const {
    if (effect) effect->Apply();
    glTranslatef(position.x, position.y, position.z);
    glScalef(scale.x, scale.x, scale.x);
}
