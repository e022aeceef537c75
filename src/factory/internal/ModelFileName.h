#pragma once

#include <string>

class AbstractGraphicMemento;

// The model file that a creator reads for `description`. Throws FactoryException "An
// TYPE object needs a model file description." when the description is not that of a
// model file (each model type here starts with a vowel sound).
const std::string& ModelFileName(const AbstractGraphicMemento& description,
                                 const std::string& type);
