#include "objects/ModelFileName.h"

#include "factory/FactoryException.h"
#include "scene/FileGraphicMemento.h"

const std::string& ModelFileName(const AbstractGraphicMemento& description,
                                 const std::string& type) {
    const auto* fileDescription = dynamic_cast<const FileGraphicMemento*>(&description);
    if (!fileDescription) {
        throw FactoryException("An " + type + " object needs a model file description.");
    }
    return fileDescription->fileName;
}
