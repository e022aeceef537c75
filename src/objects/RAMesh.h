#pragma once

#include "objects/AuxKey.h"
#include "objects/RMesh.h"
#include "objects/TranslationKey.h"

// What an RA file holds: an R mesh and its two key tracks, in file order.
struct RAMesh {
    RMesh mesh;
    TranslationTrack translationTrack;
    AuxTrack auxTrack;
};
