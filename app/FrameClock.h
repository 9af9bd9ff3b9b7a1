// The frame time of the main loop, measured on a counter (the high-resolution counter unless a
// test gives another). A pause (the window minimised) does not count: after Resume the next
// frame measures from that moment, so the game does not try to catch up on the paused time.
#pragma once

#include <cstdint>

#include "platform/Clock.h"

struct Counter {
    std::uint64_t (*now)() = QueryPerformanceCounter;
    std::uint64_t (*frequency)() = QueryPerformanceFrequency;
};

class FrameClock {
public:
    explicit FrameClock(Counter counter = Counter{}) : counter(counter), last(counter.now()) {}

    // Seconds since the previous frame's reading; also gives the counter's frequency.
    double NextFrame(std::uint64_t& frequency) {
        frequency = counter.frequency();
        const std::uint64_t now = counter.now();
        const double seconds = static_cast<double>(static_cast<long double>(now - last) / frequency);
        last = now;
        return seconds;
    }

    void Resume() { last = counter.now(); }
    // The counter value taken at the last frame's timing.
    std::uint64_t Last() const { return last; }

private:
    Counter counter;
    std::uint64_t last;
};
