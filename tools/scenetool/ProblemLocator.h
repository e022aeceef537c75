#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Problem.h"
#include "SceneIndex.h"

// Turns the error entries that loading a scene writes into problems placed at a file and
// line. Entries carry their place in their text ("Scene.xml line 12: ...", "... on line 7",
// "... at byte 100", the shader compiler's "0:3(5): error: ..."); an entry that names only
// a resource or a model file is placed at the line of Scene.xml that defines or uses it.
// The fixed entries that only repeat that a section or the load failed are left out once
// an entry has said why.
class ProblemLocator {
public:
    explicit ProblemLocator(const SceneIndex& index) : index(index) {}

    // The problems of `errors`, in the order written. Model-file entries are matched to the
    // scene's objects in order, as the factory makes them.
    std::vector<Problem> Locate(const std::vector<std::string>& errors);

private:
    void LocateOne(const std::string& error, std::vector<Problem>& problems);
    bool LocateShaderLog(const std::string& error, std::vector<Problem>& problems) const;
    Problem LocateModelFile(const std::string& error);
    int ObjectLine(const std::string& type, const std::string* fileName);
    int EffectLine(const std::string& error);

    const SceneIndex& index;
    std::size_t nextObject = 0;
    // The effect the last effect entry was about, and its last sampler reported.
    std::size_t currentEffect = SIZE_MAX;
    std::size_t currentSampler = SIZE_MAX;
    bool explained = false;
};
