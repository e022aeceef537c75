#pragma once

#include <memory>

#include "objects/FrameAnimatableRGO.h"

class AbstractGraphicMemento;

// An animated mesh read from an RA file.
class RAGraphicObject : public FrameAnimatableRGO {
public:
    // The effect and placement, then the animated mesh. The key offset comes after the
    // scale, so it is scaled with the mesh.
    void Draw() override;
};

// The factory's creator for model type "RA": reads the description's model file into a
// new object and copies its position and scale. The factory gives it its clock. Throws
// FactoryException when the file cannot be read or is damaged; no object is made then.
std::unique_ptr<RAGraphicObject> CreateRAGraphicObject(const AbstractGraphicMemento& description);
