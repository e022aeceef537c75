#pragma once

#include <string>

#include "common/BaseException.h"
#include "common/Problem.h"

// A graphic object that could not be made: an unknown model type, or a model file that
// cannot be read. The factory logs the message and goes on with the next object.
class FactoryException : public BaseException {
public:
    explicit FactoryException(std::string message) : problem(Problem::Text(std::move(message))) {}
    // A failure found in a model file, with its place there.
    explicit FactoryException(Problem problem) : problem(std::move(problem)) {}

    const char* what() const noexcept override { return problem.text.c_str(); }

    Problem problem;
};
