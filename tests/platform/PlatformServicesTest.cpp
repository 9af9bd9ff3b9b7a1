#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/MessageBox.h"

namespace {

// Sets an environment variable (or removes it, for nullptr) while it lives.
struct ScopedEnvironment {
    ScopedEnvironment(const char* name, const char* value) : name(name) {
        if (const char* old = std::getenv(name)) {
            previous = old;
        }
        Apply(value);
    }
    ~ScopedEnvironment() { Apply(previous ? previous->c_str() : nullptr); }
    void Apply(const char* value) { value ? setenv(name, value, 1) : unsetenv(name); }

    const char* name;
    std::optional<std::string> previous;
};

TEST(MessageBox, WithoutADisplayTheTextStillReachesStandardErrorAndNothingWaits) {
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
        GTEST_SKIP() << "the video subsystem is running; its display would show a box that waits";
    }
    ScopedEnvironment display("DISPLAY", ":65000");  // a display that is not there
    ScopedEnvironment wayland("WAYLAND_DISPLAY", nullptr);
    testing::internal::CaptureStderr();
    ShowMessageBox(L"File integrity is broken. – ü", L"Quillo 2D Game");
    std::string output = testing::internal::GetCapturedStderr();
    EXPECT_NE(output.find("Quillo 2D Game: File integrity is broken. – ü"), std::string::npos) << output;
}

}  // namespace
