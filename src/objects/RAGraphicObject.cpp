#include "objects/RAGraphicObject.h"

void RAGraphicObject::Draw() {
    ApplyPlacement();
    DrawAnimated();
}
