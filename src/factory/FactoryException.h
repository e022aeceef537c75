#pragma once

#include "common/MessageException.h"

// A graphic object that could not be made: an unknown model type, or a model file that
// cannot be read. The factory logs the message and goes on with the next object.
class FactoryException : public MessageException {
public:
    using MessageException::MessageException;
};
