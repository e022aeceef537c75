#include "common/AnimationClock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

// A millisecond count that only moves when the test says so.
struct FakeMilliseconds {
    std::uint32_t now = 0;
    AnimationClock::MillisecondSource Source() {
        return [this] { return now; };
    }
};

TEST(AnimationClock, IsCreatedPausedAtTimeZero) {
    FakeMilliseconds ms{1234};
    AnimationClock clock(ms.Source());
    EXPECT_TRUE(clock.paused);
    EXPECT_EQ(clock.total, 0.0);
    EXPECT_EQ(clock.delta, 0.0);
    EXPECT_EQ(clock.lastTime, 1234.0);
}

TEST(AnimationClock, StaysAtZeroWhilePausedHoweverOftenItIsUpdated) {
    FakeMilliseconds ms;
    AnimationClock clock(ms.Source());
    for (int frame = 0; frame < 100; ++frame) {
        ms.now += 16;
        clock.Update();
    }
    EXPECT_EQ(clock.total, 0.0);
}

TEST(AnimationClock, CountsOnlyTheRunningIntervals) {
    FakeMilliseconds ms;
    AnimationClock clock(ms.Source());
    clock.TogglePause();  // resume
    for (int frame = 0; frame < 125; ++frame) {
        ms.now += 16;
        clock.Update();
    }
    clock.TogglePause();  // pause after 2000 ms
    EXPECT_EQ(clock.total, 2000.0);

    ms.now += 5000;
    clock.Update();
    EXPECT_EQ(clock.total, 2000.0);

    clock.TogglePause();  // the 5 s spent paused were consumed by the update above
    EXPECT_EQ(clock.total, 2000.0);
    ms.now += 100;
    clock.Update();
    EXPECT_EQ(clock.total, 2100.0);
}

TEST(AnimationClock, ResumingAddsTheIntervalSinceTheLastUpdateAndPausingDropsIt) {
    FakeMilliseconds ms{100};
    AnimationClock clock(ms.Source());
    ms.now = 400;
    clock.TogglePause();  // resume: nothing updated since creation, so 300 ms count
    EXPECT_EQ(clock.total, 300.0);

    ms.now = 450;
    clock.TogglePause();  // pause: the 50 ms before the press are dropped
    EXPECT_EQ(clock.total, 300.0);
    EXPECT_EQ(clock.delta, 0.0);
}

TEST(AnimationClock, SeveralUpdatesInOneFrameAddOnlyTheTimeBetweenThem) {
    FakeMilliseconds ms;
    AnimationClock clock(ms.Source());
    clock.TogglePause();
    ms.now += 5;
    clock.Update();
    clock.Update();
    EXPECT_EQ(clock.total, 5.0);
    EXPECT_EQ(clock.delta, 0.0);
}

TEST(AnimationClock, AWrapOfTheMillisecondCountGivesTheTrueSmallStep) {
    FakeMilliseconds ms{0xFFFFFFF0u};
    AnimationClock clock(ms.Source());
    EXPECT_EQ(clock.lastTime, 4294967280.0);  // the top bit set reads as a large positive count
    clock.TogglePause();
    ms.now = 0x10u;  // 32 ms later, after the wrap
    clock.Update();
    EXPECT_EQ(clock.delta, 32.0);
    EXPECT_EQ(clock.total, 32.0);
    EXPECT_EQ(clock.lastTime, 16.0);
}

TEST(AnimationClock, TimeIsTheTotalTruncatedTowardZero) {
    FakeMilliseconds ms;
    AnimationClock clock(ms.Source());
    const struct {
        double total;
        std::int32_t time;
    } cases[] = {
        {0.0, 0}, {0.999, 0}, {1999.9, 1999}, {-1999.9, -1999}, {2147483646.75, 2147483646}};
    for (const auto& c : cases) {
        clock.total = c.total;
        EXPECT_EQ(clock.Time(), c.time) << c.total;
    }
}

TEST(AnimationClock, TimeStaysAtTheLargestValueFromTwoToThe31Milliseconds) {
    constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();
    FakeMilliseconds ms;
    AnimationClock clock(ms.Source());
    clock.TogglePause();
    // Steps of the millisecond count a running clock sees over about 83 days.
    const struct {
        std::uint32_t step;
        std::int32_t time;
    } steps[] = {{2147483646u, 2147483646},
                 {1, kLargest},
                 {1, kLargest},
                 {2000000000u, kLargest},
                 {3000000000u, kLargest}};
    for (const auto& s : steps) {
        ms.now += s.step;
        clock.Update();
        EXPECT_EQ(clock.Time(), s.time) << clock.total;
    }
    EXPECT_EQ(clock.total, 7147483648.0);
}

TEST(AnimationClock, SystemMillisecondsMoveForward) {
    const std::uint32_t first = AnimationClock::SystemMilliseconds();
    std::uint32_t later = first;
    // Busy-wait for the count to move; bounded so a broken source fails instead of hanging.
    for (long spin = 0; spin < 2'000'000'000L && later == first; ++spin) {
        later = AnimationClock::SystemMilliseconds();
    }
    EXPECT_NE(later, first);
    EXPECT_LT(static_cast<std::uint32_t>(later - first), 1000u);
}

}  // namespace
