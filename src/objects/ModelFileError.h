#pragma once

#include "common/BaseException.h"
#include "common/Problem.h"

// A model file that cannot be read or is damaged. The problem names the file and says what
// is wrong, with the line (OBJ) or byte (R, RA) where the file shows it, when there is one.
// The factory's creators report it as the object's failure.
class ModelFileError : public BaseException {
public:
    explicit ModelFileError(Problem problem) : problem(std::move(problem)) {}
    const char* what() const noexcept override { return problem.text.c_str(); }

    Problem problem;
};
