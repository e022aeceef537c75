#pragma once

#include <memory>
#include <string>

#include "scene/AbstractGraphicMemento.h"

// One graphic object of the scene as the loader hands it on: its model type (the element's
// name) and its description.
struct GraphicObjectEntry {
    std::string type;
    std::unique_ptr<AbstractGraphicMemento> description;
};
