#pragma once

#include <vector>

#include "common/Problem.h"
#include "SceneIndex.h"

// Attributes that the viewer reads differently from what was written: an attribute an
// element does not take (or, for the elements read by position, not in that place), and a
// number or vector value whose text does not read as all its components, or has text
// after them. Each at its element's line, saying how the text reads and how to write it.
std::vector<Problem> FindAttributeMistakes(const SceneIndex& index);
