#pragma once

#include "common/MessageException.h"

// A scene file that cannot be read as the format requires; the message says where.
class SceneException : public MessageException {
public:
    using MessageException::MessageException;
};
