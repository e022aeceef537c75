#include "common/AnimationClock.h"

#include <chrono>
#include <limits>

AnimationClock::AnimationClock(MillisecondSource source) : source(std::move(source)) {
    lastTime = this->source();
}

void AnimationClock::Update() {
    const std::uint32_t now = source();
    // Subtracting in unsigned 32-bit arithmetic keeps the step right across a wrap of the
    // count (every 49.7 days), where a subtraction of the two readings would go negative.
    const std::uint32_t step = now - static_cast<std::uint32_t>(lastTime);
    delta = step;
    lastTime = now;
    if (paused) delta = 0.0;
    total += delta;
}

void AnimationClock::TogglePause() {
    paused = !paused;
    Update();
}

std::int32_t AnimationClock::Time() const {
    // Converting a double outside the int32 range is undefined, so clamp first.
    constexpr double largest = std::numeric_limits<std::int32_t>::max();
    constexpr double smallest = std::numeric_limits<std::int32_t>::min();
    if (!(total < largest)) return total >= largest ? std::numeric_limits<std::int32_t>::max() : 0;
    if (total <= smallest) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(total);
}

std::uint32_t AnimationClock::SystemMilliseconds() {
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}
