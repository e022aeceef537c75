#include <GL/glew.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/AnimationClock.h"
#include "objects/RAFileParser.h"
#include "objects/RAGraphicObject.h"
#include "support/GlTestContext.h"
#include "support/MeshFiles.h"

namespace {

// From offset 0 at 0 ms to (10, -20, 40) at 1000 ms.
const std::vector<TranslationKey> kKeys = {{0, 0, 0, 0}, {1000, 10, -20, 40}};

std::unique_ptr<RAGraphicObject> Make(const std::vector<TranslationKey>& keys) {
    auto object = std::make_unique<RAGraphicObject>();
    Tarnhold::RAFileParser(*object, "mesh.ra").ParseBuffer(RAFileBytes(Square(0, 0, 1, 1), keys));
    object->Prepare();
    return object;
}

// The modelview matrix the mesh was drawn with: Draw pushes none, so it is left behind.
std::array<float, 16> DrawnWith(RAGraphicObject& object) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    object.Draw();
    std::array<float, 16> modelview{};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview.data());
    return modelview;
}

// translate(position) * scale(s) * translate(offset), column-major.
std::array<float, 16> Placed(Vector3 position, float s, Vector3 offset) {
    const Vector3 t{position.x + s * offset.x, position.y + s * offset.y,
                    position.z + s * offset.z};
    return {s, 0, 0, 0, 0, s, 0, 0, 0, 0, s, 0, t.x, t.y, t.z, 1};
}

struct FakeMilliseconds {
    std::uint32_t now = 0;
    AnimationClock::MillisecondSource Source() {
        return [this] { return now; };
    }
};

class AnimatedMeshGl : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_GL(gl); }
    GlTestContext gl{8, 8};
    FakeMilliseconds ms;
    AnimationClock clock{ms.Source()};
};

TEST_F(AnimatedMeshGl, OffsetIsScaledWithTheMeshAndWithoutAClockTimeIsZero) {
    auto object = Make({{0, 1, -2, 3}, {1000, 50, 50, 50}});
    object->position = {10, 20, 30};
    object->scale = {2, 5, 7};
    EXPECT_EQ(DrawnWith(*object), Placed({10, 20, 30}, 2, {1, -2, 3}));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(AnimatedMeshGl, DrawingTicksTheClockAndFollowsItsTime) {
    auto object = Make(kKeys);
    object->clock = &clock;
    object->scale = {2, 1, 1};

    // Paused: the object stands at the first key however much time passes.
    ms.now = 500;
    EXPECT_EQ(DrawnWith(*object), Placed({}, 2, {}));
    clock.TogglePause();

    ms.now = 750;
    EXPECT_EQ(DrawnWith(*object), Placed({}, 2, {2.5f, -5, 10}));
    EXPECT_EQ(clock.Time(), 250);
    ms.now = 5000;
    EXPECT_EQ(DrawnWith(*object), Placed({}, 2, {10, -20, 40}));

    // Without keys there is no offset, whatever the clock says.
    auto still = Make({});
    still->clock = &clock;
    EXPECT_EQ(DrawnWith(*still), Placed({}, 1, {}));
}

TEST_F(AnimatedMeshGl, ObjectsSharingAClockDrawnInOneFrameReachTheSameOffset) {
    clock.TogglePause();
    auto first = Make(kKeys), second = Make(kKeys);
    first->clock = second->clock = &clock;
    for (const std::uint32_t now : {100u, 600u, 900u}) {
        ms.now = now;
        const float f = now / 1000.0f;
        const std::array<float, 16> expected = Placed({}, 1, {10 * f, -20 * f, 40 * f});
        EXPECT_EQ(DrawnWith(*first), expected) << now;
        EXPECT_EQ(DrawnWith(*second), expected) << now;
    }
}

}  // namespace
