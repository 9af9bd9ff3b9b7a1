/* Paces a program's display like a monitor refreshing SWAP_PACER_HZ times a second: preloaded
 * (LD_PRELOAD), it makes every SDL_GL_SwapWindow return only at the next tick of that rate, as
 * a swap waiting for the vertical blank does. Xvfb has no refresh of its own; the end-to-end
 * tests use this to play the game at 24 to 240 Hz. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdlib.h>
#include <time.h>

typedef void (*SwapFunction)(void *window);

static double Now(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)now.tv_sec + (double)now.tv_nsec * 1e-9;
}

static void SleepUntil(double when) {
    struct timespec until;
    until.tv_sec = (time_t)when;
    until.tv_nsec = (long)((when - (double)until.tv_sec) * 1e9);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, NULL) != 0) {
    }
}

void SDL_GL_SwapWindow(void *window) {
    static SwapFunction swap;
    static double period;
    static double nextTick;
    if (!swap) {
        swap = (SwapFunction)dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
        const char *rate = getenv("SWAP_PACER_HZ");
        period = rate && atof(rate) > 0.0 ? 1.0 / atof(rate) : 0.0;
        nextTick = Now();
    }
    swap(window);
    if (period <= 0.0) {
        return;
    }
    /* The next tick after now, on the grid the first swap started. */
    const double now = Now();
    while (nextTick <= now) {
        nextTick += period;
    }
    SleepUntil(nextTick);
}
