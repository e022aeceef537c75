#pragma once

#include <string>

#include "common/BaseException.h"

// A texture, shader program or effect that cannot be built; the message names the file
// and says why.
class ResourceException : public BaseException {
public:
    explicit ResourceException(std::string message) : message(std::move(message)) {}
    const char* what() const noexcept override { return message.c_str(); }

private:
    std::string message;
};
