#pragma once

#include <string>

#include "common/BaseException.h"

// A failure that carries the one text saying what went wrong and where; the kinds of
// failure derive from it to be told apart.
class MessageException : public BaseException {
public:
    explicit MessageException(std::string message) : message(std::move(message)) {}
    const char* what() const noexcept override { return message.c_str(); }

private:
    std::string message;
};
