#include "platform/Clock.h"

#include <SDL.h>

#include <thread>

std::uint64_t QueryPerformanceCounter() {
    return SDL_GetPerformanceCounter();
}

std::uint64_t QueryPerformanceFrequency() {
    return SDL_GetPerformanceFrequency();
}

void Sleep(unsigned int milliseconds) {
    SDL_Delay(milliseconds);
}

void SwitchToThread() {
    std::this_thread::yield();
}
