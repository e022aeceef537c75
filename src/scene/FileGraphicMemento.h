#pragma once

#include <string>

#include "scene/AbstractGraphicMemento.h"

// A graphic object made from a model file; the element's name says the file's type.
class FileGraphicMemento : public AbstractGraphicMemento {
public:
    // The base's attributes, then "file".
    void SetAttribute(const std::string& name, const std::string& value) override;

    std::string fileName;
};
