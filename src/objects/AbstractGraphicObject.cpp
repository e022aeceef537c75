#include "objects/AbstractGraphicObject.h"

#include <GL/glew.h>

#include "resources/Effect.h"

void AbstractGraphicObject::ApplyPlacement() const {
    if (effect) effect->Apply();
    glTranslatef(position.x, position.y, position.z);
    glScalef(scale.x, scale.x, scale.x);
}
