#pragma once

#include <vector>

#include "ModelNote.h"
#include "SceneIndex.h"

class StartView;

// What check says about the scene's model files besides the loader's errors, read from
// the scene folder (the working folder): for each object, whether its file holds the type
// its element names; for each OBJ file once, what ExplainOBJ finds; and each object too
// small or too far to cover a pixel seen from the camera's start, with its size on screen.
std::vector<ModelNote> FindModelNotes(const SceneIndex& index, const StartView& view);
