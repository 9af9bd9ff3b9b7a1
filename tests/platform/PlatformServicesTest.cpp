#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/MessageBox.h"
#include "support/ScopedEnvironment.h"

namespace {

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
