#pragma once

#include <cstdint>
#include <functional>

// A pausable millisecond clock: `total` is the running time accumulated while not paused.
// Created paused, so animations stand at time 0 until the first resume.
class AnimationClock {
public:
    // A millisecond count read as an unsigned 32-bit value; it may wrap around.
    using MillisecondSource = std::function<std::uint32_t()>;

    explicit AnimationClock(MillisecondSource source = SystemMilliseconds);

    // Adds the time since the previous Update to `total`, unless paused.
    void Update();
    // Flips `paused`, then updates: resuming counts the interval since the last update,
    // pausing drops it.
    void TogglePause();

    // The animation time: `total` in whole milliseconds, truncated toward zero. After
    // about 24.8 days of running time it stays at the largest 32-bit value instead of
    // wrapping to a negative time, so finished animations stay finished.
    std::int32_t Time() const;

    // Milliseconds of the system's monotonic clock, truncated to 32 bits.
    static std::uint32_t SystemMilliseconds();

    bool paused = true;
    double total = 0.0;
    double lastTime = 0.0;  // the reading at the last Update, as a non-negative number
    double delta = 0.0;     // what the last Update added

private:
    MillisecondSource source;
};
