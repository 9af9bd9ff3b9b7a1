// The whole test run plays audio on SDL's silent dummy driver unless the caller chose a
// driver: tests open the audio device, and a build machine has none.
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class AudioDriverEnvironment : public ::testing::Environment {
public:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 0); }
};

const auto* const g_audioDriver = ::testing::AddGlobalTestEnvironment(new AudioDriverEnvironment);

}  // namespace
