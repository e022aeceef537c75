#pragma once

#include <string>

#include "common/Vector3.h"
#include "scene/IMemento.h"

// What every graphic object of the scene has: the effect it is drawn with and where and
// how large it stands.
class AbstractGraphicMemento : public IMemento {
public:
    // "effect", "pos" and "scale"; vectors are read as "x,y,z".
    void SetAttribute(const std::string& name, const std::string& value) override;
    virtual ~AbstractGraphicMemento() = default;

    std::string effectName;
    Vector3 position;
    Vector3 scale;
    // The line of the scene file that described the object (0 when not from a file), so
    // reports about it can say where it is.
    int sourceLine = 0;
};
