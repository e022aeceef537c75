#pragma once

#include "objects/RenderableGraphicObject.h"

// A static mesh read from an R file.
class RGraphicObject : public RenderableGraphicObject {
public:
    // The effect and placement, then the mesh. Pushes no matrix: the frame loop's push
    // and pop around each object restore the modelview matrix.
    void Draw() override;
};
