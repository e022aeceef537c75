#include "app/FramePacer.h"

#include <thread>

FramePacer::Clock::time_point FramePacer::Book(Clock::time_point now) {
    if (!started || now > next + period) {
        started = true;
        next = now;
    }
    const Clock::time_point due = next;
    next += period;
    return due;
}

void FramePacer::WaitForFrame() { std::this_thread::sleep_until(Book(Clock::now())); }
