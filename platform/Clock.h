// Time services of the program's one thread: the high-resolution counter, sleeping and
// giving up the rest of the time slice.
#pragma once

#include <cstdint>

// The counter's current value; it counts QueryPerformanceFrequency ticks per second.
std::uint64_t QueryPerformanceCounter();
std::uint64_t QueryPerformanceFrequency();

void Sleep(unsigned int milliseconds);
void SwitchToThread();
