#pragma once

#include <string>

#include "scene/IMemento.h"

// A texture of the scene: its name and the image file it is made from.
class TextureMemento final : public IMemento {
public:
    void SetAttribute(const std::string& name, const std::string& value) override;

    std::string name;
    std::string fileName;
};
