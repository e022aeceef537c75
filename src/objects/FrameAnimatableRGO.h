#pragma once

#include <cstdint>

#include "common/Vector3.h"
#include "objects/AuxKey.h"
#include "objects/RenderableGraphicObject.h"
#include "objects/TranslationKey.h"

class AnimationClock;
struct RAMesh;

// A mesh moved rigidly along timed translation keys, interpolated linearly against an
// animation clock. The mesh itself never changes.
class FrameAnimatableRGO : public RenderableGraphicObject {
public:
    // Ticks the clock, translates by the offset at its time, then draws the mesh. Without
    // a clock the object stands at time 0.
    void DrawAnimated();

    // The offset at animation time `time`: the keys around it blended linearly, or no
    // offset if the track has no keys. Moves the cursor forward as FindKeys does.
    Vector3 OffsetAt(std::int32_t time);

    // Takes the mesh and tracks to draw, replacing those it had, with the cursor at the
    // first key.
    void Take(RAMesh&& animated);

    // Not owned; set by the factory. Every animated object of a scene shares one clock.
    AnimationClock* clock = nullptr;
    std::uint32_t translationCursor = 0;
    TranslationTrack translationTrack;
    // Read and kept with the file's data; nothing is drawn from it.
    AuxTrack auxTrack;
};
