#pragma once

#include <string>

// One problem of a scene, where the user would fix it: a file of the scene folder and a
// line in it (a byte offset for the binary model files), or no line when the problem is
// the whole file.
struct Problem {
    std::string file;  // relative to the scene folder, as the scene names it
    int line = 0;      // 0: no line
    std::string message;

    bool operator==(const Problem&) const = default;
};

// "FOLDER/FILE:LINE: MESSAGE" ("FILE: MESSAGE" without a line), the form compilers use,
// so editors can jump to it. `folder` "." adds nothing in front.
std::string FormatProblem(const Problem& problem, const std::string& folder);
