#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/Problem.h"
#include "objects/OBJGraphicObject.h"
#include "objects/RAGraphicObject.h"
#include "objects/RGraphicObject.h"

class AbstractGraphicMemento;

// The factory's creators, one per model type. Each reads the description's model file into
// a new object and copies its position and scale. Throws FactoryException when the
// description names no model file, or the file cannot be read or is damaged; no object is
// made then.

// Model type "R".
std::unique_ptr<RGraphicObject> CreateRGraphicObject(const AbstractGraphicMemento& description);

// Model type "RA"; the factory gives the object its clock.
std::unique_ptr<RAGraphicObject> CreateRAGraphicObject(const AbstractGraphicMemento& description);

// Model type "OBJ", with positions scaled by 0.1. Problems that still leave a model (an
// unreadable number, faces that cannot be drawn) are added to `problems`.
std::unique_ptr<OBJGraphicObject> CreateOBJGraphicObject(const AbstractGraphicMemento& description,
                                                         std::vector<Problem>& problems);
