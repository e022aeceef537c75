#pragma once

#include <set>
#include <vector>

#include "common/Problem.h"
#include "SceneIndex.h"

class ResourceRegistry;

// What Scene.xml defines but the loaded scene lacks. The registry stops the Textures and
// the Shaders section at its first failure, so the definitions after it are never loaded
// (neither their files read nor their names registered); and a name that nothing defines
// may be meant for a definition that did not load.
class UnloadedResources {
public:
    // `errors`: the loading's error entries, whose lines tell which definition failed.
    UnloadedResources(const SceneIndex& index, const ResourceRegistry& registry,
                      const std::vector<Problem>& errors);

    // Whether `definition`, one of the index's textures or programs, was never loaded.
    bool Contains(const SceneIndex::Resource& definition) const {
        return unloaded.count(&definition) > 0;
    }

    // One warning for each definition never loaded, at its line, naming the one that
    // stopped its section; then one for each name that is not defined but close to a
    // defined one that did not load, at the line that names it.
    const std::vector<Problem>& Problems() const { return problems; }

private:
    std::set<const SceneIndex::Resource*> unloaded;
    std::vector<Problem> problems;
};
