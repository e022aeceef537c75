#include "factory/internal/ModelFileName.h"

#include "factory/FactoryException.h"
#include "scene/FileGraphicMemento.h"

const std::string& ModelFileName(const AbstractGraphicMemento& description,
                                 const std::string& type) {
    const auto* fileDescription = dynamic_cast<const FileGraphicMemento*>(&description);
    if (!fileDescription) {
        throw FactoryException("An " + type + " object needs a model file description.");
    }
    // Said here, with the line, rather than as a file named "" that was not found.
    if (fileDescription->fileName.empty()) {
        const int line = description.sourceLine;
        const std::string what =
            " " + type + " object has no file attribute, so it has no model to draw.";
        if (line > 0) throw FactoryException(Problem::AtLine("Scene.xml", line, ": the" + what));
        throw FactoryException("The" + what);
    }
    return fileDescription->fileName;
}
