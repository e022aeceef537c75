#pragma once

#include "objects/FrameAnimatableRGO.h"

// An animated mesh read from an RA file.
class RAGraphicObject : public FrameAnimatableRGO {
public:
    // The effect and placement, then the animated mesh. The key offset comes after the
    // scale, so it is scaled with the mesh.
    void Draw() override;
};
