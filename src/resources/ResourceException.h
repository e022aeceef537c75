#pragma once

#include "common/MessageException.h"

// A texture, shader program or effect that cannot be built; the message names the file
// and says why.
class ResourceException : public MessageException {
public:
    using MessageException::MessageException;
};
