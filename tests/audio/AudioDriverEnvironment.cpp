// Unless the caller chose a driver, the tests play audio on SDL's silent dummy driver: they
// open the audio device, and a build machine has none.
#include <gtest/gtest.h>

#include <cstdlib>

struct AudioDriverEnvironment : ::testing::Environment {
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 0); }
};
static auto* const g_audioDriver = ::testing::AddGlobalTestEnvironment(new AudioDriverEnvironment);
