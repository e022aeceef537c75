#pragma once

#include <string>

#include "common/BaseException.h"

// A scene file that cannot be read as the format requires; the message says where.
class SceneException : public BaseException {
public:
    explicit SceneException(std::string message) : message(std::move(message)) {}
    const char* what() const noexcept override { return message.c_str(); }

private:
    std::string message;
};
