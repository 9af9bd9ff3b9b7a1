#include <gtest/gtest.h>

#include <climits>

#include "platform/MessagePump.h"
#include "platform/VirtualKeys.h"
#include "platform/WindowTesting.h"

namespace {

// The window's message handling without a display.
class WindowMessages : public UnopenedWindowTest {
protected:
    bool QueueIsEmpty() {
        Message message;
        return !PeekMessage(message);
    }
};

TEST_F(WindowMessages, ResizesReportTheSceneSizeAndMousePositionsAreSignedClientCoordinates) {
    EXPECT_EQ(Send(WM_SIZE, SIZE_RESTORED, MakeLParam(1024, 768)), 0);
    EXPECT_EQ(Send(WM_SIZE, SIZE_RESTORED, MakeLParam(0xFFFF, 0x8000)), 0);
    EXPECT_EQ(engine.resizes, (std::vector<ResizeEvent>{{800, 600}, {800, 600}}));

    Send(WM_MOUSEMOVE, 0, MakeLParam(-5, -7));
    Send(WM_LBUTTONDOWN, 0, MakeLParam(10, 20));
    Send(WM_LBUTTONUP, 0, MakeLParam(32767, -32768));
    Send(WM_RBUTTONDOWN, 0, MakeLParam(1, 2));
    EXPECT_EQ(Send(WM_RBUTTONUP, 0, MakeLParam(1, 2)), 0);  // no menu: default handling, no event
    std::vector<MouseEvent> expected = {{-5, -7, WM_MOUSEMOVE},
                                        {10, 20, WM_LBUTTONDOWN},
                                        {32767, -32768, WM_LBUTTONUP},
                                        {1, 2, WM_RBUTTONDOWN}};
    EXPECT_EQ(engine.mouse, expected);
    EXPECT_FALSE(window.GetPopupMenuView().IsOpen());
}

TEST_F(WindowMessages, OnlyMinimisingStopsTheGame) {
    EXPECT_TRUE(window.IsActive());
    Send(WM_ACTIVATE, MakeWParam(WA_INACTIVE, 1));
    EXPECT_FALSE(window.IsActive());
    Send(WM_ACTIVATE, MakeWParam(WA_ACTIVE, 0));
    EXPECT_TRUE(window.IsActive());
    Send(WM_ACTIVATE, MakeWParam(WA_INACTIVE, 0));  // focus lost, not minimised
    EXPECT_TRUE(window.IsActive());

    Send(WM_SYSCOMMAND, SC_MINIMIZE);
    EXPECT_FALSE(window.IsActive());
    Send(WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_TRUE(window.IsActive());
}

TEST_F(WindowMessages, KeysAndSystemKeysReachTheEngineAndTheKeyTableOnlyInsideIt) {
    EXPECT_EQ(Send(WM_KEYDOWN, 'A'), 0);
    EXPECT_EQ(Send(WM_SYSKEYDOWN, VK_F4), 0);
    EXPECT_TRUE(window.IsKeyDown('A') && window.IsKeyDown(VK_F4));
    Send(WM_KEYUP, 'A');
    Send(WM_SYSKEYUP, VK_F4);
    EXPECT_FALSE(window.IsKeyDown('A') || window.IsKeyDown(VK_F4));
    EXPECT_EQ(engine.keys, (std::vector<KeyEvent>{{'A', true}, {VK_F4, true}, {'A', false}, {VK_F4, false}}));
    EXPECT_TRUE(QueueIsEmpty()) << "Alt+F4 must not close the window";

    // Cut down to 16 or 32 bits these would name 'A'; they must not press it.
    engine.keys.clear();
    Send(WM_KEYDOWN, static_cast<WParam>(kVirtualKeyCount) + 'A');
    Send(WM_KEYDOWN, (static_cast<WParam>(1) << (sizeof(WParam) * 8 - 1)) + 'A');
    EXPECT_FALSE(window.IsKeyDown('A'));
    EXPECT_TRUE(engine.keys.empty());
    for (int key : {-1, kVirtualKeyCount, INT_MIN, INT_MAX}) {
        window.SetKeyDown(key, true);
        EXPECT_FALSE(window.IsKeyDown(key)) << key;
    }
    window.SetKeyDown(0, true);
    window.SetKeyDown(kVirtualKeyCount - 1, true);
    EXPECT_TRUE(window.IsKeyDown(0) && window.IsKeyDown(kVirtualKeyCount - 1));
}

TEST_F(WindowMessages, ClosingPostsTheQuitMessageWhichThePumpGivesBackInOrder) {
    PostMessage(nullptr, WM_COMMAND, 7, -3);
    EXPECT_EQ(Send(WM_CLOSE), 0);
    Send(WM_SYSCOMMAND, SC_CLOSE);
    PostQuitMessage(5);
    EXPECT_TRUE(window.IsActive()) << "closing leaves the window to its owner";
    Message message;
    ASSERT_TRUE(PeekMessage(message));
    EXPECT_EQ(std::tuple(message.message, message.wParam, message.lParam), std::tuple(WM_COMMAND, WParam{7}, LParam{-3}));
    EXPECT_EQ(DispatchMessage(message), 0);  // no window: dropped
    for (int quit = 0; quit < 3; ++quit) {
        ASSERT_TRUE(PeekMessage(message));
        EXPECT_EQ(std::pair(message.message, message.window), std::pair(WM_QUIT, WindowHandle{nullptr}));
    }
    EXPECT_EQ(message.wParam, 5u) << "the quit message carries the last exit code";
    EXPECT_FALSE(PeekMessage(message));
}

void Push(Uint32 type, Sint32 value = 0) {
    SDL_Event event{};
    event.type = type;
    if (type == SDL_WINDOWEVENT) {
        event.window.event = SDL_WINDOWEVENT_EXPOSED;  // means nothing to the window
    } else if (type == SDL_MOUSEMOTION) {
        event.motion.x = value;
    } else if (type == SDL_KEYUP) {
        event.key.keysym.sym = SDLK_LEFT;
    }
    SDL_PushEvent(&event);
}

// The main loop takes one message a frame: mouse moves at 1,000 a second (17 a frame at 60
// frames a second) and events that mean nothing to the window must not hold a key release up.
TEST_F(WindowMessages, KeyReleaseOvertakesAFloodOfMouseMovesWithinTwoFrames) {
    constexpr int kMovesPerFrame = 17;
    auto frame = [this] {
        Push(SDL_WINDOWEVENT);
        for (int move = 0; move < kMovesPerFrame; ++move) {
            Push(SDL_MOUSEMOTION, move);
        }
        Message message;
        if (PeekMessage(message)) {
            Send(message.message, message.wParam, message.lParam);
        }
    };
    EXPECT_FALSE(WaitMessage(10)) << "nothing queued: the wait ends when the time is up";
    Send(WM_KEYDOWN, VK_LEFT);
    for (int i = 0; i < 60; ++i) {  // a second of play
        frame();
    }
    ASSERT_FALSE(engine.mouse.empty());
    EXPECT_EQ(engine.mouse.back(), MouseEvent(kMovesPerFrame - 1, 0, WM_MOUSEMOVE)) << "the latest position";
    Push(SDL_KEYUP);
    frame();
    frame();
    EXPECT_FALSE(window.IsKeyDown(VK_LEFT));
}

TEST_F(WindowMessages, BeforeOpenNothingReachesForAWindow) {
    EXPECT_EQ(window.GetHandle(), nullptr);
    EXPECT_EQ(window.GetDeviceContext(), nullptr);
    window.SetTitle(L"Changed");
    EXPECT_EQ(window.GetTitle(), L"Tests");
    window.SwapBuffers();
}

}  // namespace
