#include "objects/internal/FindKeys.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <tuple>
#include <vector>

#include "objects/FrameAnimatableRGO.h"

namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
// For a blend of 0 the second key does not matter.
constexpr std::int64_t kAny = -1;

// Keys at the given times; the offsets play no part in the search.
std::vector<TranslationKey> Track(const std::vector<std::int32_t>& times) {
    std::vector<TranslationKey> keys;
    for (const std::int32_t time : times) keys.push_back({time, 0, 0, 0});
    return keys;
}

// Searches with a fresh cursor and checks what always holds: indices inside the track and
// a blend in [0, 1).
KeyBlend Search(const std::vector<TranslationKey>& keys, std::int32_t time,
                std::uint32_t cursor = 0) {
    const KeyBlend found = FindKeys(keys, time, cursor);
    EXPECT_LT(found.first, keys.size()) << "at " << time;
    EXPECT_LT(found.second, keys.size()) << "at " << time;
    EXPECT_GE(found.blend, 0.0f) << "at " << time;
    EXPECT_LT(found.blend, 1.0f) << "at " << time;
    return found;
}

std::tuple<std::uint32_t, std::uint32_t, float> Parts(const KeyBlend& found) {
    return {found.first, found.second, found.blend};
}

TEST(FindKeys, FindsTheKeysAroundTheTimeAndTheBlendBetweenThem) {
    const struct {
        std::vector<std::int32_t> times;
        std::int32_t time;
        std::uint32_t first;
        std::int64_t second;
        float blend;
    } cases[] = {
        {{0, 1000}, 250, 0, 1, 0.25f},
        {{0, 1000}, 1000, 1, 1, 0.0f},  // the last key and after it: stays there
        {{0, 1000}, kMax, 1, 1, 0.0f},
        {{0, 1000, 2000}, 1000, 1, kAny, 0.0f},  // exactly on an inner key
        {{0, 1000, 2000}, 1999, 1, 2, 0.999f},
        {{500}, kMin, 0, 0, 0.0f},  // a single key, at every time
        {{500}, 0, 0, 0, 0.0f},
        {{500}, kMax, 0, 0, 0.0f},
        {{100, 200}, 50, 0, 0, 0.0f},  // before the first key: that key
        // Decreasing times: the scan passes every key at or before the time.
        {{0, 500, 300, 200, 1000}, 600, 3, 4, 0.5f},
        // A span wider than the int32 range.
        {{-2000000000, 2000000000}, 0, 0, 1, 0.5f},
    };
    for (const auto& c : cases) {
        const KeyBlend found = Search(Track(c.times), c.time);
        EXPECT_EQ(found.first, c.first) << "at " << c.time;
        if (c.second != kAny) {
            EXPECT_EQ(found.second, c.second) << "at " << c.time;
        }
        EXPECT_FLOAT_EQ(found.blend, c.blend) << "at " << c.time;
    }
}

TEST(FindKeys, BlendStaysBelowOneJustBeforeTheNextKeyOfAWideSpan) {
    // 1 ms before the second key of a 4e9 ms span: the ratio is 1 - 2.5e-10.
    const KeyBlend found = Search(Track({-2000000000, 2000000000}), 1999999999);
    EXPECT_EQ(found.first, 0u);
    EXPECT_EQ(found.second, 1u);
}

TEST(FindKeys, CursorMovesOnlyForward) {
    const auto keys = Track({0, 1000, 2000, 3000});
    std::uint32_t cursor = 0;
    KeyBlend found = FindKeys(keys, 2500, cursor);
    EXPECT_EQ(cursor, 2u);
    EXPECT_EQ(Parts(found), std::make_tuple(2u, 3u, 0.5f));

    // An earlier time is answered from the cursor, not searched again from the start.
    found = FindKeys(keys, 500, cursor);
    EXPECT_EQ(cursor, 2u);
    EXPECT_EQ(Parts(found), std::make_tuple(2u, 2u, 0.0f));

    found = FindKeys(keys, 2750, cursor);
    EXPECT_EQ(cursor, 2u);
    EXPECT_EQ(Parts(found), std::make_tuple(2u, 3u, 0.75f));
}

TEST(FindKeys, CursorBeyondTheTrackStartsAgainAtTheFirstKey) {
    const auto keys = Track({0, 1000, 2000});
    for (const std::uint32_t stale : {3u, 99u, 0xFFFFFFFFu}) {
        std::uint32_t cursor = stale;
        const KeyBlend found = FindKeys(keys, 1500, cursor);
        EXPECT_EQ(Parts(found), std::make_tuple(1u, 2u, 0.5f)) << stale;
        EXPECT_EQ(cursor, 1u) << stale;
    }
}

TEST(FrameAnimatableRGO, OffsetAtBlendsTheKeysAndIsZeroWithoutKeys) {
    FrameAnimatableRGO object;
    for (const std::int32_t time : {kMin, 0, 1000}) {
        const Vector3 none = object.OffsetAt(time);
        EXPECT_EQ(std::vector<float>({none.x, none.y, none.z}), std::vector<float>({0, 0, 0}));
    }
    object.translationTrack.count = 2;
    object.translationTrack.data = std::make_unique<TranslationKey[]>(2);
    object.translationTrack.data[0] = {0, 0, 0, 0};
    object.translationTrack.data[1] = {1000, 10, -4, 2};
    const struct {
        std::int32_t time;
        float x, y, z;
    } cases[] = {{-5, 0, 0, 0}, {250, 2.5f, -1, 0.5f}, {1000, 10, -4, 2}, {kMax, 10, -4, 2}};
    for (const auto& c : cases) {
        const Vector3 at = object.OffsetAt(c.time);
        EXPECT_EQ(std::vector<float>({at.x, at.y, at.z}), std::vector<float>({c.x, c.y, c.z}))
            << "at " << c.time;
    }
}

}  // namespace
