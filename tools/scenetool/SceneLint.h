#pragma once

#include <vector>

#include "common/Problem.h"
#include "SceneIndex.h"

class ResourceRegistry;

// What the viewer accepts without a word but is almost surely a mistake: objects with
// scale 0, textures, programs and effects defined but never used or defined twice, and
// samplers and uniforms that the effect's program does not have. Needs the registry of
// the loaded scene and its GL context, to ask the programs for their uniforms.
std::vector<Problem> FindLikelyMistakes(const SceneIndex& index, const ResourceRegistry& registry);
