#pragma once

#include <string>

#include "scene/IMemento.h"

// A texture of the scene: its name and the image file it is made from.
class TextureMemento final : public IMemento {
public:
    void SetAttribute(const std::string& name, const std::string& value) override;

    std::string name;
    std::string fileName;
    // The line of the scene file that described it (0 when not from a file), so reports
    // about it can say where it is.
    int sourceLine = 0;
};
