// What the window tests share: an engine recording the window's input events, a recorder in
// place of message boxes, the message pump, and a fixture for a window never opened.
#pragma once

#include <gtest/gtest.h>

#include <SDL.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/MessagePump.h"
#include "platform/WindowMessages.h"
#include "platform/k_Window.h"
#include "support/FakeEngine.h"

using KeyEvent = std::pair<int, bool>;                  // key, down
using MouseEvent = std::tuple<int, int, unsigned int>;  // x, y, message
using ResizeEvent = std::pair<int, int>;                // width, height

class RecordingEngine : public FakeEngine {
public:
    std::vector<KeyEvent> keys;
    std::vector<MouseEvent> mouse;
    std::vector<ResizeEvent> resizes;

    void OnKey(int key, bool down) override { keys.push_back({key, down}); }
    void OnMouse(int x, int y, unsigned int message) override { mouse.push_back({x, y, message}); }
    void OnResize(int width, int height) override { resizes.push_back({width, height}); }
};

// Records the boxes shown while it lives, as text and caption, instead of showing them.
class MessageBoxRecorder {
public:
    using Box = std::pair<std::wstring, std::wstring>;

    MessageBoxRecorder() : previous(SetMessageBoxPresenter(Record)) { Boxes().clear(); }
    ~MessageBoxRecorder() { SetMessageBoxPresenter(previous); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    static std::vector<Box>& Boxes() {
        static std::vector<Box> boxes;
        return boxes;
    }

private:
    static void Record(const std::wstring& text, const std::wstring& caption) { Boxes().push_back({text, caption}); }

    MessageBoxPresenter previous;
};

// Takes and dispatches what SDL has queued, as the entry's loop does.
inline void PumpMessages() {
    SDL_PumpEvents();
    while (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
        Message message;
        if (PeekMessage(message)) {
            DispatchMessage(message);
        }
    }
}

class UnopenedWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override { SDL_QuitSubSystem(SDL_INIT_EVENTS); }

    LResult Send(unsigned int message, WParam wParam = 0, LParam lParam = 0) {
        return window.HandleMessage(message, wParam, lParam);
    }

    RecordingEngine engine;
    k_Window window{&engine, L"Tests", 800, 600, false};
    MessageBoxRecorder boxes;
};
