#pragma once

#include <vector>

#include "common/Problem.h"
#include "SceneIndex.h"

class ResourceRegistry;

// What the viewer accepts without a word but is almost surely a mistake: attributes an
// element does not take and values that do not read as written, objects with scale 0,
// textures, programs and effects defined but never used or defined twice (or never
// loaded, after a failure), and samplers and uniforms that the effect's program does not
// have. Needs the registry of the loaded scene and its GL context, to ask the programs
// for their uniforms, and the loading's error entries.
std::vector<Problem> FindLikelyMistakes(const SceneIndex& index, const ResourceRegistry& registry,
                                        const std::vector<Problem>& errors);
