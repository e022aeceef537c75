#pragma once

#include "common/MessageException.h"

// A model file that cannot be read or is damaged; the message names the file and says
// what is wrong and where. The factory's creators report it as the object's failure.
class ModelFileError : public MessageException {
public:
    using MessageException::MessageException;
};
