#pragma once

#include <memory>

#include "objects/RenderableGraphicObject.h"

class AbstractGraphicMemento;

// A static mesh read from an R file.
class RGraphicObject : public RenderableGraphicObject {
public:
    // The effect and placement, then the mesh. Pushes no matrix: the frame loop's push
    // and pop around each object restore the modelview matrix.
    void Draw() override;
};

// The factory's creator for model type "R": reads the description's model file into a new
// object and copies its position and scale. Throws FactoryException when the description
// names no model file, or the file cannot be read or is damaged; no object is made then.
std::unique_ptr<RGraphicObject> CreateRGraphicObject(const AbstractGraphicMemento& description);
