#pragma once

#include <cstdint>
#include <vector>

#include "common/Problem.h"
#include "objects/OBJModel.h"

// What the reading of an OBJ file found: the model, and the problems, each a complete
// sentence for the log placed at its line of the file.
struct OBJReadResult {
    OBJModel model;
    std::vector<Problem> problems;
    // The line where an unreadable number stopped the reading; 0 if it did not stop.
    std::uint32_t stopLine = 0;
};
