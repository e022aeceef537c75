#include "app/AnimationClock.h"

#include <chrono>

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

std::uint32_t AnimationClock::SystemMilliseconds() {
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}
