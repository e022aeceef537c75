#pragma once

#include "common/Vector3.h"
#include "objects/IGraphicObject.h"

class AbstractGraphicMemento;
class Effect;

// What every drawable object has: the effect it is drawn with and its placement.
class AbstractGraphicObject : public IGraphicObject {
public:
    // Not owned; set by the factory after creation.
    const Effect* effect = nullptr;
    Vector3 position;
    // Only x is used, for all three axes; y and z are kept as the scene gave them.
    Vector3 scale{1.0f, 1.0f, 1.0f};

    // Takes the position and scale that the scene gives the object.
    void TakePlacement(const AbstractGraphicMemento& description);

protected:
    // Applies the effect, then translates by `position` and scales by scale.x on every
    // axis. The translation comes first, so the position is not scaled.
    void ApplyPlacement() const;
};
