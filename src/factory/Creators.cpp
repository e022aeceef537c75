#include "factory/Creators.h"

#include "factory/FactoryException.h"
#include "factory/internal/ModelFileName.h"
#include "objects/ModelFileError.h"
#include "objects/OBJFileParser.h"
#include "objects/RAFileParser.h"
#include "objects/RFileParser.h"
#include "scene/AbstractGraphicMemento.h"

namespace {

// Reads the model file into a new object of type Object with `read`, then places it. A
// damaged or unreadable file is the object's failure.
template <typename Object, typename Read>
std::unique_ptr<Object> Create(const AbstractGraphicMemento& description, const std::string& type,
                               Read read) {
    const std::string& fileName = ModelFileName(description, type);
    auto object = std::make_unique<Object>();
    try {
        read(*object, fileName);
    } catch (const ModelFileError& failure) {
        throw FactoryException(failure.problem);
    }
    object->TakePlacement(description);
    return object;
}

}  // namespace

std::unique_ptr<RGraphicObject> CreateRGraphicObject(const AbstractGraphicMemento& description) {
    return Create<RGraphicObject>(description, "R",
                                  [](RGraphicObject& object, const std::string& fileName) {
                                      Tarnhold::RFileParser(object, fileName).Parse();
                                  });
}

std::unique_ptr<RAGraphicObject> CreateRAGraphicObject(const AbstractGraphicMemento& description) {
    return Create<RAGraphicObject>(description, "RA",
                                   [](RAGraphicObject& object, const std::string& fileName) {
                                       Tarnhold::RAFileParser(object, fileName).Parse();
                                   });
}

std::unique_ptr<OBJGraphicObject> CreateOBJGraphicObject(const AbstractGraphicMemento& description,
                                                         std::vector<Problem>& problems) {
    return Create<OBJGraphicObject>(
        description, "OBJ", [&](OBJGraphicObject& object, const std::string& fileName) {
            OBJFileParser parser(object, fileName);
            parser.Parse(0.1f);
            problems.insert(problems.end(), parser.Found().begin(), parser.Found().end());
        });
}
