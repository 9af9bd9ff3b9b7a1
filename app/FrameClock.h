// The frame time of the main loop, measured on the high-resolution counter. A pause (the
// window minimised) does not count: after Resume the next frame measures from that moment,
// so the ball does not fly through the screen on the first frame after a pause.
#pragma once

#include <cstdint>

#include "platform/Clock.h"

class FrameClock {
public:
    FrameClock() : last(QueryPerformanceCounter()) {}

    // Seconds since the previous frame's reading; also gives the counter's frequency.
    float NextFrame(std::uint64_t& frequency) {
        frequency = QueryPerformanceFrequency();
        std::uint64_t now = QueryPerformanceCounter();
        float dt = static_cast<float>(static_cast<long double>(now - last) / frequency);
        last = QueryPerformanceCounter();
        return dt;
    }

    void Resume() { last = QueryPerformanceCounter(); }
    // The counter value taken at the end of the last frame's timing.
    std::uint64_t Last() const { return last; }

private:
    std::uint64_t last;
};
