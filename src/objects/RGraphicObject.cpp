#include "objects/RGraphicObject.h"

void RGraphicObject::Draw() {
    ApplyPlacement();
    RenderableGraphicObject::Draw();
}
