#pragma once

#include <chrono>

// Keeps frames to a steady rate where the driver does not wait for the display's refresh
// (a virtual X server, say): each frame is due one period after the one before. A frame
// that comes late (a reload, a busy machine) starts the schedule afresh instead of being
// followed by a burst of frames catching up.
class FramePacer {
public:
    using Clock = std::chrono::steady_clock;

    explicit FramePacer(Clock::duration period) : period(period) {}

    // When the next frame is due, for a frame asked for at `now`; books that frame, so the
    // one after is due a period later.
    Clock::time_point Book(Clock::time_point now);

    // Sleeps until the next frame is due.
    void WaitForFrame();

private:
    Clock::duration period;
    Clock::time_point next{};
    bool started = false;
};
