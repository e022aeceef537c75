#pragma once

#include <string>
#include <vector>

#include "ModelNote.h"

// What "scenetool info" says about one model file: lines describing it (counts, bounds,
// keys) and the problems found: the readers' messages, each naming the file, and what the
// viewer makes of the file (ModelAdvice.h), read as the type its name says. The files are
// read with the viewer's own readers; a file they cannot read at all throws
// ModelFileError with the reader's message.
class ModelInfo {
public:
    static ModelInfo OfR(const std::string& path);
    // Also reports translation keys out of time order, which the viewer's key search
    // does not expect.
    static ModelInfo OfRA(const std::string& path);
    // Bounds are of the positions times 0.1, as the viewer reads them.
    static ModelInfo OfOBJ(const std::string& path);

    const std::vector<std::string>& Lines() const { return lines; }
    const std::vector<std::string>& Problems() const { return problems; }

private:
    // The reader's `problems`, completed by `notes`, then the notes that stand alone.
    void AddProblems(std::vector<Problem> problems, const std::vector<ModelNote>& notes);

    std::vector<std::string> lines;
    std::vector<std::string> problems;
};
