#include "objects/FrameAnimatableRGO.h"

#include <GL/glew.h>

#include "common/AnimationClock.h"
#include "objects/internal/FindKeys.h"
#include "objects/RAMesh.h"

void FrameAnimatableRGO::DrawAnimated() {
    std::int32_t time = 0;
    if (clock) {
        clock->Update();
        time = clock->Time();
    }
    const Vector3 offset = OffsetAt(time);
    glTranslatef(offset.x, offset.y, offset.z);
    RenderableGraphicObject::Draw();
}

Vector3 FrameAnimatableRGO::OffsetAt(std::int32_t time) {
    if (translationTrack.count == 0) return {};
    const std::span<const TranslationKey> keys(translationTrack.data.get(), translationTrack.count);
    const KeyBlend found = FindKeys(keys, time, translationCursor);
    const TranslationKey& from = keys[found.first];
    const TranslationKey& to = keys[found.second];
    const float f = found.blend;
    return {from.x + (to.x - from.x) * f, from.y + (to.y - from.y) * f,
            from.z + (to.z - from.z) * f};
}

void FrameAnimatableRGO::Take(RAMesh&& animated) {
    RenderableGraphicObject::Take(std::move(animated.mesh));
    translationTrack = std::move(animated.translationTrack);
    auxTrack = std::move(animated.auxTrack);
    translationCursor = 0;
}
